#include "solver/contours.h"

#include <numeric>

#include "solver/assembly.h"

namespace {

struct DisjointSets {
    std::vector<int> parent;
    explicit DisjointSets(int n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
    int find(int v) {
        while (parent[v] != v)
            v = parent[v] = parent[parent[v]];
        return v;
    }
    void unite(int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b) parent[std::max(a, b)] = std::min(a, b);  // the root is the lowest node
    }
};

}  // namespace

Contours findContours(const Model& m, const std::vector<BoundaryEdge>& edges) {
    const int nn = m.nn;
    DisjointSets piece(nn + 1), contour(nn + 1);
    for (int e = 1; e <= m.ne; ++e) {
        piece.unite(m.noc[e][1], m.noc[e][2]);
        piece.unite(m.noc[e][1], m.noc[e][3]);
    }
    std::vector<char> on(nn + 1, 0);
    for (const BoundaryEdge& b : edges) {
        on[edgeFrom(m, b)] = on[edgeTo(m, b)] = 1;
        contour.unite(edgeFrom(m, b), edgeTo(m, b));
    }

    // The leftmost contour node of each piece marks its outer contour.
    std::vector<int> leftmost(nn + 1, 0);
    for (int v = 1; v <= nn; ++v) {
        if (!on[v]) continue;
        int& l = leftmost[piece.find(v)];
        if (l == 0 || m.x[v][1] < m.x[l][1] || (m.x[v][1] == m.x[l][1] && m.x[v][2] < m.x[l][2]))
            l = v;
    }
    std::vector<char> outer(nn + 1, 0);
    for (int v = 1; v <= nn; ++v)
        if (leftmost[v] != 0) outer[contour.find(leftmost[v])] = 1;

    Contours c;
    for (int v = 1; v <= nn && !c.unheld; ++v)
        c.unheld = leftmost[piece.find(v)] == 0;
    c.hole.assign(nn + 1, kOffContour);
    std::vector<int> index(nn + 1, -1);  // hole number of a contour root
    for (int v = 1; v <= nn; ++v) {
        if (!on[v]) continue;
        const int r = contour.find(v);
        if (outer[r]) {
            c.hole[v] = kOuterContour;
            continue;
        }
        if (index[r] < 0) {
            index[r] = c.holes();
            c.area.push_back(0.0);
        }
        c.hole[v] = index[r];
    }

    // Each edge runs with its element on the left (reversed for clockwise elements), so a
    // hole is traversed clockwise and its signed area sums negative. Coordinates are taken
    // relative to the contour's lowest node to keep the sum well conditioned.
    for (const BoundaryEdge& b : edges) {
        const int k = c.hole[edgeFrom(m, b)];
        if (k < 0) continue;
        int p = edgeFrom(m, b), q = edgeTo(m, b);
        if (elementGeometry(m, b.e).detj < 0) std::swap(p, q);
        const int o = contour.find(p);
        const double ox = m.x[o][1], oy = m.x[o][2];
        const double px = m.x[p][1] - ox, py = m.x[p][2] - oy;
        const double qx = m.x[q][1] - ox, qy = m.x[q][2] - oy;
        c.area[k] -= (px * qy - qx * py) / 2;
    }
    return c;
}
