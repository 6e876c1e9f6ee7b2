// The node, element, material and moment commands driven through a scripted Ui: the dialogs
// and messages in order, the repeats, Escape and "Anuluj", and the model afterwards.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

using Tri = std::array<int, 3>;
using Texts = std::vector<std::pair<int, std::string>>;
using Check = std::function<void(dialogs::DialogSession&)>;

const Prompt kZlyWezel1 = ask("Zły numer węzła 1", "Błąd danych", Buttons::Ok, Icon::Stop);
const Prompt kZlyWezel3 = ask("Zły numer węzła 3", "Błąd danych", Buttons::Ok, Icon::Stop);
const Prompt kUsunWezel3 = ask("Usunąć węzeł 3 ?", "Usuwanie węzła", Buttons::YesNo, Icon::None);
const Prompt kUsunElement1 =
    ask("Usunąć element 1 ?", "Usuwanie elementu", Buttons::YesNo, Icon::None);
const Prompt kWezelUzyty = ask("Nie można usunąć węzła, który jest składnikiem elementu",
                               "Usuwanie węzła", Buttons::Ok, Icon::Stop);
const Prompt kGUjemny =
    ask("Moduł sprężystości poprzecznej <=0", "Błąd danych", Buttons::Ok, Icon::Stop);

/// What the user does in one dialog: check the texts shown, type, then OK or cancel.
struct Dlg {
    int id;
    Texts typed;
    bool ok = true;
    Check shown = nullptr;
};

/// One command run: the dialogs and answers in order, the prompts expected, the model after.
struct Flow {
    const char* name;
    int command;
    std::vector<Dlg> dialogs;
    std::vector<Answer> answers;
    std::vector<Prompt> prompts;
    std::function<void(const Model&)> after;
};

/// Five nodes, node 3 unused, elements (1,2,4) and (2,4,5), results current.
void fiveNodes(Model& m) {
    makeModel(m, 5, 2);
    const float xy[5][2] = {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 1}};
    for (int i = 1; i <= 5; ++i)
        m.x[i][1] = xy[i - 1][0], m.x[i][2] = xy[i - 1][1];
    const Tri tris[] = {{1, 2, 4}, {2, 4, 5}};
    for (int e = 1; e <= 2; ++e)
        for (int k = 1; k <= 3; ++k)
            m.noc[e][k] = tris[e - 1][k - 1];
    m.obliczono = 1;
}

std::vector<Tri> corners(const Model& m) {
    std::vector<Tri> v;
    for (int e = 1; e <= m.ne; ++e)
        v.push_back({m.noc[e][1], m.noc[e][2], m.noc[e][3]});
    return v;
}

/// Nothing changed: the five-node model with its results.
void unchanged(const Model& m) {
    EXPECT_EQ(m.nn, 5);
    EXPECT_EQ(corners(m), (std::vector<Tri>{{1, 2, 4}, {2, 4, 5}}));
    EXPECT_EQ(m.x[2][1], 1.0f);
    EXPECT_EQ(m.G, 80000.0f);
    EXPECT_EQ(m.MS, 1.0f);
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(m.Pusty, 0);
}

/// Shows texts, in control-id order.
Check shows(Texts expected) {
    return [expected = std::move(expected)](dialogs::DialogSession& d) {
        for (const auto& [id, text] : expected)
            EXPECT_EQ(d.text(id), text) << "control " << id;
    };
}

Dlg number(const std::string& typed) {
    return {3100, {{8004, typed}}};
}
const Dlg kEscape{3100, {}, false};

class EditFlows : public ::testing::TestWithParam<Flow> {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
};

TEST_P(EditFlows, AskInOrderAndChangeOnlyWhatWasConfirmed) {
    const Flow& f = GetParam();
    fiveNodes(m);
    for (const Dlg& d : f.dialogs)
        ui.dialog(d.id, [d](dialogs::DialogSession& s) {
            if (d.shown) d.shown(s);
            for (const auto& [id, text] : d.typed)
                EXPECT_TRUE(s.type(id, text)) << "control " << id << " refuses " << text;
            return d.ok;
        });
    for (Answer a : f.answers)
        ui.answer(a);
    okno.dispatch(f.command);
    EXPECT_EQ(ui.prompts, f.prompts);
    ui.verifyAllUsed();
    f.after(m);
}

