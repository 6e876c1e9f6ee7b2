// Command flows of the main window driven through a scripted Ui: the prompts in order and
// the model afterwards.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/menu.h"
#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"
#include "unsaved.h"

namespace {

const Prompt kNieZwolnil =
    ask("Program nie zwolnił pamięci!!", "UWAGA", Buttons::YesNo, Icon::Stop);
const Prompt kKoniec =
    ask("Zakończyć działanie programu ?", "WIRTOR", Buttons::YesNo, Icon::Question);

class Commands : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
};

TEST_F(Commands, StartValues) {
    EXPECT_EQ(m.Pusty, 1);
    EXPECT_EQ(m.G, 80000.0f);
    EXPECT_EQ(m.MS, 1.0f);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.a_licz, 0);
    EXPECT_EQ(m.j_grupa, 0);
    const int on[] = {okno.p_wez, okno.p_przem, okno.p_n_wezl, okno.p_siatka};
    const int off[] = {okno.p_sily,  okno.p_sily_nr, okno.p_podp,  okno.p_napr,
                       okno.p_n_ele, okno.p_n_mat,   okno.p_n_pola};
    for (int v : on)
        EXPECT_EQ(v, 1);
    for (int v : off)
        EXPECT_EQ(v, 0);
    EXPECT_EQ(p_rn, 3);
    EXPECT_EQ(iizol, 200);
    EXPECT_EQ(p_skok, 1);
    EXPECT_EQ(okno.mapping.asp_r, 1.0f);
    EXPECT_TRUE(okno.mapping.fitted());
    EXPECT_EQ(okno._plik_.filter, "Pliki PANWEL (*.WT)|*.WT|");
    EXPECT_EQ(okno._plik_.defaultExt, "WT");
    EXPECT_EQ(okno._plik_.flags, 0x1000u);
    EXPECT_EQ(okno._pliktxt_.filter, "Pliki wyników PANWEL (*.txt)|*.txt|");
    EXPECT_EQ(okno._pliktxt_.defaultExt, "txt");
    EXPECT_TRUE(okno._plik_.path.empty());
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(Commands, NewWithoutProjectAsksNothingAndKeepsTheCaption) {
    okno.Cm_Nowy();
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_TRUE(ui.captions.empty());
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.nn + m.ne + m.nq, 0);
}

TEST_F(Commands, NewWithNothingUnsavedAsksNothingAndStartsAnEmptyProject) {
    makeModel(m, 4, 2);
    m.obliczono = 1;
    m.G = 123.0f;
    okno.Cm_Nowy();
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.nn + m.ne + m.nq, 0);
    EXPECT_FALSE(m.x.allocated());
    EXPECT_FALSE(m.noc.allocated());
    EXPECT_EQ(m.G, 123.0f) << "G survives a release";
    EXPECT_EQ(ui.captions, std::vector<std::string>{"WIRTOR - Beznazwy.WT"});
    EXPECT_EQ(caption, "WIRTOR - Beznazwy.WT");
    EXPECT_FALSE(okno.zmieniony());
}

// Every command that discards the project asks about unsaved changes, and only about them:
// Anuluj ends it with the project as it was, Nie goes on without saving.
TEST_F(Commands, CommandsThatDiscardTheProjectAskOnlyAboutUnsavedChanges) {
    struct Case {
        const char* name;
        void (_OKNO_::*command)();
        bool discards;  // Nie lets the project go (Koniec: the answer is what CanClose gives)
    } const cases[] = {
        {"Nowy", &_OKNO_::Cm_Nowy, true},
        {"Zamknij", &_OKNO_::Cm_zamknij, true},
        {"Otwórz", &_OKNO_::Cm_Otworz, false},  // Nie goes on to the file dialog, cancelled
    };
    for (const Case& c : cases)
        for (Answer a : {Answer::Cancel, Answer::No}) {
            SCOPED_TRACE(std::string(c.name) + (a == Answer::No ? " Nie" : " Anuluj"));
            makeModel(m, 4, 2);
            zmien(okno);
            m.obliczono = 1;
            ui.prompts.clear();
            ui.answer(a);
            if (a == Answer::No && !c.discards) ui.choose(std::nullopt);
            (okno.*c.command)();
            EXPECT_EQ(ui.prompts, std::vector<Prompt>{pytanieOZapis()});
            const bool gone = a == Answer::No && c.discards;
            EXPECT_EQ(m.nn, gone ? 0 : 4);
            EXPECT_EQ(m.obliczono, gone ? 0 : 1);
            EXPECT_EQ(okno.zmieniony(), !gone);
        }
    makeModel(m, 4, 2);
    zmien(okno);
    ui.prompts.clear();
    ui.answer(Answer::Cancel).answer(Answer::No);
    EXPECT_FALSE(okno.CanClose());
    EXPECT_TRUE(okno.CanClose());
    EXPECT_EQ(ui.prompts, (std::vector<Prompt>{pytanieOZapis(), pytanieOZapis()}));
}

