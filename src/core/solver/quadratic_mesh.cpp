#include "solver/quadratic_mesh.h"

#include <algorithm>
#include <numeric>

QuadraticMesh quadraticMesh(const Model& m) {
    const int nn = m.nn, ne = m.ne;
    QuadraticMesh q;
    q.vertices = nn;
    q.element.resize(ne);
    const auto lowHigh = [&m](int k, int& lo, int& hi) {
        const int e = k / 3 + 1, j = k % 3 + 1;
        const int a = m.noc[e][j], b = m.noc[e][j % 3 + 1];
        lo = std::min(a, b);
        hi = std::max(a, b);
    };

    // Edge occurrences k = 3(e − 1) + j bucketed by their lower node, each bucket sorted by the
    // higher node; a run of equal higher nodes is one edge.
    const int occurrences = 3 * ne;
    std::vector<int> start(nn + 2, 0);
    for (int k = 0; k < occurrences; ++k) {
        int lo, hi;
        lowHigh(k, lo, hi);
        ++start[lo + 1];
    }
    for (int v = 1; v <= nn; ++v)
        start[v + 1] += start[v];
    std::vector<int> bucket(occurrences), high(occurrences);
    {
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (int k = 0; k < occurrences; ++k) {
            int lo, hi;
            lowHigh(k, lo, hi);
            high[k] = hi;
            bucket[fill[lo]++] = k;
        }
    }
    for (int v = 1; v <= nn; ++v) {
        const auto b = bucket.begin() + start[v], en = bucket.begin() + start[v + 1];
        std::sort(b, en, [&high](int p, int r) { return high[p] < high[r]; });
        for (auto it = b; it != en; ++it) {
            if (it == b || high[*it] != high[*(it - 1)]) q.edge.push_back({v, high[*it]});
            q.element[*it / 3][3 + *it % 3] = nn + static_cast<int>(q.edge.size()) - 1;
        }
    }

    std::vector<int> parent(nn + 1);
    std::iota(parent.begin(), parent.end(), 0);
    const auto find = [&parent](int v) {
        while (parent[v] != v)
            v = parent[v] = parent[parent[v]];
        return v;
    };
    for (int e = 1; e <= ne; ++e) {
        for (int j = 0; j < 3; ++j)
            q.element[e - 1][j] = m.noc[e][j + 1] - 1;
        for (int j = 2; j <= 3; ++j) {
            const int a = find(m.noc[e][1]), b = find(m.noc[e][j]);
            if (a != b) parent[std::max(a, b)] = std::min(a, b);
        }
    }
    std::vector<int> number(nn + 1, -1);
    q.piece.resize(ne);
    for (int e = 1; e <= ne; ++e) {
        int& n = number[find(m.noc[e][1])];
        if (n < 0) n = q.pieces++;
        q.piece[e - 1] = n;
    }
    return q;
}
