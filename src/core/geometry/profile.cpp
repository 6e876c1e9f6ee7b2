#include "geometry/profile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace geometry {

namespace {

constexpr double kPi = std::numbers::pi;

// Collects an outline, merging a vertex that falls on the previous one (a fillet of radius 0,
// a fillet that reaches the end of a flange): the merged vertex keeps the later segment.
class Builder {
  public:
    explicit Builder(double size) : tol_(1e-12 * size) {}

    void add(double x, double y, double r = 0) {
        if (!o_.v.empty() && near(o_.v.back(), x, y)) {
            o_.v.back().r = r;
            return;
        }
        o_.v.push_back({x, y, r});
    }

    Outline take() {
        while (o_.v.size() > 1 && near(o_.v.front(), o_.v.back().x, o_.v.back().y))
            o_.v.pop_back();
        return std::move(o_);
    }

  private:
    bool near(const Vertex& v, double x, double y) const {
        return std::abs(v.x - x) <= tol_ && std::abs(v.y - y) <= tol_;
    }
    double tol_;
    Outline o_;
};

using Shapes = std::vector<Outline>;

struct Built {
    Shapes outlines;
    std::string error;
};

Built refuse(std::string message) {
    return {{}, std::move(message)};
}

const std::string kRadiusR = "Promień r nie mieści się w profilu";

// Rectangle w × h centred at the origin with corners rounded by r (0: sharp).
Outline roundedRectangle(double w, double h, double r, double size) {
    const double X = 0.5 * w, Y = 0.5 * h;
    Builder b(size);
    b.add(-X + r, -Y);
    b.add(X - r, -Y, r);
    b.add(X, -Y + r);
    b.add(X, Y - r, r);
    b.add(X - r, Y);
    b.add(-X + r, Y, r);
    b.add(-X, Y - r);
    b.add(-X, -Y + r, r);
    return b.take();
}

// Doubly symmetric I: flanges b × tf, web tw, four root fillets r.
Built iSection(double h, double b, double tw, double tf, double r) {
    if (tf >= 0.5 * h) return refuse("Grubość półki tf musi być mniejsza niż h/2");
    if (tw >= b) return refuse("Grubość środnika tw musi być mniejsza niż b");
    if (r > 0.5 * (b - tw) || 2 * r > h - 2 * tf) return refuse(kRadiusR);
    const double X = 0.5 * b, Y = 0.5 * h, w = 0.5 * tw, f = Y - tf;
    Builder o(std::max(h, b));
    o.add(-X, -Y);
    o.add(X, -Y);
    o.add(X, -f);
    o.add(w + r, -f, -r);
    o.add(w, -f + r);
    o.add(w, f - r, -r);
    o.add(w + r, f);
    o.add(X, f);
    o.add(X, Y);
    o.add(-X, Y);
    o.add(-X, f);
    o.add(-w - r, f, -r);
    o.add(-w, f - r);
    o.add(-w, -f + r, -r);
    o.add(-w - r, -f);
    o.add(-X, -f);
    return {{o.take()}, {}};
}

// Channel: web on the left, flanges to the right, two root fillets.
Built uSection(double h, double b, double tw, double tf, double r) {
    if (tf >= 0.5 * h) return refuse("Grubość półki tf musi być mniejsza niż h/2");
    if (tw >= b) return refuse("Grubość środnika tw musi być mniejsza niż b");
    if (r > b - tw || 2 * r > h - 2 * tf) return refuse(kRadiusR);
    Builder o(std::max(h, b));
    o.add(0, 0);
    o.add(b, 0);
    o.add(b, tf);
    o.add(tw + r, tf, -r);
    o.add(tw, tf + r);
    o.add(tw, h - tf - r, -r);
    o.add(tw + r, h - tf);
    o.add(b, h - tf);
    o.add(b, h);
    o.add(0, h);
    return {{o.take()}, {}};
}

// Angle: legs along +x (b) and +y (h), root fillet r1, toes rounded inside by r2.
Built lSection(double h, double b, double t, double r1, double r2) {
    if (t >= b) return refuse("Grubość t musi być mniejsza niż b");
    if (t >= h) return refuse("Grubość t musi być mniejsza niż h");
    if (r2 > t) return refuse("Promień r2 nie może być większy niż t");
    if (r1 + r2 > std::min(b, h) - t) {
        if (r2 == 0) return refuse("Promień r1 nie mieści się w profilu");
        if (r1 == 0) return refuse("Promień r2 nie mieści się w profilu");
        return refuse("Promienie r1 i r2 nie mieszczą się w profilu");
    }
    Builder o(std::max(h, b));
    o.add(0, 0);
    o.add(b, 0);
    o.add(b, t - r2, r2);
    o.add(b - r2, t);
    o.add(t + r1, t, -r1);
    o.add(t, t + r1);
    o.add(t, h - r2, r2);
    o.add(t - r2, h);
    o.add(0, h);
    return {{o.take()}, {}};
}

// Tee: flange b × tf on top, web tw below it, two root fillets.
Built tSection(double h, double b, double tw, double tf, double r) {
    if (tf >= h) return refuse("Grubość półki tf musi być mniejsza niż h");
    if (tw >= b) return refuse("Grubość środnika tw musi być mniejsza niż b");
    if (r > 0.5 * (b - tw) || r > h - tf) return refuse(kRadiusR);
    const double X = 0.5 * b, w = 0.5 * tw, f = h - tf;
    Builder o(std::max(h, b));
    o.add(-w, 0);
    o.add(w, 0);
    o.add(w, f - r, -r);
    o.add(w + r, f);
    o.add(X, f);
    o.add(X, h);
    o.add(-X, h);
    o.add(-X, f);
    o.add(-w - r, f, -r);
    o.add(-w, f - r);
    return {{o.take()}, {}};
}

Built rhsSection(double h, double b, double t, double r) {
    const double small = std::min(b, h);
    if (2 * t >= small) return refuse("Grubość ścianki t musi być mniejsza niż min(b, h)/2");
    if (r > 0.5 * small) return refuse("Promień r nie może być większy niż min(b, h)/2");
    const double size = std::max(h, b);
    return {{roundedRectangle(b, h, r, size),
             roundedRectangle(b - 2 * t, h - 2 * t, std::max(r - t, 0.0), size)},
            {}};
}

// Radius of the circle through three points.
double circleRadius(double ax, double ay, double bx, double by, double cx, double cy) {
    const double ab = std::hypot(bx - ax, by - ay), bc = std::hypot(cx - bx, cy - by);
    const double ca = std::hypot(ax - cx, ay - cy);
    const double cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    return ab * bc * ca / (2 * std::abs(cross));
}

// The ellipse by arcs through three of its points each. The points equidistribute
// |dκ/ds|^(1/3) (the error of a circle through three points grows with the change of
// curvature times the length cubed), plus a little of the curvature itself where that
// change vanishes at the axes.
Outline ellipse(double a, double b) {
    constexpr int kPerQuadrant = 64;
    constexpr int kSamples = 1024;
    const double m = std::max(a, b);
    const double A = a / m, B = b / m;
    auto density = [A, B](double t) {
        const double s = std::sin(t), c = std::cos(t);
        const double g = std::sqrt(A * A * s * s + B * B * c * c);  // ds/dt
        const double g3 = g * g * g;
        const double dk = 3 * A * B * std::abs((A * A - B * B) * s * c) / (g3 * g3);
        const double k = A * B / g3;
        return (std::cbrt(dk) + 0.1 * std::sqrt(k)) * g;
    };
    // Cumulative density over the quadrant by Simpson's rule, inverted piecewise linearly.
    std::vector<double> cum(kSamples + 1, 0.0);
    const double dt = 0.5 * kPi / kSamples;
    for (int i = 0; i < kSamples; ++i) {
        const double t0 = i * dt;
        cum[i + 1] =
            cum[i] + dt / 6 * (density(t0) + 4 * density(t0 + 0.5 * dt) + density(t0 + dt));
    }
    auto parameter = [&](double u) {
        const double target = u * cum[kSamples];
        const auto it = std::upper_bound(cum.begin(), cum.end(), target);
        const int i = std::clamp(static_cast<int>(it - cum.begin()) - 1, 0, kSamples - 1);
        const double f = (target - cum[i]) / (cum[i + 1] - cum[i]);
        return (i + std::clamp(f, 0.0, 1.0)) * dt;
    };
    std::array<double, kPerQuadrant + 1> t, px, py;
    for (int i = 0; i <= kPerQuadrant; ++i) {
        t[i] = parameter(static_cast<double>(i) / kPerQuadrant);
        px[i] = A * std::cos(t[i]);
        py[i] = B * std::sin(t[i]);
    }
    px[0] = A, py[0] = 0, px[kPerQuadrant] = 0, py[kPerQuadrant] = B;
    std::array<double, kPerQuadrant> R;
    for (int i = 0; i < kPerQuadrant; ++i) {
        const double tm = 0.5 * (t[i] + t[i + 1]);
        R[i] = m *
               circleRadius(px[i], py[i], A * std::cos(tm), B * std::sin(tm), px[i + 1], py[i + 1]);
    }
    // The quadrant and its mirror images, counter-clockwise.
    Outline o;
    o.v.reserve(4 * kPerQuadrant);
    const int N = kPerQuadrant;
    for (int i = 0; i < N; ++i)
        o.v.push_back({m * px[i], m * py[i], R[i]});
    for (int i = 0; i < N; ++i)
        o.v.push_back({-m * px[N - i], m * py[N - i], R[N - 1 - i]});
    for (int i = 0; i < N; ++i)
        o.v.push_back({-m * px[i], -m * py[i], R[i]});
    for (int i = 0; i < N; ++i)
        o.v.push_back({m * px[N - i], -m * py[N - i], R[N - 1 - i]});
    return o;
}

// Regular n-gon with inscribed diameter s, one side at the bottom.
Built polygon(double nd, double s) {
    if (nd != std::floor(nd) || nd < 3)
        return refuse("Liczba boków n musi być liczbą całkowitą nie mniejszą niż 3");
    if (nd > 1000) return refuse("Liczba boków n nie może być większa niż 1000");
    const int n = static_cast<int>(nd);
    const double rho = 0.5 * s, R = rho / std::cos(kPi / n);
    // Vertex k at angle (2k + 1) pi / n from straight down; the right half is mirrored.
    std::vector<Vertex> v(n);
    for (int k = 0; 2 * k < n; ++k) {
        const double alpha = (2 * k + 1) * kPi / n;
        v[k] = {R * std::sin(alpha), -R * std::cos(alpha), 0};
        v[n - 1 - k] = {-v[k].x, v[k].y, 0};
    }
    v[0].y = v[n - 1].y = -rho;
    if (n % 2 == 1) v[(n - 1) / 2].x = 0;
    return {{Outline{std::move(v)}}, {}};
}

// Shaft of diameter d with a keyway b wide and t deep at the top.
Built shaft(double d, double b, double t) {
    if (b >= d) return refuse("Szerokość rowka b musi być mniejsza niż d");
    if (t >= 0.5 * d) return refuse("Głębokość rowka t musi być mniejsza niż d/2");
    const double R = 0.5 * d, X = 0.5 * b;
    const double yw = std::sqrt(R - X) * std::sqrt(R + X);  // where the walls meet the circle
    const double floor = R - t;
    if (floor >= yw)
        return refuse("Głębokość rowka t musi być większa niż strzałka łuku nad rowkiem");
    Builder o(d);
    o.add(-X, yw, R);
    o.add(-R, 0, R);
    o.add(0, -R, R);
    o.add(R, 0, R);
    o.add(X, yw);
    o.add(X, floor);
    o.add(-X, floor);
    return {{o.take()}, {}};
}

Built build(ProfileKind kind, const std::vector<double>& d) {
    switch (kind) {
        case ProfileKind::I:
            return iSection(d[0], d[1], d[2], d[3], d[4]);
        case ProfileKind::U:
            return uSection(d[0], d[1], d[2], d[3], d[4]);
        case ProfileKind::L:
            return lSection(d[0], d[1], d[2], d[3], d[4]);
        case ProfileKind::T:
            return tSection(d[0], d[1], d[2], d[3], d[4]);
        case ProfileKind::RHS:
            return rhsSection(d[0], d[1], d[2], d[3]);
        case ProfileKind::CHS:
            if (d[1] >= 0.5 * d[0]) return refuse("Grubość ścianki t musi być mniejsza niż d/2");
            return {{circleOutline({0, 0, 0.5 * d[0]}), circleOutline({0, 0, 0.5 * d[0] - d[1]})},
                    {}};
        case ProfileKind::Kolo:
            return {{circleOutline({0, 0, 0.5 * d[0]})}, {}};
        case ProfileKind::Elipsa:
            if (d[0] == d[1]) return {{circleOutline({0, 0, d[0]})}, {}};
            return {{ellipse(d[0], d[1])}, {}};
        case ProfileKind::Wielokat:
            return polygon(d[0], d[1]);
        case ProfileKind::Trojkat: {
            const double a = d[0];
            return {{Outline{{{-0.5 * a, 0}, {0.5 * a, 0}, {0, 0.5 * std::sqrt(3.0) * a}}}}, {}};
        }
        case ProfileKind::Prostokat:
            return {{roundedRectangle(d[0], d[1], 0, std::max(d[0], d[1]))}, {}};
        case ProfileKind::Wal:
            return shaft(d[0], d[1], d[2]);
    }
    return refuse("Nieznany rodzaj profilu");
}

// cos and sin of `deg` degrees, exact at multiples of 90.
void turn(double deg, double& c, double& s) {
    const double a = std::fmod(deg, 360.0);
    const double q = a / 90;
    if (q == std::floor(q)) {
        const int k = (static_cast<int>(q) % 4 + 4) % 4;
        constexpr double cs[4] = {1, 0, -1, 0};
        c = cs[k], s = cs[(k + 3) % 4];
        return;
    }
    c = std::cos(a * kPi / 180);
    s = std::sin(a * kPi / 180);
}

std::string countMessage(const ProfileInfo& info) {
    const std::size_t n = info.dims.size();
    return std::string("Profil „") + info.label + "” wymaga " + std::to_string(n) +
           (n == 1 ? " wymiaru" : " wymiarów");
}

}  // namespace