// Tak saves as "&Zapisz" does and the command goes on only when the save succeeded.
TEST_F(Commands, YesSavesFirstAndAFailedSaveKeepsTheProject) {
    const std::string bad = "/nonexistent-dir/x.WT";
    makeSquare(m);
    zmien(okno);
    ui.answer(Answer::Yes).choose(bad).answer(Answer::Ok);
    okno.Cm_Nowy();
    EXPECT_EQ(ui.prompts[0], pytanieOZapis());
    EXPECT_EQ(m.nn, 9) << "the save failed: nothing is lost";
    EXPECT_TRUE(okno.zmieniony());
}

TEST_F(Commands, CloseWithoutProjectAsksNothingAndRepaints) {
    okno.Cm_zamknij();
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_GE(ui.repaints, 1);
    EXPECT_EQ(m.Pusty, 1);
}

TEST_F(Commands, ReleaseWithoutProjectWarnsAndChangesNothing) {
    m.nn = 5;  // counts of a rejected file stay as read
    for (Answer a : {Answer::Yes, Answer::No}) {
        ui.prompts.clear();
        ui.answer(a);
        okno.Zwol_pam();
        EXPECT_EQ(ui.prompts, std::vector<Prompt>{kNieZwolnil});
        EXPECT_EQ(m.nn, 5);
        EXPECT_EQ(m.Pusty, 1);
        EXPECT_TRUE(ui.captions.empty());
    }
}

TEST_F(Commands, ReleaseFreesWhatExistsAndDropsTheGroup) {
    struct {
        int nn, ne;
    } const cases[] = {{3, 0}, {0, 0}, {3, 1}};
    for (const auto& c : cases) {
        makeModel(m, c.nn, c.ne);
        m.s_grp.allocate(2);
        m.i_grp = 2;
        m.j_grupa = 1;
        m.obliczono = 1;
        okno.Zwol_pam();
        EXPECT_EQ(m.Pusty, 1);
        EXPECT_EQ(m.obliczono, 0);
        EXPECT_EQ(m.j_grupa, 0);
        EXPECT_EQ(m.nn + m.ne + m.nq, 0);
        EXPECT_FALSE(m.x.allocated() || m.si.allocated() || m.f.allocated() || m.ww.allocated() ||
                     m.noc.allocated() || m.napr.allocated() || m.s_grp.allocated());
        EXPECT_EQ(ui.caption, "WIRTOR - Beznazwy.WT");
    }
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(Commands, ClosingQuestionWithNothingUnsavedAnswersOnlyYesAsTrue) {
    ui.answer(Answer::No).answer(Answer::Yes);
    EXPECT_FALSE(okno.CanClose());
    EXPECT_TRUE(okno.CanClose());
    EXPECT_EQ(ui.prompts, (std::vector<Prompt>{kKoniec, kKoniec}));
}

TEST_F(Commands, AboutBoxHasFiveLinesAndNoRealAddress) {
    ui.answer(Answer::Ok);
    okno.Cm_opro();
    ASSERT_EQ(ui.prompts.size(), 1u);
    const Prompt& p = ui.prompts[0];
    EXPECT_EQ(p.caption, "O programie");
    EXPECT_EQ(p.buttons, Buttons::Ok);
    EXPECT_EQ(p.icon, Icon::Exclamation);
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t nl; (nl = p.text.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(p.text.substr(from, nl - from));
    lines.push_back(p.text.substr(from));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "WIRTOR v1.0");
    EXPECT_NE(lines[1].find("skręcania pręta"), std::string::npos);
    EXPECT_NE(lines[2].find("1999"), std::string::npos);
    EXPECT_NE(lines[2].find("2001"), std::string::npos);
    EXPECT_TRUE(lines[3].empty());
    EXPECT_NE(lines[4].find("example.org"), std::string::npos);
}

// Display switches: flips, the three-way group and the stress selection.
TEST_F(Commands, StressSelectionShowsSwitchesAndHides) {
    struct Step {
        int id;
        int p_napr, p_rn;
    } const steps[] = {
        {1122, 1, 3},                // from the start: tau is shown
        {1122, 0, 3},                // chosen again: hidden
        {1122, 1, 3}, {1120, 1, 1},  // another stress switches without hiding
        {1121, 1, 2}, {1123, 1, 4}, {1123, 0, 4}, {1120, 1, 1},
    };
    for (const Step& s : steps) {
        const int before = ui.repaints;
        okno.dispatch(s.id);
        EXPECT_EQ(okno.p_napr, s.p_napr) << s.id;
        EXPECT_EQ(p_rn, s.p_rn) << s.id;
        EXPECT_GT(ui.repaints, before);
    }
}

TEST_F(Commands, NumberSwitchesKeepAtMostOneOn) {
    okno.dispatch(1200);  // element numbers on
    EXPECT_EQ(okno.p_n_ele, 1);
    okno.dispatch(1220);  // material numbers replace them
    EXPECT_EQ(okno.p_n_ele, 0);
    EXPECT_EQ(okno.p_n_mat, 1);
    okno.dispatch(1230);
    EXPECT_EQ(okno.p_n_mat, 0);
    EXPECT_EQ(okno.p_n_pola, 1);
    // Switching one off leaves the others alone.
    okno.p_n_ele = 1;
    okno.dispatch(1230);
    EXPECT_EQ(okno.p_n_pola, 0);
    EXPECT_EQ(okno.p_n_ele, 1);
}

TEST_F(Commands, FlipSwitchesTurnAnythingButOneIntoOne) {
    struct {
        int id;
        int _OKNO_::*sw;
    } const flips[] = {{1275, &_OKNO_::p_siatka}, {51694, &_OKNO_::p_wez},
                       {1210, &_OKNO_::p_n_wezl}, {1110, &_OKNO_::p_przem},
                       {1250, &_OKNO_::p_podp},   {1260, &_OKNO_::p_sily},
                       {1270, &_OKNO_::p_sily_nr}};
    for (const auto& f : flips) {
        okno.*f.sw = 1;
        okno.dispatch(f.id);
        EXPECT_EQ(okno.*f.sw, 0) << f.id;
        okno.dispatch(f.id);
        EXPECT_EQ(okno.*f.sw, 1) << f.id;
        okno.*f.sw = 7;
        okno.dispatch(f.id);
        EXPECT_EQ(okno.*f.sw, 1) << f.id;
    }
    EXPECT_EQ(m.Pusty, 1) << "display switches do not touch the model";
}

TEST_F(Commands, InertCommandsChangeNothing) {
    makeModel(m, 3, 1);
    m.obliczono = 1;
    m.G = 123.0f;
    m.MS = 4.0f;
    const int ids[] = {1160, 51683, 51701, 51685, 51684, 51686, 51693, 51690, 51692};
    for (int id : ids)
        EXPECT_TRUE(okno.dispatch(id)) << id;
    EXPECT_EQ(m.nn, 3);
    EXPECT_EQ(m.ne, 1);
    EXPECT_EQ(m.G, 123.0f);
    EXPECT_EQ(m.MS, 4.0f);
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_TRUE(ui.dialogsRun.empty());
}

TEST_F(Commands, MenuItemRunsItsHandlerAfterTheDropDownCloses) {
    QMenuBar bar;
    buildMenu(&bar, &okno);
    QMenu* pomoc = bar.actions().last()->menu();
    ASSERT_EQ(pomoc->actions().size(), 1);
    ui.answer(Answer::Ok);
    pomoc->actions().first()->trigger();
    EXPECT_TRUE(ui.prompts.empty()) << "the handler runs from the event loop";
    QCoreApplication::processEvents();
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].caption, "O programie");
}

}  // namespace

