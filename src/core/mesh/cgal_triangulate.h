#pragma once
// Constrained Delaunay triangulation work (CGAL kept inside its own source): the region the
// loops make, and its quality mesh.

#include <array>
#include <functional>
#include <vector>

#include "mesh/boundary.h"
#include "mesh/sizing.h"

namespace mesh {

/// The region of closed polygons: a point belongs to it when the deepest solid polygon
/// holding it has an even depth (the number of other solids wholly holding that one) and no
/// cut polygon holds it. Polygons stand for curves they may miss by a gap: polygon i counts as
/// wholly inside j when the part of it outside j is no larger than 2 (gap_i + gap_j) times
/// its perimeter, and a cut overlaps the solids when the overlap is larger than that.
struct Region {
    Boundary boundary;                ///< edges between the region and the rest
    double area = 0;                  ///< of the region
    double solidArea = 0;             ///< of the solids alone, before the cuts
    std::vector<char> cutMeetsSolid;  ///< per polygon: a cut overlapping the solids
    std::vector<int> depths;          ///< per polygon: how many solids wholly hold a solid
    int pieces = 0;                   ///< connected parts of the region
    bool failed = false;              ///< the triangulation could not be built
};

/// Traces the region of `polygons` (closed, no repeated last point); `cut[i]` marks a cut,
/// `gaps[i]` (empty: all 0) its largest distance from the curve it stands for.
Region traceRegion(const std::vector<std::vector<geometry::Point>>& polygons,
                   const std::vector<char>& cut, const std::vector<double>& gaps = {});

/// How the refinement ended.
enum class RefineStatus { Ok, Cancelled, TooLarge, Failed };

/// A mesh: points and counter-clockwise triangles of indices into them.
struct TriangleMesh {
    RefineStatus status = RefineStatus::Ok;
    std::vector<geometry::Point> nodes;
    std::vector<std::array<int, 3>> triangles;
};

/// Meshes the region inside `b` with the `interior` points added: every triangle with its
/// longest edge at most f at its centroid and its smallest angle at least 20.7 degrees, but
/// where the boundary is sharper or the triangle's longest edge is below `leastEdge`.
/// TooLarge as soon as the mesh has more than `maxVertices` vertices; `progress(fraction)` is
/// asked now and then (the fraction measured against `expectedVertices`) and stops the work
/// when it returns false.
TriangleMesh refineRegion(const Boundary& b, std::vector<geometry::Point> interior,
                          const SizeField& f, double leastEdge, double expectedVertices,
                          double maxVertices, const std::function<bool(double)>& progress);

}  // namespace mesh
