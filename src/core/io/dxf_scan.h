#pragma once
// A first pass over the text of a DXF file before dxflib reads it: whether it is a DXF file
// at all, what dxflib could not read safely, and what the reader needs to know of each
// object that dxflib does not report.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace io {

/// What an object (the groups from one group 0 or 9 to the next) is to the importer.
enum class ObjectKind : std::uint8_t {
    Unused,      ///< an entity the importer does not use (text, dimension, hatch, ...)
    Used,        ///< LINE, ARC, CIRCLE, SEQEND, ELLIPSE, SPLINE, INSERT
    Polyline,    ///< POLYLINE
    LwPolyline,  ///< LWPOLYLINE
    Vertex,      ///< VERTEX
    Other,       ///< not an entity: a section mark, table entry, setting, block mark, ...
};

/// One object, in the order dxflib ends them.
struct ScanObject {
    ObjectKind kind = ObjectKind::Other;
    bool inEntities = false;  ///< in the ENTITIES section
    int flags = 0;            ///< its group 70, as dxflib reads integers
};

/// The outcome of the first pass.
struct DxfScan {
    std::string error;  ///< Polish message, empty when dxflib may read `text()`
    std::string_view view;
    std::string copy;  ///< the text with over-long lines cut, when there were any
    std::vector<ScanObject> objects;
    /// What dxflib reads: the file from its first group to the EOF group.
    std::string_view text() const { return copy.empty() ? view : std::string_view(copy); }
};

/// Checks the file text. Refused: a binary DXF file, a text that is not pairs of an integer
/// group code line and a value line starting with a section (or comments), NUL bytes, a
/// missing EOF group, and what would make dxflib misread memory or allocate without bound
/// (vertex, knot and point counts beyond their entity's size, polyline and spline data
/// before their counts, blank real numbers). Value lines longer than dxflib's line buffer are cut
/// (dxflib would loop forever on them).
DxfScan scanDxf(std::string_view file);

}  // namespace io
