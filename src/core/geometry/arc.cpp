#include "geometry/arc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace geometry {

Outline circleOutline(const Circle& c) {
    const double r = std::abs(c.r);
    return {{{c.x + r, c.y, r}, {c.x, c.y + r, r}, {c.x - r, c.y, r}, {c.x, c.y - r, r}}};
}

std::optional<Arc> makeArc(double x0, double y0, double x1, double y1, double r) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double d = std::hypot(dx, dy);
    const double R = std::abs(r);
    if (!(d > 0) || !std::isfinite(d) || !std::isfinite(R)) return std::nullopt;
    const double half = 0.5 * d;
    if (R < half * (1 - 1e-9)) return std::nullopt;
    const double h = R > half ? std::sqrt((R - half) * (R + half)) : 0.0;
    // The centre of the shorter counter-clockwise arc lies left of the chord, of the clockwise
    // arc right of it.
    const double s = r > 0 ? 1.0 : -1.0;
    const double mx = x0 + 0.5 * dx, my = y0 + 0.5 * dy;
    const double cx = mx - s * h * dy / d, cy = my + s * h * dx / d;
    const double sweep = s * 2.0 * std::asin(std::min(1.0, half / R));
    return Arc{x0, y0, x1, y1, cx, cy, R, sweep};
}

int chordCount(const Arc& a, double maxChord, double maxSagitta) {
    const double phi = std::abs(a.sweep);
    double n = 1;
    // A chord spanning angle t is 2 R sin(t/2) long.
    if (maxChord > 0 && maxChord < 2 * a.radius)
        n = std::max(n, std::ceil(phi / (2 * std::asin(maxChord / (2 * a.radius)))));
    // Sagitta of a chord spanning angle t: R (1 - cos t/2) <= s  <=>  t <= 2 acos(1 - s/R).
    if (maxSagitta > 0 && maxSagitta < a.radius) {
        const double t = 2 * std::acos(1 - maxSagitta / a.radius);
        if (t > 0) n = std::max(n, std::ceil(phi / t));
    }
    return static_cast<int>(std::min(n, 1e6));
}

void arcPoint(const Arc& a, double t, double& x, double& y) {
    if (t <= 0) {
        x = a.x0, y = a.y0;
        return;
    }
    if (t >= 1) {
        x = a.x1, y = a.y1;
        return;
    }
    const double start = std::atan2(a.y0 - a.cy, a.x0 - a.cx);
    const double angle = start + t * a.sweep;
    x = a.cx + a.radius * std::cos(angle);
    y = a.cy + a.radius * std::sin(angle);
}

std::vector<Point> polygonOf(const Outline& o,
                             const std::function<double(double, double)>& maxChord,
                             double sagittaFraction) {
    std::vector<Point> out;
    const std::size_t n = o.v.size();
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& p = o.v[i];
        const Vertex& q = o.v[(i + 1) % n];
        out.push_back({p.x, p.y});
        if (p.r == 0) continue;
        const std::optional<Arc> a = makeArc(p.x, p.y, q.x, q.y, p.r);
        if (!a) return {};
        double mx, my;
        arcPoint(*a, 0.5, mx, my);
        const double h = maxChord(mx, my);
        const int k = chordCount(*a, h, sagittaFraction * h);
        for (int j = 1; j < k; ++j) {
            Point pt;
            arcPoint(*a, static_cast<double>(j) / k, pt.x, pt.y);
            out.push_back(pt);
        }
    }
    return out;
}

}  // namespace geometry
