#pragma once
// The plain-text results report (*.txt): counts, G, MS and the nodal stress table.

#include <string>

#include "model/model.h"
#include "model/outcome.h"

/// The report text for a model with current results; `path` is the report's own path.
std::string reportText(const std::string& path, const Model& m);

/// Writes the report; on failure (a named pipe without a reader included) "Nie można zapisać
/// danych do pliku".
FileOutcome writeReport(const std::string& path, const Model& m);
