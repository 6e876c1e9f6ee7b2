#pragma once
// The 6-node triangle with straight edges: shape functions N_0..N_2 = λ_i(2λ_i − 1) at the
// corners and N_3..N_5 = 4λ_jλ_{j+1} at the midpoints of edges j→j+1, their gradients, its
// stiffness and quadrature rules in barycentric coordinates λ.

#include "model/model.h"

/// One element in double precision, its corners relative to a given origin.
struct QuadraticTriangle {
    double area = 0;              ///< |detj| / 2
    double b[2][3] = {};          ///< ∂λ_i/∂x, ∂λ_i/∂y
    double x[3] = {}, y[3] = {};  ///< corners relative to the origin
    double pointX(const double l[3]) const { return l[0] * x[0] + l[1] * x[1] + l[2] * x[2]; }
    double pointY(const double l[3]) const { return l[0] * y[0] + l[1] * y[1] + l[2] * y[2]; }
};

/// Element e (1-based) with corners relative to (ox, oy); b is not finite when its area is 0.
QuadraticTriangle quadraticTriangle(const Model& m, int e, double ox, double oy);

/// A quadrature point: barycentric coordinates and the weight as a fraction of the area.
struct QuadraturePoint {
    double l[3];
    double w;
};

/// Exact for polynomials of degree 2 (gradients squared, the stress function's integral).
inline constexpr QuadraturePoint kDegree2[3] = {
    {{2.0 / 3, 1.0 / 6, 1.0 / 6}, 1.0 / 3},
    {{1.0 / 6, 2.0 / 3, 1.0 / 6}, 1.0 / 3},
    {{1.0 / 6, 1.0 / 6, 2.0 / 3}, 1.0 / 3},
};

/// Exact for polynomials of degree 4 (Dunavant's six points): squares of quadratic fields.
inline constexpr double kD4a = 0.445948490915964886318329253883051;
inline constexpr double kD4b = 0.091576213509770743459571463402202;
inline constexpr double kD4wa = 0.223381589678011465695007008433122;
inline constexpr double kD4wb = 0.109951743655321867638326324900211;
inline constexpr QuadraturePoint kDegree4[6] = {
    {{kD4a, kD4a, 1 - 2 * kD4a}, kD4wa}, {{kD4a, 1 - 2 * kD4a, kD4a}, kD4wa},
    {{1 - 2 * kD4a, kD4a, kD4a}, kD4wa}, {{kD4b, kD4b, 1 - 2 * kD4b}, kD4wb},
    {{kD4b, 1 - 2 * kD4b, kD4b}, kD4wb}, {{1 - 2 * kD4b, kD4b, kD4b}, kD4wb},
};

/// The six shape functions at l.
void shapeValues(const double l[3], double n[6]);

/// Their gradients at l: g[0][i] = ∂N_i/∂x, g[1][i] = ∂N_i/∂y.
void shapeGradients(const QuadraticTriangle& t, const double l[3], double g[2][6]);

/// Stiffness ∫∇N_i·∇N_j, exact.
void quadraticStiffness(const QuadraticTriangle& t, double k[6][6]);

/// Gradient of the field with nodal values u at l.
inline void fieldGradient(const double g[2][6], const double u[6], double& dx, double& dy) {
    dx = dy = 0;
    for (int i = 0; i < 6; ++i) {
        dx += g[0][i] * u[i];
        dy += g[1][i] * u[i];
    }
}
