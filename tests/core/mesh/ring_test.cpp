#include "mesh/ring.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include "mesh/rectangle.h"
#include "solver/driver.h"

namespace {

using Tri = std::array<int, 3>;

// A new project, holding a 1 × 1 rectangle patch (4 nodes, 2 elements) when asked.
Model project(bool withSquare) {
    Model m;
    newProject(m);
    if (withSquare) appendRectangle(m, RectanglePatch{0, 0, 1, 1, 1, 1, false});
    return m;
}

double area2(const Model& m, int e) {
    const float* a = m.x[m.noc[e][1]];
    const float* b = m.x[m.noc[e][2]];
    const float* c = m.x[m.noc[e][3]];
    return (double{b[1]} - a[1]) * (double{c[2]} - a[2]) -
           (double{c[1]} - a[1]) * (double{b[2]} - a[2]);
}

constexpr double c45 = std::numbers::sqrt2 / 2;

struct Case {
    const char* name;
    RingPatch p;  // px, py, rz, rw, kp, kk, ix, iy, p4
    bool afterSquare;
    int nn, ne;
    std::vector<std::array<double, 3>> nodes;  // number, x, y
    std::vector<std::pair<int, Tri>> elements;
};

Case make(const char* name, RingPatch p, bool afterSquare, int nn, int ne,
          std::vector<std::array<double, 3>> nodes, std::vector<std::pair<int, Tri>> elements) {
    return {name, p, afterSquare, nn, ne, std::move(nodes), std::move(elements)};
}

const Case kCases[] = {
    make("TwoTriangles", {0, 0, 2, 1, 0, 90, 1, 2, false}, false, 6, 4, {{3, c45, c45}, {6, 0, 2}},
         {{1, {1, 2, 4}}, {2, {1, 3, 4}}, {3, {3, 4, 6}}, {4, {3, 5, 6}}}),
    make("FourTrianglesCentreIsMeanOfCorners", {0, 0, 2, 1, 0, 90, 1, 2, true}, false, 8, 8,
         {{7, (3 + 3 * c45) / 4, 3 * c45 / 4}},
         {{1, {1, 2, 7}}, {2, {7, 3, 4}}, {3, {1, 3, 7}}, {4, {2, 4, 7}}}),
    make("FullTurnReusesTheFirstRow", {10, -5, 2, 1, 0, 360, 2, 4, false}, false, 12, 16,
         {{4, 10, -4}, {12, 10, -7}}, {{1, {1, 2, 5}}, {7, {10, 11, 2}}, {8, {10, 1, 2}}}),
    make("ZeroInnerRadiusFansAroundOneNode", {0, 0, 2, 0, 0, 360, 2, 4, false}, false, 9, 12,
         {{1, 0, 0}, {2, 1, 0}, {9, 0, -2}},
         {{1, {1, 2, 4}}, {4, {1, 8, 2}}, {5, {2, 3, 5}}, {6, {2, 4, 5}}}),
    make("ZeroInnerRadiusFourTrianglesMakeThree", {0, 0, 1, 0, 0, 90, 1, 1, true}, true, 8, 5,
         {{5, 0, 0}, {8, 1.0 / 3, 1.0 / 3}}, {{3, {5, 6, 8}}, {4, {8, 5, 7}}, {5, {6, 7, 8}}}),
    make("ClockwiseWhenTheEndAngleIsSmaller", {0, 0, 2, 1, 90, 0, 1, 1, false}, false, 4, 2,
         {{1, 0, 1}, {4, 2, 0}}, {{1, {1, 2, 4}}, {2, {1, 3, 4}}})};

}  // namespace

TEST(Ring, SmallPatchesNumberNodesAndElementsLikeTheRectangle) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Model m = project(c.afterSquare);
        const int ne0 = m.ne;
        ASSERT_TRUE(appendRing(m, c.p).ok());
        ASSERT_EQ(m.nn, c.nn);
        ASSERT_EQ(m.ne, c.ne);
        // Coordinates within 10 are stored as floats, to within 1e-6.
        for (const auto& [n, x, y] : c.nodes) {
            EXPECT_NEAR(m.x[static_cast<int>(n)][1], x, 1e-6) << n;
            EXPECT_NEAR(m.x[static_cast<int>(n)][2], y, 1e-6) << n;
        }
        for (const auto& [e, t] : c.elements)
            EXPECT_EQ((Tri{m.noc[e][1], m.noc[e][2], m.noc[e][3]}), t) << e;

        // No corner twice, no flat element, no overlap: the areas sum to the polygon's.
        const RingPatch& p = c.p;
        const double da = (p.kk - p.kp) / p.iy * std::numbers::pi / 180;
        const double polygon = p.iy * (p.rz * p.rz - p.rw * p.rw) * std::fabs(std::sin(da)) / 2;
        double sum = 0;
        for (int e = ne0 + 1; e <= m.ne; ++e) {
            const int* k = m.noc[e];
            EXPECT_TRUE(k[1] != k[2] && k[2] != k[3] && k[1] != k[3]) << e;
            EXPECT_GT(std::fabs(area2(m, e)), 1e-3) << e;
            sum += std::fabs(area2(m, e)) / 2;
        }
        EXPECT_NEAR(sum, polygon, 1e-5 * polygon);  // float corners
        // Element by element the orientation of the rectangle built the same way.
        if (p.rw > 0) {
            Model r = project(false);
            appendRectangle(r, RectanglePatch{0, 0, 1, p.kk > p.kp ? 1.0 : -1.0, p.ix, p.iy, p.p4});
            for (int e = 1; e <= r.ne; ++e)
                EXPECT_EQ(area2(m, ne0 + e) > 0, area2(r, e) > 0) << e;
        }
    }
}

