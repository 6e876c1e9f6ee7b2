#pragma once
// Nodal values of the element stresses: an L2 projection of |napr| per component onto the
// linear nodal basis with the consistent mass matrix, solved by conjugate gradients with a
// diagonal preconditioner (the preconditioned mass matrix of linear triangles has a condition
// number of at most 4, whatever their shapes).

#include "model/model.h"
#include "solver/sparse_matrix.h"

/// Relative residual at which the projection stops: far below single precision.
inline constexpr double kSmoothingTolerance = 1e-15;

/// Fills ww[1..nn][1..3] and napr[1..ne][3] from napr columns 1 and 2 (arrays of the model's
/// sizes). Reuses s (the pattern
/// of nodePattern, any values) for the mass matrix; both components are iterated together. A
/// node that no element of non-zero area touches gets 0. Returns 0, or BLAD_ZDEGENEROWANY
/// when the iteration meets values that are not finite.
int smoothStresses(const Model& m, SymmetricMatrix& s, Macierz<float>& napr, Macierz<float>& ww);
/// The same on the model's own napr and ww.
inline int smoothStresses(Model& m, SymmetricMatrix& s) {
    return smoothStresses(m, s, m.napr, m.ww);
}
