#include "solver/band_solve.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <limits>

// GCC picks the AVX2 clone at load time; clang 14 leaves the clones of an out-of-line member
// unresolved, so it builds the plain code.
#if defined(__clang__)
#define WIRTOR_AVX2_CLONES
#else
#define WIRTOR_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#endif

bool BandMatrix::allocate(int n, int w) {
    release();
    if (n <= 0 || w <= 0) return false;
    const std::size_t count = static_cast<std::size_t>(n) * static_cast<std::size_t>(w);
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(double) / 2) return false;
    // Anonymous pages arrive zeroed; huge pages spare the page faults of a large band.
    const std::size_t bytes = count * sizeof(double);
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return false;
    madvise(p, bytes, MADV_HUGEPAGE);
    a_ = static_cast<double*>(p);
    mapped_ = bytes;
    n_ = n;
    w_ = w;
    return true;
}

void BandMatrix::release() {
    if (a_) munmap(a_, mapped_);
    a_ = nullptr;
    mapped_ = 0;
    n_ = w_ = 0;
    end_ = {};
}

void BandMatrix::clear() {
    if (a_) std::memset(a_, 0, bytes());
    end_.clear();
}

// Fill-in stays inside each row's envelope (up to its last non-zero), which near the ends of
// a Cuthill–McKee order is much shorter than the band; the loops run over it alone.
WIRTOR_AVX2_CLONES bool BandMatrix::factor() {
    const std::size_t w = static_cast<std::size_t>(w_);
    end_.assign(n_, 1);
    for (int i = 0; i < n_; ++i) {
        const double* ri = a_ + i * w;
        int c = std::min(w_, n_ - i) - 1;
        while (c > 0 && ri[c] == 0.0)
            --c;
        end_[i] = c + 1;
    }
    for (int i = 0; i < n_; ++i) {
        double* __restrict ri = a_ + i * w;
        const double d = ri[0];
        if (d == 0.0) return false;
        const int end = end_[i];
        for (int j = 1; j < end; ++j) {
            if (ri[j] == 0.0) continue;
            const double c = ri[j] / d;
            double* __restrict rr = a_ + (i + j) * w - j;
            for (int k = j; k < end; ++k)
                rr[k] -= c * ri[k];
            end_[i + j] = std::max(end_[i + j], end - j);
            ri[j] = c;
        }
    }
    return true;
}

WIRTOR_AVX2_CLONES void BandMatrix::solve(double* b) const {
    const std::size_t w = static_cast<std::size_t>(w_);
    for (int i = 0; i < n_; ++i) {
        const double bi = b[i];
        const double* ri = a_ + i * w;
        if (bi != 0.0)
            for (int j = 1; j < end_[i]; ++j)
                b[i + j] -= ri[j] * bi;
        b[i] = bi / ri[0];
    }
    for (int i = n_ - 1; i >= 0; --i) {
        const double* ri = a_ + i * w;
        double s = b[i];
        for (int j = 1; j < end_[i]; ++j)
            s -= ri[j] * b[i + j];
        b[i] = s;
    }
}
