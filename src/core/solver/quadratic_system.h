#pragma once
// Systems of the quadratic elements' stiffness over the quadratic mesh: each node maps to an
// equation, or to none where its value is given (several nodes may share one: a hole
// contour's constant). Solved by conjugate gradients with the two-level preconditioner, the
// linear elements on the same constraints as the coarse space; by one sparse Cholesky
// factorisation when that does not converge.

#include <functional>
#include <vector>

#include "solver/cholesky.h"
#include "solver/quadratic_element.h"
#include "solver/quadratic_mesh.h"
#include "solver/sparse_matrix.h"
#include "solver/timing.h"
#include "solver/two_level.h"

/// Equation of node l of element e at [w(e − 1) + l] for w nodes per element: 0.., or −1.
using EquationMap = std::vector<int>;

/// The pattern of the equations coupled through the elements (upper triangle), values 0.
SymmetricMatrix equationPattern(const EquationMap& eq, int equations, int width);

/// The same for 6 nodes per element in place of a's, found through the elements of each
/// equation (offsets and scratch keep their lists) without a list of pairs.
void quadraticPattern(const EquationMap& eq, int equations, UpperMatrix& a,
                      std::vector<std::int64_t>& offsets, std::vector<int>& scratch);

struct QuadraticSystem {
    std::vector<int> node_eq;  ///< [node of the quadratic mesh] equation, or −1
    int equations = 0;
    std::vector<int> vertex_eq;  ///< [corner node] equation of the linear system, or −1
    int coarse_equations = 0;
};

/// Load f[0..5] of element e (1-based) from its triangle about the origin.
using ElementLoad = std::function<void(int e, const QuadraticTriangle& t, double f[6])>;

struct QuadraticSolution {
    FactorStatus status = FactorStatus::Ok;
    std::vector<double> x;  ///< [equation]
    int iterations = 0;     ///< conjugate-gradient steps
    bool direct = false;    ///< solved by factoring the whole system
};

/// Memory of one solve, kept for the next so that it is touched once.
struct QuadraticWork {
    UpperMatrix a;
    std::vector<double> b;
    EquationMap fine, coarse;
    std::vector<std::int64_t> offsets;
    std::vector<int> scratch;
    CgWork cg;
};

/// Relative energy of the error at which the iteration stops: for a bound, whose error is
/// that energy, and for the fields themselves, whose error is about its square root.
inline constexpr double kBoundTolerance = 1e-14;
inline constexpr double kFieldTolerance = 1e-16;

/// Solves K·x = b for the stiffness of the quadratic elements, b the element loads plus
/// `extra` ([equation], or empty). The iteration stops when the error's energy is below
/// tolerance·|energy(bᵀx)|: the caller names the energy its bound takes from bᵀx.
QuadraticSolution solveQuadratic(const Model& m, const QuadraticMesh& q, const QuadraticSystem& s,
                                 double ox, double oy, const ElementLoad& load,
                                 const std::vector<double>& extra,
                                 const std::function<double(double)>& energy, double tolerance,
                                 QuadraticWork& w, SolverTimes& t);
