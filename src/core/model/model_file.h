#pragma once
// The binary model file (*.WT): little-endian counts, G, MS, connectivity, coordinates, si.

#include <string>

#include "model/model.h"
#include "model/outcome.h"

/// Reads a model file into a released model (Pusty = 1); only a regular file is opened. On success
/// every array is allocated afresh, Pusty = 0, obliczono = 0, nbw = 0. On failure no array is
/// allocated and Pusty stays 1; a file with nn < 1 leaves ne, nn, G and MS holding the values read.
FileOutcome readModelFile(const std::string& path, Model& m);

/// Writes the model (sets nq = nn first) with saveFileSafely: a failed save leaves the old
/// file as it was, a target that is not a regular file is refused. A model the reader
/// would refuse (arrays short of the counts, a corner outside 1..nn, a value that is not
/// finite) is not written.
FileOutcome writeModelFile(const std::string& path, Model& m);
