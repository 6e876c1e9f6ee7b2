#pragma once
// The mapping between model coordinates and the pixels of the drawing area: the model is
// fitted into the client area with a 25-pixel margin left and right, 10 at the top and a
// 40-pixel band at the bottom for the colour bar, its Y axis pointing up on the screen.

#include "model/model.h"

/// Client areas this small or smaller in either dimension show a message instead of the model.
inline constexpr int kMinClientSide = 150;

/// Scale and origin of the picture on the screen; plain values, copied freely.
struct ViewMapping {
    float ax = 0.0f;     ///< smallest X of the nodes (model units)
    float aa = 0.0f;     ///< smallest Y of the nodes
    float sx = 1.0f;     ///< pixels per model unit along X
    float sa = 1.0f;     ///< pixels per model unit along Y
    float asp_r = 1.0f;  ///< aspect ratio sa / sx the fit enforces
    int hmax = 0;        ///< client height in pixels at the last paint

    /// Fits nodes 1..m.nn (nn >= 1) into a client area of w x h pixels; sets ax, aa, sx, sa and
    /// hmax. An axis along which all nodes coincide gets an extent of 1e-6 model units.
    void fit(const Model& m, float w, float h);

    /// Window pixel position (as a float, before truncation) of a model point.
    float toWindowX(float x) const { return 25.0f + (x - ax) * sx; }
    float toWindowY(float y) const { return static_cast<float>(hmax) - 40.0f - (y - aa) * sa; }

    /// Model point that the model-to-window mapping draws at pixel (X, Y).
    float toModelX(float X) const { return ax + (X - 25.0f) / sx; }
    float toModelY(float Y) const { return aa + (static_cast<float>(hmax) - Y - 40.0f) / sa; }
};

/// A pixel coordinate: truncated toward zero. Values that are not finite or lie far outside
/// any window are pinned to a bound, so drawing never converts an out-of-range float.
int pixel(float v);
