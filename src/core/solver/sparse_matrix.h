#pragma once
// Symmetric matrix over the mesh nodes in compressed columns: the upper triangle of every
// pair of nodes that share an element, equation i - 1 for model node i.

#include <cstdint>
#include <vector>

#include "model/model.h"

struct SymmetricMatrix {
    int n = 0;
    /// Column j holds rows start[j] .. start[j + 1] - 1, ascending, each ≤ j; the diagonal
    /// is always present and last.
    std::vector<std::int64_t> start;
    std::vector<std::int64_t> row;
    std::vector<double> value;

    std::int64_t entries() const { return start.empty() ? 0 : start.back(); }
    double& diagonal(int j) { return value[start[j + 1] - 1]; }
    double diagonal(int j) const { return value[start[j + 1] - 1]; }
    /// Entry (i, j), i ≤ j, which must be in the pattern.
    double& at(int i, int j);
    /// y = A·x for k vectors side by side: entry k·i + c is equation i of vector c.
    void multiply(const double* x, double* y, int k = 1) const;
};

/// The pattern of the mesh with every value 0. Requires noc entries in 1..nn.
SymmetricMatrix nodePattern(const Model& m);

/// Half-band (diagonal included) of the elements in the model's own node numbering.
int halfBand(const Model& m);
