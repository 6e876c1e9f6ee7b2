#include "io/outline_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

using geometry::Point;
using io::LayoutFault;
using Polygon = std::vector<Point>;

Polygon box(double x0, double y0, double x1, double y1, bool ccw = true) {
    Polygon p{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    if (!ccw) std::swap(p[1], p[3]);
    return p;
}

Polygon ring(double x, double y, double r, int n, bool ccw) {
    Polygon p;
    for (int k = 0; k < n; ++k) {
        const double a = (ccw ? 2 : -2) * std::numbers::pi * k / n;
        p.push_back({x + r * std::cos(a), y + r * std::sin(a)});
    }
    return p;
}

struct Faulty {
    const char* name;
    std::vector<Polygon> polygons;
    LayoutFault fault;
    int first, second;
    Point at;
};

const Faulty kFaulty[] = {
    {"Overlap", {box(0, 0, 4, 4), box(2, 1, 6, 3)}, LayoutFault::Crossing, 0, 1, {4, 1}},
    {"SharedCorner",
     {box(0, 0, 2, 2), box(2, 2, 4, 4, false)},
     LayoutFault::Crossing,
     0,
     1,
     {2, 2}},
    {"CornerOnAnEdge", {box(0, 0, 4, 4), box(1, 4, 3, 6)}, LayoutFault::Crossing, 0, 1, {1, 4}},
    {"HoleTouchesFromInside",
     {box(0, 0, 4, 4), {{2, 0}, {3, 2}, {1, 2}}},
     LayoutFault::Crossing,
     0,
     1,
     {2, 0}},
    {"BowTie",
     {box(10, 10, 11, 11), {{0, 0}, {2, 2}, {2, 0}, {0, 2}}},
     LayoutFault::SelfCrossing,
     1,
     -1,
     {1, 1}},
    {"Flat", {box(0, 0, 1, 1), {{5, 5}, {6, 6}, {7, 7}}}, LayoutFault::Flat, 1, -1, {5, 5}},
};

class LayoutFaults : public ::testing::TestWithParam<Faulty> {};

TEST_P(LayoutFaults, FoundWithTheirPolygonsAndPlace) {
    const Faulty& f = GetParam();
    const io::PolygonLayout l = io::polygonLayout(f.polygons);
    EXPECT_EQ(l.fault, f.fault);
    EXPECT_EQ(l.first, f.first);
    EXPECT_EQ(l.second, f.second);
    EXPECT_NEAR(l.at.x, f.at.x, 1e-9);
    EXPECT_NEAR(l.at.y, f.at.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(PolygonLayout, LayoutFaults, ::testing::ValuesIn(kFaulty),
                         [](const auto& info) { return info.param.name; });

// Random circles, each either well inside or well apart from every other, in either sense:
// the depth against counting the circles that hold each.
TEST(PolygonLayout, DepthMatchesCountingContainers) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    for (int round = 0; round < 20; ++round) {
        struct C {
            double x, y, r;
        };
        std::vector<C> cs;
        while (cs.size() < 60) {
            const C c{100 * u(rng), 100 * u(rng), 0.5 + 20 * u(rng)};
            bool fits = true;
            for (const C& o : cs) {
                const double d = std::hypot(c.x - o.x, c.y - o.y);
                fits = fits && (d > c.r + o.r + 0.1 || d + c.r < o.r - 0.1 || d + o.r < c.r - 0.1);
            }
            if (fits) cs.push_back(c);
        }
        std::vector<Polygon> polygons;
        for (const C& c : cs)
            polygons.push_back(ring(c.x, c.y, c.r, 64, u(rng) < 0.5));
        const io::PolygonLayout l = io::polygonLayout(polygons);
        ASSERT_EQ(l.fault, LayoutFault::None);
        for (std::size_t i = 0; i < cs.size(); ++i) {
            int holders = 0;
            for (const C& o : cs)
                holders += std::hypot(cs[i].x - o.x, cs[i].y - o.y) + cs[i].r < o.r;
            EXPECT_EQ(l.depth[i], holders) << "round " << round << ", circle " << i;
            EXPECT_EQ(l.ccw[i], polygons[i][1].y > polygons[i][0].y);
        }
    }
}

}  // namespace
