#include "io/curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace io {

namespace {

using geometry::Point;

Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator*(double s, Point a) {
    return {s * a.x, s * a.y};
}

bool finite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// Distance of p from the chord ab (from a when the chord has no length).
double offChord(Point a, Point b, Point p) {
    const Point d = b - a, q = p - a;
    const double len = std::hypot(d.x, d.y);
    if (!(len > 0)) return std::hypot(q.x, q.y);
    return std::abs(d.x * q.y - d.y * q.x) / len;
}

// Solves a[i] x[i-1] + b[i] x[i] + c[i] x[i+1] = d[i] (a[0] and c[n-1] unused); the rows
// are diagonally dominant.
std::vector<Point> tridiagonal(const std::vector<double>& a, std::vector<double> b,
                               const std::vector<double>& c, std::vector<Point> d) {
    const std::size_t n = b.size();
    for (std::size_t i = 1; i < n; ++i) {
        const double f = a[i] / b[i - 1];
        b[i] -= f * c[i - 1];
        d[i] = d[i] - f * d[i - 1];
    }
    d[n - 1] = (1 / b[n - 1]) * d[n - 1];
    for (std::size_t i = n - 1; i-- > 0;)
        d[i] = (1 / b[i]) * (d[i] - c[i] * d[i + 1]);
    return d;
}

// The same with the corners a[0] (row 0, column n-1) and c[n-1] (row n-1, column 0), by
// Sherman-Morrison; n >= 3.
std::vector<Point> cyclic(const std::vector<double>& a, const std::vector<double>& b,
                          const std::vector<double>& c, const std::vector<Point>& d) {
    const std::size_t n = b.size();
    const double alpha = a[0], beta = c[n - 1], gamma = -b[0];
    std::vector<double> bb = b;
    bb[0] = b[0] - gamma;
    bb[n - 1] = b[n - 1] - alpha * beta / gamma;
    std::vector<Point> x = tridiagonal(a, bb, c, d);
    std::vector<Point> u(n, Point{0, 0});
    u[0] = {gamma, gamma};
    u[n - 1] = {beta, beta};
    const std::vector<Point> z = tridiagonal(a, bb, c, u);
    const double den = 1 + z[0].x + alpha * z[n - 1].x / gamma;
    const Point fact = (1 / den) * (x[0] + (alpha / gamma) * x[n - 1]);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = x[i] - Point{fact.x * z[i].x, fact.y * z[i].x};
    return x;
}

}  // namespace

Point ellipsePoint(const EllipseArc& e, double t) {
    return e.c + std::cos(t) * e.u + std::sin(t) * e.v;
}

std::vector<Point> ellipseChords(const EllipseArc& e, double sagitta, std::size_t maxPoints) {
    const double sweep = e.t1 - e.t0;
    // The second derivative of the arc is at most |u| + |v| long in the Euclidean sum, and
    // a chord spanning dt strays at most dt^2/8 times that from the arc.
    const double bend = std::hypot(std::hypot(e.u.x, e.u.y), std::hypot(e.v.x, e.v.y));
    double n = std::ceil(std::abs(sweep) / (std::numbers::pi / 4));
    if (sagitta > 0 && bend > 0)
        n = std::max(n, std::ceil(std::abs(sweep) / std::sqrt(8 * sagitta / bend)));
    const double cap = static_cast<double>(std::max<std::size_t>(maxPoints, 2) - 1);
    const std::size_t count =
        std::isfinite(n) ? static_cast<std::size_t>(std::clamp(n, 1.0, cap)) : 1;
    std::vector<Point> out;
    out.reserve(count + 1);
    for (std::size_t k = 0; k <= count; ++k) {
        const double t = k == count ? e.t1 : e.t0 + sweep * static_cast<double>(k) / count;
        out.push_back(ellipsePoint(e, t));
    }
    return out;
}

bool validNurbs(const Nurbs& n) {
    const std::size_t count = n.points.size();
    if (n.degree < 1 || n.degree > 31 || count < static_cast<std::size_t>(n.degree) + 1)
        return false;
    if (n.weights.size() != count || n.knots.size() != count + n.degree + 1) return false;
    for (std::size_t i = 0; i < count; ++i)
        if (!finite(n.points[i]) || !(n.weights[i] > 0) || !std::isfinite(n.weights[i]))
            return false;
    for (std::size_t i = 0; i < n.knots.size(); ++i)
        if (!std::isfinite(n.knots[i]) || (i > 0 && n.knots[i] < n.knots[i - 1])) return false;
    return n.knots[n.degree] < n.knots[count];
}

Point nurbsPoint(const Nurbs& n, double t) {
    const int p = n.degree;
    const std::size_t count = n.points.size();
    const std::vector<double>& U = n.knots;
    t = std::clamp(t, U[p], U[count]);
    // The span: U[k] <= t < U[k+1], p <= k < count; the last non-empty one at the end.
    std::size_t k = static_cast<std::size_t>(
        std::upper_bound(U.begin() + p, U.begin() + count + 1, t) - U.begin() - 1);
    if (k >= count) k = count - 1;
    while (U[k] == U[k + 1])
        --k;
    struct H {
        double x, y, w;
    };
    H d[32];
    for (int j = 0; j <= p; ++j) {
        const std::size_t i = k - p + j;
        const double w = n.weights[i];
        d[j] = {w * n.points[i].x, w * n.points[i].y, w};
    }
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            const std::size_t i = k - p + j;
            const double a = (t - U[i]) / (U[i + p - r + 1] - U[i]);
            d[j] = {(1 - a) * d[j - 1].x + a * d[j].x, (1 - a) * d[j - 1].y + a * d[j].y,
                    (1 - a) * d[j - 1].w + a * d[j].w};
        }
    return {d[p].x / d[p].w, d[p].y / d[p].w};
}

