#include "view_mapping.h"

#include <algorithm>
#include <cmath>

void ViewMapping::fit(const Model& m, float w, float h) {
    hmax = static_cast<int>(h);
    wmax = static_cast<int>(w);
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

namespace {

/// Pan limit along one axis: the fitted picture may leave the window by its own zoomed size
/// and one window more, so pixel coordinates stay within a few window sizes times the zoom.
float panLimit(float zoom, int side, float scale) {
    return (zoom + 1.0f) * static_cast<float>(std::max(side, 1)) / scale;
}

float clampFinite(float v, float limit) {
    if (!std::isfinite(v)) return 0.0f;
    return std::clamp(v, -limit, limit);
}

}  // namespace

void ViewMapping::zoomAt(float X, float Y, int steps) {
    const int l = std::clamp(level + std::clamp(steps, -100, 100), kMinLevel, kMaxLevel);
    const float z = std::pow(kZoomStep, static_cast<float>(l));
    const float f = z / zoom;
    level = l;
    // The pixel's position in fitted units stays put: u = (x - ax) * zoom + px before and after.
    const float u = (X - 25.0f) / sx, v = (static_cast<float>(hmax) - Y - 40.0f) / sa;
    zoom = z;
    px = clampFinite(u - f * (u - px), panLimit(zoom, wmax, sx));
    py = clampFinite(v - f * (v - py), panLimit(zoom, hmax, sa));
}

void ViewMapping::pan(float dX, float dY) {
    px = clampFinite(px + dX / sx, panLimit(zoom, wmax, sx));
    py = clampFinite(py - dY / sa, panLimit(zoom, hmax, sa));
}

int pixel(float v) {
    constexpr float kBound = 1.0e6f;
    if (std::isnan(v)) return 0;
    if (v > kBound) return static_cast<int>(kBound);
    if (v < -kBound) return -static_cast<int>(kBound);
    return static_cast<int>(v);
}
