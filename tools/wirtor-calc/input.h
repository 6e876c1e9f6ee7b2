#pragma once
// What the batch tool reads: a model file (.WT) as it is, or a section file (.wts) or a DXF
// drawing (.dxf, one section) meshed with the program's own mesher.

#include <string>

#include "model/model.h"

/// The model read from `path`, or why not.
struct InputRead {
    std::string failure;        ///< Polish message, empty on success
    int line = 0;               ///< line of a section file the failure concerns, 0 when none
    double meshSeconds = -1;    ///< time the mesher took; -1 for a model file
    double importSeconds = -1;  ///< time the drawing's import took; -1 for other files
    bool ok() const { return failure.empty(); }
};

/// True when `path` names a section file (extension .wts in any case).
bool isSectionFile(const std::string& path);

/// True when `path` names a DXF drawing (extension .dxf in any case).
bool isDrawingFile(const std::string& path);

/// Reads a model file, or reads and meshes a section file or a drawing, into `m`.
InputRead readInput(const std::string& path, Model& m);
