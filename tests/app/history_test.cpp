// Undo and redo through the edit sequence, the unsaved mark, the save question, the keys of
// the menu and opening a file named at start.
#include <QAction>
#include <QMenuBar>
#include <QTemporaryDir>
#include <bit>
#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/menu.h"
#include "app/okno.h"
#include "edit/selection.h"
#include "scripted_ui.h"
#include "test_models.h"
#include "unsaved.h"

namespace {

/// Everything an undo must give back, bit for bit.
struct Bits {
    int nn = 0, ne = 0;
    std::uint32_t G = 0, MS = 0;
    std::vector<std::uint32_t> x, si;
    std::vector<int> noc;
    bool operator==(const Bits&) const = default;
};

Bits bits(const Model& m) {
    Bits b;
    b.nn = m.nn;
    b.ne = m.ne;
    b.G = std::bit_cast<std::uint32_t>(m.G);
    b.MS = std::bit_cast<std::uint32_t>(m.MS);
    for (int i = 1; i <= m.nn; ++i) {
        b.x.push_back(std::bit_cast<std::uint32_t>(m.x[i][1]));
        b.x.push_back(std::bit_cast<std::uint32_t>(m.x[i][2]));
        b.si.push_back(std::bit_cast<std::uint32_t>(m.si[i]));
    }
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 3; ++k)
            b.noc.push_back(m.noc[e][k]);
    return b;
}

std::string itemText(_OKNO_& okno, int id) {
    CommandEnabler ce;
    okno.enable(id, ce);
    return ce.text;
}

constexpr int kCofnij = 51730, kPonow = 51731;

class History : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
};

// A session over every edit command: each change is undone to the model before it, bit for
// bit, and redone to the model after it; the items name the command.
TEST_F(History, UndoAndRedoGiveBackEveryEarlierModelBitForBit) {
    struct Step {
        int id;
        const char* name;
        std::function<void(ScriptedUi&, Model&)> script;
    } const steps[] = {
        {51700, "Prostokąt",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3150, {{8500, "3"}, {8502, "1"}, {8503, "1"}, {8507, "2"}, {8506, "1"}});
         }},
        {51704, "Wycinek pierścienia",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3170, {{8502, "1"}, {8503, "0,5"}, {8505, "2"}, {8504, "8"}});
         }},
        {51688, "Dodaj węzeł",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3020, {{8500, "2,5"}, {8501, "-1"}});
         }},
        {51689, "Usuń węzeł",
         [](ScriptedUi& u, Model& mm) {
             u.dialogOk(3100, {{8004, std::to_string(mm.nn)}}).answer(Answer::Yes);
         }},
        {51687, "Dodaj element",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3010, {{8500, "3"}, {8501, "5"}, {8502, "4"}});
         }},
        {1191, "Zmień węzeł",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3100, {{8004, "5"}}).dialogOk(3020, {{8500, "1.1"}});
         }},
        {1170, "Zmień element",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3100, {{8004, "2"}})
                 .dialogOk(3010, {{8500, "1"}, {8501, "2"}, {8502, "6"}});
         }},
        {1150, "Materiał",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3050, {{8500, "90000"}});
         }},
        {51682, "Moment skręcający",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3190, {{8500, "2"}});
         }},
        {51691, "Usuń element",
         [](ScriptedUi& u, Model&) {
             u.dialogOk(3100, {{8004, "1"}}).answer(Answer::Yes);
         }},
        {51698, "Przesuń",
         [](ScriptedUi& u, Model& mm) {
             selectNodesInRect(mm, -0.5f, -0.5f, 1.5f, 0.5f);
             u.dialog(3130, [](dialogs::DialogSession& d) { return d.type(8500, "-0,5"); });
         }},
        {51697, "Kopiuj z przesunięciem",
         [](ScriptedUi& u, Model&) {
             u.dialog(3120, [](dialogs::DialogSession& d) { return d.type(8501, "3"); });
         }},
        {51705, "Scal węzły", [](ScriptedUi& u, Model&) { u.answer(Answer::Ok); }},
        {51699, "Grupa usuń",
         [](ScriptedUi& u, Model& mm) {
             selectNodesInRect(mm, -0.6f, -0.5f, 1.5f, 0.5f);
             u.dialogOk(3140, {}).answer(Answer::Yes);
         }},
    };
    makeSquare(m);
    m.si[3] = -0.0f;  // a sign bit the undo must keep
    std::vector<Bits> states{bits(m)};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.script(ui, m);
        okno.dispatch(s.id);
        ui.verifyAllUsed();
        ASSERT_NE(bits(m), states.back()) << "the step changes the model";
        states.push_back(bits(m));
        EXPECT_EQ(itemText(okno, kCofnij), std::string("&Cofnij: ") + s.name);
        EXPECT_EQ(itemText(okno, kPonow), "&Ponów");
    }
    for (std::size_t k = states.size() - 1; k > 0; --k) {
        m.a_licz = k == 1 ? 1 : 0;  // an undo recomputes like any change (the square computes)
        okno.dispatch(1140);        // a listing, which the undo closes
        EXPECT_EQ(itemText(okno, kPonow).rfind("&Ponów", 0), 0u);
        okno.dispatch(kCofnij);
        ASSERT_EQ(bits(m), states[k - 1]) << "undo to state " << k - 1;
        EXPECT_EQ(m.id, 0);
        EXPECT_EQ(m.Pusty, 0);
        EXPECT_EQ(itemText(okno, kPonow), std::string("&Ponów: ") + steps[k - 1].name);
    }
    EXPECT_EQ(m.obliczono, 1) << "recomputed after the last undo";
    m.a_licz = 0;
    EXPECT_EQ(itemText(okno, kCofnij), "&Cofnij");
    okno.dispatch(kCofnij);  // nothing left: no change
    EXPECT_EQ(bits(m), states[0]);
    for (std::size_t k = 1; k < states.size(); ++k) {
        okno.dispatch(kPonow);
        ASSERT_EQ(bits(m), states[k]) << "redo to state " << k;
    }
    // Mixed: back two, a new change drops what could be redone.
    okno.dispatch(kCofnij);
    okno.dispatch(kCofnij);
    ASSERT_EQ(bits(m), states[states.size() - 3]);
    ui.dialogOk(3190, {{8500, "7"}});
    okno.dispatch(51682);
    EXPECT_EQ(itemText(okno, kPonow), "&Ponów");
    okno.dispatch(kCofnij);
    EXPECT_EQ(bits(m), states[states.size() - 3]);
}

