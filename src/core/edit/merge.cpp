#include "edit/merge.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

using Corners = std::array<int, 3>;

struct CornersHash {
    std::size_t operator()(const Corners& c) const {
        constexpr std::uint64_t k = 0x9E3779B97F4A7C15ull;
        std::uint64_t h = static_cast<std::uint32_t>(c[0]);
        h = h * k ^ static_cast<std::uint32_t>(c[1]);
        h = h * k ^ static_cast<std::uint32_t>(c[2]);
        return static_cast<std::size_t>(h ^ h >> 29);
    }
};

// Counted from the lowest coordinate, cells stay below about 1e6 in either direction. The clamp
// only guards the conversion: nodes beyond it would share cells, which costs time but never
// gives a wrong merge, since every candidate is tested by distance.
constexpr double kMaxCell = 1 << 30;
// Cells a little larger than the tolerance keep every pair within it in neighbouring cells
// despite the rounding of the division.
constexpr double kCellMargin = 1e-6;

std::int64_t cellOf(double v, double lo, double cell) {
    if (!(cell > 0)) return 0;
    return static_cast<std::int64_t>(std::clamp(std::floor((v - lo) / cell), 0.0, kMaxCell));
}

std::uint64_t cellKey(std::int64_t cx, std::int64_t cy) {
    return static_cast<std::uint64_t>(cx) << 32 | static_cast<std::uint64_t>(cy);
}

}  // namespace

MergeResult mergeNodes(Model& m) {
    MergeResult r;
    if (!modelConsistent(m)) {
        r.outcome = {EditStatus::Refused, ""};
        return r;
    }
    const auto finite = [&m](int i) {
        return std::isfinite(m.x[i][1]) && std::isfinite(m.x[i][2]);
    };
    constexpr double inf = std::numeric_limits<double>::infinity();
    double xlo = inf, xhi = -inf, ylo = inf, yhi = -inf;
    for (int i = 1; i <= m.nn; ++i) {
        if (!finite(i)) continue;
        xlo = std::min<double>(xlo, m.x[i][1]);
        xhi = std::max<double>(xhi, m.x[i][1]);
        ylo = std::min<double>(ylo, m.x[i][2]);
        yhi = std::max<double>(yhi, m.x[i][2]);
    }
    if (xlo > xhi) return r;
    const double tol = kMergeTolerance * std::max(xhi - xlo, yhi - ylo);
    const double tol2 = tol * tol;
    const double cell = tol * (1.0 + kCellMargin);

    // Survivors are chained per cell through `next`, newest first; merged nodes are never
    // entered, so nothing can merge into them.
    const std::size_t nn = static_cast<std::size_t>(m.nn);
    std::vector<int> target(nn + 1, 0);
    std::vector<int> next(nn + 1, 0);
    std::unordered_map<std::uint64_t, int> head;
    head.reserve(nn);
    for (int i = 1; i <= m.nn; ++i) {
        target[i] = i;
        if (!finite(i)) continue;
        const double x = m.x[i][1], y = m.x[i][2];
        const std::int64_t cx = cellOf(x, xlo, cell), cy = cellOf(y, ylo, cell);
        int best = 0;
        for (std::int64_t gx = std::max<std::int64_t>(cx - 1, 0); gx <= cx + 1; ++gx)
            for (std::int64_t gy = std::max<std::int64_t>(cy - 1, 0); gy <= cy + 1; ++gy) {
                const auto it = head.find(cellKey(gx, gy));
                if (it == head.end()) continue;
                for (int s = it->second; s != 0; s = next[s]) {
                    const double dx = m.x[s][1] - x, dy = m.x[s][2] - y;
                    if (dx * dx + dy * dy <= tol2 && (best == 0 || s < best)) best = s;
                }
            }
        if (best != 0) {
            target[i] = best;
            ++r.nodesMerged;
            continue;
        }
        int& first = head[cellKey(cx, cy)];
        next[i] = first;
        first = i;
    }
    if (r.nodesMerged == 0) return r;

    // Only an element at a survivor that took other nodes can turn degenerate or duplicate:
    // a moved corner lands on such a survivor, so any duplicate of the element has it too.
    std::vector<unsigned char> took(nn + 1, 0);
    for (int i = 1; i <= m.nn; ++i)
        if (target[i] != i) took[target[i]] = 1;
    std::vector<unsigned char> drop(static_cast<std::size_t>(m.ne) + 1, 0);
    std::unordered_set<Corners, CornersHash> present;
    std::vector<int> moved;
    for (int e = 1; e <= m.ne; ++e) {
        Corners c = {target[m.noc[e][1]], target[m.noc[e][2]], target[m.noc[e][3]]};
        if (!took[c[0]] && !took[c[1]] && !took[c[2]]) continue;
        if (c[0] != m.noc[e][1] || c[1] != m.noc[e][2] || c[2] != m.noc[e][3]) {
            moved.push_back(e);
            continue;
        }
        std::sort(c.begin(), c.end());
        present.insert(c);
    }
    for (int e : moved) {
        Corners c = {target[m.noc[e][1]], target[m.noc[e][2]], target[m.noc[e][3]]};
        std::sort(c.begin(), c.end());
        if (c[0] == c[1] || c[1] == c[2] || !present.insert(c).second) {
            drop[e] = 1;
            ++r.elementsRemoved;
        }
    }

    r.outcome = removeItems(m, target, drop);
    if (!r.outcome.ok()) r.nodesMerged = r.elementsRemoved = 0;
    return r;
}
