#pragma once
// Single-node edits: append, move, delete with renumbering. The caller runs them inside the
// edit sequence (see edit/resize.h); each leaves the model as it was when it fails.

#include "edit/resize.h"
#include "model/model.h"

/// Appends node nn + 1 at (x, y) with si = 0. Refused when a coordinate is not a finite
/// float (the message says so); TooLarge as growModel.
EditOutcome appendNode(Model& m, double x, double y);

/// Moves node k to (x, y); obliczono = 0. Refused silently when k is not in 1..nn, with a
/// message when a coordinate is not a finite float.
EditOutcome setNode(Model& m, int k, double x, double y);

/// The lowest-numbered element that has node k as a corner; 0 when none.
int elementUsingNode(const Model& m, int k);

/// Whether node k may be deleted: InUse (with the user's message) when an element uses it,
/// Refused silently when k is not in 1..nn, else Ok.
EditOutcome checkNodeDeletion(const Model& m, int k);

/// Deletes node k; the nodes after it move down by one number, and so do the corners that
/// name them. InUse (with the user's message) when an element uses k; Refused silently when
/// k is not in 1..nn. Clears the group selection.
EditOutcome deleteNode(Model& m, int k);

/// True when `v` is finite in single precision, the precision the model keeps.
bool fitsFloat(double v);
