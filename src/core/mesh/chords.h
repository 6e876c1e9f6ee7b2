#pragma once
// The loops of a section as closed polygons: straight edges divided by the size field, arcs by
// chords, the same points wherever two loops run along the same edge or the same circle.

#include <vector>

#include "geometry/arc.h"
#include "geometry/outline.h"
#include "mesh/sizing.h"

namespace mesh {

/// Polygons of some outlines, or why there are none.
struct Polygons {
    std::vector<std::vector<geometry::Point>> loops;  ///< closed, no repeated last point
    std::vector<double> gaps;  ///< per loop: the largest distance between a chord and its arc
    bool noArc = false;        ///< an arc of an outline does not exist
    bool tooMany = false;      ///< more points than allowed
};

/// Chords of `outlines` (in the frame (-1, 1)^2). With `f` null: straight edges whole and arcs
/// by chords of 3 degrees. Otherwise pieces no longer than h, and arc chords of at most 30
/// degrees whose gap to the arc is at most h/40. Without a size, or when `tight`, no gap over
/// 2e-5 either, so that the sides of thin walls stay apart. An edge is divided alike in both loops
/// that share it, and arcs of one circle (within 1e-9 of its size) take their points from one
/// division of that circle, the ends of all its arcs included; so a solid and a cut flush along an
/// edge or an arc leave no sliver. At most `maxPoints` points in all.
Polygons loopPolygons(const std::vector<geometry::Outline>& outlines, const SizeField* f,
                      bool tight, double maxPoints);

}  // namespace mesh
