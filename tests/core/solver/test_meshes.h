#pragma once
// Small models built directly for the solver tests.

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "mesh/rectangle.h"
#include "model/model.h"

namespace test_meshes {

using Nodes = std::vector<std::array<float, 2>>;
using Elements = std::vector<std::array<int, 3>>;

/// A project holding exactly these nodes and elements, with every array allocated.
inline void fill(Model& m, const Nodes& nodes, const Elements& elems) {
    allocateModel(m, static_cast<int>(nodes.size()), static_cast<int>(elems.size()));
    m.Pusty = 0;
    for (int i = 1; i <= m.nn; ++i) {
        m.x[i][1] = nodes[i - 1][0];
        m.x[i][2] = nodes[i - 1][1];
        m.si[i] = 0.25f * i;
    }
    for (int e = 1; e <= m.ne; ++e)
        for (int l = 1; l <= 3; ++l)
            m.noc[e][l] = elems[e - 1][l - 1];
}

/// A random triangle over nodes 1..nodes; with `distinct` its corners differ.
template <typename Rng>
std::array<int, 3> randomTriangle(Rng& rng, int nodes, bool distinct = false) {
    std::array<int, 3> t;
    do
        for (int& v : t)
            v = 1 + static_cast<int>(rng() % nodes);
    while (distinct && (t[0] == t[1] || t[1] == t[2] || t[2] == t[0]));
    return t;
}

/// Structured grid of ix × iy cells over [x0, x0+w] × [y0, y0+h], numbered like the
/// rectangle patch (corners row by row, then centres); cells for which `keep` is false are
/// left out (their nodes stay, so callers that drop cells must not leave nodes unused).
template <typename Keep>
void grid(Nodes& nodes, Elements& elems, double x0, double y0, double w, double h, int ix, int iy,
          bool p4, Keep keep) {
    const int base = static_cast<int>(nodes.size());
    for (int j = 0; j <= iy; ++j)
        for (int i = 0; i <= ix; ++i)
            nodes.push_back(
                {static_cast<float>(x0 + w * i / ix), static_cast<float>(y0 + h * j / iy)});
    const int centres = static_cast<int>(nodes.size()) + 1;
    if (p4)
        for (int j = 0; j < iy; ++j)
            for (int i = 0; i < ix; ++i)
                nodes.push_back({static_cast<float>(x0 + w * (i + 0.5) / ix),
                                 static_cast<float>(y0 + h * (j + 0.5) / iy)});
    for (int i = 0; i < ix; ++i)
        for (int j = 0; j < iy; ++j) {
            if (!keep(i, j)) continue;
            const int ll = base + 1 + i + j * (ix + 1), lr = ll + 1, ul = ll + ix + 1, ur = ul + 1;
            if (p4) {
                const int c = centres + j * ix + i;
                elems.push_back({ll, lr, c});
                elems.push_back({c, ul, ur});
                elems.push_back({ll, ul, c});
                elems.push_back({lr, ur, c});
            } else {
                elems.push_back({ll, lr, ur});
                elems.push_back({ll, ul, ur});
            }
        }
}

/// Like rectangle(), built here rather than by the patch generator, so that its bits do not
/// follow changes there.
inline void gridModel(Model& m, double w, double h, int ix, int iy, bool p4) {
    Nodes n;
    Elements e;
    grid(n, e, 0, 0, w, h, ix, iy, p4, [](int, int) { return true; });
    fill(m, n, e);
}

/// A new project holding one rectangle patch at the origin.
inline void rectangle(Model& m, double w, double h, int ix, int iy, bool p4 = false) {
    newProject(m);
    RectanglePatch p;
    p.dx = w;
    p.dy = h;
    p.ix = ix;
    p.iy = iy;
    p.p4 = p4;
    appendRectangle(m, p);
}

/// Removes the nodes no element uses and renumbers the rest in order.
inline void compact(Nodes& nodes, Elements& elems) {
    std::vector<int> used(nodes.size() + 1, 0);
    for (auto& e : elems)
        for (int v : e)
            used[v] = 1;
    Nodes kept;
    for (std::size_t i = 1; i <= nodes.size(); ++i)
        if (used[i]) {
            kept.push_back(nodes[i - 1]);
            used[i] = static_cast<int>(kept.size());
        }
    for (auto& e : elems)
        for (int& v : e)
            v = used[v];
    nodes.swap(kept);
}

/// Unit-cell grid of n × n cells over [0, side]² without the cells for which `hole` holds.
template <typename Hole>
void perforated(Model& m, double side, int n, Hole hole) {
    Nodes nodes;
    Elements elems;
    grid(nodes, elems, 0, 0, side, side, n, n, false, [&](int i, int j) { return !hole(i, j); });
    compact(nodes, elems);
    fill(m, nodes, elems);
}

/// Closed ring between radii a and b: nr cells across, nt around, seam nodes shared.
inline void ring(Model& m, double a, double b, int nr, int nt) {
    Nodes nodes;
    Elements elems;
    for (int t = 0; t < nt; ++t)
        for (int r = 0; r <= nr; ++r) {
            const double rad = a + (b - a) * r / nr, ang = 2 * std::numbers::pi * t / nt;
            nodes.push_back(
                {static_cast<float>(rad * std::cos(ang)), static_cast<float>(rad * std::sin(ang))});
        }
    auto id = [&](int r, int t) { return (t % nt) * (nr + 1) + r + 1; };
    for (int t = 0; t < nt; ++t)
        for (int r = 0; r < nr; ++r) {
            elems.push_back({id(r, t), id(r + 1, t), id(r + 1, t + 1)});
            elems.push_back({id(r, t), id(r, t + 1), id(r + 1, t + 1)});
        }
    fill(m, nodes, elems);
}

}  // namespace test_meshes
