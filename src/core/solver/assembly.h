#pragma once
// Element matrices of the linear triangle and their assembly over the mesh pattern, in double
// precision from the model's single-precision coordinates.

#include <vector>

#include "model/model.h"
#include "solver/sparse_matrix.h"

/// Shape-function gradients of one element: b[0][l] = ∂N_l/∂x, b[1][l] = ∂N_l/∂y.
struct ElementGeometry {
    double detj = 0;  ///< twice the signed area, positive for counter-clockwise corners
    double area = 0;  ///< |detj| / 2
    double b[2][3] = {};
};

/// Geometry of element e (1-based); b is not finite when detj is 0.
ElementGeometry elementGeometry(const Model& m, int e);

/// Stiffness ∫∇N_l·∇N_m of element e, l, m = 0..2.
void elementStiffness(const ElementGeometry& g, double k[3][3]);

/// Adds the stiffness of every element to s (pattern of nodePattern) and the load 2·area/3
/// per corner to rhs, indexed by model node (rhs[0] unused).
void assembleStiffness(const Model& m, SymmetricMatrix& s, std::vector<double>& rhs);

/// Adds the consistent mass matrix |detj|/24·[2 1 1; 1 2 1; 1 1 2] of every element.
void assembleMass(const Model& m, SymmetricMatrix& s);
