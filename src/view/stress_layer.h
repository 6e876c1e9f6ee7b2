#pragma once
// Layer 2 of the picture: the stress colour map, its level bands and the colour bar, drawn
// over the white background and under every mesh layer.

#include <QColor>
#include <QSize>
#include <array>

#include "model/model.h"
#include "view_mapping.h"

class QPainter;
struct ViewOptions;

/// 201 colours: index 0 for the largest stress magnitude, 200 for zero.
using StressPalette = std::array<QColor, 201>;

/// The stepped palette (p_skok = 1: four bands with visible steps) or the continuous one.
StressPalette stressPalette(int p_skok);

/// Palette index of a magnitude v >= 0 on a scale of ss palette steps per stress unit.
int stressIndex(float v, float ss);

/// Label of the colour bar for a nominal value u, printed value `shown`.
QString stressBarLabel(float u, float shown);

/// Draws the stress layer; called only with ne > 0, p_napr = 1 and current results.
/// `i_izo` is the number of levels, already clamped into 1..200. The text colour is black and
/// the label font selected when it is called. Without a palette in `o` the stepped one is used.
void paintStressLayer(QPainter& p, QSize client, const Model& m, const ViewOptions& o,
                      const ViewMapping& mapping, int i_izo);
