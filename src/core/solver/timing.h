#pragma once
// Where a computation's time goes, in seconds of the wall clock. The ordering runs beside the
// assembly, so the stages may add up to more than the computation took.

#include <chrono>

struct SolverTimes {
    double ordering = 0;       ///< fill-reducing order and the factor's structure
    double assembly = 0;       ///< pattern, element matrices and contours
    double factorisation = 0;  ///< numerical factorisation
    double solves = 0;         ///< stress function and hole constants
    double smoothing = 0;      ///< element stresses and their nodal values
};

/// Adds the time since construction or the last lap to a SolverTimes field.
class Stopwatch {
  public:
    void lap(double& into) {
        const auto now = std::chrono::steady_clock::now();
        into += std::chrono::duration<double>(now - last_).count();
        last_ = now;
    }

    /// Starts the next lap now without counting the time since the last one.
    void restart() { last_ = std::chrono::steady_clock::now(); }

  private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};
