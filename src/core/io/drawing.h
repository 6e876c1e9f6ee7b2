#pragma once
// A drawing as read from its file: blocks of lines, arcs, curves and inserts of other
// blocks, each in its block's coordinates; and the whole drawing placed in its plane.

#include <string>
#include <vector>

#include "geometry/arc.h"
#include "io/curves.h"
#include "io/outline_chain.h"

namespace io {

/// The plane map x' = xx x + xy y + dx, y' = yx x + yy y + dy.
struct Affine {
    double xx = 1, xy = 0, yx = 0, yy = 1, dx = 0, dy = 0;
    /// The image of p.
    geometry::Point operator()(geometry::Point p) const;
    /// The image of the vector p (without the shift).
    geometry::Point linear(geometry::Point p) const;
    /// This map applied after `inner`.
    Affine operator*(const Affine& inner) const;
    double det() const { return xx * yy - xy * yx; }
};

/// Shift by (x, y).
Affine shift(double x, double y);
/// Counter-clockwise turn by `radians` about the origin.
Affine turn(double radians);
/// Scaling along the axes.
Affine scaling(double sx, double sy);

/// One element of a block, in the block's coordinates.
struct Element {
    enum class Kind { Path, Ellipse, Spline, Insert, Unused };
    Kind kind = Kind::Unused;
    int layer = 0;      ///< index into Drawing::layers
    Path path;          ///< Kind::Path
    EllipseArc arc;     ///< Kind::Ellipse
    bool full = false;  ///< Kind::Ellipse: the whole ellipse
    Nurbs spline;       ///< Kind::Spline
    /// Kind::Insert: the block, and its copies at outer * shift(column step, row step) *
    /// scaling(sx, sy) * shift(-block base).
    std::string block;
    Affine outer;
    double sx = 1, sy = 1;
    int cols = 1, rows = 1;
    double colStep = 0, rowStep = 0;
};

/// A named block of elements; its base point goes to an insert's insertion point.
struct Block {
    std::string name;
    geometry::Point base;
    std::vector<Element> elements;
};

/// A drawing: the model's elements in block 0, the defined blocks after it.
struct Drawing {
    std::vector<Block> blocks{Block{}};
    std::vector<std::string> layers{"0"};  ///< layer 0 is "0"
};

/// A path of the placed drawing whose segments may be elliptic arcs or NURBS curves (the
/// path's two ends then), turned into chords once the drawing's size is known.
struct PlacedPath {
    Path path;
    std::vector<std::pair<std::size_t, EllipseArc>> arcs;  ///< by segment, in order
    bool spline = false;
    Nurbs curve;  ///< when `spline`: the whole path
};

/// The drawing's model placed in its plane: every insert's copies expanded.
struct Placed {
    std::vector<PlacedPath> paths;
    int unused = 0;                 ///< elements of kinds not used, once a placement
    std::vector<bool> layersDrawn;  ///< by layer: holds a placed path (before the filter)
    std::string error;              ///< Polish message, empty on success
};

/// Places the model: elements on layer "0" inside a block take the layer of the insert that
/// places it; `layer` -1 keeps all, another only the elements on that layer (none when the
/// drawing has no such layer). Refused: a block that
/// contains itself, nesting deeper than 32 blocks, more than a million placed elements or
/// ten million path points.
Placed placeDrawing(const Drawing& d, int layer);

/// The box of the placed paths, curves by their hull.
geometry::Box placedBox(const Placed& p);

/// The paths with chords for their elliptic arcs and NURBS curves (none further than
/// `sagitta` from the curve, nor than a thousandth of the curve's size); false when there
/// would be more than ten million points.
bool flatten(const Placed& p, double sagitta, std::vector<Path>& out);

}  // namespace io
