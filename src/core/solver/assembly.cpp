#include "solver/assembly.h"

#include <cmath>

void elementStiffness(const ElementGeometry& g, double k[3][3]) {
    for (int l = 0; l < 3; ++l)
        for (int c = 0; c < 3; ++c)
            k[l][c] = g.area * (g.b[0][l] * g.b[0][c] + g.b[1][l] * g.b[1][c]);
}

void assembleStiffness(const Model& m, SymmetricMatrix& s, std::vector<double>& rhs) {
    for (int e = 1; e <= m.ne; ++e) {
        const ElementGeometry g = elementGeometry(m, e);
        double k[3][3];
        elementStiffness(g, k);
        for (int l = 0; l < 3; ++l) {
            const int pl = m.noc[e][l + 1] - 1;
            for (int c = 0; c < 3; ++c) {
                const int pc = m.noc[e][c + 1] - 1;
                if (pl <= pc) s.at(pl, pc) += k[l][c];
            }
            rhs[m.noc[e][l + 1]] += 2 * g.area / 3;
        }
    }
}

void assembleMass(const Model& m, SymmetricMatrix& s) {
    for (int e = 1; e <= m.ne; ++e) {
        const double a = std::fabs(elementGeometry(m, e).detj) / 24;
        for (int l = 0; l < 3; ++l) {
            const int pl = m.noc[e][l + 1] - 1;
            for (int c = 0; c < 3; ++c) {
                const int pc = m.noc[e][c + 1] - 1;
                if (pl <= pc) s.at(pl, pc) += (l == c ? 2 : 1) * a;
            }
        }
    }
}
