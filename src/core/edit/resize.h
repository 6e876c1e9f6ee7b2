#pragma once
// The two primitives every model change is built on: growing the model by new nodes and
// elements, and removing nodes and elements with the numbering kept dense. Both keep what
// survives (coordinates, load values, connectivity) and drop the results.
//
// Neither tests Pusty: the caller runs them inside the edit sequence, which holds Pusty = 1
// while the arrays are rebuilt. Both leave the model exactly as it was when they fail.

#include <span>
#include <string>

#include "model/model.h"

enum class EditStatus {
    Ok,
    Refused,   ///< the entry or the model does not allow the change; nothing to tell the user
    InUse,     ///< the node is a corner of an element
    TooLarge,  ///< the arrays would not fit in memory
};

/// Result of an edit; `message` is the text the user is shown, empty when there is none.
struct EditOutcome {
    EditStatus status = EditStatus::Ok;
    std::string message;
    bool ok() const { return status == EditStatus::Ok; }
};

/// Grows the model by `nodes` nodes and `elements` elements. Nodes 1..nn and elements 1..ne
/// keep their values; the new nodes' si entries are 0, their coordinates and the new
/// elements' corners are undefined until the caller fills them. The result arrays of a grown
/// kind are allocated anew without values; nq = nn, obliczono = 0. Refused when a count is
/// negative or the model is not consistent; TooLarge when the counts would overflow, would
/// take more than half of the physical memory, or the arrays cannot be allocated.
EditOutcome growModel(Model& m, long nodes, long elements);

/// Removes nodes and elements. `nodeTarget` has nn + 1 entries (index 0 unused): a node i
/// with nodeTarget[i] = i stays; any other value drops it, and corners referring to it move
/// to node nodeTarget[i], which must stay (0 when no element may refer to it).
/// `dropElement` has ne + 1 entries (index 0 unused): nonzero drops the element. The
/// survivors keep their order and are numbered 1.. anew; corners are renumbered. The group
/// selection is cleared; nq = nn, obliczono = 0. Refused when a span has the wrong size, a
/// target does not stay, or a kept element would refer to a dropped node without a target.
EditOutcome removeItems(Model& m, std::span<const int> nodeTarget,
                        std::span<const unsigned char> dropElement);
