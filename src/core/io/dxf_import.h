#pragma once
// Closed outlines of a section from a DXF drawing (ASCII DXF, R12 to 2018).

#include <string>
#include <string_view>
#include <vector>

#include "geometry/outline.h"
#include "progress.h"

namespace io {

/// How to read a drawing.
struct DxfOptions {
    double scale = 1;   ///< multiplies the drawing's coordinates; must be positive
    std::string layer;  ///< only entities on this layer (any letter case); empty: all layers
    Postep postep;      ///< progress and cancel; may be empty
};

/// The outlines of a drawing, or why there are none.
struct DxfImport {
    /// Closed outlines in drawing coordinates times the scale; outer outlines (inside an
    /// even number of others) run counter-clockwise, holes clockwise.
    std::vector<geometry::Outline> outlines;
    int holes = 0;    ///< outlines inside an odd number of others
    int ignored = 0;  ///< entities not used (text, dimensions, hatches, points, ...), once a
                      ///< placement of their block
    std::string units = "bez jednostek";  ///< Polish name of the drawing's $INSUNITS
    double unitScale = 0;                 ///< millimetres a drawing unit, 0 when unitless
    std::vector<std::string> layers;      ///< layers holding lines, arcs or curves, sorted
    double minX = 0, minY = 0, maxX = 0, maxY = 0;  ///< box of the outlines
    std::string error;       ///< Polish message, empty on success (outlines empty then)
    bool cancelled = false;  ///< the progress callback said stop (nothing returned)
    bool ok() const { return error.empty() && !cancelled; }
};

/// Reads the DXF file at `path` (regular files only, at most 256 MiB).
DxfImport importDxf(const std::string& path, const DxfOptions& options = {});

/// Reads DXF text already in memory.
DxfImport importDxfText(std::string_view text, const DxfOptions& options = {});

}  // namespace io
