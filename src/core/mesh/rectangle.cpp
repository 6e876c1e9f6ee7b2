#include "mesh/rectangle.h"

PatchOutcome appendRectangle(Model&, const RectanglePatch&) { return {PatchStatus::TooLarge, ""}; }
