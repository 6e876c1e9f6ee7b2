#include "history/history.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

namespace {

using history::ArrayDelta;

std::vector<std::uint32_t> bitsOf(const std::vector<float>& v) {
    std::vector<std::uint32_t> b;
    for (float f : v)
        b.push_back(std::bit_cast<std::uint32_t>(f));
    return b;
}

// Every kind of change comes back bit for bit both ways; a few changed values keep a few.
TEST(ArrayDelta, TakesEveryChangeBackAndForthKeepingOnlyWhatChanged) {
    const std::vector<float> base = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                     11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    struct Case {
        const char* what;
        std::vector<float> after;
        std::size_t maxValues;  // values kept, old and new together
    } cases[] = {
        {"nothing", base, 0},       {"one value", base, 2},
        {"two far apart", base, 4}, {"sign of zero and NaN", base, 4},
        {"appended", base, 3},      {"middle removed", base, 1},
        {"emptied", {}, 20},        {"all new", {9, 9}, 22},
    };
    cases[1].after[7] = 7.5f;
    cases[2].after[0] = -1;
    cases[2].after[19] = -20;
    cases[3].after = base;
    cases[3].after[4] = std::nanf("");
    cases[3].after.insert(cases[3].after.begin(), 0.0f);
    cases[3].after.erase(cases[3].after.begin());
    cases[3].after[2] = -0.0f;
    cases[3].maxValues = 4;
    cases[4].after.insert(cases[4].after.end(), {21, 22, 23});
    cases[5].after.erase(cases[5].after.begin() + 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ArrayDelta<float> d = ArrayDelta<float>::make(base, c.after);
        std::vector<float> v = c.after;
        d.apply(v, true);
        EXPECT_EQ(bitsOf(v), bitsOf(base));
        d.apply(v, false);
        EXPECT_EQ(bitsOf(v), bitsOf(c.after));
        EXPECT_LE(d.bytes(), c.maxValues * sizeof(float) + 2 * 64);
        EXPECT_EQ(d.empty(), c.maxValues == 0);
    }
}

Model square(float g) {
    Model m;
    allocateModel(m, 3, 1);
    for (int i = 1; i <= 3; ++i) {
        m.x[i][1] = static_cast<float>(i);
        m.x[i][2] = 0.5f * static_cast<float>(i);
        m.si[i] = 0;
    }
    m.noc[1][1] = 1, m.noc[1][2] = 2, m.noc[1][3] = 3;
    m.G = g;
    m.Pusty = 0;
    return m;
}

/// One change of G recorded in `h`.
void changeG(history::History& h, Model& m, float g) {
    const history::ModelState before = history::capture(m, {});
    m.G = g;
    h.record("G", before, m, {});
}

TEST(History, StatesAreRecognisedAgainAfterUndoAndRedo) {
    history::History h(50, 1 << 20);
    Model m = square(1);
    history::SectionState s;
    const auto saved = h.state();
    changeG(h, m, 2);
    const auto two = h.state();
    EXPECT_NE(two, saved);
    changeG(h, m, 2);  // no change: no step
    EXPECT_EQ(h.state(), two);
    ASSERT_TRUE(h.undo(m, s));
    EXPECT_EQ(m.G, 1.0f);
    EXPECT_EQ(h.state(), saved);
    ASSERT_TRUE(h.redo(m, s));
    EXPECT_EQ(h.state(), two);
    h.clear();
    EXPECT_NE(h.state(), two);
    EXPECT_FALSE(h.canUndo());
}

TEST(History, TheBoundsDropTheOldestStepsFirst) {
    struct Case {
        std::size_t steps, bytes, kept;
    } const cases[] = {{3, 1 << 20, 3}, {50, 1 << 20, 10}, {50, 0, 0}};
    for (const Case& c : cases) {
        history::History h(c.steps, c.bytes);
        Model m = square(0);
        for (int k = 1; k <= 10; ++k)
            changeG(h, m, static_cast<float>(k));
        EXPECT_EQ(h.steps(), c.kept);
        EXPECT_LE(h.bytes(), c.bytes);
        history::SectionState s;
        while (h.undo(m, s)) {
        }
        EXPECT_EQ(m.G, static_cast<float>(10 - c.kept));
    }
}

TEST(History, AModelThatIsNotTheStepsStateIsRefused) {
    history::History h(50, 1 << 20);
    Model m = square(1);
    const history::ModelState before = history::capture(m, {});
    Model bigger;
    allocateModel(bigger, 4, 1);
    for (int i = 1; i <= 4; ++i)
        bigger.x[i][1] = bigger.x[i][2] = bigger.si[i] = 0;
    bigger.noc[1][1] = 1, bigger.noc[1][2] = 2, bigger.noc[1][3] = 3;
    h.record("Dodaj węzeł", before, bigger, {});
    ASSERT_TRUE(h.canUndo());
    history::SectionState s;
    EXPECT_FALSE(h.undo(m, s)) << "m has 3 nodes, the step left 4";
    EXPECT_EQ(m.nn, 3);
    EXPECT_FALSE(h.canUndo());
    EXPECT_TRUE(h.undo(bigger, s) == false);
}

TEST(History, AnUndoReallocatesArraysOfANewSize) {
    history::History h(50, 1 << 20);
    Model m = square(1);
    const history::ModelState before = history::capture(m, {});
    Model after;
    allocateModel(after, 2, 0);
    after.x[1][1] = 1, after.x[1][2] = 0.5f, after.x[2][1] = 2, after.x[2][2] = 1;
    after.si[1] = after.si[2] = 0;
    after.Pusty = 0;
    h.record("Usuń węzeł", before, after, {});
    history::SectionState s;
    ASSERT_TRUE(h.undo(after, s));
    EXPECT_EQ(after.nn, 3);
    EXPECT_EQ(after.nq, 3);
    EXPECT_EQ(after.ne, 1);
    EXPECT_EQ(after.f.size(), 3);
    EXPECT_EQ(after.napr.rows(), 1);
    EXPECT_EQ(after.x[3][2], 1.5f);
    EXPECT_EQ(after.noc[1][3], 3);
}

}  // namespace

namespace {

// A million nodes: a one-node change keeps a few bytes, changes of every node stay within the
// bound by dropping the oldest.
TEST(History, AMillionNodeModelKeepsSmallStepsSmallAndStaysWithinItsBound) {
    const int n = 1000000;
    const std::size_t bound = 40u << 20;
    history::History h(50, bound);
    Model m;
    allocateModel(m, n, 0);
    for (int i = 1; i <= n; ++i)
        m.x[i][1] = m.x[i][2] = m.si[i] = 0;
    m.Pusty = 0;
    for (int k = 1; k <= 10; ++k) {
        const history::ModelState before = history::capture(m, {});
        m.x[k * 1000][1] = static_cast<float>(k);
        h.record("Zmień węzeł", before, m, {});
    }
    EXPECT_EQ(h.steps(), 10u);
    EXPECT_LT(h.bytes(), 10u * 4096);
    for (int k = 1; k <= 4; ++k) {
        const history::ModelState before = history::capture(m, {});
        for (int i = 1; i <= n; ++i)
            m.x[i][2] += 1.0f;
        h.record("Przesuń", before, m, {});
        EXPECT_LE(h.bytes(), bound);
    }
    EXPECT_GE(h.steps(), 1u);
    history::SectionState s;
    ASSERT_TRUE(h.undo(m, s));
    EXPECT_EQ(m.x[5][2], 3.0f);
}

}  // namespace
