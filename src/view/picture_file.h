#pragma once
// The picture of the drawing area as an image or a file: the very routine the window paints
// with, at any size, so the program and the batch tool save what the window would show.

#include <QImage>
#include <QSize>
#include <string>

#include "model/model.h"
#include "paint_model.h"
#include "view_mapping.h"

/// Largest exported side in pixels; ViewMapping's zoom limits are sized for it.
inline constexpr int kMaxPictureSide = 8000;

enum class PictureFormat { Png, Svg };

/// SVG for a name ending in ".svg" in any case, PNG for any other.
PictureFormat pictureFormatOf(const std::string& path);

/// The picture at `size`: white where nothing is drawn, then paintModel with the zoom and pan
/// of `mapping` over a fit to this size.
QImage renderPicture(QSize size, const Model& m, const ViewOptions& o, ViewMapping mapping);

/// Writes the picture at `size` to `path` as PNG or SVG (by its name). The file is replaced
/// only when it has been written whole. Returns "" or the message of the failure.
std::string savePicture(const std::string& path, QSize size, const Model& m, const ViewOptions& o,
                        const ViewMapping& mapping);
