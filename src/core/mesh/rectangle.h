#pragma once
// Regular patch of triangles over an axis-parallel rectangle, appended to the model.

#include "edit/resize.h"
#include "model/model.h"

struct RectanglePatch {
    double px = 0, py = 0;  ///< lower-left corner, as read from the dialog
    double dx = 0, dy = 0;  ///< extent (may be negative or zero)
    int ix = 0, iy = 0;     ///< cells along x and y, both > 0
    bool p4 = false;        ///< four triangles per cell around a centre node
};

/// Appends the patch with the generator's numbering through growModel; existing nodes and
/// elements keep their numbers and values, results are dropped (obliczono = 0). Pusty is not
/// tested: the caller runs it inside the edit sequence. Refused when ix or
/// iy is not positive or a coordinate would not fit single precision; TooLarge (with the
/// user's message) when the arrays would not fit in memory. Either leaves the model as it was.
EditOutcome appendRectangle(Model& m, const RectanglePatch& p);
