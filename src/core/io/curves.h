#pragma once
// Curves a drawing has besides lines and circular arcs: elliptic arcs and NURBS curves,
// and the chords that stand for them.

#include <cstddef>
#include <optional>
#include <vector>

#include "geometry/arc.h"

namespace io {

/// The elliptic arc c + u cos t + v sin t for t from t0 to t1 (either way). u and v are any
/// pair of conjugate half-diameters, so an affine map of the arc is the map of c, u and v.
struct EllipseArc {
    geometry::Point c, u, v;
    double t0 = 0, t1 = 0;
};

/// The point of the arc at parameter t.
geometry::Point ellipsePoint(const EllipseArc& e, double t);

/// Chord points of the arc from its start to its end, both included, none of the chords
/// further than `sagitta` from the arc; at most `maxPoints` points.
std::vector<geometry::Point> ellipseChords(const EllipseArc& e, double sagitta,
                                           std::size_t maxPoints);

/// A NURBS curve: control points with weights and n + degree + 1 knots for n points.
struct Nurbs {
    int degree = 3;
    std::vector<geometry::Point> points;
    std::vector<double> weights;
    std::vector<double> knots;
};

/// Whether the curve can be evaluated: degree 1 to 31 and below the number of points, one
/// weight a point, all positive, knots non-decreasing and as many as needed, a non-empty
/// parameter range, everything finite.
bool validNurbs(const Nurbs& n);

/// The point at parameter t of a valid curve (de Boor), t clamped to its range.
geometry::Point nurbsPoint(const Nurbs& n, double t);

/// Chord points of a valid curve from its start to its end, both included, refined where a
/// chord strays more than `sagitta` from the curve, at most about `maxPoints` points.
std::vector<geometry::Point> nurbsChords(const Nurbs& n, double sagitta, std::size_t maxPoints);

/// The C2 cubic through the fit points, parametrised by chord length: with the given unit
/// end tangents where they are not zero, free (natural) ends otherwise; periodic when
/// `closed`. Repeated neighbouring points count once. Empty when fewer than two distinct
/// points remain (three for a closed curve) or a value is not finite.
std::optional<Nurbs> interpolatingCubic(std::vector<geometry::Point> fit, bool closed,
                                        geometry::Point startTangent, geometry::Point endTangent);

}  // namespace io
