// The graphics settings dialog: what it opens with, what OK takes over, what Cancel leaves.
#include <gtest/gtest.h>

#include "app/dialogs/dialog_session.h"
#include "app/globals.h"
#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

class Settings : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
    void TearDown() override {
        iizol = 200;
        p_skok = 1;
    }
};

TEST_F(Settings, OpensWithTheValuesInForceAndCancelChangesNothing) {
    iizol = 37;
    p_skok = 0;
    m.a_licz = 1;
    okno.Pasek_kol();
    bool seen = false;
    ui.dialog(3110, [&](dialogs::DialogSession& s) {
        seen = true;
        EXPECT_EQ(s.text(8500), "37");
        EXPECT_FALSE(s.checked(8600));
        EXPECT_TRUE(s.checked(8610));
        s.type(8500, "5");
        s.setChecked(8600, true);
        s.setChecked(8610, false);
        return false;
    });
    const int repaints = ui.repaints;
    okno.dispatch(51696);
    EXPECT_TRUE(seen);
    EXPECT_EQ(iizol, 37);
    EXPECT_EQ(p_skok, 0);
    EXPECT_EQ(m.a_licz, 1);
    EXPECT_EQ(okno.knapr, stressPalette(0));
    EXPECT_EQ(ui.repaints, repaints);
}

struct LevelCase {
    const char* text;
    int iizol;
};

class SettingsLevels : public Settings, public ::testing::WithParamInterface<LevelCase> {};

// A refused count is ignored silently; the palette and recomputation boxes still apply.
TEST_P(SettingsLevels, OkTakesOverTheBoxesAndAnAcceptedCount) {
    m.Pusty = 0;
    ui.dialog(3110, [&](dialogs::DialogSession& s) {
        s.type(8500, GetParam().text);
        s.setChecked(8600, false);
        s.setChecked(8610, true);
        return true;
    });
    const int repaints = ui.repaints;
    okno.dispatch(51696);
    EXPECT_EQ(iizol, GetParam().iizol);
    EXPECT_EQ(p_skok, 0);
    EXPECT_EQ(m.a_licz, 1);
    EXPECT_EQ(okno.knapr, stressPalette(0));
    EXPECT_EQ(ui.repaints, repaints + 1);
    EXPECT_EQ(m.obliczono, 0) << "ticking recomputation computes nothing by itself";
    EXPECT_TRUE(ui.prompts.empty());

    // The next opening shows the count in force and the stepped palette comes back.
    ui.dialog(3110, [&](dialogs::DialogSession& s) {
        EXPECT_EQ(s.text(8500), std::to_string(GetParam().iizol));
        s.setChecked(8600, true);
        s.setChecked(8610, false);
        return true;
    });
    okno.dispatch(51696);
    EXPECT_EQ(p_skok, 1);
    EXPECT_EQ(m.a_licz, 0);
    EXPECT_EQ(okno.knapr, stressPalette(1));
}

INSTANTIATE_TEST_SUITE_P(Counts, SettingsLevels,
                         ::testing::Values(LevelCase{"0", 200}, LevelCase{"-5", 200},
                                           LevelCase{"201", 200}, LevelCase{"abc", 200},
                                           LevelCase{"", 200}, LevelCase{"12x", 12},
                                           LevelCase{"1", 1}, LevelCase{" 200", 200},
                                           LevelCase{"4", 4}));

}  // namespace
