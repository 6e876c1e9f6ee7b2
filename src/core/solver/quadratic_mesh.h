#pragma once
// Six-node triangles on the model's mesh: the model's nodes are the corners and each distinct
// edge adds one node at its midpoint (straight edges). The model itself stays 3-node.

#include <array>
#include <vector>

#include "model/model.h"

struct QuadraticMesh {
    int vertices = 0;  ///< corner nodes 0..nn − 1: model node i is node i − 1
    /// [k] model nodes (1-based, lower first) of the edge whose midpoint is node vertices + k.
    std::vector<std::array<int, 2>> edge;
    /// [e − 1] nodes of element e: its corners in the model's order, then the midpoints of the
    /// edges corner 1→2, 2→3 and 3→1.
    std::vector<std::array<int, 6>> element;
    /// [e − 1] piece of element e: elements joined through shared corners, numbered in the order
    /// of their lowest element.
    std::vector<int> piece;
    int pieces = 0;
    int nodes() const { return vertices + static_cast<int>(edge.size()); }
};

/// Numbers the edges in the order of their lower model node, then of their higher one, so the
/// numbering follows from the mesh alone. Requires noc entries in 1..nn.
QuadraticMesh quadraticMesh(const Model& m);
