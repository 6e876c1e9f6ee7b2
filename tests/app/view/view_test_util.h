#pragma once
// Small models and pixel probes for the picture tests.

#include <QColor>
#include <QImage>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "model/model.h"
#include "view/paint_model.h"

/// A project with the given nodes and elements; loads, f and stresses 0, no results.
void buildModel(Model& m, const std::vector<std::pair<float, float>>& nodes,
                const std::vector<std::array<int, 3>>& elements);

/// The picture of `m` in a client area of `size`, on an image first filled with `under`.
QImage render(const Model& m, const ViewOptions& o, QSize size, ViewMapping* mapping = nullptr,
              QColor under = Qt::white);

/// "r,g,b" of a pixel, so a failing probe names the colour it found.
std::string rgbAt(const QImage& img, int x, int y);
std::string rgb(int r, int g, int b);

/// Number of pixels of exactly this colour.
int countColour(const QImage& img, QColor c);

/// True when the label-font text `s` in colour `c` on its white box has its top-left corner
/// exactly at (x, y): every pixel of the box matches a reference drawing of the same text.
bool textAt(const QImage& img, int x, int y, const char* s, QColor c);
