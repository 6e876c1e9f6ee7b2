#include "solver/smoothing.h"

#include <cmath>
#include <vector>

#include "solver/assembly.h"

int smoothStresses(Model& m, const Ordering& o, BandMatrix& s) {
    const int nn = m.nn;
    s.clear();
    assembleMass(m, o, s);
    for (int k = 0; k < nn; ++k)
        if (s.at(k, 0) == 0.0) s.at(k, 0) = 1.0e-38;
    if (!s.factor()) return BLAD_PIVOT;

    std::vector<double> r(nn);
    for (int c = 1; c <= 2; ++c) {
        std::fill(r.begin(), r.end(), 0.0);
        for (int e = 1; e <= m.ne; ++e) {
            const double v = std::fabs(elementGeometry(m, e).detj) / 6 * std::fabs(m.napr[e][c]);
            for (int l = 1; l <= 3; ++l)
                r[o.pos[m.noc[e][l]]] += v;
        }
        s.solve(r.data());
        for (int k = 0; k < nn; ++k)
            m.ww[o.node[k]][c] = static_cast<float>(std::fabs(r[k]));
    }
    for (int i = 1; i <= nn; ++i)
        m.ww[i][3] = static_cast<float>(
            std::sqrt(double(m.ww[i][1]) * m.ww[i][1] + double(m.ww[i][2]) * m.ww[i][2]));
    for (int e = 1; e <= m.ne; ++e)
        m.napr[e][3] = static_cast<float>(
            std::sqrt(double(m.napr[e][1]) * m.napr[e][1] + double(m.napr[e][2]) * m.napr[e][2]));
    return 0;
}
