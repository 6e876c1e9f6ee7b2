#pragma once
// Whether a closed polygon is simple, decided exactly on a fine integer grid.

#include <vector>

#include "geometry/arc.h"

namespace geometry {

/// How a closed polygon lies.
enum class PolygonShape {
    Simple,    ///< no two edges meet except neighbours at their shared corner
    Flat,      ///< fewer than three distinct points, or all of them on one line
    Crossing,  ///< edges cross or touch, or a point is visited twice
};

/// Classifies the closed polygon `p` (no repeated last point) after snapping its points to a
/// grid of about 2^-38 of its extent; O(n log n) (a sweep over the edges).
PolygonShape polygonShape(const std::vector<Point>& p);

}  // namespace geometry
