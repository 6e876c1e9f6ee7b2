#pragma once
// Small models for the shell's tests, with every array allocated as a real edit leaves it.

#include "model/model.h"

/// A project with `nn` nodes on a line and `ne` elements over nodes 1, 2, 3 (needs nn >= 3
/// when ne > 0); no results.
void makeModel(Model& m, int nn, int ne);

/// A 2 x 2 square of unit cells, two triangles per cell: 9 nodes (node 5 inside), 8 elements.
void makeSquare(Model& m);
