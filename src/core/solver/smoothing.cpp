#include "solver/smoothing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "solver/assembly.h"

namespace {

// Far beyond the 30 or so that a condition number of 4 needs for the tolerance: only values
// that are not finite get there.
constexpr int kMaxIterations = 1000;

// y = M·x for both components side by side (entry 2·i + c is equation i, component c) over
// the upper triangle of s with 32-bit row numbers, which the iteration reads some 25 times.
class MassProduct {
  public:
    explicit MassProduct(const SymmetricMatrix& s) : s_(s), row_(s.row.begin(), s.row.end()) {}

    void operator()(const double* x, double* y) const {
        const std::int64_t* start = s_.start.data();
        const double* value = s_.value.data();
        std::fill(y, y + 2 * static_cast<std::size_t>(s_.n), 0.0);
        for (int j = 0; j < s_.n; ++j) {
            const std::int64_t diagonal = start[j + 1] - 1;
            const double x0 = x[2 * j], x1 = x[2 * j + 1];
            double y0 = y[2 * j] + value[diagonal] * x0, y1 = y[2 * j + 1] + value[diagonal] * x1;
            for (std::int64_t e = start[j]; e < diagonal; ++e) {
                const std::size_t i = 2 * static_cast<std::size_t>(row_[e]);
                y[i] += value[e] * x0;
                y[i + 1] += value[e] * x1;
                y0 += value[e] * x[i];
                y1 += value[e] * x[i + 1];
            }
            y[2 * j] = y0;
            y[2 * j + 1] = y1;
        }
    }

  private:
    const SymmetricMatrix& s_;
    std::vector<int> row_;
};

}  // namespace

int smoothStresses(const Model& m, SymmetricMatrix& s, Macierz<float>& napr, Macierz<float>& ww) {
    const int nn = m.nn;
    std::fill(s.value.begin(), s.value.end(), 0.0);
    assembleMass(m, s);
    std::vector<double> dinv(nn);
    for (int j = 0; j < nn; ++j)
        dinv[j] = s.diagonal(j) > 0.0 ? 1.0 / s.diagonal(j) : 0.0;

    // Both components side by side: entry 2·k + c of each vector is equation k, component c.
    std::vector<double> b(2 * nn, 0.0), x(2 * nn, 0.0), z(2 * nn), p(2 * nn), q(2 * nn);
    for (int e = 1; e <= m.ne; ++e) {
        const double area = std::fabs(elementGeometry(m, e).detj) / 6;
        for (int c = 0; c < 2; ++c) {
            const double v = area * std::fabs(napr[e][c + 1]);
            for (int l = 1; l <= 3; ++l)
                b[2 * (m.noc[e][l] - 1) + c] += v;
        }
    }
    const MassProduct product(s);
    std::vector<double> r = b;
    double rz[2] = {0, 0}, stop[2];
    for (int k = 0; k < 2 * nn; ++k) {
        z[k] = p[k] = dinv[k / 2] * r[k];
        rz[k % 2] += r[k] * z[k];
    }
    bool active[2];
    for (int c = 0; c < 2; ++c) {
        // Stops on the residual in the norm of the preconditioner, which the bound speaks of.
        stop[c] = kSmoothingTolerance * kSmoothingTolerance * rz[c];
        active[c] = rz[c] > 0.0;
    }
    for (int it = 0; it < kMaxIterations && (active[0] || active[1]); ++it) {
        product(p.data(), q.data());
        double pq[2] = {0, 0};
        for (int k = 0; k < 2 * nn; k += 2) {
            pq[0] += p[k] * q[k];
            pq[1] += p[k + 1] * q[k + 1];
        }
        // A component that has converged takes steps of 0 and keeps its values.
        double alpha[2], rz_new[2] = {0, 0};
        for (int c = 0; c < 2; ++c)
            alpha[c] = active[c] ? rz[c] / pq[c] : 0.0;
        for (int i = 0; i < nn; ++i)
            for (int c = 0; c < 2; ++c) {
                const int k = 2 * i + c;
                x[k] += alpha[c] * p[k];
                r[k] -= alpha[c] * q[k];
                z[k] = dinv[i] * r[k];
                rz_new[c] += r[k] * z[k];
            }
        double beta[2] = {0, 0};
        for (int c = 0; c < 2; ++c) {
            if (!active[c]) continue;
            beta[c] = rz_new[c] / rz[c];
            rz[c] = rz_new[c];
            active[c] = rz[c] > stop[c];
        }
        for (int k = 0; k < 2 * nn; k += 2) {
            p[k] = z[k] + beta[0] * p[k];
            p[k + 1] = z[k + 1] + beta[1] * p[k + 1];
        }
    }
    if (!std::isfinite(rz[0]) || !std::isfinite(rz[1])) return BLAD_ZDEGENEROWANY;

    for (int i = 1; i <= nn; ++i)
        for (int c = 1; c <= 2; ++c)
            ww[i][c] = static_cast<float>(std::fabs(x[2 * (i - 1) + c - 1]));
    for (int i = 1; i <= nn; ++i)
        ww[i][3] = static_cast<float>(
            std::sqrt(double(ww[i][1]) * ww[i][1] + double(ww[i][2]) * ww[i][2]));
    for (int e = 1; e <= m.ne; ++e)
        napr[e][3] = static_cast<float>(
            std::sqrt(double(napr[e][1]) * napr[e][1] + double(napr[e][2]) * napr[e][2]));
    return 0;
}
