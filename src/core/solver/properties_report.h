#pragma once
// The section properties file (*.txt): J of the linear elements, its bracket and the section
// properties, one `name = value` line each under Polish headings.

#include <string>

#include "model/model.h"
#include "model/outcome.h"
#include "solver/bounds.h"

/// The text for model m: J from the linear computation, b from computeBounds; `path` is the
/// file's own path. Numbers with 9 significant digits and a decimal point.
std::string propertiesText(const std::string& path, const Model& m, double J,
                           const SectionBounds& b);

/// Writes the text with saveFileSafely (an old file survives a failed write; a target that is
/// not a regular file is refused); on failure "Nie można zapisać danych do pliku".
FileOutcome writeProperties(const std::string& path, const Model& m, double J,
                            const SectionBounds& b);
