#include "solver/band_solve.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void BandMatrix::Free::operator()(double* p) const {
    std::free(p);
}

bool BandMatrix::allocate(int n, int w) {
    release();
    if (n <= 0 || w <= 0) return false;
    const std::size_t count = static_cast<std::size_t>(n) * static_cast<std::size_t>(w);
    if (count / static_cast<std::size_t>(w) != static_cast<std::size_t>(n)) return false;
    // calloc hands out zeroed pages lazily instead of sweeping the whole band.
    double* p = static_cast<double*>(std::calloc(count, sizeof(double)));
    if (!p) return false;
    a_.reset(p);
    n_ = n;
    w_ = w;
    return true;
}

void BandMatrix::release() {
    a_.reset();
    n_ = w_ = 0;
}

void BandMatrix::clear() {
    if (a_) std::memset(a_.get(), 0, bytes());
}

bool BandMatrix::factor() {
    const std::size_t w = static_cast<std::size_t>(w_);
    for (int i = 0; i < n_; ++i) {
        double* __restrict ri = a_.get() + i * w;
        const double d = ri[0];
        if (d == 0.0) return false;
        const int len = std::min(w_, n_ - i);
        for (int j = 1; j < len; ++j) {
            if (ri[j] == 0.0) continue;  // the band of a mesh is mostly empty near its edge
            const double c = ri[j] / d;
            double* __restrict rr = a_.get() + (i + j) * w - j;
            for (int k = j; k < len; ++k)
                rr[k] -= c * ri[k];
            ri[j] = c;
        }
    }
    return true;
}

void BandMatrix::solve(double* b) const {
    const std::size_t w = static_cast<std::size_t>(w_);
    for (int i = 0; i < n_; ++i) {
        const double bi = b[i];
        const double* ri = a_.get() + i * w;
        const int len = std::min(w_, n_ - i);
        if (bi != 0.0)
            for (int j = 1; j < len; ++j)
                b[i + j] -= ri[j] * bi;
        b[i] = bi / ri[0];
    }
    for (int i = n_ - 1; i >= 0; --i) {
        const double* ri = a_.get() + i * w;
        const int len = std::min(w_, n_ - i);
        double s = b[i];
        for (int j = 1; j < len; ++j)
            s -= ri[j] * b[i + j];
        b[i] = s;
    }
}
