#pragma once
// Element matrices of the linear triangle and their assembly over the mesh pattern, in double
// precision from the model's single-precision coordinates.

#include <cmath>
#include <vector>

#include "model/model.h"
#include "solver/sparse_matrix.h"

/// Shape-function gradients of one element: b[0][l] = ∂N_l/∂x, b[1][l] = ∂N_l/∂y.
struct ElementGeometry {
    double detj = 0;  ///< twice the signed area, positive for counter-clockwise corners
    double area = 0;  ///< |detj| / 2
    double b[2][3] = {};
};

/// Geometry of element e (1-based); b is not finite when detj is 0. Inline, so that callers
/// that need only detj do not pay for the divisions.
inline ElementGeometry elementGeometry(const Model& m, int e) {
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

/// Stiffness ∫∇N_l·∇N_m of element e, l, m = 0..2.
void elementStiffness(const ElementGeometry& g, double k[3][3]);

/// Adds the stiffness of every element to s (pattern of nodePattern) and the load 2·area/3
/// per corner to rhs, indexed by model node (rhs[0] unused).
void assembleStiffness(const Model& m, SymmetricMatrix& s, std::vector<double>& rhs);

/// Adds the consistent mass matrix |detj|/24·[2 1 1; 1 2 1; 1 1 2] of every element.
void assembleMass(const Model& m, SymmetricMatrix& s);
