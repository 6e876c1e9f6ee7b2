#include "geometry/outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using geometry::Outline;
constexpr double kPi = std::numbers::pi;

// Exact circular segment of radius R over a chord c.
double segment(double R, double c) {
    const long double phi = 2 * std::asin(static_cast<long double>(c) / (2 * R));
    return static_cast<double>(0.5L * R * R * (phi - std::sin(phi)));
}

TEST(OutlineArea, ShoelacePlusSignedCircularSegments) {
    struct Case {
        const char* name;
        Outline o;
        double area;
    };
    const Case cases[] = {
        {"Square", {{{0, 0}, {2, 0}, {2, 2}, {0, 2}}}, 4},
        {"SquareClockwise", {{{0, 0}, {0, 2}, {2, 2}, {2, 0}}}, -4},
        {"HalfCircleOutwards", {{{0, 0}, {2, 0, 1}, {2, 2}, {0, 2}}}, 4 + kPi / 2},
        {"HalfCircleInwards", {{{0, 0}, {2, 0, -1}, {2, 2}, {0, 2}}}, 4 - kPi / 2},
        {"HalfCircleOutwardsClockwise", {{{0, 0}, {0, 2}, {2, 2, -1}, {2, 0}}}, -4 - kPi / 2},
        {"Circle", geometry::circleOutline({5, -7, 3}), 9 * kPi},
        {"CircleClockwise", {{{3, 0, -3}, {0, -3, -3}, {-3, 0, -3}, {0, 3, -3}}}, -9 * kPi},
        {"LensOfTwoArcs", {{{0, 0, 1}, {1, 0, 1}}}, 2 * segment(1, 1)},
        {"NearlyStraightArc", {{{0, 0}, {1, 0, 1e4}, {1, 1}, {0, 1}}}, 1 + segment(1e4, 1)},
        {"FarFromTheOrigin", {{{1e9, 1e9}, {1e9 + 1, 1e9}, {1e9 + 1, 1e9 + 1}, {1e9, 1e9 + 1}}}, 1},
        {"MissingArc", {{{0, 0}, {2, 0, 0.9}, {2, 2}, {0, 2}}}, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double a = geometry::outlineArea(c.o);
        if (std::isnan(c.area))
            EXPECT_TRUE(std::isnan(a));
        else
            EXPECT_NEAR(a, c.area, 1e-13 * std::max(1.0, std::abs(c.area)));
    }
}

TEST(OutlineBox, ArcsReachTheirCircleExtremes) {
    struct Case {
        Outline o;
        geometry::Box box;
    };
    const Case cases[] = {
        {geometry::circleOutline({1, 2, 3}), {-2, -1, 4, 5}},
        {{{{0, 0}, {2, 0, 1}, {2, 2}, {0, 2}}}, {0, 0, 3, 2}},
        {{{{0, 0}, {2, 0, -1}, {2, 2}, {0, 2}}}, {0, 0, 2, 2}},
        // The shorter arc over the top, not the long way round below.
        {{{{1, 0, 5}, {-1, 0}, {0, -1}}}, {-1, -1, 1, 5 - std::sqrt(24.0)}},
    };
    for (const Case& c : cases) {
        const geometry::Box b = geometry::outlineBox(c.o);
        EXPECT_NEAR(b.x0, c.box.x0, 1e-12);
        EXPECT_NEAR(b.y0, c.box.y0, 1e-12);
        EXPECT_NEAR(b.x1, c.box.x1, 1e-12);
        EXPECT_NEAR(b.y1, c.box.y1, 1e-12);
    }
}

}  // namespace
