#pragma once
// Conjugate gradients on the quadratic elements' system, preconditioned by one symmetric
// two-level cycle: a forward Gauss–Seidel sweep, the exact correction in the linear elements'
// space (their stiffness, factored by sparse Cholesky) and a backward sweep. The sweeps read
// the upper triangle by columns, which holds each row's part left of the diagonal.

#include <cstdint>
#include <functional>
#include <vector>

#include "solver/cholesky.h"

/// The upper triangle of a symmetric matrix by columns, rows ascending, the diagonal last in
/// its column; 32-bit rows, half the memory of the factor's input.
struct UpperMatrix {
    int n = 0;
    std::vector<std::int64_t> start;
    std::vector<int> row;
    std::vector<double> value;
    double diagonal(int j) const { return value[start[j + 1] - 1]; }
    /// Entry (i, j), i ≤ j, which must be in the pattern.
    double& at(int i, int j);
    /// y = A·x.
    void multiply(const double* x, double* y) const;
};

/// The linear space inside the quadratic one: fine equation i takes the coarse value
/// x[coarse[2i]] when coarse[2i + 1] is kCorner, else the mean of x[coarse[2i]] and
/// x[coarse[2i + 1]], a term −1 counting 0.
struct Prolongation {
    static constexpr int kCorner = -2;
    std::vector<int> coarse;
};

/// Vectors of the iteration, kept between solves so that their memory is touched once.
struct CgWork {
    std::vector<double> r, z, d, t, c;
};

struct CgOutcome {
    bool converged = false;
    int iterations = 0;
};

/// Solves a·x = b from x = 0 until rᵀz ≤ tolerance·|energy(bᵀx)| (bᵀx: the energy of the
/// iterate; rᵀz bounds the energy of its error within a small factor) or max_iterations.
/// `coarse` holds the factor of the coarse matrix of order coarse_n (nullptr: no coarse space).
CgOutcome twoLevelCg(const UpperMatrix& a, const std::vector<double>& b, std::vector<double>& x,
                     const Prolongation& p, SparseCholesky* coarse, int coarse_n,
                     const std::function<double(double)>& energy, double tolerance,
                     int max_iterations, CgWork& w);
