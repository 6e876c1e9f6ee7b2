#pragma once
// The Saint-Venant warping function ω on the quadratic mesh: ∇²ω = 0 with ∂ω/∂n = y·nx − x·ny,
// x and y taken from a given origin, i.e. ∫∇ω·∇v = ∫g·∇v for every v with g = (y, −x). The
// constant is fixed by pinning the first corner of each piece, then shifting each piece to a
// zero mean.

#include <vector>

#include "solver/cholesky.h"
#include "solver/quadratic_mesh.h"
#include "solver/quadratic_system.h"
#include "solver/timing.h"

struct WarpingFunction {
    FactorStatus status = FactorStatus::Ok;
    std::vector<double> omega;  ///< [node of the quadratic mesh], ∫ω dA = 0 over each piece
    int equations = 0;          ///< unknowns of the system solved
    int iterations = 0;         ///< conjugate-gradient steps
    bool direct = false;        ///< the iteration did not converge: factored instead
};

/// Solves for ω about (ox, oy); `scale` is ∫|g|² dA about that origin (Ix + Iy about the
/// centroid), against which the iteration measures the upper bound. Elements must have
/// non-zero area.
WarpingFunction solveWarping(const Model& m, const QuadraticMesh& q, double ox, double oy,
                             double scale, QuadraticWork& w, SolverTimes& t);
