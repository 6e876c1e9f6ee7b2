#pragma once
// Interior points of a region to mesh: triangular lattices of the local size, kept clear of
// the boundary and of one another, so that the refinement has little left to do.

#include <functional>
#include <vector>

#include "mesh/boundary.h"
#include "mesh/sizing.h"

namespace mesh {

/// Points of the region inside `b`: lattices of spacing 0.9 h in steps of 2^(1/3) (finest
/// first), none nearer than 0.75 of its own spacing to another, or 0.55 to an edge, or inside
/// an edge's diametral circle. `expected` (about how many there will be) sizes the buckets.
/// `keepGoing(fraction)` is asked now and then; when it returns false the points so far are
/// returned and `cancelled` set.
std::vector<geometry::Point> latticePoints(const Boundary& b, const SizeField& f, double expected,
                                           const std::function<bool(double)>& keepGoing,
                                           bool& cancelled);

}  // namespace mesh
