#include "solver/summary.h"

#include <charconv>

namespace {

/// "%.6g" without the locale: '.' whatever the process locale says.
std::string g6(double v) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6);
    return std::string(buffer, r.ec == std::errc{} ? r.ptr : buffer);
}

std::string failure(const Model& m, const ComputeOutcome& r) {
    if (r.status == ComputeStatus::NoProject) return "brak projektu";
    if (r.status == ComputeStatus::NoElements) return "za mało węzłów lub brak elementów";
    switch (m.blad) {
        case BLAD_ZDEGENEROWANY:
            if (const int e = zeroAreaElement(m); e != 0)
                return "element " + std::to_string(e) + " ma zerowe pole";
            return "wynik nie jest liczbą skończoną";
        case BLAD_PIVOT:
            return "część siatki nie jest związana z żadnym konturem";
        case BLAD_PAMIEC:
            return "brak pamięci";
        case BLAD_GJ:
            return "G·J = 0";
        default:
            return "błąd obliczeń";
    }
}

}  // namespace

NodalPeak largestNodalStress(const Model& m) {
    NodalPeak p;
    if (m.Pusty != 0 || m.obliczono != 1 || m.ww.rows() < m.nn) return p;
    for (int i = 1; i <= m.nn; ++i)
        if (p.node == 0 || m.ww[i][3] > p.tau) p = {i, m.ww[i][3]};
    return p;
}

int zeroAreaElement(const Model& m) {
    if (!modelConsistent(m) || m.x.rows() < m.nn) return 0;
    for (int e = 1; e <= m.ne; ++e) {
        const float* a = m.x[m.noc[e][1]];
        const float* b = m.x[m.noc[e][2]];
        const float* c = m.x[m.noc[e][3]];
        const double area =
            (static_cast<double>(b[1]) - a[1]) * (static_cast<double>(c[2]) - a[2]) -
            (static_cast<double>(c[1]) - a[1]) * (static_cast<double>(b[2]) - a[2]);
        if (area == 0.0) return e;
    }
    return 0;
}

std::string statusLine(const Model& m, const ComputeOutcome* last) {
    std::string s;
    if (m.Pusty != 0) {
        s = "Brak projektu";
    } else if (last != nullptr && last->ok() && m.obliczono == 1) {
        const NodalPeak p = largestNodalStress(m);
        s = "J = " + g6(last->J) + "   θ = " + g6(m.katob) + "   τmax = " + g6(p.tau) + " (węzeł " +
            std::to_string(p.node) + ")   otwory: " + std::to_string(last->holes);
    } else if (last != nullptr && !last->ok()) {
        s = "Obliczenia nieudane: " + failure(m, *last);
    } else {
        s = "Brak aktualnych wyników";
    }
    return s + "   |   G = " + g6(m.G) + "   MS = " + g6(m.MS);
}