// Only changes of the model mark it unsaved; undoing back to the saved state clears the mark.
TEST_F(History, TheUnsavedMarkFollowsChangesOnly) {
    QTemporaryDir dir;
    const std::string p = dir.filePath("a.WT").toStdString();
    makeSquare(m);
    ui.choose(p).answer(Answer::Ok);
    okno.dispatch(1060);
    ASSERT_FALSE(okno.zmieniony());
    const std::string saved = "WIRTOR - " + p;
    struct Case {
        const char* what;
        std::function<void()> run;
        bool unsaved;
    } const cases[] = {
        {"compute", [&] { okno.dispatch(1010); }, false},
        {"view switch", [&] { okno.dispatch(1200); }, false},
        {"fit", [&] { okno.dispatch(51706); }, false},
        {"listing", [&] { okno.dispatch(1140); }, false},
        {"same G again",
         [&] {
             ui.dialogOk(3050, {});
             okno.dispatch(1150);
         },
         false},
        {"moment",
         [&] {
             ui.dialogOk(3190, {{8500, "3"}});
             okno.dispatch(51682);
         },
         true},
        {"undo to the saved state", [&] { okno.dispatch(kCofnij); }, false},
        {"redo", [&] { okno.dispatch(kPonow); }, true},
        {"save without the dialog",
         [&] {
             ui.answer(Answer::Ok);
             okno.dispatch(1030);
         },
         false},
        {"undo after the save", [&] { okno.dispatch(kCofnij); }, true},
    };
    for (const Case& c : cases) {
        c.run();
        EXPECT_EQ(okno.zmieniony(), c.unsaved) << c.what;
        EXPECT_EQ(ui.caption, c.unsaved ? saved + " *" : saved) << c.what;
    }
    EXPECT_EQ(ui.choosers.size(), 1u) << "Ctrl+S saved to the file it had";
}

