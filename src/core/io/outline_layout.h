#pragma once
// How closed polygons lie among each other: whether any of them cross or touch, and how
// deeply each one is nested in the others.

#include <vector>

#include "geometry/arc.h"

namespace io {

/// What keeps a set of polygons from being separate simple curves.
enum class LayoutFault {
    None,
    Flat,          ///< polygon `first` has fewer than three distinct points or no area
    SelfCrossing,  ///< two edges of polygon `first` meet, or it visits a point twice
    Crossing,      ///< polygons `first` and `second` cross or touch
};

/// The layout of a set of polygons.
struct PolygonLayout {
    LayoutFault fault = LayoutFault::None;
    int first = -1, second = -1;  ///< the polygons the fault concerns
    geometry::Point at;           ///< near where the fault is
    std::vector<int> depth;       ///< without a fault: how many other polygons hold each one
    std::vector<bool> ccw;        ///< without a fault: whether each one runs counter-clockwise
};

/// Lays out the closed polygons `p` (no repeated last points) after snapping all of them to
/// one grid of about 2^-38 of their common extent; O(n log n) in the number of edges (one
/// sweep finds a meeting of edges and, without one, the polygon below each polygon's first
/// point).
PolygonLayout polygonLayout(const std::vector<std::vector<geometry::Point>>& p);

}  // namespace io
