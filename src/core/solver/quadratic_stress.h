#pragma once
// The Prandtl stress function on the quadratic mesh, −∇²φ = 2: φ = 0 on every outer contour and
// one unknown constant C_k on hole contour k, both imposed exactly (the contour nodes carry no
// equations of their own; a hole's nodes share its constant). The hole's equation, the sum of
// its nodes' rows, carries 2·A_k: the circulation condition comes out of the energy maximum.

#include <vector>

#include "solver/boundary.h"
#include "solver/cholesky.h"
#include "solver/contours.h"
#include "solver/quadratic_mesh.h"
#include "solver/quadratic_system.h"
#include "solver/timing.h"

struct QuadraticStress {
    FactorStatus status = FactorStatus::Ok;
    std::vector<double> phi;  ///< [node of the quadratic mesh]
    std::vector<double> C;    ///< [k] the value on hole contour k
    int equations = 0;        ///< unknowns of the system solved
    int iterations = 0;       ///< conjugate-gradient steps
    bool direct = false;      ///< the iteration did not converge: factored instead
};

/// Contour of each node of q from the model's contours: kOffContour, kOuterContour or the hole
/// number; the midpoint of a boundary edge lies on its corners' contour.
std::vector<int> quadraticContours(const QuadraticMesh& q, const Contours& c,
                                   const std::vector<BoundaryEdge>& edges);

/// Solves for φ; `contour` from quadraticContours. Elements must have non-zero area.
QuadraticStress solveQuadraticStress(const Model& m, const QuadraticMesh& q, const Contours& c,
                                     const std::vector<int>& contour, QuadraticWork& w,
                                     SolverTimes& t);
