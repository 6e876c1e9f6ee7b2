#pragma once
// Automatic meshing of a section description: the region its shapes make, meshed with
// quality triangles and put into the model in place of its mesh.

#include <string>

#include "geometry/section.h"
#include "model/model.h"
#include "progress.h"

enum class MeshStatus {
    Ok,
    Refused,    ///< the description makes no valid region; `message` says why
    TooLarge,   ///< the mesh would not fit in memory (found before meshing)
    Cancelled,  ///< the progress callback said stop
};

struct MeshOutcome {
    MeshStatus status = MeshStatus::Ok;
    std::string message;  ///< Polish text the user is shown; empty on success and cancel
    int line = 0;         ///< line of the section file the failure concerns, 0 when none
    double size = 0;      ///< largest element edge used (the automatic one when none given)
    int nodes = 0, elements = 0;
    bool ok() const { return status == MeshStatus::Ok; }
};

/// Meshes `s` (its `siatka`, or the automatic size when absent or not positive) and replaces
/// the model's nodes and elements by the mesh: G and MS from `s` where it gives them, results
/// dropped, the selection cleared, Pusty untouched (the caller runs it inside the edit
/// sequence). On any failure the model stays exactly as it was.
MeshOutcome meshSection(const geometry::Section& s, Model& m, const Postep& postep = {});
