#pragma once
// The mapping between model coordinates and the pixels of the drawing area: the model is
// fitted into the client area with a 25-pixel margin left and right, 10 at the top and a
// 40-pixel band at the bottom for the colour bar, its Y axis pointing up on the screen. The
// user's zoom and pan lie on top of the fit; at zoom 1 without pan the picture is the fit.

#include "model/model.h"

/// Client areas this small or smaller in either dimension show a message instead of the model.
inline constexpr int kMinClientSide = 150;

/// Scale and origin of the picture on the screen; plain values, copied freely.
struct ViewMapping {
    float ax = 0.0f;     ///< smallest X of the nodes (model units)
    float aa = 0.0f;     ///< smallest Y of the nodes
    float sx = 1.0f;     ///< pixels per model unit along X at the fit
    float sa = 1.0f;     ///< pixels per model unit along Y at the fit
    float asp_r = 1.0f;  ///< aspect ratio sa / sx the fit enforces
    int hmax = 0;        ///< client height in pixels at the last paint
    int wmax = 0;        ///< client width in pixels at the last fit
    int level = 0;       ///< zoom steps taken: zoom = kZoomStep ^ level
    float zoom = 1.0f;   ///< magnification over the fit
    float px = 0.0f;     ///< pan along X, in model units as the fit shows them
    float py = 0.0f;     ///< pan along Y (up), likewise

    /// One wheel notch; the level limits keep the zoom within about 1/20..45, where every
    /// pixel coordinate of a picture up to 8000 pixels wide stays inside pixel()'s bound.
    static constexpr float kZoomStep = 1.25f;
    static constexpr int kMinLevel = -13;
    static constexpr int kMaxLevel = 17;

    /// Fits nodes 1..m.nn (nn >= 1) into a client area of w x h pixels; sets ax, aa, sx, sa,
    /// hmax and wmax and keeps zoom and pan. An axis along which all nodes coincide gets an
    /// extent of 1e-6 model units.
    void fit(const Model& m, float w, float h);

    /// Window pixel position (as a float, before truncation) of a model point.
    float toWindowX(float x) const { return 25.0f + ((x - ax) * zoom + px) * sx; }
    float toWindowY(float y) const {
        return static_cast<float>(hmax) - 40.0f - ((y - aa) * zoom + py) * sa;
    }

    /// Model point that the model-to-window mapping draws at pixel (X, Y).
    float toModelX(float X) const { return ax + ((X - 25.0f) / sx - px) / zoom; }
    float toModelY(float Y) const {
        return aa + ((static_cast<float>(hmax) - Y - 40.0f) / sa - py) / zoom;
    }

    /// Pixels per model unit as drawn.
    float scaleX() const { return sx * zoom; }
    float scaleY() const { return sa * zoom; }

    /// Zooms by `steps` notches (in for positive, within the limits) keeping the model point
    /// under pixel (X, Y) where it is.
    void zoomAt(float X, float Y, int steps);
    /// Moves the picture by (dX, dY) pixels; the model stays within reach of the window.
    void pan(float dX, float dY);
    /// Back to the fit: zoom 1, no pan.
    void reset() {
        level = 0;
        zoom = 1.0f;
        px = py = 0.0f;
    }
    bool fitted() const { return level == 0 && px == 0.0f && py == 0.0f; }
};

/// A pixel coordinate: truncated toward zero. Values that are not finite or lie far outside
/// any window are pinned to a bound, so drawing never converts an out-of-range float.
int pixel(float v);
