#include "mesh/mesh_loops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "mesh/cgal_triangulate.h"
#include "mesh/sizing.h"

namespace {

using geometry::Point;
using Polygon = std::vector<Point>;

Polygon square(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

Polygon reversed(Polygon p) {
    return {p.rbegin(), p.rend()};
}

struct RegionCase {
    const char* name;
    std::vector<Polygon> polygons;
    std::vector<char> cut;
    double area;
    int pieces;
    std::vector<char> cutMeetsSolid;
};

const RegionCase kRegions[] = {
    {"IslandInAHole",
     {square(0, 0, 6, 6), square(1, 1, 5, 5), square(2, 2, 4, 4)},
     {0, 0, 0},
     36 - 16 + 4,
     2,
     {0, 0, 0}},
    {"EitherOrientation",
     {square(0, 0, 6, 6), reversed(square(1, 1, 5, 5))},
     {0, 0},
     20,
     1,
     {0, 0}},
    {"TouchingSidesUnite", {square(0, 0, 1, 1), square(1, 0, 2, 1)}, {0, 0}, 2, 1, {0, 0}},
    {"TouchingCornersAreTwoPieces", {square(0, 0, 1, 1), square(1, 1, 2, 2)}, {0, 0}, 2, 2, {0, 0}},
    {"DuplicatesAreOneSolid", {square(0, 0, 1, 1), square(0, 0, 1, 1)}, {0, 0}, 1, 1, {0, 0}},
    {"HoleTouchingTheOutline", {square(0, 0, 4, 4), square(0, 1, 2, 3)}, {0, 0}, 12, 1, {0, 0}},
    {"SolidAcrossAHoleEdgeIsAHoleToo",
     {square(0, 0, 10, 10), square(2, 2, 6, 6), square(4, 3, 8, 5)},
     {0, 0, 0},
     100 - (16 + 8 - 4),
     1,
     {0, 0, 0}},
    {"OverlappingIslandsInAHole",
     {square(0, 0, 10, 10), square(1, 1, 9, 9), square(2, 2, 5, 5), square(4, 4, 7, 7)},
     {0, 0, 0, 0},
     100 - 64 + 9 + 9 - 1,
     2,
     {0, 0, 0, 0}},
    {"CutThroughTheEdge", {square(0, 0, 2, 2), square(1, 0.5, 3, 1.5)}, {0, 1}, 3, 1, {0, 1}},
    {"CutSplitsInTwo", {square(0, 0, 3, 1), square(1, -1, 2, 2)}, {0, 1}, 2, 2, {0, 1}},
    {"CutOutsideMeetsNothing", {square(0, 0, 1, 1), square(2, 0, 3, 1)}, {0, 1}, 1, 1, {0, 0}},
    {"CutInAHoleMeetsNothing",
     {square(0, 0, 4, 4), square(1, 1, 3, 3), square(1.5, 1.5, 2.5, 2.5)},
     {0, 0, 1},
     12,
     1,
     {0, 0, 0}},
};

class TraceRegion : public testing::TestWithParam<RegionCase> {};

TEST_P(TraceRegion, UnitesNestsAndCuts) {
    const RegionCase& c = GetParam();
    const mesh::Region r = mesh::traceRegion(c.polygons, c.cut);
    ASSERT_FALSE(r.failed);
    EXPECT_NEAR(r.area, c.area, 1e-12 * c.area);
    EXPECT_EQ(r.pieces, c.pieces);
    EXPECT_EQ(r.cutMeetsSolid, c.cutMeetsSolid);
    // The boundary encloses the area, the region on the left of every edge.
    double twice = 0;
    for (const auto& e : r.boundary.edges) {
        const Point& a = r.boundary.points[e[0]];
        const Point& b = r.boundary.points[e[1]];
        twice += a.x * b.y - b.x * a.y;
    }
    EXPECT_NEAR(0.5 * twice, c.area, 1e-12 * c.area);
}

INSTANTIATE_TEST_SUITE_P(Polygons, TraceRegion, testing::ValuesIn(kRegions),
                         [](const auto& info) { return std::string(info.param.name); });

// Loops that share an arc, touch or nearly touch: the region still comes out as the curves
// make it, whatever the chords.
struct LoopsCase {
    const char* name;
    std::vector<geometry::Loop> loops;
    std::optional<double> size;
    double area;
    double tolerance;
    int pieces;
};

geometry::Loop circle(double x, double y, double r, bool cut = false) {
    return {geometry::circleOutline({x, y, r}), cut, 0};
}

const LoopsCase kLoops[] = {
    // The upper half disc cut away along the disc's own arcs: by its quarter arcs, and by
    // one half arc whose chords the disc's quarter arcs do not share.
    {"CutAlongTheSameQuarterArcs",
     {circle(0, 0, 1), {{{{1, 0, 1}, {0, 1, 1}, {-1, 0, 0}}}, true, 1}},
     0.05,
     std::numbers::pi / 2,
     2e-3,
     1},
    {"CutAlongOneHalfArc",
     {circle(0, 0, 1), {{{{1, 0, 1}, {-1, 0, 0}}}, true, 1}},
     {},
     std::numbers::pi / 2,
     2e-3,
     1},
    {"HoleTouchingTheOutlineInside",
     {circle(0, 0, 1), circle(0.5, 0, 0.5)},
     {},
     0.75 * std::numbers::pi,
     2e-3,
     1},
    // A wall far thinner than the chords a size of 1 would take.
    {"ThinRingAtACoarseSize",
     {circle(0, 0, 10), circle(0, 0, 9.99)},
     1.0,
     std::numbers::pi*(100 - 9.99 * 9.99),
     1e-3,
     1},
};

class MeshLoops : public testing::TestWithParam<LoopsCase> {};

TEST_P(MeshLoops, RegionFollowsTheCurves) {
    const LoopsCase& c = GetParam();
    const mesh::LoopMesh m = mesh::meshLoops(c.loops, c.size);
    ASSERT_TRUE(m.ok()) << m.message;
    EXPECT_EQ(m.pieces, c.pieces);
    double area = 0;
    for (const auto& t : m.triangles) {
        const Point &a = m.nodes[t[0]], &b = m.nodes[t[1]], &d = m.nodes[t[2]];
        const double twice = (b.x - a.x) * (d.y - a.y) - (d.x - a.x) * (b.y - a.y);
        ASSERT_GT(twice, 0);
        area += 0.5 * twice;
    }
    EXPECT_NEAR(area / c.area, 1, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Loops, MeshLoops, testing::ValuesIn(kLoops),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SizeField, GridIsBilinearAndHeldAtItsEdge) {
    const mesh::SizeField f(0, 0, 2, 2, 2, {1, 3, 5, 7});
    EXPECT_DOUBLE_EQ(f.at(1, 1), 4);
    EXPECT_DOUBLE_EQ(f.at(2, 0), 3);
    EXPECT_DOUBLE_EQ(f.at(-5, 10), 5);
    EXPECT_DOUBLE_EQ(f.smallest(), 1);
    EXPECT_DOUBLE_EQ(f.largest(), 7);
    EXPECT_FALSE(f.uniform());
    EXPECT_TRUE(mesh::SizeField(0.5).uniform());
}

}  // namespace
