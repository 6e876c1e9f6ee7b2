#pragma once
// The Prandtl stress function of the unit problem: −∇²φ = 2 over the section, φ held at 0
// on the boundary nodes by a penalty on their diagonal.

#include <vector>

#include "model/model.h"
#include "solver/band_solve.h"
#include "solver/ordering.h"

struct StressFunction {
    int blad = 0;             ///< 0, or the Blad code of the failure
    std::vector<double> phi;  ///< [1..nn] nodal values by model node (phi[0] unused)
    double J = 0;             ///< torsion constant 2∫φ dA
    double cnst = 0;          ///< the penalty that was added
    int holes = 0;            ///< number of hole contours
};

/// Assembles into s (allocated n = nn, w = o.nbw, zeroed), factors it and solves. On return
/// s holds the factors. Failures: BLAD_PIVOT on an exactly zero pivot, BLAD_ZDEGENEROWANY on
/// a result that is not finite.
StressFunction solveStressFunction(const Model& m, const Ordering& o, BandMatrix& s);
