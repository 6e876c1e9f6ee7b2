#pragma once
// The Prandtl stress function of the unit problem: −∇²φ = 2 over the section, φ = 0 on every
// outer contour and φ = C_k on hole contour k, held by a penalty on the contour diagonals.
// Each C_k follows from the circulation condition of its hole: the sum over the contour's
// nodes of (K·φ − F) equals twice the area of the hole.

#include <cstddef>
#include <vector>

#include "model/model.h"
#include "progress.h"
#include "solver/contours.h"
#include "solver/solver_method.h"
#include "solver/sparse_matrix.h"
#include "solver/timing.h"

struct StressFunction {
    int blad = 0;             ///< 0, or the Blad code of the failure
    std::vector<double> phi;  ///< [1..nn] nodal values by model node (phi[0] unused)
    double J = 0;             ///< torsion constant 2∫φ dA + 2·Σ C_k·A_k
    double cnst = 0;          ///< the penalty that was added
    Contours contours;
    std::vector<double> C;         ///< [k] value of φ on hole contour k
    double factor_entries = 0;     ///< entries of the Cholesky factor (0 when multigrid solved)
    std::size_t factor_bytes = 0;  ///< memory the factor takes, padding of its blocks included
    SolverMethod method = SolverMethod::Cholesky;  ///< the method that solved
    int iterations = 0;      ///< conjugate-gradient iterations over all columns (multigrid)
    bool fallback = false;   ///< multigrid failed to converge: the factor solved instead
    bool cancelled = false;  ///< stopped through the progress callback: no result
    int holes() const { return static_cast<int>(C.size()); }
};

/// Assembles into s (nodePattern(m), values 0), factors it by sparse Cholesky and solves; the
/// factor is freed on return, s keeps the assembled matrix. With holes = false every contour
/// is held at 0, as if there were no holes. memory_limit bounds the factor's bytes (0: the
/// machine's memory). Adds its stages to *times when given. Failures: BLAD_PIVOT on a matrix
/// that is not positive definite or a piece of the mesh that no contour holds, BLAD_PAMIEC
/// when the factor does not fit, BLAD_ZDEGENEROWANY on a result that is not finite or
/// circulation conditions that cannot be met. `postep` is told the stages ("Składanie układu",
/// "Rozkład macierzy", "Rozwiązywanie") and may cancel between them (with multigrid also
/// between its columns). `method` chooses how the systems are solved (Automatic:
/// chooseMethod); multigrid builds its hierarchy in the factorisation's stage and time and
/// never runs the ordering, and when it fails to converge the factor solves instead
/// (fallback).
StressFunction solveStressFunction(const Model& m, SymmetricMatrix& s, bool holes = true,
                                   std::size_t memory_limit = 0, SolverTimes* times = nullptr,
                                   const Postep& postep = {},
                                   SolverMethod method = SolverMethod::Automatic);

/// Σ over the nodes of each hole contour of (K·φ − F), the stiffness and load without the
/// penalty; the circulation condition asks 2·area of each.
std::vector<double> contourFlux(const Model& m, const Contours& c, const std::vector<double>& phi,
                                bool with_load = true);
