#include "io/outline_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <set>
#include <tuple>

namespace io {

namespace {

using geometry::Point;

struct IP {
    std::int64_t x, y;
    bool operator==(const IP&) const = default;
};

bool lexLess(IP a, IP b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

__int128 cross(IP a, IP b, IP c) {
    return static_cast<__int128>(b.x - a.x) * (c.y - a.y) -
           static_cast<__int128>(b.y - a.y) * (c.x - a.x);
}

// Sign of the turn a -> b -> c; exact for coordinates below 2^60.
int orient(IP a, IP b, IP c) {
    const __int128 d = cross(a, b, c);
    return (d > 0) - (d < 0);
}

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

// All polygons' points one after another; edge i joins point i and the next point of its
// polygon, its ends ordered left to right (lexicographically).
struct Edges {
    std::vector<IP> q;
    std::vector<int> poly;           // polygon of each point and edge
    std::vector<std::size_t> first;  // first point of each polygon, and one past the end
    std::vector<IP> lo, hi;
    std::vector<bool> forward;  // the polygon runs from lo to hi along the edge

    void finish() {
        lo.resize(q.size()), hi.resize(q.size()), forward.resize(q.size());
        for (std::size_t i = 0; i < q.size(); ++i) {
            const IP a = q[i], b = q[next(i)];
            forward[i] = lexLess(a, b);
            lo[i] = forward[i] ? a : b;
            hi[i] = forward[i] ? b : a;
        }
    }
    std::size_t next(std::size_t i) const {
        const int p = poly[i];
        return i + 1 == first[p + 1] ? first[p] : i + 1;
    }

    // Edges meet other than neighbours at their shared corner (neighbours folding back on
    // each other do meet).
    bool meet(std::size_t i, std::size_t j) const {
        if (poly[i] == poly[j]) {
            if (next(j) == i) std::swap(i, j);
            if (next(i) == j) {
                const IP a = q[i], s = q[j], b = q[next(j)];
                const __int128 dot = static_cast<__int128>(a.x - s.x) * (b.x - s.x) +
                                     static_cast<__int128>(a.y - s.y) * (b.y - s.y);
                return orient(a, s, b) == 0 && dot > 0;
            }
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

// Order of the sweep status, bottom to top; a point compares with the edges over it. The
// set compares an entering edge only with those present, so the order stays consistent
// until the first meeting, which it records.
struct Below {
    using is_transparent = void;
    const Edges* e;
    std::size_t* faultI;
    std::size_t* faultJ;
    bool operator()(std::size_t i, std::size_t j) const {
        if (i == j) return false;
        const int s = e->side(i, j);
        if (s == 0) {
            if (*faultI == SIZE_MAX) *faultI = i, *faultJ = j;
            return i < j;
        }
        return s < 0;
    }
    bool operator()(std::size_t i, IP p) const { return orient(e->lo[i], e->hi[i], p) > 0; }
    bool operator()(IP p, std::size_t i) const { return orient(e->lo[i], e->hi[i], p) < 0; }
};

// A point where the closed segments ab and cd meet (they do).
IP meetingPoint(IP a, IP b, IP c, IP d) {
    const long double den =
        static_cast<long double>(static_cast<__int128>(b.x - a.x) * (d.y - c.y) -
                                 static_cast<__int128>(b.y - a.y) * (d.x - c.x));
    if (den != 0) {
        const long double num =
            static_cast<long double>(static_cast<__int128>(c.x - a.x) * (d.y - c.y) -
                                     static_cast<__int128>(c.y - a.y) * (d.x - c.x));
        const long double t = std::clamp(num / den, 0.0L, 1.0L);
        return {a.x + std::llround(t * static_cast<long double>(b.x - a.x)),
                a.y + std::llround(t * static_cast<long double>(b.y - a.y))};
    }
    for (const auto& [s0, s1, p] :
         {std::tuple{a, b, c}, std::tuple{a, b, d}, std::tuple{c, d, a}, std::tuple{c, d, b}})
        if (orient(s0, s1, p) == 0 && inBox(s0, s1, p)) return p;
    return a;
}

struct Grid {
    double cx = 0, cy = 0;
    int e = 0;
    IP snap(Point p) const {
        return {std::llround(std::ldexp(p.x - cx, 38 - e)),
                std::llround(std::ldexp(p.y - cy, 38 - e))};
    }
    Point back(IP p) const {
        return {cx + std::ldexp(static_cast<double>(p.x), e - 38),
                cy + std::ldexp(static_cast<double>(p.y), e - 38)};
    }
};

}  // namespace

PolygonLayout polygonLayout(const std::vector<std::vector<Point>>& p) {
    PolygonLayout out;
    const int n = static_cast<int>(p.size());
    double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
    for (int k = 0; k < n; ++k)
        for (const Point& v : p[k]) {
            if (!std::isfinite(v.x) || !std::isfinite(v.y)) {
                out.fault = LayoutFault::Flat, out.first = k, out.at = p[k].front();
                return out;
            }
            x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
            y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
        }
    Grid g;
    g.cx = 0.5 * x0 + 0.5 * x1, g.cy = 0.5 * y0 + 0.5 * y1;
    const double half = std::max(0.5 * x1 - 0.5 * x0, 0.5 * y1 - 0.5 * y0);
    if (half > 0) std::frexp(half, &g.e);

    Edges e;
    e.first.push_back(0);
    std::vector<__int128> area(n, 0);
    for (int k = 0; k < n; ++k) {
        const std::size_t start = e.q.size();
        for (const Point& v : p[k]) {
            const IP s = g.snap(v);
            if (e.q.size() == start || !(s == e.q.back())) e.q.push_back(s), e.poly.push_back(k);
        }
        while (e.q.size() > start + 1 && e.q.back() == e.q[start])
            e.q.pop_back(), e.poly.pop_back();
        const std::size_t m = e.q.size() - start;
        bool flat = true;
        for (std::size_t j = 2; j < m && flat; ++j)
            flat = orient(e.q[start], e.q[start + 1], e.q[start + j]) == 0;
        if (flat) {
            out.fault = LayoutFault::Flat, out.first = k;
            out.at = p[k].empty() ? Point{} : p[k].front();
            return out;
        }
        for (std::size_t j = 0; j < m; ++j) {
            const IP a = e.q[start + j], b = e.q[start + (j + 1) % m];
            area[k] += static_cast<__int128>(a.x) * b.y - static_cast<__int128>(b.x) * a.y;
        }
        e.first.push_back(e.q.size());
    }
    e.finish();

    // Shamos-Hoey over all edges: each entering edge against its neighbours in the status,
    // the two an edge separated when it leaves. Event 2i: edge i enters at lo[i]; 2i + 1: it
    // leaves at hi[i]. At one point leaving comes first.
    const std::size_t m = e.q.size();
    struct Event {
        IP p;
        std::size_t code;
    };
    std::vector<Event> events(2 * m);
    for (std::size_t i = 0; i < m; ++i)
        events[2 * i] = {e.lo[i], 2 * i}, events[2 * i + 1] = {e.hi[i], 2 * i + 1};
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        if (!(a.p == b.p)) return lexLess(a.p, b.p);
        return (a.code & 1) > (b.code & 1);
    });
    // A point visited twice, by one polygon or by two: more than its two edges end there.
    for (std::size_t k = 2; k < events.size(); ++k) {
        if (!(events[k].p == events[k - 2].p)) continue;
        int a = e.poly[events[k].code >> 1], b = a;
        for (std::size_t j = k - 2; j <= k; ++j)
            a = std::min(a, e.poly[events[j].code >> 1]),
            b = std::max(b, e.poly[events[j].code >> 1]);
        out.first = a, out.second = a == b ? -1 : b;
        out.fault = a == b ? LayoutFault::SelfCrossing : LayoutFault::Crossing;
        out.at = g.back(events[k].p);
        return out;
    }
    std::size_t faultI = SIZE_MAX, faultJ = SIZE_MAX;
    std::set<std::size_t, Below> status(Below{&e, &faultI, &faultJ});
    std::vector<std::set<std::size_t, Below>::iterator> where(m);
    out.depth.assign(n, -1);
    auto found = [&](std::size_t i, std::size_t j) {
        out.first = std::min(e.poly[i], e.poly[j]), out.second = std::max(e.poly[i], e.poly[j]);
        out.fault = out.first == out.second ? LayoutFault::SelfCrossing : LayoutFault::Crossing;
        if (out.first == out.second) out.second = -1;
        out.at = g.back(meetingPoint(e.q[i], e.q[e.next(i)], e.q[j], e.q[e.next(j)]));
        out.depth.clear();
        return out;
    };
    for (const Event& event : events) {
        const std::size_t i = event.code >> 1;
        if (event.code & 1) {
            const auto it = where[i];
            const auto after = std::next(it);
            if (it != status.begin() && after != status.end() && e.meet(*std::prev(it), *after))
                return found(*std::prev(it), *after);
            status.erase(it);
            continue;
        }
        const int k = e.poly[i];
        if (out.depth[k] < 0) {
            // The first edge of polygon k to enter starts at its leftmost point, and the edge
            // nearest below that point tells how deeply k lies: inside that edge's polygon
            // when its inside is above the edge, beside it otherwise.
            const IP pt = e.lo[i];
            const auto over = status.lower_bound(pt);
            if (over != status.end() && orient(e.lo[*over], e.hi[*over], pt) == 0) {
                out.first = std::min(k, e.poly[*over]), out.second = std::max(k, e.poly[*over]);
                out.fault = LayoutFault::Crossing, out.at = g.back(pt), out.depth.clear();
                return out;
            }
            out.depth[k] = 0;
            if (over != status.begin()) {
                const std::size_t below = *std::prev(over);
                const int q = e.poly[below];
                const bool insideAbove = e.forward[below] == (area[q] > 0);
                out.depth[k] = out.depth[q] + (insideAbove ? 1 : 0);
            }
        }
        const auto it = status.insert(i).first;
        if (faultI != SIZE_MAX) return found(faultI, faultJ);
        where[i] = it;
        if (it != status.begin() && e.meet(*std::prev(it), i)) return found(*std::prev(it), i);
        const auto after = std::next(it);
        if (after != status.end() && e.meet(*after, i)) return found(*after, i);
    }
    out.ccw.resize(n);
    for (int k = 0; k < n; ++k)
        out.ccw[k] = area[k] > 0;
    return out;
}

}  // namespace io
