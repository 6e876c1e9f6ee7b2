#pragma once
// What the edit tests read back from a model: coordinates and element corners in order.

#include <array>
#include <vector>

#include "model/model.h"

namespace edit_test {

using Tri = std::array<int, 3>;
using Xy = std::array<float, 2>;

/// (x, y) of nodes 1..nn.
inline std::vector<Xy> coords(const Model& m) {
    std::vector<Xy> v;
    for (int i = 1; i <= m.nn; ++i)
        v.push_back({m.x[i][1], m.x[i][2]});
    return v;
}

/// Corners of elements 1..ne.
inline std::vector<Tri> corners(const Model& m) {
    std::vector<Tri> v;
    for (int e = 1; e <= m.ne; ++e)
        v.push_back({m.noc[e][1], m.noc[e][2], m.noc[e][3]});
    return v;
}

}  // namespace edit_test
