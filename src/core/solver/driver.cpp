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

ComputeOutcome failed(Model& m, int code) {
    m.blad = code;
    m.obliczono = 0;
    return {ComputeStatus::Failed, kFailed};
}

bool finite(float v) {
    return std::isfinite(v);
}

// The computation past the checks; throws std::bad_alloc when memory runs out.
ComputeOutcome compute(Model& m) {
    ComputeOutcome out;
    Stopwatch pattern;
    SymmetricMatrix s = nodePattern(m);
    pattern.lap(out.times.assembly);
    const StressFunction sf = solveStressFunction(m, s, true, 0, &out.times);
    out.factor_entries = sf.factor_entries;
    out.factor_bytes = sf.factor_bytes;
    if (sf.blad != 0) return failed(m, sf.blad);
    Stopwatch clock;
    const double gj = static_cast<double>(m.G) * sf.J;
    if (gj == 0.0) return failed(m, BLAD_GJ);
    const double theta = m.MS / gj;
    const float katob = static_cast<float>(theta);
    if (!std::isfinite(theta) || !finite(katob)) return failed(m, BLAD_ZDEGENEROWANY);

    const double scale = m.G * theta;
    for (int e = 1; e <= m.ne; ++e) {
        const ElementGeometry g = elementGeometry(m, e);
        double dx = 0, dy = 0;
        for (int l = 0; l < 3; ++l) {
            const double p = sf.phi[m.noc[e][l + 1]];
            dx += g.b[0][l] * p;
            dy += g.b[1][l] * p;
        }
        m.napr[e][1] = static_cast<float>(-dx * scale);
        m.napr[e][2] = static_cast<float>(dy * scale);
        if (!finite(m.napr[e][1]) || !finite(m.napr[e][2])) return failed(m, BLAD_ZDEGENEROWANY);
    }
    if (const int code = smoothStresses(m, s); code != 0) return failed(m, code);

    for (int i = 1; i <= m.nn; ++i) {
        m.f[i] = static_cast<float>(sf.phi[i]);
        if (!finite(m.f[i]) || !finite(m.ww[i][1]) || !finite(m.ww[i][2]) || !finite(m.ww[i][3]))
            return failed(m, BLAD_ZDEGENEROWANY);
    }
    for (int e = 1; e <= m.ne; ++e)
        if (!finite(m.napr[e][3])) return failed(m, BLAD_ZDEGENEROWANY);
    clock.lap(out.times.smoothing);
    m.katob = katob;
    m.obliczono = 1;
    out.J = sf.J;
    out.holes = sf.holes();
    return out;
}

}  // namespace

ComputeOutcome Obliczenia(Model& m) {
    m.obliczono = 0;
    m.blad = BLAD_BRAK;
    if (m.Pusty == 1) return {ComputeStatus::NoProject, kNoProject};
    if (m.ne <= 0 || m.nn <= 2) return {ComputeStatus::NoElements, kNoElements};
    if (!modelConsistent(m)) return failed(m, BLAD_ZDEGENEROWANY);
    for (int e = 1; e <= m.ne; ++e) {
        const double detj = elementGeometry(m, e).detj;
        if (detj == 0.0 || !std::isfinite(detj)) return failed(m, BLAD_ZDEGENEROWANY);
    }
    m.nbw = std::max(m.nbw, halfBand(m));
    try {
        return compute(m);
    } catch (const std::bad_alloc&) {
        return failed(m, BLAD_PAMIEC);
    }
}
