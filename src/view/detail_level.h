#pragma once
// Level of detail of the mesh layers: which of them stay legible at the scale drawn. A fine mesh
// seen whole would bury the stress map under its edges, marks and numbers; each layer is drawn
// only while the mesh's typical spacing on the screen leaves room between its strokes, and the
// section's boundary stands in for the mesh otherwise. Zooming in brings the layers back.

#include "model/model.h"
#include "view_mapping.h"

/// Which mesh layers are legible; the switches still decide whether each is wanted at all.
struct DetailLevel {
    bool edges = true;           ///< element edges and warped outlines
    bool marks = true;           ///< node marks
    bool nodeNumbers = true;     ///< node numbers
    bool elementNumbers = true;  ///< element numbers
    bool operator==(const DetailLevel&) const = default;
};

/// Box of the longest number written, in pixels, with the room kept beside it.
struct LabelBox {
    int width = 0;
    int height = 0;
};

/// Edges are drawn while neighbouring nodes lie this many pixels apart: a 1-pixel line then
/// leaves 3 pixels of the map between lines.
inline constexpr float kEdgeSpacing = 4.0f;
/// Node marks (a plus sign about 4 pixels across) are drawn from this spacing on.
inline constexpr float kMarkSpacing = 6.0f;

/// The decision alone. `spacing` is the typical distance between neighbouring nodes in pixels
/// (infinite when unknown: everything is drawn). Numbers need a spacing of at least their box's
/// height and half its width, so that every row of nodes and at least every other node in a
/// row can carry its number; the label grid keeps the written ones apart. Element labels lie
/// closer together than nodes: two triangles share a node spacing's square.
DetailLevel detailLevel(float spacing, LabelBox node, LabelBox element);

/// Typical node spacing in pixels of the elements that reach into the client area of w x h:
/// the median over up to a few thousand of them, taken at even steps through the element
/// numbers, of sqrt(2 * area) (the side of a square cell of two such triangles). Infinite
/// without elements or when none reaches into the area.
float meshSpacing(const Model& m, const ViewMapping& map, float w, float h);

/// Box of number n in the label font: `digit` the widest digit's advance, `height` the text
/// height; half a digit of room on either side, as the label grid keeps it.
LabelBox numberBox(int n, int digit, int height);