TEST(Ring, ImpossiblePatchesLeaveTheModelAsItWas) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<RingPatch, EditStatus> cases[] = {
        {{0, 0, 2, 1, 0, 90, 0, 1, false}, EditStatus::Refused},
        {{0, 0, 2, 1, 0, 90, 1, -1, false}, EditStatus::Refused},
        {{0, 0, 1, 1, 0, 90, 1, 1, false}, EditStatus::Refused},
        {{0, 0, 2, -1, 0, 90, 1, 1, false}, EditStatus::Refused},
        {{0, 0, 0, 1, 0, 90, 1, 1, false}, EditStatus::Refused},  // centre on the outside
        {{0, 0, 2, 1, 30, 30, 1, 1, false}, EditStatus::Refused},
        {{0, 0, 2, 1, 0, 360.5, 8, 8, false}, EditStatus::Refused},
        {{0, 0, 2, 1, 10, -360, 8, 8, false}, EditStatus::Refused},
        {{0, 0, 2, 1, 0, 180, 1, 1, false}, EditStatus::Refused},  // flat cell
        {{0, 0, 2, 0, 0, 360, 1, 2, true}, EditStatus::Refused},
        {{inf, 0, 2, 1, 0, 90, 1, 1, false}, EditStatus::Refused},
        {{0, 0, 2, 1, 0, nan, 1, 1, false}, EditStatus::Refused},
        {{0, 0, 1e39, 0, 0, 90, 1, 1, false}, EditStatus::Refused},
        // Only the middle row, at 0°, goes beyond single precision.
        {{1.5e38, 0, 2e38, 0, -60, 60, 1, 2, false}, EditStatus::Refused},
        {{0, 0, 2, 1, 0, 90, INT_MAX, INT_MAX, true}, EditStatus::TooLarge},
        {{0, 0, 2, 1, 0, 90, 40000, 30000, false}, EditStatus::TooLarge}};
    Model m = project(true);
    m.si[3] = 7;
    m.obliczono = 1;
    const float* x = m.x.raw()[1];
    const int* noc = m.noc.raw()[1];
    for (const auto& [p, status] : cases) {
        const EditOutcome out = appendRing(m, p);
        EXPECT_EQ(out.status, status) << p.px << " " << p.rz << " " << p.rw << " " << p.kk;
        EXPECT_EQ(out.message.empty(), status == EditStatus::Refused);
    }
    EXPECT_EQ(m.nn, 4);
    EXPECT_EQ(m.ne, 2);
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(m.si[3], 7);
    EXPECT_EQ(m.x.raw()[1], x);  // not even reallocated
    EXPECT_EQ(m.noc.raw()[1], noc);

    Model rejected;
    rejected.nn = -3;
    EXPECT_EQ(appendRing(rejected, {0, 0, 2, 1, 0, 90, 1, 1, false}).status, EditStatus::Refused);
    // Facing away from the large side the same radius fits.
    ASSERT_TRUE(appendRing(m, {3e38, 0, 2e38, 0, 90, 270, 1, 2, false}).ok());
    EXPECT_EQ(m.x[7][1], 1e38f);
}

// Full disc and full ring of outer radius 1 at 16 × 128 cells: J = π/2 (1 − rw⁴).
TEST(Ring, FullDiscAndRingReachTheExactTorsionConstant) {
    for (const auto& [rw, p4] : std::initializer_list<std::pair<double, bool>>{
             {0, false}, {0, true}, {0.5, false}, {0.5, true}}) {
        SCOPED_TRACE(testing::Message() << "rw " << rw << " p4 " << p4);
        Model m = project(false);
        ASSERT_TRUE(appendRing(m, {0, 0, 1, rw, 0, 360, 16, 128, p4}).ok());
        const ComputeOutcome out = Obliczenia(m);
        ASSERT_TRUE(out.ok());
        EXPECT_EQ(out.holes, rw > 0 ? 1 : 0);
        EXPECT_NEAR(out.J / (std::numbers::pi / 2 * (1 - std::pow(rw, 4))), 1.0, 5e-3);
    }
}
