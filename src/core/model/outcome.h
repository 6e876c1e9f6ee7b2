#pragma once
// Result of a file operation: a status and, on failure, the exact text the user is shown.

#include <string>

enum class FileStatus {
    Ok,
    CannotOpen,   ///< "Nie można otworzyć pliku"
    BadData,      ///< "Błędny plik z danymi"
    CannotWrite,  ///< "Nie można zapisać do pliku" / "Nie można zapisać danych do pliku"
};

struct FileOutcome {
    FileStatus status = FileStatus::Ok;
    std::string message;  ///< empty on success
    bool ok() const { return status == FileStatus::Ok; }
};
