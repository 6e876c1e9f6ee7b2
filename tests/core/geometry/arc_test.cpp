#include "geometry/arc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

namespace {

using geometry::Arc;
constexpr double kPi = std::numbers::pi;

TEST(Arc, CentreAndSweepFollowTheSignOfTheRadius) {
    struct Case {
        double x0, y0, x1, y1, r;
        bool exists;
        double cx, cy, sweep;
    };
    const Case cases[] = {
        {1, 0, 0, 1, 1, true, 0, 0, kPi / 2},
        {1, 0, 0, 1, -1, true, 1, 1, -kPi / 2},
        {-2, 5, 2, 5, 2 * (1 - 1e-10), true, 0, 5, kPi},  // half circle within rounding
        {-2, 5, 2, 5, 1.99, false, 0, 0, 0},
        {3, 3, 3, 3, 1, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r);
        const std::optional<Arc> a = geometry::makeArc(c.x0, c.y0, c.x1, c.y1, c.r);
        ASSERT_EQ(a.has_value(), c.exists);
        if (!a) continue;
        EXPECT_NEAR(a->cx, c.cx, 1e-6);
        EXPECT_NEAR(a->cy, c.cy, 1e-6);
        EXPECT_NEAR(a->sweep, c.sweep, 1e-4);
    }
}

TEST(Arc, ChordsKeepToTheLengthAndSagittaLimits) {
    const Arc a = *geometry::makeArc(10, 0, -10, 0, 10);  // half circle, 10 pi long
    struct Limit {
        double chord, sagitta;
    };
    for (const Limit l : {Limit{1, 0}, Limit{100, 0.01}, Limit{2, 0.5}}) {
        const int n = geometry::chordCount(a, l.chord, l.sagitta);
        auto chord = [&](int k) { return 2 * a.radius * std::sin(kPi / (2 * k)); };
        auto sagitta = [&](int k) { return a.radius * (1 - std::cos(kPi / (2 * k))); };
        EXPECT_LE(chord(n), l.chord * (1 + 1e-12));
        if (l.sagitta > 0) {
            EXPECT_LE(sagitta(n), l.sagitta * (1 + 1e-12));
        }
        // One chord fewer would break a limit.
        EXPECT_TRUE(chord(n - 1) > l.chord || sagitta(n - 1) > l.sagitta);
    }
}

}  // namespace
