#include "solver/assembly.h"

#include <cmath>

ElementGeometry elementGeometry(const Model& m, int e) {
    const int i1 = m.noc[e][1], i2 = m.noc[e][2], i3 = m.noc[e][3];
    const double x1 = m.x[i1][1], y1 = m.x[i1][2];
    const double x2 = m.x[i2][1], y2 = m.x[i2][2];
    const double x3 = m.x[i3][1], y3 = m.x[i3][2];
    const double x13 = x1 - x3, x32 = x3 - x2, x21 = x2 - x1;
    const double y23 = y2 - y3, y31 = y3 - y1, y12 = y1 - y2;
    ElementGeometry g;
    g.detj = x13 * y23 - x32 * y31;
    g.area = std::fabs(g.detj) / 2;
    g.b[0][0] = y23 / g.detj;
    g.b[0][1] = y31 / g.detj;
    g.b[0][2] = y12 / g.detj;
    g.b[1][0] = x32 / g.detj;
    g.b[1][1] = x13 / g.detj;
    g.b[1][2] = x21 / g.detj;
    return g;
}

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
