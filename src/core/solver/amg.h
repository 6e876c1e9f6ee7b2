#pragma once
// Conjugate gradients preconditioned by algebraic multigrid (hypre's BoomerAMG, one V-cycle
// per iteration) for symmetric positive definite matrices such as the stiffness matrix. The
// hierarchy is built once per matrix and serves any number of right-hand sides.

#include <memory>

#include "progress.h"
#include "solver/sparse_matrix.h"

struct AmgResult {
    bool converged = false;  ///< every column met the tolerance within the iteration limit
    int iterations = 0;      ///< conjugate-gradient iterations over all columns
    double residual = 0;     ///< largest final ‖b − A·x‖ / ‖b‖ of the columns
    bool cancelled = false;  ///< stopped through the progress callback between columns
};

class AmgSolver {
  public:
    AmgSolver();
    ~AmgSolver();
    AmgSolver(const AmgSolver&) = delete;
    AmgSolver& operator=(const AmgSolver&) = delete;

    /// Builds the hierarchy of a (values included); a is not needed afterwards. False when
    /// the matrix is too large for the library's 32-bit indices or the setup failed.
    bool setup(const SymmetricMatrix& a);
    /// Solves A·x = b from x = 0 to ‖b − A·x‖ ≤ tol·‖b‖ within max_iterations; b and x have
    /// the matrix's n entries each and may not overlap.
    AmgResult solve(const double* b, double* x, double tol, int max_iterations);
    /// Frees the hierarchy.
    void release();

  private:
    bool build(const SymmetricMatrix& a);
    struct State;
    std::unique_ptr<State> s_;
};

/// Solves A·X = B for `columns` right-hand sides stored one after another (n entries each),
/// one setup for all of them; `postep` is told the fraction of columns done and may stop
/// between them. Not converged when the setup failed.
AmgResult amgSolve(const SymmetricMatrix& a, const double* b, double* x, int columns, double tol,
                   int max_iterations, const Postep& postep = {});

/// The iteration limit the stress function gives each column; a test may lower it to force
/// the fallback to the factor (a value < 0 restores the default).
int amgIterationLimit();
void setAmgIterationLimit(int limit);
