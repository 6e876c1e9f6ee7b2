#pragma once
// The traced outline of a region to mesh: straight edges with the region on their left, and
// the crossings of that outline with horizontal lines.

#include <array>
#include <vector>

#include "geometry/arc.h"

namespace mesh {

/// Closed curves of straight edges, the region on the left of every edge.
struct Boundary {
    std::vector<geometry::Point> points;
    std::vector<std::array<int, 2>> edges;  ///< indices into `points`: from, to
};

/// Bounding box of the boundary's points.
struct Extent {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

/// The box of all points; zero-sized at the origin when there are none.
Extent extentOf(const Boundary& b);

/// Where horizontal lines cross the boundary, through bands of edges sorted by height.
class RowCrossings {
  public:
    /// Buckets the edges of `b` (which must outlive this) into about `bands` bands.
    RowCrossings(const Boundary& b, int bands);
    /// The x of every edge crossing the line at height y, ascending; an edge counts when one
    /// end lies above y and the other not, so consecutive pairs bound the region.
    void at(double y, std::vector<double>& xs) const;

  private:
    const Boundary& b_;
    double y0_ = 0, dy_ = 1;
    int bands_ = 1;
    std::vector<int> start_, edges_;
};

}  // namespace mesh
