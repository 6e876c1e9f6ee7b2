#include "solver/quadratic_element.h"

#include "solver/assembly.h"

QuadraticTriangle quadraticTriangle(const Model& m, int e, double ox, double oy) {
    const ElementGeometry g = elementGeometry(m, e);
    QuadraticTriangle t;
    t.area = g.area;
    for (int d = 0; d < 2; ++d)
        for (int i = 0; i < 3; ++i)
            t.b[d][i] = g.b[d][i];
    for (int i = 0; i < 3; ++i) {
        const int v = m.noc[e][i + 1];
        t.x[i] = m.x[v][1] - ox;
        t.y[i] = m.x[v][2] - oy;
    }
    return t;
}

void shapeValues(const double l[3], double n[6]) {
    for (int i = 0; i < 3; ++i) {
        n[i] = l[i] * (2 * l[i] - 1);
        n[3 + i] = 4 * l[i] * l[(i + 1) % 3];
    }
}

void shapeGradients(const QuadraticTriangle& t, const double l[3], double g[2][6]) {
    for (int d = 0; d < 2; ++d)
        for (int i = 0; i < 3; ++i) {
            const int j = (i + 1) % 3;
            g[d][i] = (4 * l[i] - 1) * t.b[d][i];
            g[d][3 + i] = 4 * (l[i] * t.b[d][j] + l[j] * t.b[d][i]);
        }
}

void quadraticStiffness(const QuadraticTriangle& t, double k[6][6]) {
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            k[i][j] = 0;
    for (const QuadraturePoint& q : kDegree2) {
        double g[2][6];
        shapeGradients(t, q.l, g);
        const double w = q.w * t.area;
        for (int i = 0; i < 6; ++i)
            for (int j = i; j < 6; ++j)
                k[i][j] += w * (g[0][i] * g[0][j] + g[1][i] * g[1][j]);
    }
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < i; ++j)
            k[i][j] = k[j][i];
}
