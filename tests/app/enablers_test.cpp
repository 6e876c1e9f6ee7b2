// Every routed command's enabler walked through the model states, as a table.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/menu.h"
#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

// Model states, in the order of the pattern columns below.
enum State { NoProject, Empty, TwoNodes, ThreeNodes, Results, Group, kStates };

void enter(State s, Model& m) {
    switch (s) {
        case NoProject:
            releaseModel(m);
            break;
        case Empty:
            newProject(m);
            break;
        case TwoNodes:
            makeModel(m, 2, 0);
            break;
        case ThreeNodes:
            makeModel(m, 3, 1);
            break;
        case Results:
            makeModel(m, 3, 1);
            m.obliczono = 1;
            break;
        case Group:
            makeModel(m, 3, 1);
            m.s_grp.allocate(1);
            m.s_grp[1] = 2;
            m.i_grp = 1;
            m.j_grupa = 1;
            break;
        case kStates:
            break;
    }
}

struct Row {
    int id;
    const char* enabled;  ///< '1' per state: NoProject Empty TwoNodes ThreeNodes Results Group
    int check;            ///< check mark in every state with the start switches; -1: none
};

constexpr Row kRows[] = {
    {1070, "111111", -1},
    {1020, "111111", -1},
    {1030, "011111", -1},
    {1060, "011111", -1},
    {51711, "000000", -1},  // no section description in any of these states
    {51712, "111111", -1},
    {51703, "011111", -1},
    {51702, "000010", -1},
    {51707, "011111", -1},
    {51695, "100000", -1},
    {1040, "111111", -1},
    {51688, "011111", -1},
    {51687, "000111", -1},
    {51700, "011111", -1},
    {51704, "011111", -1},
    {51708, "111111", -1},
    {51709, "111111", -1},
    {51689, "001111", -1},
    {51691, "000111", -1},
    {51730, "000000", -1},  // nothing to undo or redo in any of these states
    {51731, "000000", -1},
    {1191, "001111", -1},
    {1170, "011111", -1},
    {1150, "011111", -1},
    {51682, "001111", -1},
    {51705, "001111", -1},
    {51710, "000000", -1},
    {51698, "000001", -1},
    {51697, "000001", -1},
    {51699, "000001", -1},
    {1010, "111111", -1},
    {1120, "000010", 0},
    {1121, "000010", 0},
    {1122, "000010", 0},
    {1200, "011111", 0},
    {1220, "011111", 0},
    {1275, "011111", 1},
    {51694, "011111", 1},
    {1210, "011111", 1},
    {51706, "011111", -1},
    {1130, "000010", -1},
    {1140, "011111", -1},
    {51696, "111111", -1},
    {1240, "111111", -1},
    // Ids no menu item carries.
    {1123, "000010", 0},
    {1110, "000010", 1},
    {1230, "000010", 0},
    {1250, "011111", 0},
    {1260, "011111", 0},
    {1270, "111111", 0},
    {1160, "011111", -1},
    {51683, "011111", -1},
    {51701, "011111", -1},
    {51685, "001111", -1},
    {51684, "001111", -1},
    {51686, "011111", -1},
    {51693, "011111", -1},
    {51690, "001111", -1},
    {51692, "011111", -1},
};

class Enablers : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    CommandEnabler run(int id) {
        CommandEnabler ce;
        EXPECT_TRUE(okno.enable(id, ce)) << id;
        return ce;
    }
};

TEST_F(Enablers, EveryCommandFollowsItsRuleInEveryModelState) {
    for (int s = 0; s < kStates; ++s) {
        enter(static_cast<State>(s), m);
        for (const Row& r : kRows) {
            const CommandEnabler ce = run(r.id);
            EXPECT_EQ(ce.enabled, r.enabled[s] == '1') << "id " << r.id << " state " << s;
            EXPECT_EQ(ce.check, r.check) << "id " << r.id << " state " << s;
        }
    }
}

