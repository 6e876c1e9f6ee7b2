#pragma once
// The picture of the drawing area: background, the stress layer, then the mesh, its labels
// and symbols, all drawn from the model on every call. Holds no widget state, so the window
// and the tests draw with the very same routine onto any QPainter.

#include <QFont>
#include <QSize>

#include "model/model.h"
#include "stress_layer.h"
#include "view_mapping.h"

class QPainter;

/// The display switches and settings painting reads; each switch is 1 for on.
struct ViewOptions {
    int p_napr = 0;     ///< stress colour map and colour bar (needs results)
    int p_siatka = 1;   ///< element edges
    int p_wez = 1;      ///< node marks
    int p_n_wezl = 1;   ///< node numbers
    int p_n_ele = 0;    ///< element numbers
    int p_n_pola = 0;   ///< warped element outlines and their legend (needs results)
    int p_podp = 0;     ///< supports: the model holds none, so nothing is drawn
    int p_sily = 0;     ///< load arrows
    int p_sily_nr = 0;  ///< numbers of the load arrows, with p_sily only
    int p_rn = 3;       ///< stress shown: 1 tau xz, 2 tau yz, 3 tau, 4 none
    int iizol = 200;    ///< number of stress levels, clamped into 1..200 when painting
    const StressPalette* knapr = nullptr;  ///< colours of the stress map; null: stepped
};

/// The label font: Arial with a 12-pixel character cell, normal weight, drawn without
/// antialiasing so every glyph pixel has the text colour.
QFont labelFont();

/// Text shown instead of the model in a client area of 150 pixels or less in either dimension.
extern const char* const kZbytMaleOkno;

/// Draws the whole picture for a client area of size `client` with its top-left corner at the
/// painter's origin. Without a project nothing is drawn. With a project `mapping.hmax` becomes
/// the client height, and when the model is fitted (nodes present, client area larger than
/// 150 x 150) ax, aa, sx and sa are rewritten; otherwise they keep their values. Element edges,
/// node marks and numbers that are switched on are drawn only while the mesh's spacing on the
/// screen leaves them legible (detail_level.h); the boundary is always drawn.
void paintModel(QPainter& p, QSize client, const Model& m, const ViewOptions& o,
                ViewMapping& mapping);
