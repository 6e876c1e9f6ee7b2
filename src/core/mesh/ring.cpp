#include "mesh/ring.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "edit/nodes.h"
#include "edit/resize.h"

namespace {

constexpr const char* kTooLarge = "Brak pamięci na siatkę o takiej liczbie elementów";

struct Point {
    double x = 0, y = 0;
};

// Unit vector at `deg` degrees, exact at the multiples of 90°.
Point direction(double deg) {
    const double q = std::round(deg / 90.0);
    const double rest = (deg - 90.0 * q) * (std::numbers::pi / 180.0);
    const double c = std::cos(rest), s = std::sin(rest);
    switch ((static_cast<int>(std::fmod(q, 4.0)) + 4) % 4) {
        case 0:
            return {c, s};
        case 1:
            return {-s, c};
        case 2:
            return {-c, -s};
        default:
            return {s, -c};
    }
}

}  // namespace

EditOutcome appendRing(Model& m, const RingPatch& p) {
    const int nn0 = m.nn;
    const int ne0 = m.ne;
    const std::int64_t ix = p.ix, iy = p.iy;
    if (ix <= 0 || iy <= 0 || !modelConsistent(m)) return {EditStatus::Refused, ""};
    for (const double v : {p.px, p.py, p.rz, p.rw, p.kp, p.kk})
        if (!std::isfinite(v)) return {EditStatus::Refused, ""};
    const double span = p.kk - p.kp;
    // A cell of 180° or more has collinear or folded corners.
    if (p.rw < 0 || p.rz <= 0 || p.rz == p.rw || span == 0 || std::fabs(span) > 360 ||
        std::fabs(span) / p.iy >= 180)
        return {EditStatus::Refused, ""};

    const bool closed = std::fabs(span) == 360;
    const bool fan = p.rw == 0;
    if (ix * iy > INT_MAX) return {EditStatus::TooLarge, kTooLarge};
    const std::int64_t rows = closed ? iy : iy + 1;
    const std::int64_t corners = fan ? 1 + ix * rows : (ix + 1) * rows;
    const std::int64_t lw = corners + (p.p4 ? ix * iy : 0);
    const std::int64_t le = ((p.p4 ? 4 : 2) * ix - (fan ? 1 : 0)) * iy;
    if (nn0 + lw > INT_MAX || ne0 + le > INT_MAX) return {EditStatus::TooLarge, kTooLarge};

    // Angles are taken from kp reduced to one turn, so that a large start angle keeps the
    // step; the last column and row sit exactly on rz and kk.
    const double a0 = std::fmod(p.kp, 360.0);
    const double dr = (p.rz - p.rw) / p.ix;
    const double da = span / p.iy;
    auto wrap = [&](std::int64_t j) { return closed && j == iy + 1 ? 1 : j; };
    auto corner = [&](std::int64_t i, std::int64_t j) {
        j = wrap(j);
        const double r = i == ix + 1 ? p.rz : p.rw + static_cast<double>(i - 1) * dr;
        const Point u = direction(j == iy + 1 ? a0 + span : a0 + static_cast<double>(j - 1) * da);
        return Point{p.px + r * u.x, p.py + r * u.y};
    };

    // Along a row x and y are extreme at its inner or outer node; across the rows, at the
    // ends or next to an axis direction. Cell centres lie between corners.
    auto rowFits = [&](std::int64_t j) {
        j = std::clamp<std::int64_t>(j, 1, iy + 1);
        for (const std::int64_t i : {std::int64_t{1}, ix + 1}) {
            const Point c = corner(i, j);
            if (!fitsFloat(c.x) || !fitsFloat(c.y)) return false;
        }
        return true;
    };
    bool fits = rowFits(1) && rowFits(iy + 1);
    for (double t = 90 * std::ceil(std::min(a0, a0 + span) / 90);
         fits && t <= std::max(a0, a0 + span); t += 90) {
        const double f = (t - a0) / da;
        fits = rowFits(static_cast<std::int64_t>(std::floor(f)) + 1) &&
               rowFits(static_cast<std::int64_t>(std::ceil(f)) + 1);
    }
    if (!fits) return {EditStatus::Refused, ""};

    if (EditOutcome grown = growModel(m, static_cast<long>(lw), static_cast<long>(le));
        !grown.ok()) {
        if (grown.status == EditStatus::TooLarge) grown.message = kTooLarge;
        return grown;
    }

    auto node = [&](std::int64_t i, std::int64_t j) -> long {
        j = wrap(j);
        if (!fan) return nn0 + (j - 1) * (ix + 1) + i;
        return i == 1 ? nn0 + 1 : nn0 + 1 + (j - 1) * ix + (i - 1);
    };
    auto set = [&](long n, Point c) {
        m.x[n][1] = static_cast<float>(c.x);
        m.x[n][2] = static_cast<float>(c.y);
    };
    for (std::int64_t j = 1; j <= rows; ++j)
        for (std::int64_t i = 1; i <= ix + 1; ++i)
            set(node(i, j), corner(i, j));
    const long psro = nn0 + corners + 1;
    auto mid = [&](std::int64_t i, std::int64_t j) { return psro + (j - 1) * ix + (i - 1); };
    if (p.p4)
        for (std::int64_t j = 1; j <= iy; ++j)
            for (std::int64_t i = 1; i <= ix; ++i) {
                const Point a = corner(i, j), b = corner(i + 1, j), d = corner(i + 1, j + 1);
                if (fan && i == 1) {
                    set(mid(i, j), {(a.x + b.x + d.x) / 3, (a.y + b.y + d.y) / 3});
                } else {
                    const Point c = corner(i, j + 1);
                    set(mid(i, j), {(a.x + b.x + c.x + d.x) / 4, (a.y + b.y + c.y + d.y) / 4});
                }
            }

    long e = ne0;
    auto add = [&](long a, long b, long c) {
        ++e;
        m.noc[e][1] = static_cast<int>(a);
        m.noc[e][2] = static_cast<int>(b);
        m.noc[e][3] = static_cast<int>(c);
    };
    for (std::int64_t i = 1; i <= ix; ++i)
        for (std::int64_t j = 1; j <= iy; ++j) {
            const long ll = node(i, j), lr = node(i + 1, j);
            const long ul = node(i, j + 1), ur = node(i + 1, j + 1);
            if (!p.p4) {
                add(ll, lr, ur);
                if (!fan || i > 1) add(ll, ul, ur);
            } else {
                // In a triangular cell ll = ul: (ll, ul, mid) is the one that folds.
                const long c = mid(i, j);
                add(ll, lr, c);
                add(c, ul, ur);
                if (!fan || i > 1) add(ll, ul, c);
                add(lr, ur, c);
            }
        }

    return {};
}
