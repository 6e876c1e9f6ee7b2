#pragma once
// The plain-text results report (*.txt): counts, G, MS and the nodal stress table.

#include <string>

#include "model/model.h"
#include "model/outcome.h"

/// The refusal when a report would be written over the file the model was read from.
constexpr const char* kReportOverModel =
    "Nie można zapisać danych do pliku, z którego wczytano model";

/// The report text for a model with current results; `path` is the report's own path.
std::string reportText(const std::string& path, const Model& m);

/// Writes the report with saveFileSafely (an old report survives a failed write; a target
/// that is not a regular file is refused); on failure "Nie można zapisać danych do pliku".
FileOutcome writeReport(const std::string& path, const Model& m);
