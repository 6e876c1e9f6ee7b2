#pragma once
// Sparse Cholesky factorisation A = L·Lᵀ of a symmetric positive definite matrix: CHOLMOD's
// supernodal method after one approximate-minimum-degree ordering, the BLAS on one thread.

#include <cstddef>
#include <memory>

#include "solver/sparse_matrix.h"

enum class FactorStatus {
    Ok,
    NotPositiveDefinite,  ///< a pivot ≤ 0: singular or indefinite
    OutOfMemory,          ///< the factor does not fit the memory limit, or allocation failed
};

class SparseCholesky {
  public:
    /// memory_limit: bytes the factor may take; 0 stands for the machine's physical memory.
    explicit SparseCholesky(std::size_t memory_limit = 0);
    ~SparseCholesky();
    SparseCholesky(const SparseCholesky&) = delete;
    SparseCholesky& operator=(const SparseCholesky&) = delete;

    /// Orders the pattern of a and sizes the factor; OutOfMemory when it would not fit. Reads
    /// only a.start and a.row.
    FactorStatus analyze(const SymmetricMatrix& a);
    /// Factors the values of a (the pattern given to analyze).
    FactorStatus factor(const SymmetricMatrix& a);
    /// Solves A·X = B in place for `columns` right-hand sides stored one after another.
    FactorStatus solve(double* b, int columns);
    /// Frees the factor.
    void release();

    /// Entries of L, known after analyze.
    double factorEntries() const;
    /// Bytes the numerical factor takes, known after analyze.
    std::size_t factorBytes() const;

  private:
    struct State;
    std::unique_ptr<State> s_;
};

/// Holds the BLAS and CHOLMOD's OpenMP loops to the calling thread unless OPENBLAS_NUM_THREADS
/// or OMP_NUM_THREADS says otherwise; the same settings then give the same bits. Called by
/// SparseCholesky.
void holdToOneThread();
