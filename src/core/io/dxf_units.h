#pragma once
// The drawing units a DXF file names in its $INSUNITS setting.

#include <optional>
#include <string>

namespace io {

/// A drawing unit: its Polish name and its length in millimetres (0 when it has none).
struct DrawingUnit {
    std::string name;
    double mm = 0;
};

/// The unit of $INSUNITS code `code`; absent or 0: "bez jednostek".
DrawingUnit drawingUnit(std::optional<int> code);

}  // namespace io