namespace {

// The scripted dialogs obey the dialogs' own rules, so command tests see what a user could do.
TEST(ScriptedDialogs, TypeUnderTheDialogRulesAndCopyBackOnlyOnOk) {
    ScriptedUi ui;
    d_mat rec{};
    std::snprintf(rec.G, sizeof rec.G, "%s", "80000");
    ui.dialogOk(3050, {{8500, "1234.5"}}).dialogCancel(3050);
    EXPECT_TRUE(ui.runDialog(3050, &rec));
    EXPECT_STREQ(rec.G, "1234.5");
    EXPECT_FALSE(ui.runDialog(3050, &rec));
    EXPECT_STREQ(rec.G, "1234.5");
    EXPECT_EQ(ui.dialogsRun, (std::vector<int>{3050, 3050}));
}

}  // namespace

namespace {

TEST(MainWindow, ListingsCloseWithTheProjectAndWithTheWindow) {
    Model m;
    ScriptedUi ui;
    auto okno = std::make_unique<_OKNO_>(m, &ui);
    QPointer<QWidget> data, results;
    auto open = [&] {
        m.obliczono = 1;
        okno->dispatch(1140);
        okno->dispatch(1130);
        data = okno->dd;
        results = okno->oo;
        ASSERT_TRUE(data && results);
        EXPECT_EQ(m.id + m.iw, 2);
    };
    makeModel(m, 3, 1);
    open();
    okno->Zwol_pam();
    EXPECT_TRUE(data.isNull());
    EXPECT_TRUE(results.isNull());
    EXPECT_EQ(m.id + m.iw, 0);

    makeModel(m, 3, 1);
    open();
    okno.reset();  // the program ends
    EXPECT_TRUE(data.isNull());
    EXPECT_TRUE(results.isNull());
    EXPECT_EQ(m.Pusty, 1);
    EXPECT_FALSE(m.x.allocated());
}

}  // namespace