ProfileOutlines profileOutlines(const Profile& p) {
    const auto kindIndex = static_cast<std::size_t>(p.kind);
    if (kindIndex >= profileInfos().size()) return {{}, "Nieznany rodzaj profilu"};
    const ProfileInfo& info = profileInfo(p.kind);
    if (p.dims.size() != info.dims.size()) return {{}, countMessage(info)};
    for (std::size_t i = 0; i < p.dims.size(); ++i) {
        const double v = p.dims[i];
        const std::string name = info.dims[i].name;
        if (!std::isfinite(v)) return {{}, "Wymiar " + name + " musi być liczbą skończoną"};
        if (info.dims[i].optional) {
            if (v < 0) return {{}, "Promień " + name + " nie może być ujemny"};
        } else if (!(v > 0)) {
            return {{}, "Wymiar " + name + " musi być dodatni"};
        }
    }
    if (!std::isfinite(p.x)) return {{}, "Położenie x musi być liczbą skończoną"};
    if (!std::isfinite(p.y)) return {{}, "Położenie y musi być liczbą skończoną"};
    if (!std::isfinite(p.obrot)) return {{}, "Kąt obrotu musi być liczbą skończoną"};

    Built b = build(p.kind, p.dims);
    if (!b.error.empty()) return {{}, std::move(b.error)};

    // The centre of the outer outline's box to (x, y), then the turn about it.
    const Box box = outlineBox(b.outlines.front());
    const double cx = 0.5 * box.x0 + 0.5 * box.x1, cy = 0.5 * box.y0 + 0.5 * box.y1;
    double c, s;
    turn(p.obrot, c, s);
    for (Outline& o : b.outlines)
        for (Vertex& v : o.v) {
            const double lx = v.x - cx, ly = v.y - cy;
            v.x = p.x + (c * lx - s * ly);
            v.y = p.y + (s * lx + c * ly);
        }
    for (const Outline& o : b.outlines)
        for (const Vertex& v : o.v)
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.r))
                return {{}, "Wymiary lub położenie profilu wykraczają poza zakres obliczeń"};
    return {std::move(b.outlines), {}};
}

}  // namespace geometry
