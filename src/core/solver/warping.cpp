#include "solver/warping.h"

#include "solver/quadratic_element.h"
#include "solver/quadratic_system.h"

WarpingFunction solveWarping(const Model& m, const QuadraticMesh& q, double ox, double oy,
                             double scale, QuadraticWork& w, SolverTimes& t) {
    WarpingFunction r;
    const int nodes = q.nodes(), ne = m.ne;
    std::vector<char> pinned(nodes, 0), used(nodes, 0);
    {
        std::vector<char> held(q.pieces, 0);
        for (int e = 0; e < ne; ++e)
            if (!held[q.piece[e]]) {
                held[q.piece[e]] = 1;
                pinned[q.element[e][0]] = 1;
            }
    }
    for (const auto& n : q.element)
        for (int v : n)
            used[v] = 1;
    QuadraticSystem s;
    s.node_eq.assign(nodes, -1);
    s.vertex_eq.assign(q.vertices, -1);
    for (int v = 0; v < nodes; ++v)
        if (used[v] && !pinned[v]) {
            s.node_eq[v] = s.equations++;
            if (v < q.vertices) s.vertex_eq[v] = s.coarse_equations++;
        }
    r.equations = s.equations;

    // ∫g·∇N_l, exact for the linear g times the linear gradients. The upper bound of the
    // iterate is ∫|g|² − bᵀx.
    const QuadraticSolution x = solveQuadratic(
        m, q, s, ox, oy,
        [](int, const QuadraticTriangle& tri, double f[6]) {
            for (int l = 0; l < 6; ++l)
                f[l] = 0;
            for (const QuadraturePoint& qp : kDegree2) {
                double g[2][6];
                shapeGradients(tri, qp.l, g);
                const double w = qp.w * tri.area;
                const double gx = tri.pointY(qp.l), gy = -tri.pointX(qp.l);
                for (int l = 0; l < 6; ++l)
                    f[l] += w * (gx * g[0][l] + gy * g[1][l]);
            }
        },
        {}, [scale](double bx) { return scale - bx; }, kFieldTolerance, w, t);
    r.status = x.status;
    r.iterations = x.iterations;
    r.direct = x.direct;
    if (r.status != FactorStatus::Ok) return r;

    r.omega.assign(nodes, 0.0);
    for (int v = 0; v < nodes; ++v)
        if (s.node_eq[v] >= 0) r.omega[v] = x.x[s.node_eq[v]];
    // Zero mean per piece: ∫N is 0 for a corner and area/3 for a midpoint.
    std::vector<double> integral(q.pieces, 0.0), area(q.pieces, 0.0);
    for (int e = 0; e < ne; ++e) {
        const double a = quadraticTriangle(m, e + 1, 0, 0).area;
        area[q.piece[e]] += a;
        for (int l = 3; l < 6; ++l)
            integral[q.piece[e]] += r.omega[q.element[e][l]] * a / 3;
    }
    std::vector<char> shifted(nodes, 0);
    for (int e = 0; e < ne; ++e)
        for (int v : q.element[e])
            if (!shifted[v]) {
                shifted[v] = 1;
                r.omega[v] -= integral[q.piece[e]] / area[q.piece[e]];
            }
    return r;
}
