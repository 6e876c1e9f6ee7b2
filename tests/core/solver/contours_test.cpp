#include "solver/contours.h"

#include <gtest/gtest.h>

#include "test_meshes.h"

namespace {

struct ContourCase {
    const char* name;
    int cells;                              // of unit width
    std::vector<std::array<int, 4>> holes;  // removed cells: i0, i1, j0, j1 (half-open)
    std::vector<double> areas;              // expected, in hole-number order
};

class ContoursOfPerforatedGrids : public testing::TestWithParam<ContourCase> {};

TEST_P(ContoursOfPerforatedGrids, FindTheHolesAndTheirAreas) {
    const ContourCase& c = GetParam();
    Model m;
    test_meshes::perforated(m, c.cells, c.cells, [&](int i, int j) {
        for (const auto& h : c.holes)
            if (i >= h[0] && i < h[1] && j >= h[2] && j < h[3]) return true;
        return false;
    });
    const Contours k = findContours(m, boundaryEdges(m));
    ASSERT_EQ(k.holes(), static_cast<int>(c.areas.size()));
    for (int h = 0; h < k.holes(); ++h)
        EXPECT_DOUBLE_EQ(k.area[h], c.areas[h]) << "hole " << h;
    // Nodes on the outside of the grid are on the outer contour.
    for (int v = 1; v <= m.nn; ++v) {
        const float x = m.x[v][1], y = m.x[v][2];
        if (x == 0 || y == 0 || x == c.cells || y == c.cells) {
            EXPECT_EQ(k.hole[v], kOuterContour);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grids, ContoursOfPerforatedGrids,
    testing::Values(ContourCase{"Solid", 4, {}, {}},
                    ContourCase{"CentredHole", 6, {{2, 4, 2, 4}}, {4.0}},
                    ContourCase{"TwoHoles", 9, {{5, 8, 1, 3}, {1, 3, 2, 4}}, {6.0, 4.0}},
                    ContourCase{"NotchIsNoHole", 5, {{0, 2, 0, 1}}, {}},
                    // The hole's corner (1,1) is also the corner of the notch at the origin.
                    ContourCase{
                        "HoleTouchingTheOutsideAtANode", 5, {{0, 1, 0, 1}, {1, 3, 1, 3}}, {}},
                    // Two holes meeting at one node form a single contour around both.
                    ContourCase{"HolesMeetingAtANode", 6, {{1, 3, 1, 3}, {3, 5, 3, 5}}, {8.0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Contours, HoleNodesCarryTheirHoleNumber) {
    Model m;
    test_meshes::perforated(m, 6, 6,
                            [](int i, int j) { return i >= 2 && i < 4 && j >= 2 && j < 4; });
    const Contours k = findContours(m, boundaryEdges(m));
    int on_hole = 0, off = 0;
    for (int v = 1; v <= m.nn; ++v) {
        const float x = m.x[v][1], y = m.x[v][2];
        const bool ring = x >= 2 && x <= 4 && y >= 2 && y <= 4;
        if (ring) {
            EXPECT_EQ(k.hole[v], 0);
        }
        on_hole += k.hole[v] == 0;
        off += k.hole[v] == kOffContour;
    }
    EXPECT_EQ(on_hole, 8);
    EXPECT_EQ(off, 49 - 1 - 8 - 24);
}

TEST(Contours, EverySeparatePieceHasItsOwnOuterContour) {
    // Two unconnected patches; the right one has a hole, and its leftmost node lies right of
    // every node of the left one.
    test_meshes::Nodes nodes;
    test_meshes::Elements elems;
    test_meshes::grid(nodes, elems, 0, 0, 2, 2, 2, 2, false, [](int, int) { return true; });
    test_meshes::grid(nodes, elems, 5, 0, 3, 3, 3, 3, false,
                      [](int i, int j) { return !(i == 1 && j == 1); });
    Model m;
    test_meshes::fill(m, nodes, elems);
    const Contours k = findContours(m, boundaryEdges(m));
    ASSERT_EQ(k.holes(), 1);
    EXPECT_DOUBLE_EQ(k.area[0], 1.0);
    for (int v = 1; v <= 9; ++v)
        if (v != 5) {
            EXPECT_EQ(k.hole[v], kOuterContour);
        }
}

TEST(Contours, ClockwiseElementsGiveTheSameArea) {
    Model m;
    test_meshes::perforated(m, 5, 5, [](int i, int j) { return i == 2 && j >= 1 && j < 4; });
    for (int e = 1; e <= m.ne; e += 3)
        std::swap(m.noc[e][1], m.noc[e][2]);
    const Contours k = findContours(m, boundaryEdges(m));
    ASSERT_EQ(k.holes(), 1);
    EXPECT_DOUBLE_EQ(k.area[0], 3.0);
}

}  // namespace
