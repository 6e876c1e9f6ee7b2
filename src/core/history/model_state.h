#pragma once
// The editable part of the model as plain arrays: what an undo step restores.

#include <optional>
#include <vector>

#include "geometry/section.h"
#include "model/model.h"

namespace history {

/// The section description a mesh may come from, and whether the mesh is still its own.
struct SectionState {
    std::optional<geometry::Section> opis;
    bool siatkaZOpisu = false;
};

/// Counts, material, load and mesh of a project, row after row, plus the node selection.
struct ModelState {
    int nn = 0;
    int ne = 0;
    float G = 0;
    float MS = 0;
    std::vector<float> x;   ///< X, Y of node 1, then node 2, ...
    std::vector<int> noc;   ///< three corners of element 1, then element 2, ...
    std::vector<float> si;  ///< load of node 1, 2, ...
    int j_grupa = 0;
    std::vector<int> grupa;  ///< the selected nodes while j_grupa = 1
    SectionState przekroj;
};

/// The state of project `m` (Pusty = 0) with the description `s`.
ModelState capture(const Model& m, const SectionState& s);

/// Puts `st` into `m`: arrays of a new size are allocated afresh (results with them), values
/// copied; nq = nn. Pusty and obliczono are the caller's. A selection naming a node that is
/// gone is dropped.
void restore(Model& m, const ModelState& st);

}  // namespace history
