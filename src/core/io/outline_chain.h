#pragma once
// Loose lines, arcs and open polylines of a drawing joined end to end into closed outlines.

#include <vector>

#include "geometry/arc.h"
#include "geometry/outline.h"

namespace io {

/// Lines and circular arcs end to end: vertex i's r is the arc to vertex i + 1 (as in an
/// outline); the last vertex's r leads back to the first when closed, unused when open.
struct Path {
    std::vector<geometry::Vertex> v;
    bool closed = false;
};

/// Why the paths make no set of closed outlines.
enum class ChainFault {
    None,
    FreeEnd,  ///< a path end meets no other: at `a`, and the other end of its chain at `b`
              ///< when that one is free too (`ends` == 2)
    Branch,   ///< three or more path ends meet at `a`
};

/// The outlines the paths make, or why they make none.
struct Chained {
    std::vector<geometry::Outline> outlines;
    ChainFault fault = ChainFault::None;
    geometry::Point a, b;
    int ends = 0;
};

/// Joins the paths into outlines: vertices closer than `tol` to their neighbour merge, open
/// paths whose ends lie within `tol` of each other join (at the later path's end point, an
/// arc that no longer spans its chord becomes straight), closed paths stay as they are.
/// Paths shorter than `tol` drop out. Sub-quadratic: ends are matched on a grid of `tol`.
Chained chainPaths(std::vector<Path> paths, double tol);

}  // namespace io
