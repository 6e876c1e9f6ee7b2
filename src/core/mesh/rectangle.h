#pragma once
// Regular patch of triangles over an axis-parallel rectangle, appended to the model.

#include <string>

#include "model/model.h"

struct RectanglePatch {
    double px = 0, py = 0;  ///< lower-left corner, as read from the dialog
    double dx = 0, dy = 0;  ///< extent (may be negative or zero)
    int ix = 0, iy = 0;     ///< cells along x and y, both > 0
    bool p4 = false;        ///< four triangles per cell around a centre node
};

enum class PatchStatus {
    Ok,
    Rejected,  ///< ix or iy not positive, or a coordinate beyond single precision
    TooLarge,  ///< the arrays would not fit in memory
};

struct PatchOutcome {
    PatchStatus status = PatchStatus::Ok;
    std::string message;  ///< on TooLarge, the text the user is shown
    bool ok() const { return status == PatchStatus::Ok; }
};

/// Appends the patch with the generator's numbering through growModel; existing nodes and
/// elements keep their numbers and values, results are dropped (obliczono = 0). Pusty is not
/// tested: the caller runs it inside the edit sequence. A patch whose
/// arrays would exceed the physical memory or cannot be allocated is refused with the
/// model unchanged.
PatchOutcome appendRectangle(Model& m, const RectanglePatch& p);
