#include "solver/stress_function.h"

#include <cmath>

#include "solver/assembly.h"
#include "solver/boundary.h"

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

StressFunction solveStressFunction(const Model& m, const Ordering& o, BandMatrix& s) {
    StressFunction r;
    const int nn = m.nn;
    std::vector<double> load(nn + 1, 0.0);
    assembleStiffness(m, o, s, load);

    // The penalty scales with the stiffness of node 1, whatever its place in the order.
    r.cnst = s.at(o.pos[1], 0) * 100000.0;
    std::vector<char> held(nn + 1, 0);
    for (const BoundaryEdge& b : boundaryEdges(m))
        held[edgeFrom(m, b)] = held[edgeTo(m, b)] = 1;
    for (int i = 1; i <= nn; ++i)
        if (held[i]) s.at(o.pos[i], 0) += r.cnst;

    if (!s.factor()) {
        r.blad = BLAD_PIVOT;
        return r;
    }
    std::vector<double> work(nn);
    r.phi = load;
    solveByNode(s, o, r.phi, work);

    double j = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const double detj = elementGeometry(m, e).detj;
        j += std::fabs(detj) * (r.phi[m.noc[e][1]] + r.phi[m.noc[e][2]] + r.phi[m.noc[e][3]]) / 3;
    }
    r.J = j;
    if (!std::isfinite(r.J)) r.blad = BLAD_ZDEGENEROWANY;
    return r;
}
