#pragma once
// The computation driver: checks the model, solves the torsion problem, sets obliczono.
// The computation reads the model only and builds its results aside; they replace the
// model's once it has ended, so a cancelled run leaves the model as it was and another thread
// may read the model meanwhile.

#include <cstddef>

#include "model/model.h"
#include "progress.h"
#include "solver/solver_method.h"
#include "solver/timing.h"

enum class ComputeStatus {
    Ok,
    NoProject,   ///< "Błąd obliczeń - projekt nie istnieje"
    NoElements,  ///< "Niezdefiniowano podpór,węzłów lub elementów"
    Failed,      ///< "Błąd podczas obliczeń" (blad holds the code)
    Cancelled,   ///< stopped through the progress callback: nothing changed
};

struct ComputeOutcome {
    ComputeStatus status = ComputeStatus::Ok;
    const char* message = "";      ///< text the user is shown; empty on success
    int blad = BLAD_BRAK;          ///< the Blad code of a failure
    double J = 0.0;                ///< torsion constant
    int holes = 0;                 ///< number of hole contours found
    double factor_entries = 0;     ///< entries of the Cholesky factor, once it was sized
    std::size_t factor_bytes = 0;  ///< memory the factor takes, once it was sized
    SolverMethod method = SolverMethod::Cholesky;  ///< the method that gave the result
    int iterations = 0;      ///< conjugate-gradient iterations of the multigrid method
    bool fallback = false;   ///< multigrid did not converge: the factor solved instead
    SolverTimes times = {};  ///< where the time went
    bool ok() const { return status == ComputeStatus::Ok; }
};

struct ComputeOptions {
    SolverMethod method = SolverMethod::Automatic;
    /// Told each stage ("Składanie układu", "Rozkład macierzy", "Rozwiązywanie",
    /// "Wygładzanie naprężeń"); false cancels at the next check.
    Postep postep;
};

/// The results of a computation before they replace the model's.
struct ComputeResults {
    Wektor<float> f;      ///< [1..nn]
    Macierz<float> napr;  ///< [1..ne][1..3]
    Macierz<float> ww;    ///< [1..nn][1..3]
    float katob = 0.0f;
    int nbw = 0;  ///< half-band of the node numbering
};

/// The computation on a model it only reads; on success `r` holds the results.
ComputeOutcome computeResults(const Model& m, ComputeResults& r, const ComputeOptions& o = {});

/// Puts an outcome of computeResults into the model: on success the results become the
/// model's and obliczono = 1; on a failure obliczono = 0 and blad holds the code; a
/// cancelled outcome changes nothing. nbw is raised to the half-band of the numbering.
void applyResults(Model& m, const ComputeOutcome& out, ComputeResults& r);

/// Runs one computation: computeResults, then applyResults. Memory that cannot be had ends
/// as BLAD_PAMIEC.
ComputeOutcome Obliczenia(Model& m, const ComputeOptions& o = {});
