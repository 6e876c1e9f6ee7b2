#include "solver/sparse_matrix.h"

#include <algorithm>

double& SymmetricMatrix::at(int i, int j) {
    std::int64_t k = start[j];
    const std::int64_t last = start[j + 1];
    if (last - k > 16) return value[std::lower_bound(&row[k], &row[last], i) - row.data()];
    while (row[k] != i)  // a mesh column is short: the scan beats a search
        ++k;
    return value[k];
}

void SymmetricMatrix::multiply(const double* x, double* y, int k) const {
    std::fill(y, y + static_cast<std::size_t>(n) * k, 0.0);
    for (int j = 0; j < n; ++j) {
        const std::int64_t last = start[j + 1] - 1;  // the diagonal
        const double* xj = x + static_cast<std::size_t>(j) * k;
        double* yj = y + static_cast<std::size_t>(j) * k;
        for (int c = 0; c < k; ++c)
            yj[c] += value[last] * xj[c];
        for (std::int64_t e = start[j]; e < last; ++e) {
            const std::size_t i = static_cast<std::size_t>(row[e]) * k;
            for (int c = 0; c < k; ++c) {
                y[i + c] += value[e] * xj[c];
                yj[c] += value[e] * x[i + c];
            }
        }
    }
}

SymmetricMatrix nodePattern(const Model& m) {
    const int n = m.nn;
    // Rows above the diagonal of each column, counted, filled, then sorted and deduplicated.
    std::vector<std::int64_t> count(n + 1, 0);
    for (int e = 1; e <= m.ne; ++e)
        for (int l = 1; l <= 3; ++l)
            for (int c = 1; c <= 3; ++c)
                if (m.noc[e][l] < m.noc[e][c]) ++count[m.noc[e][c]];
    std::vector<std::int64_t> raw_start(n + 1, 0);
    for (int j = 0; j < n; ++j)
        raw_start[j + 1] = raw_start[j] + count[j + 1];
    std::vector<int> raw(raw_start[n]);
    {
        std::vector<std::int64_t> fill(raw_start.begin(), raw_start.end() - 1);
        for (int e = 1; e <= m.ne; ++e)
            for (int l = 1; l <= 3; ++l)
                for (int c = 1; c <= 3; ++c)
                    if (m.noc[e][l] < m.noc[e][c]) raw[fill[m.noc[e][c] - 1]++] = m.noc[e][l] - 1;
    }
    SymmetricMatrix a;
    a.n = n;
    a.start.assign(n + 1, 0);
    std::int64_t out = 0;
    for (int j = 0; j < n; ++j) {
        const auto b = raw.begin() + raw_start[j], en = raw.begin() + raw_start[j + 1];
        std::sort(b, en);
        out += std::unique(b, en) - b + 1;
        a.start[j + 1] = out;
    }
    a.row.resize(out);
    for (int j = 0; j < n; ++j) {
        const auto b = raw.begin() + raw_start[j];
        const std::int64_t unique = a.start[j + 1] - a.start[j] - 1;
        std::copy(b, b + unique, a.row.begin() + a.start[j]);
        a.row[a.start[j + 1] - 1] = j;
    }
    a.value.assign(out, 0.0);
    return a;
}

int halfBand(const Model& m) {
    int w = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const int a = m.noc[e][1], b = m.noc[e][2], c = m.noc[e][3];
        w = std::max(w, std::max({a, b, c}) - std::min({a, b, c}) + 1);
    }
    return w;
}