TEST_F(Enablers, TableRoutesExactlyTheMenuIdsAndTheHiddenOnes) {
    std::set<int> expected;
    for (const Row& r : kRows)
        expected.insert(r.id);
    for (const MenuRow& row : menuRows())
        if (row.kind == MenuKind::Item) {
            EXPECT_TRUE(expected.count(row.id)) << row.id;
        }
    for (const Row& r : kRows) {
        const CommandEntry* e = _OKNO_::Find(r.id);
        ASSERT_NE(e, nullptr) << r.id;
        EXPECT_EQ(e->checkable(), r.check >= 0) << r.id;
    }
    EXPECT_EQ(_OKNO_::Find(4242), nullptr);
    CommandEnabler ce;
    EXPECT_FALSE(okno.dispatch(4242));
    EXPECT_FALSE(okno.enable(4242, ce));
}

TEST_F(Enablers, ExactlyTheShownStressIsCheckedAndOnlyWhileTheMapIsOn) {
    enter(Results, m);
    const int ids[] = {1120, 1121, 1122, 1123};
    for (int k = 1; k <= 4; ++k) {
        okno.p_napr = 1;
        p_rn = k;
        for (int j = 1; j <= 4; ++j)
            EXPECT_EQ(run(ids[j - 1]).check, j == k ? 1 : 0) << k;
        okno.p_napr = 0;
        for (int j = 1; j <= 4; ++j)
            EXPECT_EQ(run(ids[j - 1]).check, 0) << k;
    }
}

TEST_F(Enablers, LoadNumbersAreDisabledOnlyWithoutProjectWhileLoadsAreShown) {
    okno.p_sily = 1;
    enter(NoProject, m);
    EXPECT_FALSE(run(1270).enabled);
    enter(Empty, m);
    EXPECT_TRUE(run(1270).enabled);
    okno.p_sily_nr = 1;
    EXPECT_EQ(run(1270).check, 1);
}

TEST_F(Enablers, SwitchChecksFollowTheSwitches) {
    enter(Results, m);
    struct {
        int id;
        int _OKNO_::*sw;
    } const switches[] = {
        {1200, &_OKNO_::p_n_ele},   {1220, &_OKNO_::p_n_mat}, {1230, &_OKNO_::p_n_pola},
        {1275, &_OKNO_::p_siatka},  {51694, &_OKNO_::p_wez},  {1210, &_OKNO_::p_n_wezl},
        {1110, &_OKNO_::p_przem},   {1250, &_OKNO_::p_podp},  {1260, &_OKNO_::p_sily},
        {1270, &_OKNO_::p_sily_nr},
    };
    for (const auto& s : switches) {
        okno.*s.sw = 1;
        EXPECT_EQ(run(s.id).check, 1) << s.id;
        okno.*s.sw = 0;
        EXPECT_EQ(run(s.id).check, 0) << s.id;
    }
}

// The real drop-downs: states are recomputed at each opening, nothing is cached.
TEST_F(Enablers, DropDownsRunTheEnablersEachTimeTheyOpen) {
    QMenuBar bar;
    buildMenu(&bar, &okno);
    QMenu* plik = bar.actions().at(0)->menu();
    QMenu* widok = bar.actions().at(5)->menu();
    auto action = [](QMenu* menu, int id) -> QAction* {
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->data().toInt() == id) return a;
        return nullptr;
    };

    enter(NoProject, m);
    emit plik->aboutToShow();
    emit widok->aboutToShow();
    EXPECT_FALSE(action(plik, 1030)->isEnabled());
    EXPECT_TRUE(action(plik, 51695)->isEnabled());
    EXPECT_FALSE(action(widok, 1200)->isChecked());
    EXPECT_TRUE(action(widok, 1275)->isChecked());
    EXPECT_TRUE(action(widok, 1122)->isCheckable());
    EXPECT_FALSE(action(plik, 1030)->isCheckable());

    enter(Results, m);
    okno.p_napr = 1;
    emit plik->aboutToShow();
    emit widok->aboutToShow();
    EXPECT_TRUE(action(plik, 1030)->isEnabled());
    EXPECT_TRUE(action(plik, 51702)->isEnabled());
    EXPECT_FALSE(action(plik, 51695)->isEnabled());
    EXPECT_TRUE(action(widok, 1122)->isChecked());
    EXPECT_FALSE(action(widok, 1121)->isChecked());

    okno.p_siatka = 0;
    emit widok->aboutToShow();
    EXPECT_FALSE(action(widok, 1275)->isChecked());
}

}  // namespace
