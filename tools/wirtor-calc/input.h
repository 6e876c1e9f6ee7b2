#pragma once
// What the batch tool reads: a model file (.WT) as it is, or a section file (.wts) meshed with
// the program's own mesher.

#include <string>

#include "model/model.h"

/// The model read from `path`, or why not.
struct InputRead {
    std::string failure;      ///< Polish message, empty on success
    int line = 0;             ///< line of a section file the failure concerns, 0 when none
    double meshSeconds = -1;  ///< time the mesher took; -1 for a model file
    bool ok() const { return failure.empty(); }
};

/// True when `path` names a section file (extension .wts in any case).
bool isSectionFile(const std::string& path);

/// Reads a model file, or reads and meshes a section file, into `m`.
InputRead readInput(const std::string& path, Model& m);
