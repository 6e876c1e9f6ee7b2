#pragma once
// The computation driver: checks the model, solves the torsion problem, sets obliczono.

#include <cstddef>

#include "model/model.h"
#include "solver/timing.h"

enum class ComputeStatus {
    Ok,
    NoProject,   ///< "Błąd obliczeń - projekt nie istnieje"
    NoElements,  ///< "Niezdefiniowano podpór,węzłów lub elementów"
    Failed,      ///< "Błąd podczas obliczeń" (m.blad holds the code)
};

struct ComputeOutcome {
    ComputeStatus status = ComputeStatus::Ok;
    const char* message = "";      ///< text the user is shown; empty on success
    double J = 0.0;                ///< torsion constant
    int holes = 0;                 ///< number of hole contours found
    double factor_entries = 0;     ///< entries of the Cholesky factor, once it was sized
    std::size_t factor_bytes = 0;  ///< memory the factor takes, once it was sized
    SolverTimes times = {};        ///< where the time went
    bool ok() const { return status == ComputeStatus::Ok; }
};

/// Runs one computation. Clears obliczono and blad first; on success fills f, napr, ww,
/// katob and sets obliczono = 1; on failure the results are not current. Raises nbw to the
/// half-band of the node numbering. Memory that cannot be had ends as BLAD_PAMIEC.
ComputeOutcome Obliczenia(Model& m);