const Texts kZeros = {{8500, "0"}, {8501, "0"}, {8502, "0"}};

INSTANTIATE_TEST_SUITE_P(
    Commands, EditFlows,
    ::testing::Values(
        // "&Dodaj" → "&Węzeł"
        Flow{"AddNode",
             51688,
             {{3020,
               {{8500, "2,5"}, {8501, "-1"}},
               true,
               shows({{8004, "6"}, {8500, "0.0000"}, {8501, "0.0000"}})}},
             {},
             {},
             [](const Model& m) {
                 ASSERT_EQ(m.nn, 6);
                 EXPECT_EQ(m.nq, 6);
                 EXPECT_EQ(m.x[6][1], 2.5f);
                 EXPECT_EQ(m.x[6][2], -1.0f);
                 EXPECT_EQ(m.si[6], 0.0f);
                 EXPECT_EQ(m.x[5][1], 2.0f);
                 EXPECT_EQ(m.obliczono, 0);
             }},
        Flow{"AddNodeCancelled", 51688, {{3020, {{8500, "7"}}, false}}, {}, {}, unchanged},
        Flow{"AddNodeBeyondFloat",
             51688,
             {{3020, {{8500, "1e39"}}}},
             {Answer::Ok},
             {ask("Współrzędna węzła poza zakresem liczb", "Błąd danych", Buttons::Ok, Icon::Stop)},
             unchanged},
        // "&Dodaj" → "&Element": asked again from "0" until valid or "Anuluj".
        Flow{"AddElementAskedAgain",
             51687,
             {{3010,
               {{8500, "1"}, {8501, "2"}, {8502, "1"}},
               true,
               shows({{8004, "3"}, {8500, "0"}, {8501, "0"}, {8502, "0"}})},
              {3010, {{8500, "1"}, {8501, "1"}, {8502, "2"}}, true, shows(kZeros)},
              {3010, {{8500, "9"}, {8501, "3"}, {8502, "0"}}, true, shows(kZeros)},
              {3010, {{8500, "3"}, {8501, "5"}, {8502, "4"}}, true, shows(kZeros)}},
             {Answer::Ok, Answer::Ok, Answer::Ok},
             {kZlyWezel1, kZlyWezel1, kZlyWezel3},
             [](const Model& m) {
                 EXPECT_EQ(corners(m), (std::vector<Tri>{{1, 2, 4}, {2, 4, 5}, {3, 5, 4}}));
                 EXPECT_EQ(m.napr.rows(), 3);
                 EXPECT_EQ(m.obliczono, 0);
             }},
        Flow{"AddElementCancelledAfterARefusal",
             51687,
             {{3010, {{8500, "1"}, {8501, "1"}, {8502, "2"}}}, {3010, {{8500, "3"}}, false}},
             {Answer::Ok},
             {kZlyWezel1},
             unchanged},
        // "&Usuń" → "&Węzeł"
        Flow{"DeleteNode",
             51689,
             {number("3")},
             {Answer::Yes},
             {kUsunWezel3},
             [](const Model& m) {
                 EXPECT_EQ(m.nn, 4);
                 EXPECT_EQ(m.x[3][1], 1.0f);  // the old node 4
                 EXPECT_EQ(corners(m), (std::vector<Tri>{{1, 2, 3}, {2, 3, 4}}));
                 EXPECT_EQ(m.obliczono, 0);
             }},
        Flow{"DeleteNodeAnsweredNo", 51689, {number("3")}, {Answer::No}, {kUsunWezel3}, unchanged},
        Flow{"DeleteUsedNode", 51689, {number("4")}, {Answer::Ok}, {kWezelUzyty}, unchanged},
        Flow{"DeleteNodePastNn", 51689, {number("6")}, {}, {}, unchanged},
        Flow{"DeleteNodeEscape", 51689, {kEscape}, {}, {}, unchanged},
        // "&Usuń" → "&Element"
        Flow{"DeleteElement",
             51691,
             {{3100, {{8004, "1"}}, true, shows({{8700, "Podaj numer elementu :"}})}},
             {Answer::Yes},
             {kUsunElement1},
             [](const Model& m) {
                 EXPECT_EQ(corners(m), (std::vector<Tri>{{2, 4, 5}}));
                 EXPECT_EQ(m.nn, 5) << "nodes stay";
                 EXPECT_EQ(m.napr.rows(), 1);
             }},
        Flow{"DeleteElementAnsweredNo",
             51691,
             {number("1")},
             {Answer::No},
             {kUsunElement1},
             unchanged},
        Flow{"DeleteElementZero", 51691, {number("0")}, {}, {}, unchanged},
        Flow{"DeleteElementEscape", 51691, {kEscape}, {}, {}, unchanged},
        // "&Zmień" → "&Węzeł"
        Flow{"ChangeNode",
             1191,
             {{3100, {{8004, "2"}}, true, shows({{8700, "Podaj numer węzła :"}})},
              {3020,
               {{8501, "-0,25"}},
               true,
               shows({{8004, "2"}, {8500, "1.0000"}, {8501, "0.0000"}})}},
             {},
             {},
             [](const Model& m) {
                 EXPECT_EQ(m.x[2][1], 1.0f);
                 EXPECT_EQ(m.x[2][2], -0.25f);
                 EXPECT_EQ(m.obliczono, 0);
             }},
        Flow{"ChangeNodeCancelled",
             1191,
             {number("2"), {3020, {{8500, "5"}}, false}},
             {},
             {},
             unchanged},
        Flow{"ChangeNodeEscape", 1191, {kEscape}, {}, {}, unchanged},
        // "&Zmień" → "&Element": tried once.
        Flow{"ChangeElement",
             1170,
             {number("2"),
              {3010,
               {{8502, "3"}},
               true,
               shows({{8004, "2"}, {8500, "2"}, {8501, "4"}, {8502, "5"}})}},
             {},
             {},
             [](const Model& m) {
                 EXPECT_EQ(corners(m), (std::vector<Tri>{{1, 2, 4}, {2, 4, 3}}));
                 EXPECT_EQ(m.obliczono, 0);
             }},
        Flow{"ChangeElementRefusedOnce",
             1170,
             {number("1"), {3010, {{8500, "9"}}}},
             {Answer::Ok},
             {kZlyWezel1},
             unchanged},
        Flow{"ChangeElementPastNe", 1170, {number("3")}, {}, {}, unchanged},
        // "&Zmień" → "&Materiał": G <= 0 asked again, showing the unchanged G.
        Flow{"ChangeMaterial",
             1150,
             {{3050, {{8500, "-5"}}, true, shows({{8500, "80000.000000"}})},
              {3050, {{8500, "2,5e5"}}, true, shows({{8500, "80000.000000"}})}},
             {Answer::Ok},
             {kGUjemny},
             [](const Model& m) {
                 EXPECT_EQ(m.G, 250000.0f);
                 EXPECT_EQ(m.obliczono, 0);
             }},
        Flow{"ChangeMaterialRefusedThenCancelled",
             1150,
             {{3050, {{8500, "0"}}}, {3050, {}, false}},
             {Answer::Ok},
             {kGUjemny},
             unchanged},
        // "&Zmień" → "&Moment skręcający": any finite moment.
        Flow{"ChangeMomentToZero",
             51682,
             {{3190, {{8500, "0"}}, true, shows({{8500, "1.000000"}})}},
             {},
             {},
             [](const Model& m) {
                 EXPECT_EQ(m.MS, 0.0f);
                 EXPECT_EQ(m.obliczono, 0);
             }},
        Flow{"ChangeMomentCancelled", 51682, {{3190, {{8500, "7"}}, false}}, {}, {}, unchanged}),
    [](const auto& info) { return std::string(info.param.name); });

