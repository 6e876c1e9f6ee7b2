#pragma once
// Regular patch of triangles over a ring sector, appended to the model.

#include "edit/resize.h"
#include "model/model.h"

struct RingPatch {
    double px = 0, py = 0;  ///< centre
    double rz = 0, rw = 0;  ///< outer and inner radius
    double kp = 0, kk = 0;  ///< start and end angle, degrees from the x axis
    int ix = 0, iy = 0;     ///< cells between the radii and between the angles, both > 0
    bool p4 = false;        ///< four triangles per cell around a centre node
};

/// Appends the rectangle patch's scheme laid on a polar grid through growModel: radius takes
/// the place of x, running from rw (column i = 1) to rz (column ix + 1); angle the place of y,
/// running from kp (row j = 1) to kk (row iy + 1), counter-clockwise when kk > kp. Corner
/// nodes are numbered row by row, then the cell centres of p4 row by row; elements cell by
/// cell, column by column, split as the rectangle's. Two cases drop duplicate nodes:
/// - |kk − kp| = 360 closes the ring: row iy + 1 is row 1, so each row has its own numbers
///   only for j = 1..iy;
/// - rw = 0 gives one centre node numbered first, then ix nodes per row (i = 2..ix + 1); each
///   innermost cell is a triangle: one element (centre, outer lower, outer upper) or, with
///   p4, three around the cell's centroid (the rectangle's four without the one that folds).
/// A p4 centre node is the mean of the cell's corners, so it lies inside the straight-sided
/// cell however coarse the angle step.
///
/// Existing nodes and elements keep their numbers and values, new nodes have si = 0, results
/// are dropped. Pusty is not tested: the caller runs it inside the edit sequence. Refused
/// when ix or iy is not positive, an input is not finite, a radius is negative, the radii
/// are equal, rz = 0, the angles are equal, |kk − kp| > 360, a cell spans 180° or more (its
/// triangles would fold or have no area), a coordinate would not fit single precision, or
/// the model is not consistent. TooLarge (with the user's message) when the arrays would not
/// fit in memory. Either leaves the model as it was.
EditOutcome appendRing(Model& m, const RingPatch& p);
