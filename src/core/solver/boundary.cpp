#include "solver/boundary.h"

#include <algorithm>

// Replays the pairwise scan without its quadratic search. Edges are numbered k = 3(e-1) +
// (j-1), which is scan order. When a live edge {a,b} is processed it clears every live
// occurrence of {a,b} in later elements, after which no occurrence of {a,b} past its element
// is live; likewise a live degenerate edge {a,a} clears every later edge holding a. Each list
// is therefore cut back after its use and every edge is visited a bounded number of times.
namespace {

std::vector<BoundaryEdge> liveEdges(const std::vector<char>& live) {
    std::vector<BoundaryEdge> out;
    for (int k = 0; k < static_cast<int>(live.size()); ++k)
        if (live[k]) out.push_back({k / 3 + 1, k % 3 + 1});
    return out;
}

// Without repeated corners every occurrence of a pair lies in its own element, and the
// first one clears all the others and itself: an edge stays exactly when its pair occurs
// once. Edges are bucketed by their lower node and counted by their higher one.
std::vector<BoundaryEdge> edgesMetOnce(const Model& m) {
    const int ne = m.ne, nn = m.nn;
    const int nedge = 3 * ne;
    std::vector<int> start(nn + 2, 0);
    for (int e = 1; e <= ne; ++e)
        for (int j = 1; j <= 3; ++j)
            ++start[std::min(m.noc[e][j], m.noc[e][j % 3 + 1]) + 1];
    for (int v = 1; v <= nn; ++v)
        start[v + 1] += start[v];
    std::vector<int> bucket(nedge);
    for (int k = 0; k < nedge; ++k) {
        const int a = m.noc[k / 3 + 1][k % 3 + 1], b = m.noc[k / 3 + 1][(k % 3 + 1) % 3 + 1];
        bucket[start[std::min(a, b)]++] = k;
    }
    // start[v] now ends bucket v, which begins where bucket v - 1 ends.
    std::vector<int> count(nn + 1, 0);
    std::vector<char> live(nedge, 0);
    auto high = [&m](int k) {
        return std::max(m.noc[k / 3 + 1][k % 3 + 1], m.noc[k / 3 + 1][(k % 3 + 1) % 3 + 1]);
    };
    for (int v = 1, first = 0; v <= nn; first = start[v++]) {
        for (int p = first; p < start[v]; ++p)
            ++count[high(bucket[p])];
        for (int p = first; p < start[v]; ++p)
            live[bucket[p]] = count[high(bucket[p])] == 1;
        for (int p = first; p < start[v]; ++p)
            count[high(bucket[p])] = 0;
    }
    return liveEdges(live);
}

}  // namespace

std::vector<BoundaryEdge> boundaryEdges(const Model& m) {
    const int ne = m.ne, nn = m.nn;
    bool repeated = false;
    for (int e = 1; e <= ne && !repeated; ++e)
        repeated =
            m.noc[e][1] == m.noc[e][2] || m.noc[e][2] == m.noc[e][3] || m.noc[e][3] == m.noc[e][1];
    if (!repeated) return edgesMetOnce(m);

    const int nedge = 3 * ne;
    auto from = [&m](int k) { return m.noc[k / 3 + 1][k % 3 + 1]; };
    auto to = [&m](int k) { return m.noc[k / 3 + 1][(k % 3 + 1) % 3 + 1]; };
    auto elem = [](int k) { return k / 3; };

    // Occurrences of each non-degenerate pair, in scan order: the edges bucketed by their lower
    // node (a counting pass keeps scan order), each bucket sorted by the higher node, then by
    // scan order; a run of equal higher nodes is one pair.
    auto low = [&](int k) { return std::min(from(k), to(k)); };
    auto high = [&](int k) { return std::max(from(k), to(k)); };
    std::vector<int> lstart(nn + 2, 0);
    for (int k = 0; k < nedge; ++k)
        if (from(k) != to(k)) ++lstart[low(k) + 1];
    for (int v = 1; v <= nn; ++v)
        lstart[v + 1] += lstart[v];
    std::vector<int> gedge(lstart[nn + 1]);
    {
        std::vector<int> fill(lstart.begin(), lstart.end() - 1);
        for (int k = 0; k < nedge; ++k)
            if (from(k) != to(k)) gedge[fill[low(k)]++] = k;
    }
    std::vector<int> group(nedge, -1);
    std::vector<int> gstart;
    {
        std::vector<int> hi(nedge);
        for (int k = 0; k < nedge; ++k)
            hi[k] = high(k);
        for (int v = 1; v <= nn; ++v) {
            const auto b = gedge.begin() + lstart[v], en = gedge.begin() + lstart[v + 1];
            std::sort(b, en,
                      [&hi](int p, int q) { return hi[p] < hi[q] || (hi[p] == hi[q] && p < q); });
            for (auto it = b; it != en; ++it) {
                if (it == b || hi[*it] != hi[*(it - 1)])
                    gstart.push_back(static_cast<int>(it - gedge.begin()));
                group[*it] = static_cast<int>(gstart.size()) - 1;
            }
        }
    }
    gstart.push_back(static_cast<int>(gedge.size()));
    std::vector<int> gend(gstart.begin() + 1, gstart.end());  // live tail ends here
    std::vector<int> slot(nedge, -1);  // position of an edge in its pair list
    for (int p = 0; p < static_cast<int>(gedge.size()); ++p)
        slot[gedge[p]] = p;

    // Edges holding each node, in scan order (a degenerate edge is listed once).
    std::vector<int> nstart(nn + 2, 0);
    for (int k = 0; k < nedge; ++k) {
        ++nstart[from(k) + 1];
        if (to(k) != from(k)) ++nstart[to(k) + 1];
    }
    for (int v = 1; v <= nn; ++v)
        nstart[v + 1] += nstart[v];
    std::vector<int> nedge_of(nstart[nn + 1]);
    std::vector<int> nend(nstart.begin() + 1, nstart.end());
    {
        std::vector<int> fill(nstart.begin(), nstart.end() - 1);
        for (int k = 0; k < nedge; ++k) {
            nedge_of[fill[from(k)]++] = k;
            if (to(k) != from(k)) nedge_of[fill[to(k)]++] = k;
        }
    }
    std::vector<int> ncursor(nstart.begin(), nstart.end() - 1);

    std::vector<char> live(nedge, 1);
    for (int k = 0; k < nedge; ++k) {
        if (!live[k]) continue;
        const int e = elem(k);
        int cleared = 0;
        const int a = from(k);
        if (group[k] >= 0) {
            const int g = group[k];
            int p = slot[k] + 1;
            while (p < gend[g] && elem(gedge[p]) == e)
                ++p;
            for (int q = p; q < gend[g]; ++q)
                if (live[gedge[q]]) {
                    live[gedge[q]] = 0;
                    ++cleared;
                }
            gend[g] = std::min(gend[g], p);
        } else {
            // The node list is in scan order; skip what lies in this element or before it.
            int p = ncursor[a];
            while (p < nend[a] && elem(nedge_of[p]) <= e)
                ++p;
            ncursor[a] = p;
            for (int q = p; q < nend[a]; ++q)
                if (live[nedge_of[q]]) {
                    live[nedge_of[q]] = 0;
                    ++cleared;
                }
            nend[a] = p;
        }
        if (cleared > 0) live[k] = 0;
    }

    return liveEdges(live);
}