class EditSequence : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
};

TEST_F(EditSequence, AutomaticComputationFollowsEveryEditButTheMoment) {
    struct Case {
        int command;
        std::vector<Dlg> dialogs;
        int obliczono;
    } const cases[] = {
        {1191, {number("5"), {3020, {{8500, "1.1"}}}}, 1},
        {1150, {{3050, {{8500, "90000"}}}}, 1},
        {51682, {{3190, {{8500, "2"}}}}, 0},
    };
    for (const Case& c : cases) {
        makeSquare(m);
        m.a_licz = 1;
        for (const Dlg& d : c.dialogs)
            ui.dialogOk(d.id, d.typed);
        okno.dispatch(c.command);
        EXPECT_EQ(m.obliczono, c.obliczono) << c.command;
        EXPECT_TRUE(ui.prompts.empty()) << c.command;
    }
}

TEST_F(EditSequence, LongPrefilledValuesComeBackUnchangedFromAnUneditedDialog) {
    makeSquare(m);
    m.G = 81000000.0f;
    m.MS = 12345678.0f;
    m.x[2][1] = 1234.5f;
    ui.dialogOk(3050, {});
    okno.Cm_z_mat();
    ui.dialogOk(3190, {});
    okno.Cm_z_sily();
    ui.dialogOk(3100, {{8004, "2"}}).dialogOk(3020, {});
    okno.Cm_z_wez();
    EXPECT_EQ(m.G, 81000000.0f);
    EXPECT_EQ(m.MS, 12345678.0f);
    EXPECT_EQ(m.x[2][1], 1234.5f);
}

