#pragma once
// The torsion constant bracketed from both sides on the model's mesh with 6-node triangles
// (Gθ = 1, g = (y, −x)): the stress function φ, held at 0 on outer contours and at one free
// constant C_k on each hole contour, gives J_dolne = 4(∫φ dA + Σ C_k·A_k) − ∫|∇φ|² dA ≤ J; the
// warping function ω gives J_gorne = ∫|∇ω − g|² dA ≥ J. Both are energies of the computed
// fields, which bound J whatever the solver's round-off. With the stress rot φ = (∂φ/∂y,
// −∂φ/∂x), J_gorne − J_dolne = Σ_T η_T², η_T² = ∫_T |∇ω − g − rot φ|² dA (Prager–Synge).

#include <string>
#include <vector>

#include "model/model.h"
#include "progress.h"
#include "solver/contours.h"
#include "solver/properties.h"
#include "solver/quadratic_mesh.h"
#include "solver/timing.h"

/// The energies of a pair of fields on q: φ with its contour values (0 on outer contours, C[k]
/// on hole contour k), ω about (ox, oy).
struct BracketEnergies {
    double lower = 0;          ///< 4(∫φ + Σ C_k·A_k) − ∫|∇φ|²
    double upper = 0;          ///< ∫|∇ω − g|²
    std::vector<double> eta2;  ///< [e − 1] ∫_T |∇ω − g − rot φ|²
};

/// Evaluates the energies by quadrature exact for the quadratic fields.
BracketEnergies bracketEnergies(const Model& m, const QuadraticMesh& q,
                                const std::vector<double>& phi, const std::vector<double>& C,
                                const Contours& c, const std::vector<double>& omega, double ox,
                                double oy);

enum class BoundsStatus {
    Ok,
    NoProject,    ///< "Błąd obliczeń - projekt nie istnieje"
    NoElements,   ///< "Niezdefiniowano podpór,węzłów lub elementów"
    Degenerate,   ///< zero area, an inconsistent model, overlapping elements, a result not finite
    Unheld,       ///< a piece of the mesh that no contour holds
    OutOfMemory,  ///< the systems or their factors do not fit
    Cancelled,    ///< the progress callback said stop
};

struct SectionBounds {
    BoundsStatus status = BoundsStatus::Ok;
    std::string message;       ///< Polish text the user is shown; empty on success
    double J_dolne = 0;        ///< lower bound of J for the meshed polygon
    double J_gorne = 0;        ///< upper bound
    std::vector<double> eta2;  ///< [e − 1] the element's share η_T² of J_gorne − J_dolne
    SectionProperties properties;
    int holes = 0;          ///< hole contours found
    int unknowns = 0;       ///< equations of the two systems together
    int iterations = 0;     ///< conjugate-gradient steps of the two systems together
    bool factored = false;  ///< a system was factored whole, its iteration having stalled
    /// Where the time went; `smoothing` holds the energies and the properties.
    SolverTimes times;
    bool ok() const { return status == BoundsStatus::Ok; }
};

/// Solves both problems on the 6-node triangles over the model's elements and evaluates the
/// bracket and the section properties. Reads the model only; the linear computation and its
/// results are not touched. `postep` hears each stage and may cancel between them.
SectionBounds computeBounds(const Model& m, const Postep& postep = {});
