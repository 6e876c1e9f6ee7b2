#pragma once
// Which method solves the stress function's linear systems.

enum class SolverMethod {
    Automatic,  ///< chosen by the size of the mesh and the number of holes
    Cholesky,   ///< the sparse Cholesky factor
    Amg,        ///< conjugate gradients preconditioned by algebraic multigrid
};

/// The batch tool's name of a method: "cholesky", "amg" (Automatic: "auto").
const char* methodName(SolverMethod m);

/// Fewest nodes at which multigrid beats the factor on a mesh without holes (bench/amg.cpp:
/// about its time at 60 000–90 000 nodes, 0.85 of it at 160 000 and at 1 000 000, with under half
/// its memory).
inline constexpr int kAmgMinNodes = 100000;
/// Most holes multigrid takes on: each hole is one more column to iterate from the start,
/// where the factor solves it for little; one hole already makes multigrid slower.
inline constexpr int kAmgMaxHoles = 0;

/// The method Automatic stands for: Cholesky or Amg.
SolverMethod chooseMethod(int nodes, int holes);