std::vector<Point> nurbsChords(const Nurbs& n, double sagitta, std::size_t maxPoints) {
    const std::size_t count = n.points.size();
    std::vector<double> breaks;
    for (std::size_t i = n.degree; i <= count; ++i)
        if (breaks.empty() || n.knots[i] > breaks.back()) breaks.push_back(n.knots[i]);
    // Each span starts with a few equal steps (a chord through an inflection may pass its
    // middle), then halves where the middle strays too far.
    const int steps = std::min(16, 2 * n.degree + 2);
    constexpr int kMaxDepth = 16;
    std::vector<Point> out{nurbsPoint(n, breaks.front())};
    struct Piece {
        double t0, t1;
        Point p0, p1;
        int depth;
    };
    std::vector<Piece> stack;
    for (std::size_t s = 0; s + 1 < breaks.size(); ++s) {
        const double a = breaks[s], b = breaks[s + 1];
        for (int j = 0; j < steps; ++j) {
            const double t0 = a + (b - a) * j / steps;
            const double t1 = j + 1 == steps ? b : a + (b - a) * (j + 1) / steps;
            stack.push_back({t0, t1, out.back(), nurbsPoint(n, t1), 0});
            while (!stack.empty()) {
                Piece c = stack.back();
                stack.pop_back();
                const double tm = 0.5 * (c.t0 + c.t1);
                const Point pm = nurbsPoint(n, tm);
                if (c.depth < kMaxDepth && out.size() + stack.size() < maxPoints &&
                    offChord(c.p0, c.p1, pm) > sagitta) {
                    stack.push_back({tm, c.t1, pm, c.p1, c.depth + 1});
                    stack.push_back({c.t0, tm, c.p0, pm, c.depth + 1});
                    continue;
                }
                out.push_back(c.p1);
            }
        }
    }
    return out;
}

std::optional<Nurbs> interpolatingCubic(std::vector<Point> fit, bool closed, Point startTangent,
                                        Point endTangent) {
    for (const Point& p : fit)
        if (!finite(p)) return std::nullopt;
    fit.erase(std::unique(fit.begin(), fit.end(),
                          [](Point a, Point b) { return a.x == b.x && a.y == b.y; }),
              fit.end());
    if (closed && fit.size() > 1 && fit.front().x == fit.back().x && fit.front().y == fit.back().y)
        fit.pop_back();
    const std::size_t n = fit.size();
    if (n < (closed ? 3u : 2u)) return std::nullopt;
    const std::size_t segs = closed ? n : n - 1;
    std::vector<double> h(segs);
    std::vector<Point> delta(segs);
    for (std::size_t i = 0; i < segs; ++i) {
        const Point d = fit[(i + 1) % n] - fit[i];
        h[i] = std::hypot(d.x, d.y);
        if (!(h[i] > 0) || !std::isfinite(h[i])) return std::nullopt;
        delta[i] = (1 / h[i]) * d;
    }
    // Derivatives m[i] at the points from the C2 joins:
    // h[i] m[i-1] + 2 (h[i-1] + h[i]) m[i] + h[i-1] m[i+1] = 3 (h[i] delta[i-1] + h[i-1] delta[i]).
    const std::size_t rows = n;
    std::vector<double> a(rows), b(rows), c(rows);
    std::vector<Point> d(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        if (!closed && (i == 0 || i == n - 1)) continue;
        const std::size_t prev = (i + segs - 1) % segs, cur = i % segs;
        a[i] = h[cur], b[i] = 2 * (h[prev] + h[cur]), c[i] = h[prev];
        d[i] = 3 * h[cur] * delta[prev] + 3 * h[prev] * delta[cur];
    }
    std::vector<Point> m;
    if (closed) {
        m = cyclic(a, b, c, d);
    } else {
        auto unit = [](Point t) -> std::optional<Point> {
            const double len = std::hypot(t.x, t.y);
            if (!(len > 0) || !std::isfinite(len)) return std::nullopt;
            return (1 / len) * t;
        };
        // A given tangent fixes the end's derivative (unit length suits chord-length
        // parameters); a free end has no curvature: 2 m0 + m1 = 3 delta0.
        if (const auto t = unit(startTangent))
            b[0] = 1, c[0] = 0, d[0] = *t;
        else
            b[0] = 2, c[0] = 1, d[0] = 3 * delta[0];
        if (const auto t = unit(endTangent))
            a[n - 1] = 0, b[n - 1] = 1, d[n - 1] = *t;
        else
            a[n - 1] = 1, b[n - 1] = 2, d[n - 1] = 3 * delta[n - 2];
        m = tridiagonal(a, b, c, d);
    }
    // Each piece as a Bezier curve, the pieces joined by triple knots.
    Nurbs out;
    out.degree = 3;
    double t = 0;
    out.knots.assign(4, 0.0);
    out.points.push_back(fit[0]);
    for (std::size_t i = 0; i < segs; ++i) {
        const std::size_t j = (i + 1) % n;
        out.points.push_back(fit[i] + (h[i] / 3) * m[i]);
        out.points.push_back(fit[j] - (h[i] / 3) * m[j]);
        out.points.push_back(fit[j]);
        t += h[i];
        out.knots.insert(out.knots.end(), i + 1 == segs ? 4 : 3, t);
    }
    for (const Point& p : out.points)
        if (!finite(p)) return std::nullopt;
    out.weights.assign(out.points.size(), 1.0);
    return out;
}

}  // namespace io
