#include "solver/stress_function.h"

#include <cmath>

#include "solver/assembly.h"
#include "solver/boundary.h"
#include "solver/dense_solve.h"

namespace {

// Solves in place for a right-hand side indexed by model node.
void solveByNode(const BandMatrix& s, const Ordering& o, std::vector<double>& x,
                 std::vector<double>& work) {
    const int n = s.n();
    for (int k = 0; k < n; ++k)
        work[k] = x[o.node[k]];
    s.solve(work.data());
    for (int k = 0; k < n; ++k)
        x[o.node[k]] = work[k];
}

}  // namespace

std::vector<double> contourFlux(const Model& m, const Contours& c, const std::vector<double>& phi,
                                bool with_load) {
    std::vector<double> flux(c.holes(), 0.0);
    for (int e = 1; e <= m.ne; ++e) {
        const int* v = m.noc[e];
        if (c.hole[v[1]] < 0 && c.hole[v[2]] < 0 && c.hole[v[3]] < 0) continue;
        const ElementGeometry g = elementGeometry(m, e);
        double k[3][3];
        elementStiffness(g, k);
        for (int l = 0; l < 3; ++l) {
            const int h = c.hole[v[l + 1]];
            if (h < 0) continue;
            double r = with_load ? -2 * g.area / 3 : 0.0;
            for (int j = 0; j < 3; ++j)
                r += k[l][j] * phi[v[j + 1]];
            flux[h] += r;
        }
    }
    return flux;
}

StressFunction solveStressFunction(const Model& m, const Ordering& o, BandMatrix& s, bool holes) {
    StressFunction r;
    const int nn = m.nn;
    std::vector<double> load(nn + 1, 0.0);
    assembleStiffness(m, o, s, load);

    // The penalty scales with the stiffness of node 1, whatever its place in the order.
    r.cnst = s.at(o.pos[1], 0) * 100000.0;
    const std::vector<BoundaryEdge> edges = boundaryEdges(m);
    r.contours = findContours(m, edges);
    if (!holes) r.contours.area.clear();
    const Contours& c = r.contours;
    for (int i = 1; i <= nn; ++i)
        if (c.hole[i] != kOffContour) s.at(o.pos[i], 0) += r.cnst;

    // In exact arithmetic an unheld piece ends in a zero pivot; round-off may miss it.
    if (c.unheld || !s.factor()) {
        r.blad = BLAD_PIVOT;
        return r;
    }
    std::vector<double> work(nn);
    r.phi = load;
    solveByNode(s, o, r.phi, work);

    const int nh = holes ? c.holes() : 0;
    if (nh > 0) {
        // φ = φ₀ + Σ C_k·ψ_k, ψ_k the response to the penalty pulling contour k to 1; the
        // conditions are linear in C. The final φ is one more solve with every pull at once.
        const std::vector<double> flux0 = contourFlux(m, c, r.phi);
        std::vector<std::vector<double>> a(nh, std::vector<double>(nh));
        std::vector<double> psi(nn + 1);
        for (int k = 0; k < nh; ++k) {
            for (int i = 0; i <= nn; ++i)
                psi[i] = (i > 0 && c.hole[i] == k) ? r.cnst : 0.0;
            solveByNode(s, o, psi, work);
            const std::vector<double> fk = contourFlux(m, c, psi, false);
            for (int j = 0; j < nh; ++j)
                a[j][k] = fk[j];
        }
        r.C.resize(nh);
        for (int j = 0; j < nh; ++j)
            r.C[j] = 2 * c.area[j] - flux0[j];
        if (!denseSolve(std::move(a), r.C)) {
            r.blad = BLAD_ZDEGENEROWANY;
            return r;
        }
        r.phi = load;
        for (int i = 1; i <= nn; ++i)
            if (c.hole[i] >= 0) r.phi[i] += r.cnst * r.C[c.hole[i]];
        solveByNode(s, o, r.phi, work);
    }

    double j = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const double detj = elementGeometry(m, e).detj;
        j += std::fabs(detj) * (r.phi[m.noc[e][1]] + r.phi[m.noc[e][2]] + r.phi[m.noc[e][3]]) / 3;
    }
    for (int k = 0; k < nh; ++k)
        j += 2 * r.C[k] * c.area[k];
    r.J = j;
    if (!std::isfinite(r.J)) r.blad = BLAD_ZDEGENEROWANY;
    return r;
}