TEST_F(EditSequence, ListingsCloseOnAChangeButNotOnARefusal) {
    makeSquare(m);
    okno.dispatch(1140);
    ASSERT_EQ(m.id, 1);
    ui.dialogOk(3100, {{8004, "5"}}).answer(Answer::Ok);  // node 5 is used
    okno.Cm_u_wez();
    EXPECT_EQ(m.id, 1);
    EXPECT_TRUE(okno.dd);
    ui.dialogOk(3190, {{8500, "3"}});
    okno.Cm_z_sily();
    EXPECT_EQ(m.id, 0);
    EXPECT_FALSE(okno.dd);
}

TEST_F(EditSequence, WithoutAProjectOrEnoughItemsNoDialogOpens) {
    for (int id : {51688, 51687, 51689, 51691, 1191, 1170, 1150, 51682})
        okno.dispatch(id);
    newProject(m);
    for (int id : {51687, 1191, 1170, 51682})
        okno.dispatch(id);
    makeModel(m, 2, 0);
    okno.dispatch(51687);
    EXPECT_TRUE(ui.dialogsRun.empty());
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(EditSequence, AnEmptyProjectTakesItsFirstNodeAtTheOrigin) {
    newProject(m);
    ui.dialog(3020, [](dialogs::DialogSession& d) {
        EXPECT_EQ(d.text(8004), "1");
        return true;
    });
    okno.Cm_d_wez();
    ASSERT_EQ(m.nn, 1);
    EXPECT_EQ(m.nq, 1);
    EXPECT_EQ(m.x[1][1], 0.0f);
    EXPECT_EQ(m.x[1][2], 0.0f);
    EXPECT_EQ(m.si[1], 0.0f);
}

TEST_F(EditSequence, StatusLineFollowsComputationsAndChanges) {
    QString shown;
    QObject::connect(&okno, &_OKNO_::statusChanged, [&](const QString& t) { shown = t; });
    makeSquare(m);
    okno.dispatch(1010);
    EXPECT_TRUE(shown.startsWith("J = ")) << shown.toStdString();
    ui.dialogOk(3190, {{8500, "2"}});
    okno.dispatch(51682);
    EXPECT_TRUE(shown.startsWith(QString::fromUtf8("Brak aktualnych wyników")))
        << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("MS = 2")) << shown.toStdString();
    EXPECT_EQ(okno.statusText(), shown);
}

}  // namespace
