#include "edit/selection.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

namespace {

/// A project with the given nodes, no elements, ww column k of node i = values[i-1] * k.
void nodes(Model& m, const std::vector<std::pair<float, float>>& xy,
           const std::vector<float>& values = {}) {
    const int n = static_cast<int>(xy.size());
    allocateModel(m, n, 0);
    for (int i = 1; i <= n; ++i) {
        m.x[i][1] = xy[i - 1].first;
        m.x[i][2] = xy[i - 1].second;
        for (int k = 1; k <= 3; ++k)
            m.ww[i][k] = values.empty() ? 0.0f : values[i - 1] * static_cast<float>(k);
    }
    m.Pusty = 0;
}

std::vector<int> group(const Model& m) {
    std::vector<int> g;
    for (int k = 1; k <= m.i_grp; ++k)
        g.push_back(m.s_grp[k]);
    return g;
}

TEST(NodeUnderPointer, HighestNumberedWithinTheToleranceSquare) {
    Model m;
    nodes(m, {{0, 0}, {1, 0}, {1.05f, 0.02f}, {3, 3}});
    EXPECT_EQ(nodeUnderPointer(m, 1.0f, 0.0f, 0.1f, 0.1f), 3);  // 2 and 3 both near
    EXPECT_EQ(nodeUnderPointer(m, 0.0f, 0.0f, 0.1f, 0.1f), 1);
    EXPECT_EQ(nodeUnderPointer(m, 0.1f, 0.0f, 0.1f, 0.1f), 1);   // edge of the square counts
    EXPECT_EQ(nodeUnderPointer(m, 0.0f, 0.15f, 0.1f, 0.1f), 0);  // outside in y only
    EXPECT_EQ(nodeUnderPointer(m, 2.0f, 2.0f, 0.1f, 0.1f), 0);
}

TEST(NodeUnderPointer, NeedsAProjectWithTwoNodes) {
    Model m;
    nodes(m, {{0, 0}});
    EXPECT_EQ(nodeUnderPointer(m, 0, 0, 1, 1), 0);
    nodes(m, {{0, 0}, {5, 5}});
    EXPECT_EQ(nodeUnderPointer(m, 0, 0, 1, 1), 1);
    m.Pusty = 1;
    EXPECT_EQ(nodeUnderPointer(m, 0, 0, 1, 1), 0);
    releaseModel(m);
    EXPECT_EQ(nodeUnderPointer(m, 0, 0, 1, 1), 0);
}

struct ReadOutCase {
    float value;  // ww[el][1]
    int obliczono, p_napr, p_rn, el;
    const char* text;
};

class ReadOut : public ::testing::TestWithParam<ReadOutCase> {};

TEST_P(ReadOut, FormatsAsTheReadOutLine) {
    const ReadOutCase c = GetParam();
    Model m;
    nodes(m, {{0, 0}, {1, 0}}, {c.value, c.value});
    m.obliczono = c.obliczono;
    EXPECT_EQ(readOutText(m, 0.5f, -1.257f, c.el, c.p_napr, c.p_rn), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOut,
    ::testing::Values(
        ReadOutCase{0.25f, 1, 1, 1, 2, "x= 0.50, y=-1.26, n=0.2500"},
        ReadOutCase{12.5f, 1, 1, 1, 2, "x= 0.50, y=-1.26, n=12.50"},
        ReadOutCase{1500.0f, 1, 1, 1, 2, "x= 0.50, y=-1.26, n=  1500"},
        ReadOutCase{1000.0f, 1, 1, 2, 1, "x= 0.50, y=-1.26, n=  2000"},  // column p_rn
        ReadOutCase{999.0f, 1, 1, 1, 1, "x= 0.50, y=-1.26, n=999.00"},
        ReadOutCase{9.0f, 1, 1, 1, 1, "x= 0.50, y=-1.26, n=9.0000"},
        ReadOutCase{0.25f, 0, 1, 1, 2, "x= 0.50, y=-1.26, w\xC4\x99z. 2"},  // no results
        ReadOutCase{0.25f, 1, 0, 1, 2, "x= 0.50, y=-1.26, w\xC4\x99z. 2"},  // map hidden
        ReadOutCase{0.25f, 1, 1, 4, 2, "x= 0.50, y=-1.26, w\xC4\x99z. 2"},  // no column 4
        ReadOutCase{0.25f, 1, 1, 1, 0, "x= 0.50, y=-1.26"}));

TEST(ReadOutText, NoProjectShowsTheCoordinatesAlone) {
    Model m;
    EXPECT_EQ(readOutText(m, 123.456f, 7.0f, 3, 1, 1), "x=123.46, y= 7.00");
}

TEST(ReadOutText, DecimalPointIgnoresTheLocale) {
    Model m;
    const char* old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const std::string s = readOutText(m, 1.5f, 2.25f, 0, 0, 3);
    if (old) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(s, "x= 1.50, y= 2.25");
}

TEST(SelectNodesInRect, AnyDragDirectionSelectsTheSameNodesBoundsIncluded) {
    Model m;
    nodes(m, {{0, 0}, {1, 1}, {2, 2}, {1, 2}, {3, 0}});
    const float corners[4][4] = {{1, 1, 2, 2}, {2, 2, 1, 1}, {1, 2, 2, 1}, {2, 1, 1, 2}};
    for (const auto& c : corners) {
        EXPECT_EQ(selectNodesInRect(m, c[0], c[1], c[2], c[3]), 3);
        EXPECT_EQ(m.j_grupa, 1);
        EXPECT_EQ(m.i_grp, 3);
        EXPECT_EQ(group(m), (std::vector<int>{2, 3, 4}));
    }
}

TEST(SelectNodesInRect, NewSelectionReplacesTheOldAndEmptyClearsIt) {
    Model m;
    nodes(m, {{0, 0}, {1, 1}, {2, 2}});
    selectNodesInRect(m, -0.5f, -0.5f, 1.5f, 1.5f);
    EXPECT_EQ(group(m), (std::vector<int>{1, 2}));
    selectNodesInRect(m, 2.5f, 2.5f, 1.5f, 1.5f);
    EXPECT_EQ(group(m), (std::vector<int>{3}));
    EXPECT_EQ(selectNodesInRect(m, 5, 5, 6, 6), 0);
    EXPECT_EQ(m.j_grupa, 0);
    EXPECT_EQ(m.i_grp, 0);
    EXPECT_FALSE(m.s_grp.allocated());
}

TEST(SelectNodesInRect, NothingWithoutAProjectAndReleaseClears) {
    Model m;
    nodes(m, {{0, 0}, {1, 1}});
    selectNodesInRect(m, 0, 0, 1, 1);
    ASSERT_EQ(m.j_grupa, 1);
    releaseModel(m);
    EXPECT_EQ(m.j_grupa, 0);
    EXPECT_FALSE(m.s_grp.allocated());
    EXPECT_EQ(selectNodesInRect(m, -10, -10, 10, 10), 0);
    EXPECT_EQ(m.j_grupa, 0);
    newProject(m);  // a project with no nodes
    EXPECT_EQ(selectNodesInRect(m, -10, -10, 10, 10), 0);
}

}  // namespace
