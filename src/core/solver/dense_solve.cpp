#include "solver/dense_solve.h"

#include <cmath>
#include <utility>

bool denseSolve(std::vector<std::vector<double>> a, std::vector<double>& b) {
    const int n = static_cast<int>(b.size());
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(a[i][k]) > std::fabs(a[p][k])) p = i;
        if (a[p][k] == 0.0 || !std::isfinite(a[p][k])) return false;
        std::swap(a[k], a[p]);
        std::swap(b[k], b[p]);
        for (int i = k + 1; i < n; ++i) {
            const double c = a[i][k] / a[k][k];
            for (int j = k; j < n; ++j)
                a[i][j] -= c * a[k][j];
            b[i] -= c * b[k];
        }
    }
    for (int i = n - 1; i >= 0; --i) {
        for (int j = i + 1; j < n; ++j)
            b[i] -= a[i][j] * b[j];
        b[i] /= a[i][i];
    }
    return true;
}
