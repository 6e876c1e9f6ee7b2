#pragma once
// Small pictures of the standard profiles naming their dimensions, for the profile dialogs.

#include <QRectF>
#include <vector>

#include "geometry/profile.h"

class QPainter;

/// Dimensions of a common section of `kind` (IPE 200, UPE 200, L 100x10, ...), in the order
/// the section file names them: what the profile dialog proposes first.
std::vector<double> typicalDimensions(geometry::ProfileKind kind);

/// Paints `kind` in legible proportions fitted into `area`: the outline filled, a dimension
/// line for each of its dimensions and the dimension's name (h, b, tw, ...) beside it.
void paintProfileSketch(QPainter& p, const QRectF& area, geometry::ProfileKind kind);
