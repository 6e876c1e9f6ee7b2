#pragma once
// Layer 2 of the picture: the stress colour map, its level bands and the colour bar, drawn
// over the white background and under every mesh layer.

#include <QSize>

#include "model/model.h"
#include "view/paint_model.h"
#include "view/view_mapping.h"

class QPainter;

/// Draws the stress layer; called only with ne > 0, p_napr = 1 and current results.
/// `i_izo` is the number of levels, already clamped into 1..200. The text colour is black and
/// the label font selected when it is called.
void paintStressLayer(QPainter& p, QSize client, const Model& m, const ViewOptions& o,
                      const ViewMapping& mapping, int i_izo);
