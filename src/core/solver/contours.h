#pragma once
// Contours of the section: the connected pieces of the boundary-edge graph, each either the
// outer contour of its mesh piece or the contour of a hole.

#include <vector>

#include "model/model.h"
#include "solver/boundary.h"

struct Contours {
    /// [1..nn]: -1 off every contour, -2 on an outer contour, k ≥ 0 on hole contour k.
    std::vector<int> hole;
    std::vector<double> area;  ///< [k] area enclosed by hole contour k
    /// A piece of the mesh without any contour (every edge shared, or a node in no element):
    /// nothing holds its stress function, so its equations are singular.
    bool unheld = false;
    int holes() const { return static_cast<int>(area.size()); }
};

/// Contours::hole value of a node on no contour.
inline constexpr int kOffContour = -1;
/// Contours::hole value of a node on an outer contour.
inline constexpr int kOuterContour = -2;

/// Sorts the boundary edges into contours. In each piece of the mesh (elements joined through
/// shared nodes) the contour through its contour node of smallest x (smallest y, then lowest
/// number among equals) is the outer one; the others are holes, numbered in the order of
/// their lowest node number. A hole that touches another contour at a node is part of it.
/// Requires noc entries in 1..nn.
Contours findContours(const Model& m, const std::vector<BoundaryEdge>& edges);
