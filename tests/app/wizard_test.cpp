// The model wizard through a scripted Ui: the basic data, the element and node phases, the
// messages in order and the model each way of ending it leaves.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"
#include "unsaved.h"

namespace {

using Texts = std::vector<std::pair<int, std::string>>;

Prompt blad(const std::string& text) {
    return ask(text, "Błąd danych", Buttons::Ok, Icon::Stop);
}

/// One wizard run: the dialogs in order (template, texts typed, OK), the messages expected
/// and the model afterwards.
struct WizardRun {
    const char* name;
    std::vector<std::pair<int, Texts>> dialogs;  ///< an empty text list with id < 0 cancels
    std::vector<Prompt> prompts;
    std::function<void(const Model&)> after;
};

void noProject(const Model& m) {
    EXPECT_EQ(m.Pusty, 1);
    EXPECT_EQ(m.nn + m.nq + m.ne, 0);
    EXPECT_EQ(m.G, 80000.0f);
}

const Texts kSquareTris[] = {{{8500, "1"}, {8501, "2"}, {8502, "3"}},
                             {{8500, "1"}, {8501, "3"}, {8502, "4"}}};

class Wizard : public ::testing::TestWithParam<WizardRun> {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
};

TEST_P(Wizard, LeadsThroughItsDialogs) {
    const WizardRun& r = GetParam();
    for (const auto& [id, texts] : r.dialogs) {
        if (id < 0)
            ui.dialogCancel(-id);
        else
            ui.dialogOk(id, texts);
    }
    for (std::size_t k = 0; k < r.prompts.size(); ++k)
        ui.answer(Answer::Ok);
    okno.dispatch(51695);
    EXPECT_EQ(ui.prompts, r.prompts);
    ui.verifyAllUsed();
    r.after(m);
    EXPECT_EQ(m.obliczono, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Wizard,
    ::testing::Values(
        WizardRun{"Complete",
                  {{3000, {}},
                   {3010, kSquareTris[0]},
                   {3010, kSquareTris[1]},
                   {3020, {}},
                   {3020, {{8500, "1"}}},
                   {3020, {{8500, "1"}, {8501, "1"}}},
                   {3020, {{8501, "1,5"}}}},
                  {},
                  [](const Model& m) {
                      EXPECT_EQ(m.Pusty, 0);
                      ASSERT_EQ(m.ne, 2);
                      ASSERT_EQ(m.nn, 4);
                      EXPECT_EQ(m.nq, 4);
                      EXPECT_EQ(m.nbw, 0);
                      EXPECT_EQ(m.noc[2][3], 4);
                      EXPECT_EQ(m.x[4][2], 1.5f);
                      EXPECT_EQ(m.si[4], 0.0f);
                      EXPECT_EQ(m.G, 80000.0f);
                      EXPECT_EQ(m.MS, 1.0f);
                  }},
        WizardRun{"RefusedNodesAskTheSameElementAgain",
                  {{3000, {{3001, "2"}, {3002, "4"}}},
                   {3010, {{8500, "1"}, {8501, "2"}, {8502, "2"}}},
                   {3010, {{8500, "2"}, {8501, "2"}, {8502, "3"}}},
                   {3010, {{8500, "0"}, {8501, "5"}, {8502, "9"}}},
                   {3010, kSquareTris[0]},
                   {-3010, {}}},
                  {blad("Zły numer węzła 2"), blad("Zły numer węzła 1"), blad("Zły numer węzła 1"),
                   blad("Zły numer węzła 2"), blad("Zły numer węzła 3")},
                  [](const Model& m) {
                      EXPECT_EQ(m.Pusty, 0);
                      EXPECT_EQ(m.noc[1][3], 3);
                      EXPECT_EQ(m.noc[2][1] + m.noc[2][2] + m.noc[2][3], 3) << "(1, 1, 1) left";
                  }},
        WizardRun{"CancelledAtTheFirstElement",
                  {{3000, {{3001, "3"}, {3002, "5"}, {3005, "2"}, {3006, "1e5"}}}, {-3010, {}}},
                  {},
                  [](const Model& m) {
                      EXPECT_EQ(m.Pusty, 0);
                      EXPECT_EQ(m.ne, 3);
                      EXPECT_EQ(m.nn, 5);
                      EXPECT_EQ(m.x[5][1], 0.0f);
                      EXPECT_EQ(m.MS, 2.0f);
                      EXPECT_EQ(m.G, 100000.0f);
                  }},
        WizardRun{
            "OneElement", {{3000, {{3001, "1"}}}}, {blad("Zbyt mała liczba elementów")}, noProject},
        WizardRun{"TwoNodes", {{3000, {{3002, "2"}}}}, {}, noProject},
        WizardRun{"ZeroMoment", {{3000, {{3005, "0"}}}}, {}, noProject},
        WizardRun{"NegativeModulus", {{3000, {{3006, "-1"}}}}, {}, noProject},
        WizardRun{"HugeCounts",
                  {{3000, {{3001, "9999999"}, {3002, "9999999"}}}},
                  {blad("Zbyt duża liczba elementów (najwyżej 100000)"),
                   blad("Zbyt duża liczba węzłów (najwyżej 100000)")},
                  noProject},
        WizardRun{"CancelledBasicData", {{-3000, {}}}, {}, noProject}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WizardModel, AnExistingProjectIsReplacedOnlyOnYesAndUnfinishedElementsNeverCompute) {
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
    makeSquare(m);
    zmien(okno);
    ui.answer(Answer::Cancel);
    okno.Cm_kreator();
    EXPECT_EQ(m.nn, 9);

    // Cancelled in the element phase: elements (1, 1, 1) have no area and the automatic
    // computation reports its failure instead of a result.
    m.a_licz = 1;
    ui.answer(Answer::No).dialogOk(3000, {}).dialogCancel(3010).answer(Answer::Ok);
    okno.Cm_kreator();
    EXPECT_EQ(m.nn, 4);
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.obliczono, 0);
    ASSERT_EQ(ui.prompts.size(), 3u);
    EXPECT_EQ(ui.prompts[2].text, "Błąd podczas obliczeń");
    EXPECT_TRUE(okno.zmieniony()) << "a project the wizard made is not saved yet";
}

}  // namespace
