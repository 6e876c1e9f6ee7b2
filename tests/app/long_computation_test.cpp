// The computation as the window runs it: off the window's thread through the Ui, cancelled
// at any stage without a trace, and with only the display commands open meanwhile.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

constexpr int kNowy = 1070, kPrzelicz = 1010, kSiatka = 1275, kDopasuj = 51706, kCofnij = 51730;

class LongComputation : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    void SetUp() override { makeSquare(m); }

    std::vector<float> stresses() const { return {&m.napr[1][1], &m.napr[1][1] + 3 * m.ne}; }
};

TEST_F(LongComputation, RunsThroughTheUiWithItsStages) {
    okno.Cm_ODSWIEZ();
    ASSERT_EQ(m.obliczono, 1);
    EXPECT_EQ(ui.longRuns, std::vector<std::string>{"Obliczenia"});
    EXPECT_NE(std::find(ui.stages.begin(), ui.stages.end(), "Rozkład macierzy"), ui.stages.end());
    EXPECT_TRUE(ui.prompts.empty());
}

class LongComputationCancel : public LongComputation,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(LongComputationCancel, LeavesResultsAndStatusAsTheyWere) {
    okno.Cm_ODSWIEZ();
    ASSERT_EQ(m.obliczono, 1);
    m.MS = 5.0f;  // a recomputation would change every stress
    const std::vector<float> before = stresses();
    const QString status = okno.statusText();
    ui.cancelAt = GetParam();
    okno.Cm_ODSWIEZ();
    EXPECT_EQ(ui.stages.back(), GetParam());
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(std::memcmp(before.data(), &m.napr[1][1], sizeof(float) * before.size()), 0);
    EXPECT_EQ(okno.statusText(), status);
    EXPECT_TRUE(ui.prompts.empty());  // a cancel is no failure to report
}

INSTANTIATE_TEST_SUITE_P(Stages, LongComputationCancel,
                         testing::Values("Składanie układu", "Rozkład macierzy", "Rozwiązywanie",
                                         "Wygładzanie naprężeń"));

TEST_F(LongComputation, OnlyDisplayCommandsRunMeanwhile) {
    bool checked = false;
    ui.during = [&] {
        if (checked) return;
        checked = true;
        EXPECT_TRUE(okno.zajety());
        const struct {
            int id;
            bool open;
        } rows[] = {{kNowy, false},
                    {kPrzelicz, false},
                    {kCofnij, false},
                    {kSiatka, true},
                    {kDopasuj, true}};
        for (const auto& r : rows) {
            CommandEnabler ce;
            ASSERT_TRUE(okno.enable(r.id, ce));
            EXPECT_EQ(ce.enabled, r.open) << r.id;
        }
        const int siatka = okno.p_siatka;
        okno.dispatch(kSiatka);
        EXPECT_NE(okno.p_siatka, siatka);
        okno.dispatch(kNowy);  // refused: no question, the project stays
        EXPECT_EQ(m.Pusty, 0);
        EXPECT_FALSE(okno.CanClose());
        EXPECT_TRUE(ui.prompts.empty());
    };
    okno.Cm_ODSWIEZ();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(okno.zajety());
    EXPECT_EQ(m.obliczono, 1);
    CommandEnabler ce;
    okno.enable(kNowy, ce);
    EXPECT_TRUE(ce.enabled);
}

}  // namespace
