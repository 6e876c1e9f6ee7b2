#include "geometry/polygon_checks.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using geometry::Point;
using geometry::PolygonShape;

double cross(Point a, Point b, Point c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool onSegment(Point a, Point b, Point p) {
    return cross(a, b, p) == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// Every pair of edges, the obvious way (exact for small integers).
PolygonShape bruteForce(const std::vector<Point>& q) {
    const std::size_t n = q.size();
    bool flat = true;
    for (std::size_t k = 2; k < n; ++k)
        flat = flat && cross(q[0], q[1], q[k]) == 0;
    if (flat) return PolygonShape::Flat;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            const Point a = q[i], b = q[(i + 1) % n], c = q[j], d = q[(j + 1) % n];
            if (a.x == c.x && a.y == c.y) return PolygonShape::Crossing;
            // Neighbours share a corner; only the far end of one lying on the other counts.
            if (j == i + 1) {
                if (onSegment(a, b, d) || onSegment(c, d, a)) return PolygonShape::Crossing;
            } else if ((j + 1) % n == i) {
                if (onSegment(a, b, c) || onSegment(c, d, b)) return PolygonShape::Crossing;
            } else if ((cross(a, b, c) * cross(a, b, d) < 0 &&
                        cross(c, d, a) * cross(c, d, b) < 0) ||
                       onSegment(a, b, c) || onSegment(a, b, d) || onSegment(c, d, a) ||
                       onSegment(c, d, b)) {
                return PolygonShape::Crossing;
            }
        }
    return PolygonShape::Simple;
}

// Small polygons on a 5 × 5 grid, full of shared lines and touching corners, against the
// pairwise test. The grid's corners (0, 0) and (4, 4) are always visited, so the scale to the
// integer grid is a power of two and exact.
TEST(PolygonShape, SweepAgreesWithEveryPairOnCoarseGrids) {
    std::mt19937 rng(12345);
    int seen[3] = {0, 0, 0};
    for (int trial = 0; trial < 40000; ++trial) {
        std::vector<Point> q = {{0, 0}};
        const int n = 3 + static_cast<int>(rng() % 8);
        while (static_cast<int>(q.size()) < n) {
            const Point p{static_cast<double>(rng() % 5), static_cast<double>(rng() % 5)};
            if (q.back().x != p.x || q.back().y != p.y) q.push_back(p);
        }
        q.insert(q.begin() + 1 + rng() % (n - 1), Point{4, 4});
        bool repeats = false;
        for (std::size_t i = 0; i < q.size(); ++i) {
            const Point a = q[i], b = q[(i + 1) % q.size()];
            repeats = repeats || (a.x == b.x && a.y == b.y);
        }
        if (repeats) continue;
        const PolygonShape expected = bruteForce(q);
        ++seen[static_cast<int>(expected)];
        ASSERT_EQ(geometry::polygonShape(q), expected) << "trial " << trial;
    }
    EXPECT_GT(seen[static_cast<int>(PolygonShape::Simple)], 500);
    EXPECT_GT(seen[static_cast<int>(PolygonShape::Flat)], 10);
}

}  // namespace
