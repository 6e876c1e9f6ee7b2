#include "model/model_file.h"

FileOutcome readModelFile(const std::string&, Model&) {
    return {FileStatus::CannotOpen, "Nie można otworzyć pliku"};
}

FileOutcome writeModelFile(const std::string&, Model&) {
    return {FileStatus::CannotWrite, "Nie można zapisać do pliku"};
}
