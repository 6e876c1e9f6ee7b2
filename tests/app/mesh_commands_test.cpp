// The rectangle command: its dialog, the silent refusals and the patch appended.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

using Texts = std::vector<std::pair<int, std::string>>;

class RectangleCommand : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    void SetUp() override { newProject(m); }
};

TEST_F(RectangleCommand, DialogStartsFromTheDefaultsEveryTime) {
    for (int k = 0; k < 2; ++k)
        ui.dialog(3150, [](dialogs::DialogSession& d) {
            for (int id : {8500, 8501, 8502, 8503, 8507, 8506})
                EXPECT_EQ(d.text(id), "0") << id;
            EXPECT_EQ(d.text(8505), "1");
            EXPECT_TRUE(d.checked(8600));
            EXPECT_FALSE(d.checked(8610));
            d.type(8507, "5");
            d.setChecked(8610, true);
            return false;
        });
    okno.Cm_prost();
    okno.Cm_prost();
    EXPECT_EQ(ui.dialogsRun, (std::vector<int>{3150, 3150}));
    EXPECT_EQ(m.nn, 0);
    EXPECT_EQ(ui.repaints, 2);
}

TEST_F(RectangleCommand, AcceptedEntriesAppendThePatch) {
    ui.dialogOk(3150, {{8502, "2"}, {8503, "1"}, {8507, "2"}, {8506, "1"}});
    okno.Cm_prost();
    ASSERT_EQ(m.nn, 6);
    ASSERT_EQ(m.ne, 4);
    EXPECT_EQ(m.x[6][1], 2.0f);
    EXPECT_EQ(m.x[6][2], 1.0f);
    EXPECT_EQ(m.noc[4][3], 6);
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(ui.repaints, 1);
}

TEST_F(RectangleCommand, FourTrianglesWhenTheBoxIsTicked) {
    ui.dialog(3150, [](dialogs::DialogSession& d) {
        d.type(8502, "3");
        d.type(8503, "2");
        d.type(8507, "3");
        d.type(8506, "2");
        d.setChecked(8610, true);
        return true;
    });
    okno.Cm_prost();
    EXPECT_EQ(m.nn, 18);
    EXPECT_EQ(m.ne, 24);
}

// Each row: the texts typed; the patch is refused silently or built.
struct Entry {
    Texts texts;
    int nodes;
};

class RectangleEntries : public RectangleCommand, public ::testing::WithParamInterface<Entry> {};

TEST_P(RectangleEntries, AreTestedBeforeAnythingChanges) {
    ui.dialogOk(3150, GetParam().texts);
    okno.Cm_prost();
    EXPECT_EQ(m.nn, GetParam().nodes);
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(ui.repaints, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RectangleEntries,
    ::testing::Values(Entry{{}, 0},                                        // defaults: no cells
                      Entry{{{8500, "-1"}, {8507, "1"}, {8506, "1"}}, 0},  // negative corner
                      Entry{{{8501, "-0.5"}, {8507, "1"}, {8506, "1"}}, 0},
                      Entry{{{8507, "1"}, {8506, "-2"}}, 0},                   // negative count
                      Entry{{{8507, "abc"}, {8506, "1"}}, 0},                  // no digits: 0 cells
                      Entry{{{8500, "abc"}, {8507, "1"}, {8506, "1"}}, 4},     // corner reads as 0
                      Entry{{{8502, "-1"}, {8507, "1"}, {8506, "1"}}, 4},      // extent not tested
                      Entry{{{8500, "1e39"}, {8507, "1"}, {8506, "1"}}, 0}));  // beyond float

TEST_F(RectangleCommand, CancelLeavesTheModelAndOnlyRepaints) {
    makeModel(m, 3, 1);
    m.obliczono = 1;
    ui.dialog(3150, [](dialogs::DialogSession& d) {
        d.type(8507, "4");
        d.type(8506, "4");
        return false;
    });
    okno.Cm_prost();
    EXPECT_EQ(m.nn, 3);
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(ui.repaints, 1);
}

TEST_F(RectangleCommand, WithoutProjectNoDialogOpens) {
    releaseModel(m);
    okno.Cm_prost();
    EXPECT_TRUE(ui.dialogsRun.empty());
    EXPECT_EQ(ui.repaints, 1);
}

TEST_F(RectangleCommand, AutomaticRecomputationRunsAfterThePatch) {
    m.a_licz = 1;
    ui.dialogOk(3150, {{8502, "1"}, {8503, "1"}, {8507, "4"}, {8506, "4"}});
    okno.Cm_prost();
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_GT(m.katob, 0.0f);
}

TEST_F(RectangleCommand, PatchTooLargeForMemoryIsReportedAndChangesNothing) {
    ui.dialogOk(3150, {{8507, "9999999"}, {8506, "9999999"}});
    ui.answer(Answer::Ok);
    okno.Cm_prost();
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].caption, "Błąd danych");
    EXPECT_EQ(ui.prompts[0].icon, Icon::Stop);
    EXPECT_EQ(m.nn, 0);
    EXPECT_EQ(m.Pusty, 0);
}

