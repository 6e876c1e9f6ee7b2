#include "solver/two_level.h"

#include <algorithm>
#include <cmath>

#include "solver/large_arrays.h"

double& UpperMatrix::at(int i, int j) {
    std::int64_t k = start[j];
    const std::int64_t last = start[j + 1];
    if (last - k > 16) return value[std::lower_bound(&row[k], &row[last], i) - row.data()];
    while (row[k] != i)  // a mesh column is short: the scan beats a search
        ++k;
    return value[k];
}

void UpperMatrix::multiply(const double* x, double* y) const {
    for (int j = 0; j < n; ++j) {
        const std::int64_t last = start[j + 1] - 1;
        const double xj = x[j];
        double yj = value[last] * xj;
        for (std::int64_t k = start[j]; k < last; ++k) {
            const int i = row[k];
            y[i] += value[k] * xj;
            yj += value[k] * x[i];
        }
        y[j] = yj;
    }
}

namespace {

double dot(const std::vector<double>& a, const std::vector<double>& b, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i)
        s += a[i] * b[i];
    return s;
}

// z = B·r for the symmetric cycle.
bool precondition(const UpperMatrix& a, const Prolongation& p, SparseCholesky* coarse, int coarse_n,
                  const std::vector<double>& r, std::vector<double>& z, CgWork& w) {
    const int n = a.n;
    // Forward sweep from z = 0: column i above its diagonal is row i left of it.
    for (int i = 0; i < n; ++i) {
        double s = r[i];
        const std::int64_t last = a.start[i + 1] - 1;
        for (std::int64_t k = a.start[i]; k < last; ++k)
            s -= a.value[k] * z[a.row[k]];
        z[i] = s / a.value[last];
    }
    std::vector<double>& t = w.t;
    if (coarse && coarse_n > 0) {
        a.multiply(z.data(), t.data());
        for (int c = 0; c < coarse_n; ++c)
            w.c[c] = 0;
        for (int i = 0; i < n; ++i) {
            const int c0 = p.coarse[2 * i], c1 = p.coarse[2 * i + 1];
            const double ri = r[i] - t[i];
            if (c1 == Prolongation::kCorner) {
                if (c0 >= 0) w.c[c0] += ri;
                continue;
            }
            if (c0 >= 0) w.c[c0] += ri / 2;
            if (c1 >= 0) w.c[c1] += ri / 2;
        }
        if (coarse->solve(w.c.data(), 1) != FactorStatus::Ok) return false;
        for (int i = 0; i < n; ++i) {
            const int c0 = p.coarse[2 * i], c1 = p.coarse[2 * i + 1];
            if (c1 == Prolongation::kCorner) {
                if (c0 >= 0) z[i] += w.c[c0];
                continue;
            }
            if (c0 >= 0) z[i] += w.c[c0] / 2;
            if (c1 >= 0) z[i] += w.c[c1] / 2;
        }
    }
    // Backward sweep: t_i gathers r_i less the rows' parts right of the diagonal, already
    // updated, as each column is finished.
    for (int i = 0; i < n; ++i)
        t[i] = r[i];
    for (int i = n - 1; i >= 0; --i) {
        const std::int64_t first = a.start[i], last = a.start[i + 1] - 1;
        double s = t[i];
        for (std::int64_t k = first; k < last; ++k)
            s -= a.value[k] * z[a.row[k]];
        z[i] = s / a.value[last];
        for (std::int64_t k = first; k < last; ++k)
            t[a.row[k]] -= a.value[k] * z[i];
    }
    return true;
}

}  // namespace

CgOutcome twoLevelCg(const UpperMatrix& a, const std::vector<double>& b, std::vector<double>& x,
                     const Prolongation& p, SparseCholesky* coarse, int coarse_n,
                     const std::function<double(double)>& energy, double tolerance,
                     int max_iterations, CgWork& w) {
    CgOutcome out;
    const int n = a.n;
    const std::size_t size = static_cast<std::size_t>(n);
    assignLarge(x, size, 0.0);
    for (std::vector<double>* v : {&w.r, &w.z, &w.d, &w.t})
        if (v->size() < size) assignLarge(*v, size, 0.0);
    if (w.c.size() < static_cast<std::size_t>(coarse_n)) w.c.resize(coarse_n);
    std::vector<double>&r = w.r, &z = w.z, &d = w.d, &q = w.t;  // t is free between cycles
    for (int i = 0; i < n; ++i)
        r[i] = b[i];
    if (!precondition(a, p, coarse, coarse_n, r, z, w)) return out;
    for (int i = 0; i < n; ++i)
        d[i] = z[i];
    double rz = dot(r, z, n), bx = 0;
    if (rz <= tolerance * std::fabs(energy(0))) {
        out.converged = true;
        return out;
    }
    while (out.iterations < max_iterations) {
        a.multiply(d.data(), q.data());
        const double dq = dot(d, q, n);
        if (!(dq > 0)) break;
        const double alpha = rz / dq;
        double bd = 0;
        for (int i = 0; i < n; ++i) {
            x[i] += alpha * d[i];
            r[i] -= alpha * q[i];
            bd += b[i] * d[i];
        }
        bx += alpha * bd;
        ++out.iterations;
        if (!precondition(a, p, coarse, coarse_n, r, z, w)) return out;
        const double rz_next = dot(r, z, n);
        if (!std::isfinite(rz_next)) return out;
        if (rz_next <= tolerance * std::fabs(energy(bx))) {
            out.converged = true;
            return out;
        }
        const double beta = rz_next / rz;
        rz = rz_next;
        for (int i = 0; i < n; ++i)
            d[i] = z[i] + beta * d[i];
    }
    return out;
}
