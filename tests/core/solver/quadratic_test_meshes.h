#pragma once
// Meshes for the bracket and section-property tests: an equilateral triangle, sections cut from
// a grid of square cells, and a uniform refinement that keeps the polygon.

#include <cmath>

#include "solver/quadratic_mesh.h"
#include "test_meshes.h"

namespace quadratic_test_meshes {

using test_meshes::Elements;
using test_meshes::Nodes;

/// Equilateral triangle of side a, one side on the x axis from the origin, cut into n² triangles.
inline void triangle(Model& m, double a, int n) {
    Nodes nodes;
    Elements elems;
    const auto id = [n](int i, int j) {  // row j from the base, i along it
        int first = 1;
        for (int r = 0; r < j; ++r)
            first += n + 1 - r;
        return first + i;
    };
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n - j; ++i)
            nodes.push_back({static_cast<float>(a * (i + 0.5 * j) / n),
                             static_cast<float>(a * std::sqrt(3.0) / 2 * j / n)});
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n - j; ++i) {
            elems.push_back({id(i, j), id(i + 1, j), id(i, j + 1)});
            if (i + 1 < n - j) elems.push_back({id(i + 1, j), id(i + 1, j + 1), id(i, j + 1)});
        }
    test_meshes::fill(m, nodes, elems);
}

/// Cells of size `cell` over [0, w] × [0, h] for which keep(x, y) holds at the cell's centre.
template <typename Keep>
void cells(Model& m, double w, double h, double cell, Keep keep) {
    Nodes nodes;
    Elements elems;
    const int ix = static_cast<int>(std::lround(w / cell)),
              iy = static_cast<int>(std::lround(h / cell));
    test_meshes::grid(nodes, elems, 0, 0, w, h, ix, iy, false,
                      [&](int i, int j) { return keep((i + 0.5) * cell, (j + 0.5) * cell); });
    test_meshes::compact(nodes, elems);
    test_meshes::fill(m, nodes, elems);
}

/// Angle with legs b along x and h along y, both t thick, its corner at the origin.
inline void angle(Model& m, double b, double h, double t, double cell) {
    cells(m, b, h, cell, [t](double x, double y) { return x < t || y < t; });
}

/// Channel of height h and flange width b, web tw thick on the left, flanges tf thick.
inline void channel(Model& m, double h, double b, double tw, double tf, double cell) {
    cells(m, b, h, cell, [=](double x, double y) { return x < tw || y < tf || y > h - tf; });
}

/// Every triangle cut into four at its edge midpoints: the same polygon, nested elements.
inline void refine(Model& m) {
    const QuadraticMesh q = quadraticMesh(m);
    Nodes nodes;
    for (int i = 1; i <= m.nn; ++i)
        nodes.push_back({m.x[i][1], m.x[i][2]});
    for (const auto& e : q.edge)
        nodes.push_back({static_cast<float>((double{m.x[e[0]][1]} + m.x[e[1]][1]) / 2),
                         static_cast<float>((double{m.x[e[0]][2]} + m.x[e[1]][2]) / 2)});
    Elements elems;
    for (const auto& n : q.element) {
        const int a = n[0] + 1, b = n[1] + 1, c = n[2] + 1;
        const int ab = n[3] + 1, bc = n[4] + 1, ca = n[5] + 1;
        elems.push_back({a, ab, ca});
        elems.push_back({ab, b, bc});
        elems.push_back({ca, bc, c});
        elems.push_back({ab, bc, ca});
    }
    test_meshes::fill(m, nodes, elems);
}

}  // namespace quadratic_test_meshes
