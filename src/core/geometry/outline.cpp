#include "geometry/outline.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "geometry/arc.h"

namespace geometry {

namespace {

// Area between an arc of radius R spanning `sweep` and its chord, signed like the sweep:
// R^2 (phi - sin phi) / 2, by its series where the difference would cancel.
double segmentArea(double R, double sweep) {
    const double p = sweep;
    double d;
    if (std::abs(p) < 0.1) {
        const double p2 = p * p;
        d = p * p2 *
            (1.0 / 6 -
             p2 * (1.0 / 120 - p2 * (1.0 / 5040 - p2 * (1.0 / 362880 - p2 * (1.0 / 39916800)))));
    } else {
        d = p - std::sin(p);
    }
    return 0.5 * R * R * d;
}

}  // namespace

double outlineArea(const Outline& o) {
    const std::size_t n = o.v.size();
    if (n == 0) return 0;
    // Relative to the first vertex, so that far-off outlines keep their digits.
    const double ox = o.v[0].x, oy = o.v[0].y;
    double twice = 0, arcs = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& p = o.v[i];
        const Vertex& q = o.v[(i + 1) % n];
        twice += (p.x - ox) * (q.y - oy) - (q.x - ox) * (p.y - oy);
        if (p.r == 0) continue;
        const std::optional<Arc> a = makeArc(p.x, p.y, q.x, q.y, p.r);
        if (!a) return std::numeric_limits<double>::quiet_NaN();
        arcs += segmentArea(a->radius, a->sweep);
    }
    return 0.5 * twice + arcs;
}

Box outlineBox(const Outline& o) {
    if (o.v.empty()) return {};
    Box b{o.v[0].x, o.v[0].y, o.v[0].x, o.v[0].y};
    auto take = [&b](double x, double y) {
        b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
        b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
    };
    const std::size_t n = o.v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& p = o.v[i];
        const Vertex& q = o.v[(i + 1) % n];
        take(p.x, p.y);
        if (p.r == 0) continue;
        const std::optional<Arc> a = makeArc(p.x, p.y, q.x, q.y, p.r);
        if (!a) continue;
        // The arc reaches the extreme of its circle in each axis direction it passes.
        const double start = std::atan2(p.y - a->cy, p.x - a->cx);
        constexpr double turn = 2 * std::numbers::pi;
        for (int k = 0; k < 4; ++k) {
            const double dir = k * 0.5 * std::numbers::pi;
            double delta = std::fmod(a->sweep > 0 ? dir - start : start - dir, turn);
            if (delta < 0) delta += turn;
            if (delta > std::abs(a->sweep)) continue;
            const double ex[4] = {1, 0, -1, 0}, ey[4] = {0, 1, 0, -1};
            take(a->cx + ex[k] * a->radius, a->cy + ey[k] * a->radius);
        }
    }
    return b;
}

}  // namespace geometry
