#include "solver/stress_function.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <system_error>

#include "solver/amg.h"
#include "solver/assembly.h"
#include "solver/boundary.h"
#include "solver/cholesky.h"
#include "solver/dense_solve.h"

namespace {

constexpr const char* kAssemblyStage = "Składanie układu";
constexpr const char* kFactorStage = "Rozkład macierzy";
constexpr const char* kSolveStage = "Rozwiązywanie";

// Relative residuals of the conjugate-gradient solves. J is quadratic in the error and the
// stresses linear: without holes 1e-8 gives J to about 1e-12 and the stresses well within
// 1e-6 of the largest. The holes' constants are linear functionals of their columns, which
// need 1e-10 for J to 1e-10.
constexpr double kAmgTolerance = 1e-8;
constexpr double kAmgHoleTolerance = 1e-10;

void fail(StressFunction& r, FactorStatus f) {
    r.blad = f == FactorStatus::NotPositiveDefinite ? BLAD_PIVOT : BLAD_PAMIEC;
}

}  // namespace

std::vector<double> contourFlux(const Model& m, const Contours& c, const std::vector<double>& phi,
                                bool with_load) {
    std::vector<double> flux(c.holes(), 0.0);
    for (int e = 1; e <= m.ne; ++e) {
        const int* v = m.noc[e];
        if (c.hole[v[1]] < 0 && c.hole[v[2]] < 0 && c.hole[v[3]] < 0) continue;
        const ElementGeometry g = elementGeometry(m, e);
        double k[3][3];
        elementStiffness(g, k);
        for (int l = 0; l < 3; ++l) {
            const int h = c.hole[v[l + 1]];
            if (h < 0) continue;
            double r = with_load ? -2 * g.area / 3 : 0.0;
            for (int j = 0; j < 3; ++j)
                r += k[l][j] * phi[v[j + 1]];
            flux[h] += r;
        }
    }
    return flux;
}