TEST_F(History, OpeningOrANewProjectClearsTheHistory) {
    QTemporaryDir dir;
    const std::string p = dir.filePath("a.WT").toStdString();
    makeSquare(m);
    zmien(okno);
    ui.choose(p).answer(Answer::Ok);
    okno.dispatch(1060);
    zmien(okno);
    ASSERT_TRUE(okno.historia().canUndo());
    ui.answer(Answer::No).choose(p);
    okno.dispatch(1020);
    EXPECT_FALSE(okno.historia().canUndo());
    EXPECT_FALSE(okno.zmieniony());
    zmien(okno);
    ui.answer(Answer::No);
    okno.dispatch(1070);
    EXPECT_FALSE(okno.historia().canUndo());
    EXPECT_FALSE(okno.historia().canRedo());
    EXPECT_FALSE(okno.zmieniony());
}

TEST_F(History, TheSaveQuestionNamesTheFileAndYesSavesIntoIt) {
    QTemporaryDir dir;
    const std::string p = dir.filePath("model.WT").toStdString();
    makeSquare(m);
    ui.choose(p).answer(Answer::Ok);
    okno.dispatch(1030);  // no file yet: the dialog
    zmien(okno);
    const float G = m.G;
    ui.answer(Answer::Yes).answer(Answer::Ok);
    okno.dispatch(51703);  // "Z&amknij"
    EXPECT_EQ(ui.prompts[1], pytanieOZapis("model.WT"));
    EXPECT_EQ(m.Pusty, 1);
    ui.choose(p);
    okno.dispatch(1020);
    EXPECT_EQ(m.G, G) << "the change was saved before the project closed";
    EXPECT_EQ(ui.choosers.size(), 2u);
}

TEST_F(History, FileNamedAtStartOpensOrGetsTheMessageOfOpen) {
    QTemporaryDir dir;
    const std::string p = dir.filePath("sq.WT").toStdString();
    makeSquare(m);
    ui.choose(p).answer(Answer::Ok);
    okno.dispatch(1030);
    releaseModel(m);
    EXPECT_TRUE(okno.otworz_plik(p));
    EXPECT_EQ(m.nn, 9);
    EXPECT_EQ(ui.caption, "WIRTOR - " + p);
    Model m2;
    ScriptedUi ui2;
    _OKNO_ drugie{m2, &ui2};
    ui2.answer(Answer::Ok);
    EXPECT_FALSE(drugie.otworz_plik(dir.filePath("brak.WT").toStdString()));
    EXPECT_EQ(ui2.prompts,
              std::vector<Prompt>{ask("Nie można otworzyć pliku", "Błąd operacji dyskowej",
                                      Buttons::Ok, Icon::Exclamation)});
    EXPECT_EQ(m2.Pusty, 1);
}

TEST(MenuKeys, TheItemsShowTheirKeysAndNoKeyIsUsedTwice) {
    const std::map<int, QStringList> expected = {
        {1070, {"Ctrl+N"}},       {1020, {"Ctrl+O"}},    {1030, {"Ctrl+S"}},
        {1060, {"Ctrl+Shift+S"}}, {1040, {"Ctrl+Q"}},    {1010, {"F5"}},
        {51706, {"Ctrl+0"}},      {kCofnij, {"Ctrl+Z"}}, {kPonow, {"Ctrl+Y", "Ctrl+Shift+Z"}},
    };
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
    QMenuBar bar;
    buildMenu(&bar, &okno);
    std::set<QString> used;
    std::map<int, QStringList> found;
    for (QAction* top : bar.actions())
        for (QAction* a : top->menu()->actions())
            for (const QKeySequence& k : a->shortcuts()) {
                const QString s = k.toString(QKeySequence::PortableText);
                EXPECT_TRUE(used.insert(s).second) << s.toStdString();
                found[a->data().toInt()] << s;
            }
    EXPECT_EQ(found, expected);
}

TEST(MenuKeys, CommandNamesComeFromTheItemText) {
    EXPECT_EQ(commandName(51700), "Prostokąt");
    EXPECT_EQ(commandName(51708), "Obrys");
    EXPECT_EQ(commandName(51688), "Dodaj węzeł");
    EXPECT_EQ(commandName(1170), "Zmień element");
    EXPECT_EQ(commandName(4242), "");
}

}  // namespace
