#include "solver/quadratic_stress.h"

#include "solver/quadratic_system.h"

std::vector<int> quadraticContours(const QuadraticMesh& q, const Contours& c,
                                   const std::vector<BoundaryEdge>& edges) {
    std::vector<int> contour(q.nodes(), kOffContour);
    for (int v = 0; v < q.vertices; ++v)
        contour[v] = c.hole[v + 1];
    for (const BoundaryEdge& b : edges) {
        const std::array<int, 6>& n = q.element[b.e - 1];
        contour[n[3 + b.j - 1]] = contour[n[b.j - 1]];
    }
    return contour;
}

QuadraticStress solveQuadraticStress(const Model& m, const QuadraticMesh& q, const Contours& c,
                                     const std::vector<int>& contour, QuadraticWork& w,
                                     SolverTimes& t) {
    QuadraticStress r;
    const int nodes = q.nodes(), nh = c.holes();
    // Free nodes in node order, then one equation per hole; the linear system likewise on
    // the corners.
    std::vector<char> used(nodes, 0);
    for (const auto& n : q.element)
        for (int v : n)
            used[v] = 1;
    QuadraticSystem s;
    s.node_eq.assign(nodes, -1);
    s.vertex_eq.assign(q.vertices, -1);
    for (int v = 0; v < nodes; ++v)
        if (used[v] && contour[v] == kOffContour) {
            s.node_eq[v] = s.equations++;
            if (v < q.vertices) s.vertex_eq[v] = s.coarse_equations++;
        }
    const int first_hole = s.equations, first_coarse_hole = s.coarse_equations;
    s.equations += nh;
    s.coarse_equations += nh;
    for (int v = 0; v < nodes; ++v)
        if (contour[v] >= 0) {
            s.node_eq[v] = first_hole + contour[v];
            if (v < q.vertices) s.vertex_eq[v] = first_coarse_hole + contour[v];
        }
    r.equations = s.equations;

    std::vector<double> extra(s.equations, 0.0);
    for (int k = 0; k < nh; ++k)
        extra[first_hole + k] = 2 * c.area[k];
    // 2∫N is 0 for a corner and 2·area/3 for a midpoint; bᵀx is the lower bound itself.
    const QuadraticSolution x = solveQuadratic(
        m, q, s, 0, 0,
        [](int, const QuadraticTriangle& tri, double f[6]) {
            for (int l = 0; l < 6; ++l)
                f[l] = l < 3 ? 0.0 : 2 * tri.area / 3;
        },
        extra, [](double bx) { return bx; }, kBoundTolerance, w, t);
    r.status = x.status;
    r.iterations = x.iterations;
    r.direct = x.direct;
    if (r.status != FactorStatus::Ok) return r;

    r.C.assign(x.x.begin() + first_hole, x.x.end());
    r.phi.assign(nodes, 0.0);
    for (int v = 0; v < nodes; ++v)
        if (s.node_eq[v] >= 0) r.phi[v] = x.x[s.node_eq[v]];
    return r;
}
