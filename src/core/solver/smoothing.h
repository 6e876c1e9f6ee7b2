#pragma once
// Nodal values of the element stresses: an L2 projection of |napr| per component onto the
// linear nodal basis with the consistent mass matrix.

#include "model/model.h"
#include "solver/band_solve.h"
#include "solver/ordering.h"

/// Fills ww[1..nn][1..3] and napr[1..ne][3] from napr columns 1 and 2. Reuses s (n = nn,
/// w ≥ o.nbw) for the mass matrix, factored once for both components. A node that no element
/// of non-zero area touches gets 0. Returns 0 or BLAD_PIVOT.
int smoothStresses(Model& m, const Ordering& o, BandMatrix& s);
