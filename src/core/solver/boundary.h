#pragma once
// Boundary edges of the mesh: edges that the pairwise scan over later elements leaves
// unmatched, found by grouping the edges on their node pair (a counting pass on the lower
// node, a sort on the higher one) in time near linear in the number of elements.

#include <vector>

#include "model/model.h"

/// Edge j of element e runs from noc[e][j] to noc[e][j mod 3 + 1].
struct BoundaryEdge {
    int e = 0;
    int j = 0;
    bool operator==(const BoundaryEdge&) const = default;
};

/// The boundary edges in scan order (element, then edge). An edge is cleared when it matches
/// an edge of a later element that is not yet cleared, and that one with it; a degenerate
/// edge {a, a} matches every later edge that holds node a. Requires noc entries in 1..nn.
std::vector<BoundaryEdge> boundaryEdges(const Model& m);

/// First and second node of an edge.
inline int edgeFrom(const Model& m, const BoundaryEdge& b) {
    return m.noc[b.e][b.j];
}
inline int edgeTo(const Model& m, const BoundaryEdge& b) {
    return m.noc[b.e][b.j % 3 + 1];
}