StressFunction solveStressFunction(const Model& m, SymmetricMatrix& s, bool holes,
                                   std::size_t memory_limit, SolverTimes* times,
                                   const Postep& postep, SolverMethod method) {
    SolverTimes local;
    SolverTimes& t = times ? *times : local;
    Stopwatch clock;
    StressFunction r;
    const int nn = m.nn;
    const auto going = [&postep, &r](const char* stage, double part) {
        if (postep && !postep(stage, part)) r.cancelled = true;
        return !r.cancelled;
    };
    if (!going(kAssemblyStage, -1)) return r;

    // The ordering needs only the pattern: when the factor will surely solve, it runs on a
    // second thread while the values are assembled, or after them when no thread can be had.
    // More holes only favour the factor, so the size alone may decide before the contours.
    SparseCholesky chol(memory_limit);
    double ordering_time = 0;
    const auto analyze = [&chol, &s, &ordering_time] {
        Stopwatch own;
        const FactorStatus status = chol.analyze(s);
        own.lap(ordering_time);
        return status;
    };
    // Contours need no values either: found first when the holes decide the method.
    const auto contours = [&] {
        r.contours = findContours(m, boundaryEdges(m));
        if (!holes) r.contours.area.clear();
    };
    const bool early =
        method == SolverMethod::Automatic && chooseMethod(nn, 0) == SolverMethod::Amg;
    if (early) {
        contours();
        method = chooseMethod(nn, r.contours.holes());
    }
    std::future<FactorStatus> analyzed;
    if (method == SolverMethod::Cholesky ||
        (method == SolverMethod::Automatic && chooseMethod(nn, 0) == SolverMethod::Cholesky)) {
        try {
            analyzed = std::async(std::launch::async, analyze);
        } catch (const std::system_error&) {
            analyzed = std::async(std::launch::deferred, analyze);
        }
    }

    std::vector<double> load(nn + 1, 0.0);
    assembleStiffness(m, s, load);
    // The penalty scales with the stiffness of node 1.
    r.cnst = s.diagonal(0) * 100000.0;
    if (!early) contours();
    const Contours& c = r.contours;
    for (int i = 1; i <= nn; ++i)
        if (c.hole[i] != kOffContour) s.diagonal(i - 1) += r.cnst;
    clock.lap(t.assembly);
    const int nh = holes ? c.holes() : 0;
    if (method == SolverMethod::Automatic) method = chooseMethod(nn, nh);
    FactorStatus f = FactorStatus::Ok;
    if (analyzed.valid()) {
        // The ordering's thread reads s: it ends before any return.
        f = analyzed.get();
        t.ordering += ordering_time;
        clock.restart();  // the wait lies inside the ordering's own time
    }
    // In exact arithmetic an unheld piece is singular; round-off may hide it from the factor.
    if (c.unheld) {
        r.blad = BLAD_PIVOT;
        return r;
    }

    // Column -1 is the load, column k ≥ 0 the penalty pulling hole contour k to 1; φ = φ₀ +
    // Σ C_k·ψ_k with conditions linear in C. Columns are solved `chunk` at a time by
    // solveBlock (in place; false stops); the final φ is one more solve with every pull at
    // once. False when stopped or failed (r says which).
    const auto column = [&](int k, double* b) {
        for (int i = 1; i <= nn; ++i)
            b[i - 1] = k < 0 ? load[i] : (c.hole[i] == k ? r.cnst : 0.0);
    };
    const auto superpose = [&](int chunk, const auto& solveBlock) {
        std::vector<std::vector<double>> a(nh, std::vector<double>(nh));
        std::vector<double> flux0, x(nn + 1, 0.0);
        std::vector<double> block;
        for (int first = -1; first < nh; first += chunk) {
            if (!going(kSolveStage, double(first + 1) / (nh + 1))) return false;
            const int cols = std::min(chunk, nh - first);
            block.assign(static_cast<std::size_t>(nn) * cols, 0.0);
            for (int q = 0; q < cols; ++q)
                column(first + q, block.data() + static_cast<std::size_t>(q) * nn);
            if (!solveBlock(block.data(), cols)) return false;
            for (int q = 0; q < cols; ++q) {
                const int k = first + q;
                std::copy_n(block.data() + static_cast<std::size_t>(q) * nn, nn, x.begin() + 1);
                if (k < 0) {
                    r.phi = x;
                    if (nh > 0) flux0 = contourFlux(m, c, x);
                    continue;
                }
                const std::vector<double> fk = contourFlux(m, c, x, false);
                for (int j = 0; j < nh; ++j)
                    a[j][k] = fk[j];
            }
        }
        if (nh > 0) {
            r.C.resize(nh);
            for (int j = 0; j < nh; ++j)
                r.C[j] = 2 * c.area[j] - flux0[j];
            if (!denseSolve(std::move(a), r.C)) {
                r.blad = BLAD_ZDEGENEROWANY;
                return false;
            }
            column(-1, block.data());
            for (int i = 1; i <= nn; ++i)
                if (c.hole[i] >= 0) block[i - 1] += r.cnst * r.C[c.hole[i]];
            if (!solveBlock(block.data(), 1)) return false;
            std::copy_n(block.data(), nn, r.phi.begin() + 1);
        }
        return true;
    };

    bool solved = false;
    if (method == SolverMethod::Amg) {
        r.method = SolverMethod::Amg;
        if (!going(kFactorStage, -1)) return r;
        AmgSolver amg;
        const bool ready = amg.setup(s);
        clock.lap(t.factorisation);
        const int limit = amgIterationLimit();
        const double tol = nh > 0 ? kAmgHoleTolerance : kAmgTolerance;
        // The penalty's pull would dominate ‖b‖ and so the tolerance: the iteration starts
        // instead from g, the contours at the values the pull asks, and solves A·w = b − A·g.
        std::vector<double> g(nn), w(nn), ag(nn);
        const auto pcg = [&](double* b, int cols) {
            for (int q = 0; q < cols; ++q) {
                double* bq = b + static_cast<std::size_t>(q) * nn;
                for (int i = 0; i < nn; ++i)
                    g[i] = c.hole[i + 1] != kOffContour ? bq[i] / r.cnst : 0.0;
                s.multiply(g.data(), ag.data());
                for (int i = 0; i < nn; ++i)
                    ag[i] = bq[i] - ag[i];
                const AmgResult one = amg.solve(ag.data(), w.data(), tol, limit);
                r.iterations += one.iterations;
                if (!one.converged) return false;
                for (int i = 0; i < nn; ++i)
                    bq[i] = g[i] + w[i];
            }
            return true;
        };
        if (ready) solved = superpose(1, pcg);
        clock.lap(t.solves);
        if (r.cancelled) return r;
        if (!solved) {
            // Never a wrong result: the factor solves from the start, also when the hole
            // constants of the iterated columns could not be found.
            r.method = SolverMethod::Cholesky;
            r.fallback = true;
            r.blad = 0;
            r.C.clear();
        }
    }
    if (!solved) {
        if (!analyzed.valid()) {
            Stopwatch own;
            f = chol.analyze(s);
            own.lap(t.ordering);
            clock.restart();
        }
        r.factor_entries = chol.factorEntries();
        r.factor_bytes = chol.factorBytes();
        if (f != FactorStatus::Ok) {
            fail(r, f);
            return r;
        }
        if (!going(kFactorStage, -1)) return r;
        f = chol.factor(s);
        clock.lap(t.factorisation);
        if (f != FactorStatus::Ok) {
            fail(r, f);
            return r;
        }
        const int chunk = static_cast<int>(std::clamp<long>((1L << 22) / nn, 1, 16));
        const auto factorSolve = [&](double* b, int cols) {
            if ((f = chol.solve(b, cols)) == FactorStatus::Ok) return true;
            fail(r, f);
            return false;
        };
        if (!superpose(chunk, factorSolve)) return r;
        clock.lap(t.solves);
    }

    double j = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const double detj = elementGeometry(m, e).detj;
        j += std::fabs(detj) * (r.phi[m.noc[e][1]] + r.phi[m.noc[e][2]] + r.phi[m.noc[e][3]]) / 3;
    }
    for (int k = 0; k < nh; ++k)
        j += 2 * r.C[k] * c.area[k];
    r.J = j;
    if (!std::isfinite(r.J)) r.blad = BLAD_ZDEGENEROWANY;
    return r;
}
