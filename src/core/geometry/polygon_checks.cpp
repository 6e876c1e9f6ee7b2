#include "geometry/polygon_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <numeric>
#include <set>

namespace geometry {

namespace {

struct IP {
    std::int64_t x, y;
    bool operator==(const IP&) const = default;
};

bool lexLess(IP a, IP b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

// Sign of the turn a -> b -> c; exact for coordinates below 2^60.
int orient(IP a, IP b, IP c) {
    const __int128 d = static_cast<__int128>(b.x - a.x) * (c.y - a.y) -
                       static_cast<__int128>(b.y - a.y) * (c.x - a.x);
    return (d > 0) - (d < 0);
}

// p lies in the box of segment ab (so on it when collinear).
bool inBox(IP a, IP b, IP p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool closedSegmentsMeet(IP a, IP b, IP c, IP d) {
    const int o1 = orient(a, b, c), o2 = orient(a, b, d);
    const int o3 = orient(c, d, a), o4 = orient(c, d, b);
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return (o1 == 0 && inBox(a, b, c)) || (o2 == 0 && inBox(a, b, d)) ||
           (o3 == 0 && inBox(c, d, a)) || (o4 == 0 && inBox(c, d, b));
}

// Edge i joins q[i] and q[i+1]; its ends ordered left to right (lexicographically).
struct Edges {
    const std::vector<IP>& q;
    std::vector<IP> lo, hi;

    explicit Edges(const std::vector<IP>& pts) : q(pts), lo(pts.size()), hi(pts.size()) {
        for (std::size_t i = 0; i < q.size(); ++i) {
            const IP a = q[i], b = q[next(i)];
            lo[i] = lexLess(a, b) ? a : b;
            hi[i] = lexLess(a, b) ? b : a;
        }
    }
    std::size_t next(std::size_t i) const { return i + 1 == q.size() ? 0 : i + 1; }

    // Edges meet other than neighbours at their shared corner (neighbours folding back on
    // each other do meet).
    bool meet(std::size_t i, std::size_t j) const {
        if (next(j) == i) std::swap(i, j);
        if (next(i) == j) {
            const IP a = q[i], s = q[j], b = q[next(j)];
            const __int128 dot = static_cast<__int128>(a.x - s.x) * (b.x - s.x) +
                                 static_cast<__int128>(a.y - s.y) * (b.y - s.y);
            return orient(a, s, b) == 0 && dot > 0;
        }
        return closedSegmentsMeet(q[i], q[next(i)], q[j], q[next(j)]);
    }

    // Where edge i lies against edge j along the sweep (negative: below); one of them starts
    // at the sweep position. Zero when the later start lies on the other edge, or both start
    // together along one line.
    int side(std::size_t i, std::size_t j) const {
        if (lexLess(lo[j], lo[i])) return orient(lo[j], hi[j], lo[i]);
        if (lexLess(lo[i], lo[j])) return -orient(lo[i], hi[i], lo[j]);
        return -orient(lo[i], hi[i], hi[j]);
    }
};

// Order of the sweep status. std::set only compares an entering edge with those present, so
// the order stays consistent until the first meeting, which sets `fault`.
struct Below {
    const Edges* e;
    bool* fault;
    bool operator()(std::size_t i, std::size_t j) const {
        if (i == j) return false;
        const int s = e->side(i, j);
        if (s == 0) {
            *fault = true;
            return i < j;
        }
        return s < 0;
    }
};

// Shamos-Hoey: whether any two edges meet, checking each edge against its neighbours in the
// sweep status when it enters and the two it separated when it leaves.
bool anyEdgesMeet(const std::vector<IP>& q) {
    const Edges e(q);
    const std::size_t m = q.size();
    // Event 2i: edge i enters at lo[i]; 2i + 1: it leaves at hi[i]. At one point leaving
    // comes first.
    std::vector<std::size_t> events(2 * m);
    std::iota(events.begin(), events.end(), std::size_t{0});
    auto at = [&e](std::size_t ev) { return ev & 1 ? e.hi[ev >> 1] : e.lo[ev >> 1]; };
    std::sort(events.begin(), events.end(), [&](std::size_t a, std::size_t b) {
        const IP pa = at(a), pb = at(b);
        if (pa != pb) return lexLess(pa, pb);
        return (a & 1) > (b & 1);
    });
    bool fault = false;
    std::set<std::size_t, Below> status(Below{&e, &fault});
    std::vector<std::set<std::size_t, Below>::iterator> where(m);
    for (const std::size_t ev : events) {
        const std::size_t i = ev >> 1;
        if (ev & 1) {
            const auto it = where[i];
            const auto after = std::next(it);
            if (it != status.begin() && after != status.end() && e.meet(*std::prev(it), *after))
                return true;
            status.erase(it);
        } else {
            const auto it = status.insert(i).first;
            if (fault) return true;
            where[i] = it;
            if (it != status.begin() && e.meet(*std::prev(it), i)) return true;
            const auto after = std::next(it);
            if (after != status.end() && e.meet(*after, i)) return true;
        }
    }
    return false;
}

}  // namespace

PolygonShape polygonShape(const std::vector<Point>& p) {
    if (p.size() < 3) return PolygonShape::Flat;
    double x0 = p[0].x, x1 = x0, y0 = p[0].y, y1 = y0;
    for (const Point& v : p) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y)) return PolygonShape::Crossing;
        x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
        y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
    }
    // Halves first, so that the centre and extent of huge coordinates stay finite.
    const double cx = 0.5 * x0 + 0.5 * x1, cy = 0.5 * y0 + 0.5 * y1;
    const double half = std::max(0.5 * x1 - 0.5 * x0, 0.5 * y1 - 0.5 * y0);
    if (!(half > 0)) return PolygonShape::Flat;
    // A power of two scale keeps points on a binary grid exact.
    int e = 0;
    std::frexp(half, &e);
    std::vector<IP> q;
    q.reserve(p.size());
    for (const Point& v : p) {
        const IP s{std::llround(std::ldexp(v.x - cx, 38 - e)),
                   std::llround(std::ldexp(v.y - cy, 38 - e))};
        if (q.empty() || !(s == q.back())) q.push_back(s);
    }
    while (q.size() > 1 && q.back() == q.front())
        q.pop_back();
    if (q.size() < 3) return PolygonShape::Flat;
    bool flat = true;
    for (std::size_t k = 2; k < q.size() && flat; ++k)
        flat = orient(q[0], q[1], q[k]) == 0;
    if (flat) return PolygonShape::Flat;
    std::vector<IP> sorted = q;
    std::sort(sorted.begin(), sorted.end(), lexLess);
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
        return PolygonShape::Crossing;
    return anyEdgesMeet(q) ? PolygonShape::Crossing : PolygonShape::Simple;
}

}  // namespace geometry
