#pragma once
// Symmetric banded system in double precision: the upper band stored row after row in one
// contiguous block, factored in place as L·D·Lᵀ without pivoting.

#include <cstddef>
#include <vector>

/// Upper band of a symmetric n×n matrix with half-band w (diagonal included). Rows and band
/// columns are 0-based: (i, 0) is the diagonal of row i, (i, c) couples row i with row i + c.
class BandMatrix {
  public:
    BandMatrix() = default;
    BandMatrix(const BandMatrix&) = delete;
    BandMatrix& operator=(const BandMatrix&) = delete;
    ~BandMatrix() { release(); }

    /// Allocates a zeroed band; returns false (and stays empty) when memory runs out.
    bool allocate(int n, int w);
    void release();
    /// Sets every entry back to 0.
    void clear();

    int n() const { return n_; }
    int w() const { return w_; }
    /// Bytes held by the band.
    std::size_t bytes() const { return static_cast<std::size_t>(n_) * w_ * sizeof(double); }

    double& at(int i, int c) { return a_[static_cast<std::size_t>(i) * w_ + c]; }
    double at(int i, int c) const { return a_[static_cast<std::size_t>(i) * w_ + c]; }

    /// Gaussian elimination without pivoting; keeps D on the diagonal and the multipliers of
    /// Lᵀ above it. Returns false at the first pivot that is exactly 0 (the band is then
    /// unusable).
    bool factor();
    /// Solves with the factors in place of the right-hand side b[0..n-1].
    void solve(double* b) const;

  private:
    double* a_ = nullptr;
    std::size_t mapped_ = 0;  // bytes mapped at a_
    int n_ = 0;
    int w_ = 0;
    std::vector<int> end_;  // per row, one past its last non-zero column once factored
};
