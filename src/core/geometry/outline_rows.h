#pragma once
// The rows of the outline table: one point a row, "X Y R", as the outline dialog holds them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/section.h"

namespace geometry {

/// A number as typed in a dialog: the whole text (blanks around it allowed), a decimal point
/// or a decimal comma; nothing for any other text or a value beyond the range of a double.
std::optional<double> parseNumber(std::string_view text);

/// The cells of one row, trimmed: split at tabs when the row holds one (an empty cell keeps
/// its place), otherwise at runs of blanks.
std::vector<std::string> rowCells(std::string_view row);

/// The shape the rows of a table make, or the first faulty row's Polish message.
struct OutlineRows {
    Shape shape;        ///< Kind::Obrys, or Kind::Okrag for a single row
    std::string error;  ///< empty on success
    int row = 0;        ///< 1-based row (line) of the error, 0 when it concerns the whole table
    bool ok() const { return error.empty(); }
};

/// Reads the table text, a row a line (rows without cells are skipped, but counted): X and Y
/// are required, an empty R means 0. A single row is a whole circle about (X, Y) of radius
/// R > 0. Whether the outline is a valid loop is sectionLoops' concern.
OutlineRows outlineFromRows(std::string_view text);

}  // namespace geometry
