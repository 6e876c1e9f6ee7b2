#include "model/report.h"

std::string reportText(const std::string&, const Model&) { return {}; }

FileOutcome writeReport(const std::string&, const Model&) {
    return {FileStatus::CannotWrite, "Nie można zapisać danych do pliku"};
}
