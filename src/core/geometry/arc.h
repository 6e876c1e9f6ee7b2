#pragma once
// Circular arcs between two points and their chords.

#include <functional>
#include <optional>
#include <vector>

#include "geometry/outline.h"

namespace geometry {

/// An arc from (x0, y0) to (x1, y1) about (cx, cy); `sweep` in radians, positive
/// counter-clockwise, |sweep| <= pi.
struct Arc {
    double x0, y0, x1, y1;
    double cx, cy, radius;
    double sweep;
};

/// The shorter arc of radius |r| from p0 to p1, counter-clockwise for r > 0. Empty when the
/// points coincide or |r| is less than half the distance between them (no such arc); a radius
/// within a relative 1e-9 of half the distance gives the half circle.
std::optional<Arc> makeArc(double x0, double y0, double x1, double y1, double r);

/// Number of equal chords for the arc so that none is longer than `maxChord` and the gap
/// between chord and arc (the sagitta) is at most `maxSagitta`; at least 1.
int chordCount(const Arc& a, double maxChord, double maxSagitta);

/// Point of the arc at parameter t in [0, 1] (0: start, 1: end).
void arcPoint(const Arc& a, double t, double& x, double& y);

/// A plain point of a polyline.
struct Point {
    double x = 0, y = 0;
};

/// The outline as a closed polygon (no repeated last point): straight segments as they are,
/// each arc by chords whose length is at most `maxChord(x, y)` near them and whose sagitta is
/// at most `sagittaFraction` of that length. Empty when an arc of the outline has no such arc
/// (see makeArc).
std::vector<Point> polygonOf(const Outline& o,
                             const std::function<double(double, double)>& maxChord,
                             double sagittaFraction);

}  // namespace geometry
