#include "view_mapping.h"

#include <cmath>

void ViewMapping::fit(const Model& m, float w, float h) {
    hmax = static_cast<int>(h);
    float mx = m.x[1][1], my = m.x[1][2];
    ax = mx;
    aa = my;
    for (int i = 2; i <= m.nn; ++i) {
        const float xi = m.x[i][1], yi = m.x[i][2];
        if (xi < ax) ax = xi;
        if (xi > mx) mx = xi;
        if (yi < aa) aa = yi;
        if (yi > my) my = yi;
    }
    // The extent itself is set, not mx = ax + 1e-6: far from 0 that sum rounds back to ax and
    // the scale would come out infinite.
    float dx = mx - ax, dy = my - aa;
    if (dx == 0.0f) dx = 1e-6f;
    if (dy == 0.0f) dy = 1e-6f;
    sx = (w - 50.0f) / dx;
    sa = (h - 50.0f) / dy;
    if (sx * asp_r >= sa)
        sx = sa / asp_r;
    else
        sa = sx * asp_r;
}

int pixel(float v) {
    constexpr float kBound = 1.0e6f;
    if (std::isnan(v)) return 0;
    if (v > kBound) return static_cast<int>(kBound);
    if (v < -kBound) return -static_cast<int>(kBound);
    return static_cast<int>(v);
}