// The ring sector: its defaults, a closed ring built, and the silent refusals.
TEST_F(RectangleCommand, RingSectorDialogStartsFromItsDefaultsAndAppendsThePatch) {
    ui.dialog(3170, [](dialogs::DialogSession& d) {
        for (int id : {8500, 8501, 8502, 8503, 8507, 8505, 8504})
            EXPECT_EQ(d.text(id), "0") << id;
        EXPECT_EQ(d.text(8506), "360");
        EXPECT_EQ(d.text(8508), "1");
        EXPECT_TRUE(d.checked(8600));
        EXPECT_FALSE(d.checked(8610));
        return true;  // unchanged: no divisions, nothing built
    });
    okno.Cm_pierscien();
    EXPECT_EQ(m.nn, 0);

    ui.dialogOk(3170, {{8502, "1"}, {8503, "0,5"}, {8505, "2"}, {8504, "8"}});
    okno.Cm_pierscien();
    EXPECT_EQ(m.nn, 3 * 8) << "a full turn reuses its first row";
    EXPECT_EQ(m.ne, 2 * 2 * 8);
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(RectangleCommand, RingSectorEntriesThatCannotGiveAPatchAreRefusedSilently) {
    const Texts refused[] = {
        {{8500, "-1"}, {8502, "1"}, {8505, "2"}, {8504, "8"}},   // centre left of the axis
        {{8502, "1"}, {8503, "1"}, {8505, "2"}, {8504, "8"}},    // equal radii
        {{8502, "1"}, {8506, "0"}, {8505, "2"}, {8504, "8"}},    // equal angles
        {{8502, "1"}, {8506, "400"}, {8505, "2"}, {8504, "8"}},  // beyond a full turn
        {{8502, "1"}, {8503, "-1"}, {8505, "2"}, {8504, "8"}},   // negative radius
    };
    for (const Texts& t : refused) {
        ui.dialogOk(3170, t);
        okno.Cm_pierscien();
    }
    EXPECT_EQ(m.nn, 0);
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(RectangleCommand, MergingJoinsPatchesAndSaysHowManyNodesWent) {
    const Prompt none =
        ask("Brak węzłów do scalenia", "Scal węzły", Buttons::Ok, Icon::Information);
    for (const char* x : {"0", "1"})
        ui.dialogOk(3150, {{8500, x}, {8502, "1"}, {8503, "1"}, {8507, "1"}, {8506, "1"}});
    okno.Cm_prost();
    okno.Cm_prost();
    ASSERT_EQ(m.nn, 8);
    m.a_licz = 1;
    ui.answer(Answer::Ok).answer(Answer::Ok);
    okno.dispatch(51705);
    EXPECT_EQ(m.nn, 6);
    EXPECT_EQ(m.ne, 4);
    EXPECT_EQ(m.obliczono, 1) << "automatic computation of the joined section";
    okno.dispatch(1140);
    okno.dispatch(51705);
    EXPECT_EQ(ui.prompts,
              (std::vector<Prompt>{
                  ask("Scalono 2 węzłów", "Scal węzły", Buttons::Ok, Icon::Information), none}));
    EXPECT_EQ(m.obliczono, 1) << "nothing merged is no change";
    EXPECT_EQ(m.id, 1);
}

}  // namespace
