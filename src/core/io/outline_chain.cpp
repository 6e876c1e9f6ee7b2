#include "io/outline_chain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>

namespace io {

namespace {

using geometry::Outline;
using geometry::Point;
using geometry::Vertex;

double distance(const Vertex& a, const Vertex& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Vertices within `tol` of the one before merge into it, taking over its segment onwards;
// for a closed path the last against the first as well.
void mergeClose(Path& p, double tol) {
    std::vector<Vertex> v;
    v.reserve(p.v.size());
    for (const Vertex& x : p.v) {
        if (!v.empty() && distance(v.back(), x) <= tol)
            v.back().r = x.r;
        else
            v.push_back(x);
    }
    if (p.closed)
        while (v.size() > 1 && distance(v.back(), v.front()) <= tol)
            v.pop_back();
    p.v = std::move(v);
}

// The path run backwards: the arc from vertex i to i + 1 becomes the reversed arc from
// i + 1 to i.
void reverse(Path& p) {
    const std::size_t n = p.v.size();
    std::vector<Vertex> v(n);
    for (std::size_t k = 0; k < n; ++k) {
        v[k] = p.v[n - 1 - k];
        v[k].r = k + 1 < n ? -p.v[n - 2 - k].r : 0;
    }
    p.v = std::move(v);
}

// An arc whose chord grew beyond its diameter when its ends joined others is straight.
void straightenImpossibleArcs(Outline& o) {
    const std::size_t n = o.v.size();
    for (std::size_t i = 0; i < n; ++i) {
        Vertex& p = o.v[i];
        if (p.r != 0 && !geometry::makeArc(p.x, p.y, o.v[(i + 1) % n].x, o.v[(i + 1) % n].y, p.r))
            p.r = 0;
    }
}

struct UnionFind {
    std::vector<std::size_t> up;
    explicit UnionFind(std::size_t n) : up(n) { std::iota(up.begin(), up.end(), std::size_t{0}); }
    std::size_t find(std::size_t i) {
        while (up[i] != i)
            i = up[i] = up[up[i]];
        return i;
    }
    void join(std::size_t a, std::size_t b) {
        a = find(a), b = find(b);
        if (a != b) up[std::max(a, b)] = std::min(a, b);
    }
};

}  // namespace

Chained chainPaths(std::vector<Path> paths, double tol) {
    Chained out;
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        mergeClose(paths[i], tol);
        if (paths[i].v.size() >= 2 && !paths[i].closed) open.push_back(i);
    }

    // End 2k is the start of open path k, 2k + 1 its end. Ends within tol of each other
    // join; a grid of cells tol wide holds them, so only neighbouring cells are searched.
    const std::size_t ends = 2 * open.size();
    auto endPoint = [&](std::size_t e) -> const Vertex& {
        const Path& p = paths[open[e / 2]];
        return e % 2 ? p.v.back() : p.v.front();
    };
    double x0 = HUGE_VAL, y0 = HUGE_VAL;
    for (std::size_t e = 0; e < ends; ++e)
        x0 = std::min(x0, endPoint(e).x), y0 = std::min(y0, endPoint(e).y);
    const double cell = tol > 0 ? tol : 1;
    auto cellOf = [&](double v, double v0) {
        return static_cast<std::int64_t>(std::clamp(std::floor((v - v0) / cell), 0.0, 2e9));
    };
    std::vector<std::pair<std::int64_t, std::size_t>> byCell(ends);
    for (std::size_t e = 0; e < ends; ++e)
        byCell[e] = {cellOf(endPoint(e).x, x0) << 32 | cellOf(endPoint(e).y, y0), e};
    std::sort(byCell.begin(), byCell.end());
    UnionFind uf(ends);
    for (std::size_t e = 0; e < ends; ++e) {
        const std::int64_t cx = cellOf(endPoint(e).x, x0), cy = cellOf(endPoint(e).y, y0);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                if (cx + dx < 0 || cy + dy < 0) continue;
                const std::int64_t key = (cx + dx) << 32 | (cy + dy);
                auto it = std::lower_bound(byCell.begin(), byCell.end(),
                                           std::pair<std::int64_t, std::size_t>{key, 0});
                for (; it != byCell.end() && it->first == key; ++it)
                    if (it->second > e && distance(endPoint(e), endPoint(it->second)) <= tol)
                        uf.join(e, it->second);
            }
    }

    // Each joint holds exactly two ends.
    std::vector<std::vector<std::size_t>> at(ends);
    for (std::size_t e = 0; e < ends; ++e)
        at[uf.find(e)].push_back(e);
    auto other = [&](std::size_t e) {
        const std::vector<std::size_t>& j = at[uf.find(e)];
        return j.size() == 2 ? (j[0] == e ? j[1] : j[0]) : SIZE_MAX;
    };
    auto where = [&](std::size_t e) {
        const Vertex& v = endPoint(e);
        return Point{v.x, v.y};
    };
    for (std::size_t e = 0; e < ends; ++e) {
        if (at[uf.find(e)].size() != 1) continue;
        // Along the chain from this free end to its other end.
        std::size_t cur = e;
        for (std::size_t steps = 0; steps <= ends; ++steps) {
            const std::size_t far = cur ^ 1;
            const std::size_t next = other(far);
            if (next == SIZE_MAX) {
                out.fault = ChainFault::FreeEnd, out.a = where(e), out.ends = 1;
                if (at[uf.find(far)].size() == 1) out.b = where(far), out.ends = 2;
                return out;
            }
            cur = next;
        }
        out.fault = ChainFault::FreeEnd, out.a = where(e), out.ends = 1;
        return out;
    }
    for (std::size_t e = 0; e < ends; ++e)
        if (at[uf.find(e)].size() > 2) {
            out.fault = ChainFault::Branch, out.a = where(e);
            return out;
        }

    std::vector<bool> used(open.size(), false);
    std::vector<std::size_t> openIndex(paths.size(), SIZE_MAX);
    for (std::size_t k = 0; k < open.size(); ++k)
        openIndex[open[k]] = k;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        Path& p = paths[i];
        if (p.v.size() < 2) continue;
        if (p.closed) {
            Outline o{std::move(p.v)};
            straightenImpossibleArcs(o);
            out.outlines.push_back(std::move(o));
            continue;
        }
        const std::size_t k0 = openIndex[i];
        if (used[k0]) continue;
        // Around the cycle: each path enters by end `in`, leaves by the other.
        Outline o;
        std::size_t in = 2 * k0;
        do {
            const std::size_t k = in / 2;
            used[k] = true;
            Path& q = paths[open[k]];
            if (in % 2) reverse(q);
            o.v.insert(o.v.end(), q.v.begin(), q.v.end() - 1);
            in = other(in ^ 1);
        } while (in != 2 * k0 && in != SIZE_MAX);
        straightenImpossibleArcs(o);
        out.outlines.push_back(std::move(o));
    }
    return out;
}

}  // namespace io
