#pragma once
// Meshing of a list of closed loops (solids and cuts): the region they make, its element size
// and its quality triangles, in model coordinates and a fixed order.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "geometry/arc.h"
#include "geometry/section.h"
#include "mesh/section_mesh.h"
#include "progress.h"

namespace mesh {

/// The mesh of some loops, or why there is none.
struct LoopMesh {
    MeshStatus status = MeshStatus::Ok;
    std::string message;                 ///< Polish text; empty on success and cancel
    int loop = -1;                       ///< index of the loop the failure concerns, -1 when none
    double size = 0;                     ///< largest element edge of the size used
    int pieces = 0;                      ///< connected parts of the region
    std::vector<geometry::Point> nodes;  ///< sorted by y, then x
    std::vector<std::array<int, 3>> triangles;  ///< counter-clockwise from the smallest, sorted
    bool ok() const { return status == MeshStatus::Ok; }
};

/// Meshes the region of `loops`: with `size` the largest edge everywhere; without it (or
/// when not positive) the automatic size, about 20 000 elements over a compact region and at
/// least 4 across its thinnest part. Refuses a size that is not finite, a cut that overlaps
/// no solid, an empty region, and (TooLarge) a mesh estimated above 20 million elements or a
/// quarter of the physical memory.
LoopMesh meshLoops(const std::vector<geometry::Loop>& loops, std::optional<double> size,
                   const Postep& postep = {});

}  // namespace mesh
