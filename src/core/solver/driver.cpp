#include "solver/driver.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "solver/assembly.h"
#include "solver/smoothing.h"
#include "solver/sparse_matrix.h"
#include "solver/stress_function.h"

namespace {

constexpr const char* kNoProject = "Błąd obliczeń - projekt nie istnieje";
constexpr const char* kNoElements = "Niezdefiniowano podpór,węzłów lub elementów";
constexpr const char* kFailed = "Błąd podczas obliczeń";

constexpr const char* kSmoothingStage = "Wygładzanie naprężeń";

ComputeOutcome failed(ComputeOutcome out, int code) {
    out.status = ComputeStatus::Failed;
    out.message = kFailed;
    out.blad = code;
    return out;
}

ComputeOutcome cancelled() {
    return {.status = ComputeStatus::Cancelled};
}

bool finite(float v) {
    return std::isfinite(v);
}

// The computation past the checks; throws std::bad_alloc when memory runs out.
ComputeOutcome compute(const Model& m, ComputeResults& res, const ComputeOptions& o) {
    ComputeOutcome out;
    const auto going = [&o](const char* stage, double part) {
        return !o.postep || o.postep(stage, part);
    };
    Stopwatch pattern;
    SymmetricMatrix s = nodePattern(m);
    pattern.lap(out.times.assembly);
    const StressFunction sf = solveStressFunction(m, s, true, 0, &out.times, o.postep, o.method);
    out.factor_entries = sf.factor_entries;
    out.factor_bytes = sf.factor_bytes;
    out.method = sf.method;
    out.iterations = sf.iterations;
    out.fallback = sf.fallback;
    if (sf.cancelled) return cancelled();
    if (sf.blad != 0) return failed(out, sf.blad);
    if (!going(kSmoothingStage, 0)) return cancelled();
    Stopwatch clock;
    const double gj = static_cast<double>(m.G) * sf.J;
    if (gj == 0.0) return failed(out, BLAD_GJ);
    const double theta = m.MS / gj;
    const float katob = static_cast<float>(theta);
    if (!std::isfinite(theta) || !finite(katob)) return failed(out, BLAD_ZDEGENEROWANY);

    if (!res.napr.try_allocate(m.ne, 3) || !res.ww.try_allocate(m.nn, 3) ||
        !res.f.try_allocate(m.nn))
        throw std::bad_alloc();
    const double scale = m.G * theta;
    for (int e = 1; e <= m.ne; ++e) {
        const ElementGeometry g = elementGeometry(m, e);
        double dx = 0, dy = 0;
        for (int l = 0; l < 3; ++l) {
            const double p = sf.phi[m.noc[e][l + 1]];
            dx += g.b[0][l] * p;
            dy += g.b[1][l] * p;
        }
        res.napr[e][1] = static_cast<float>(-dx * scale);
        res.napr[e][2] = static_cast<float>(dy * scale);
        if (!finite(res.napr[e][1]) || !finite(res.napr[e][2]))
            return failed(out, BLAD_ZDEGENEROWANY);
    }
    if (!going(kSmoothingStage, 0.1)) return cancelled();
    if (const int code = smoothStresses(m, s, res.napr, res.ww); code != 0)
        return failed(out, code);
    if (!going(kSmoothingStage, 0.9)) return cancelled();

    for (int i = 1; i <= m.nn; ++i) {
        res.f[i] = static_cast<float>(sf.phi[i]);
        if (!finite(res.f[i]) || !finite(res.ww[i][1]) || !finite(res.ww[i][2]) ||
            !finite(res.ww[i][3]))
            return failed(out, BLAD_ZDEGENEROWANY);
    }
    for (int e = 1; e <= m.ne; ++e)
        if (!finite(res.napr[e][3])) return failed(out, BLAD_ZDEGENEROWANY);
    clock.lap(out.times.smoothing);
    res.katob = katob;
    out.J = sf.J;
    out.holes = sf.holes();
    return out;
}

}  // namespace

ComputeOutcome computeResults(const Model& m, ComputeResults& r, const ComputeOptions& o) {
    r = ComputeResults{};
    if (m.Pusty == 1) return {ComputeStatus::NoProject, kNoProject};
    if (m.ne <= 0 || m.nn <= 2) return {ComputeStatus::NoElements, kNoElements};
    if (!modelConsistent(m)) return failed({}, BLAD_ZDEGENEROWANY);
    for (int e = 1; e <= m.ne; ++e) {
        const double detj = elementGeometry(m, e).detj;
        if (detj == 0.0 || !std::isfinite(detj)) return failed({}, BLAD_ZDEGENEROWANY);
    }
    r.nbw = halfBand(m);
    ComputeOutcome out;
    try {
        out = compute(m, r, o);
    } catch (const std::bad_alloc&) {
        out = failed({}, BLAD_PAMIEC);
    }
    if (!out.ok()) {
        const int nbw = r.nbw;
        r = ComputeResults{};
        r.nbw = out.status == ComputeStatus::Cancelled ? 0 : nbw;
    }
    return out;
}

void applyResults(Model& m, const ComputeOutcome& out, ComputeResults& r) {
    if (out.status == ComputeStatus::Cancelled) return;
    m.nbw = std::max(m.nbw, r.nbw);
    m.blad = out.blad;
    if (!out.ok()) {
        m.obliczono = 0;
        return;
    }
    m.f = std::move(r.f);
    m.napr = std::move(r.napr);
    m.ww = std::move(r.ww);
    m.katob = r.katob;
    m.obliczono = 1;
}

ComputeOutcome Obliczenia(Model& m, const ComputeOptions& o) {
    ComputeResults r;
    const ComputeOutcome out = computeResults(m, r, o);
    applyResults(m, out, r);
    return out;
}
