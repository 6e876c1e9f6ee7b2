#pragma once
// Which method solves the stress function's linear systems.

enum class SolverMethod {
    Automatic,  ///< chosen by the size of the mesh and the number of holes
    Cholesky,   ///< the sparse Cholesky factor
    Amg,        ///< conjugate gradients preconditioned by algebraic multigrid
};

/// The batch tool's name of a method: "cholesky", "amg" (Automatic: "auto").
const char* methodName(SolverMethod m);
