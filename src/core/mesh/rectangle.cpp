#include "mesh/rectangle.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include <unistd.h>

namespace {

constexpr const char* kTooLarge = "Brak pamięci na siatkę o takiej liczbie elementów";

// New arrays of the grown model; committed to the model only when all are allocated.
struct Grown {
    Macierz<float> x, napr, ww;
    Macierz<int> noc;
    Wektor<float> si, f;
};

double physicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 1e18;
    return static_cast<double>(pages) * static_cast<double>(size);
}

}  // namespace

PatchOutcome appendRectangle(Model& m, const RectanglePatch& p) {
    const int nn0 = m.nn;
    const int ne0 = m.ne;
    const std::int64_t ix = p.ix, iy = p.iy;
    if (ix <= 0 || iy <= 0 || m.Pusty != 0 || !modelConsistent(m))
        return {PatchStatus::Rejected, ""};
    if (ix * iy > INT_MAX) return {PatchStatus::TooLarge, kTooLarge};
    const std::int64_t corners = (ix + 1) * (iy + 1);
    const std::int64_t lw = corners + (p.p4 ? ix * iy : 0);
    const std::int64_t le = (p.p4 ? 4 : 2) * ix * iy;
    if (nn0 + lw > INT_MAX || ne0 + le > INT_MAX) return {PatchStatus::TooLarge, kTooLarge};
    const long nnNew = static_cast<long>(nn0 + lw);
    const long neNew = static_cast<long>(ne0 + le);
    // Memory is overcommitted on Linux, so a failed allocation is not a reliable limit:
    // refuse a model whose arrays alone would take more than half of the physical memory.
    const double bytes =
        4.0 * (7.0 * static_cast<double>(nnNew) + 6.0 * static_cast<double>(neNew));
    if (bytes > 0.5 * physicalMemory()) return {PatchStatus::TooLarge, kTooLarge};

    // Cell sizes are rounded to single precision; positions are summed in double. Positions
    // grow monotonically along a row or column, so when the first and the last fit a float
    // every node does; infinite coordinates would make a model that can be neither computed
    // nor saved.
    const float dkx = static_cast<float>(p.dx / p.ix);
    const float dky = static_cast<float>(p.dy / p.iy);
    auto fits = [](double v) { return std::isfinite(static_cast<float>(v)); };
    if (!fits(p.px) || !fits(p.py) || !fits(dkx) || !fits(dky) ||
        !fits(p.px + static_cast<double>(ix) * dkx) || !fits(p.py + static_cast<double>(iy) * dky))
        return {PatchStatus::Rejected, ""};

    Grown g;
    if (!g.x.try_allocate(nnNew, 2) || !g.si.try_allocate(nnNew) || !g.f.try_allocate(nnNew) ||
        !g.ww.try_allocate(nnNew, 3) || !g.noc.try_allocate(neNew, 3) ||
        !g.napr.try_allocate(neNew, 3))
        return {PatchStatus::TooLarge, kTooLarge};

    for (int i = 1; i <= nn0; ++i) {
        g.x[i][1] = m.x[i][1];
        g.x[i][2] = m.x[i][2];
        g.si[i] = m.si[i];
    }
    for (int e = 1; e <= ne0; ++e)
        for (int k = 1; k <= 3; ++k)
            g.noc[e][k] = m.noc[e][k];
    for (long i = nn0 + 1; i <= nnNew; ++i)
        g.si[i] = 0.0f;

    const long px1 = p.ix + 1;
    for (long j = 1; j <= iy + 1; ++j)
        for (long i = 1; i <= px1; ++i) {
            const long n = nn0 + (j - 1) * px1 + i;
            g.x[n][1] = static_cast<float>(p.px + static_cast<double>(i - 1) * dkx);
            g.x[n][2] = static_cast<float>(p.py + static_cast<double>(j - 1) * dky);
        }
    const long psro = nn0 + corners + 1;
    if (p.p4)
        for (long j = 1; j <= iy; ++j)
            for (long i = 1; i <= ix; ++i) {
                const long n = psro + (j - 1) * ix + (i - 1);
                g.x[n][1] = static_cast<float>(p.px + static_cast<double>(i - 1) * dkx + 0.5 * dkx);
                g.x[n][2] = static_cast<float>(p.py + static_cast<double>(j - 1) * dky + 0.5 * dky);
            }

    long e = ne0;
    auto add = [&](long a, long b, long c) {
        ++e;
        g.noc[e][1] = static_cast<int>(a);
        g.noc[e][2] = static_cast<int>(b);
        g.noc[e][3] = static_cast<int>(c);
    };
    for (long i = 1; i <= ix; ++i)
        for (long j = 1; j <= iy; ++j) {
            const long ll = nn0 + i + (j - 1) * px1;
            const long lr = ll + 1;
            const long ul = ll + px1;
            const long ur = ul + 1;
            if (!p.p4) {
                add(ll, lr, ur);
                add(ll, ul, ur);
            } else {
                const long mid = psro + (j - 1) * ix + (i - 1);
                add(ll, lr, mid);
                add(mid, ul, ur);
                add(ll, ul, mid);
                add(lr, ur, mid);
            }
        }

    m.x = std::move(g.x);
    m.si = std::move(g.si);
    m.f = std::move(g.f);
    m.ww = std::move(g.ww);
    m.noc = std::move(g.noc);
    m.napr = std::move(g.napr);
    m.nn = m.nq = static_cast<int>(nnNew);
    m.ne = static_cast<int>(neNew);
    m.obliczono = 0;
    m.Pusty = 0;
    return {};
}
