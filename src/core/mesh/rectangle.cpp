#include "mesh/rectangle.h"

#include <climits>
#include <cstdint>

#include "edit/nodes.h"
#include "edit/resize.h"

namespace {

constexpr const char* kTooLarge = "Brak pamięci na siatkę o takiej liczbie elementów";

}  // namespace

EditOutcome appendRectangle(Model& m, const RectanglePatch& p) {
    const int nn0 = m.nn;
    const int ne0 = m.ne;
    const std::int64_t ix = p.ix, iy = p.iy;
    if (ix <= 0 || iy <= 0 || !modelConsistent(m)) return {EditStatus::Refused, ""};
    if (ix * iy > INT_MAX) return {EditStatus::TooLarge, kTooLarge};
    const std::int64_t corners = (ix + 1) * (iy + 1);
    const std::int64_t lw = corners + (p.p4 ? ix * iy : 0);
    const std::int64_t le = (p.p4 ? 4 : 2) * ix * iy;
    if (nn0 + lw > INT_MAX || ne0 + le > INT_MAX) return {EditStatus::TooLarge, kTooLarge};
    // Cell sizes are rounded to single precision; positions are summed in double. Positions
    // grow monotonically along a row or column, so when the first and the last fit a float
    // every node does; infinite coordinates would make a model that can be neither computed
    // nor saved.
    const float dkx = static_cast<float>(p.dx / p.ix);
    const float dky = static_cast<float>(p.dy / p.iy);
    const auto fits = fitsFloat;
    if (!fits(p.px) || !fits(p.py) || !fits(dkx) || !fits(dky) ||
        !fits(p.px + static_cast<double>(ix) * dkx) || !fits(p.py + static_cast<double>(iy) * dky))
        return {EditStatus::Refused, ""};

    if (EditOutcome grown = growModel(m, static_cast<long>(lw), static_cast<long>(le));
        !grown.ok()) {
        if (grown.status == EditStatus::TooLarge) grown.message = kTooLarge;
        return grown;
    }

    const long px1 = p.ix + 1;
    for (long j = 1; j <= iy + 1; ++j)
        for (long i = 1; i <= px1; ++i) {
            const long n = nn0 + (j - 1) * px1 + i;
            m.x[n][1] = static_cast<float>(p.px + static_cast<double>(i - 1) * dkx);
            m.x[n][2] = static_cast<float>(p.py + static_cast<double>(j - 1) * dky);
        }
    const long psro = nn0 + corners + 1;
    if (p.p4)
        for (long j = 1; j <= iy; ++j)
            for (long i = 1; i <= ix; ++i) {
                const long n = psro + (j - 1) * ix + (i - 1);
                m.x[n][1] = static_cast<float>(p.px + static_cast<double>(i - 1) * dkx + 0.5 * dkx);
                m.x[n][2] = static_cast<float>(p.py + static_cast<double>(j - 1) * dky + 0.5 * dky);
            }

    long e = ne0;
    auto add = [&](long a, long b, long c) {
        ++e;
        m.noc[e][1] = static_cast<int>(a);
        m.noc[e][2] = static_cast<int>(b);
        m.noc[e][3] = static_cast<int>(c);
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

    return {};
}
