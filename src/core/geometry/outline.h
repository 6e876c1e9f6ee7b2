#pragma once
// Closed outlines of a cross-section: vertices joined by straight segments or circular arcs.

#include <vector>

namespace geometry {

/// One vertex of an outline and the segment that leaves it towards the next vertex.
struct Vertex {
    double x = 0, y = 0;
    /// Radius of the arc to the next vertex (the last vertex: to the first); 0 = straight.
    /// Positive: counter-clockwise, negative: clockwise; always the shorter arc.
    double r = 0;
};

/// A closed outline, at least three vertices or one arc-bounded pair; either orientation.
struct Outline {
    std::vector<Vertex> v;
};

/// A whole circle.
struct Circle {
    double x = 0, y = 0, r = 0;
};

/// The circle as an outline of four quarter arcs, counter-clockwise.
Outline circleOutline(const Circle& c);

/// Signed area enclosed by the outline, arcs included exactly: positive when it runs
/// counter-clockwise. NaN when an arc of it does not exist.
double outlineArea(const Outline& o);

/// An axis-parallel box.
struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

/// Bounding box of the outline, arcs included (an arc that does not exist counts by its ends).
Box outlineBox(const Outline& o);

}  // namespace geometry
