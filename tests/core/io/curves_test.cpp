#include "io/curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using geometry::Point;

// A circle of radius 2 as a rational quadratic curve of four quarter arcs.
io::Nurbs circleCurve() {
    const double w = std::sqrt(0.5);
    return {2,
            {{2, 0}, {2, 2}, {0, 2}, {-2, 2}, {-2, 0}, {-2, -2}, {0, -2}, {2, -2}, {2, 0}},
            {1, w, 1, w, 1, w, 1, w, 1},
            {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4}};
}

TEST(Curves, RationalCircleStaysOnItsCircle) {
    const io::Nurbs c = circleCurve();
    ASSERT_TRUE(io::validNurbs(c));
    for (double t = 0; t <= 4; t += 0.01) {
        const Point p = io::nurbsPoint(c, t);
        EXPECT_NEAR(std::hypot(p.x, p.y), 2, 1e-12) << t;
    }
    // Chords: none strays further than asked.
    const std::vector<Point> q = io::nurbsChords(c, 1e-4, 100000);
    for (std::size_t k = 1; k < q.size(); ++k) {
        const Point m{0.5 * (q[k - 1].x + q[k].x), 0.5 * (q[k - 1].y + q[k].y)};
        EXPECT_LE(2 - std::hypot(m.x, m.y), 1e-4);
    }
    EXPECT_NEAR(q.back().x, 2, 1e-15);
    EXPECT_NEAR(q.back().y, 0, 1e-15);
}

TEST(Curves, InvalidCurvesAreRefused) {
    io::Nurbs c = circleCurve();
    c.knots[5] = 0.5;  // decreasing
    EXPECT_FALSE(io::validNurbs(c));
    c = circleCurve();
    c.weights[3] = 0;
    EXPECT_FALSE(io::validNurbs(c));
    c = circleCurve();
    c.knots.pop_back();
    EXPECT_FALSE(io::validNurbs(c));
    c = circleCurve();
    c.degree = 9;  // more than the points allow
    EXPECT_FALSE(io::validNurbs(c));
}

TEST(Curves, CubicThroughFitPoints) {
    const std::vector<Point> fit{{0, 0}, {1, 2}, {3, 3}, {4, 1}, {6, 0}};
    for (const bool closed : {false, true}) {
        const std::optional<io::Nurbs> c = io::interpolatingCubic(fit, closed, {}, {});
        ASSERT_TRUE(c && io::validNurbs(*c));
        // Every third knot value is a fit point's parameter.
        for (std::size_t k = 0; k < fit.size(); ++k) {
            const Point p = io::nurbsPoint(*c, c->knots[3 + 3 * k]);
            EXPECT_NEAR(p.x, fit[k].x, 1e-12);
            EXPECT_NEAR(p.y, fit[k].y, 1e-12);
        }
        const Point end = io::nurbsPoint(*c, c->knots.back());
        EXPECT_NEAR(end.x, closed ? 0 : 6, 1e-12);
        EXPECT_NEAR(end.y, 0, 1e-12);
    }
    // Points on a line give the line; a given start tangent is taken.
    const std::optional<io::Nurbs> l =
        io::interpolatingCubic({{0, 0}, {1, 1}, {3, 3}}, false, {}, {});
    ASSERT_TRUE(l);
    for (const Point& p : l->points)
        EXPECT_NEAR(p.x, p.y, 1e-12);
    const std::optional<io::Nurbs> t =
        io::interpolatingCubic({{0, 0}, {1, 0}, {2, 0}}, false, {0, 5}, {});
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->points[1].x, 0, 1e-12);
    EXPECT_GT(t->points[1].y, 0);
    EXPECT_FALSE(io::interpolatingCubic({{1, 1}, {1, 1}}, false, {}, {}));
    EXPECT_FALSE(io::interpolatingCubic({{0, 0}, {1, 1}}, true, {}, {}));
}

TEST(Curves, EllipseChordsKeepTheirSagitta) {
    const io::EllipseArc e{{1, 2}, {3, 1}, {-0.5, 1.5}, 0.3, 0.3 - 5};
    const std::vector<Point> q = io::ellipseChords(e, 1e-3, 100000);
    ASSERT_GT(q.size(), 2u);
    const Point a = io::ellipsePoint(e, e.t0), b = io::ellipsePoint(e, e.t1);
    EXPECT_EQ(q.front().x, a.x);
    EXPECT_EQ(q.back().y, b.y);
    for (std::size_t k = 1; k < q.size(); ++k) {
        const double t = e.t0 + (e.t1 - e.t0) * (k - 0.5) / (q.size() - 1);
        const Point m = io::ellipsePoint(e, t);
        const Point d{q[k].x - q[k - 1].x, q[k].y - q[k - 1].y};
        const double off =
            std::abs(d.x * (m.y - q[k - 1].y) - d.y * (m.x - q[k - 1].x)) / std::hypot(d.x, d.y);
        EXPECT_LE(off, 1e-3);
    }
}

}  // namespace
