#pragma once
// The mesh layers of the picture: outer boundary, element edges, warped outlines, element and
// node numbers, node and group marks, load arrows and the warped-outline legend. Each takes
// the state of one paint; the caller has fitted the model and selected the label font.

#include <QColor>
#include <QPointF>

#include <array>

#include "detail_level.h"
#include "label_grid.h"
#include "model/model.h"
#include "paint_model.h"
#include "view_mapping.h"

class QPainter;

/// One paint of the mesh layers: painter, model, switches and the mapping in force.
struct MeshPaint {
    QPainter& p;
    const Model& m;
    const ViewOptions& o;
    const ViewMapping& map;
    float w;                      ///< client width
    float h;                      ///< client height
    QColor text{0, 0, 0};         ///< colour of the texts written
    float fskala = 0.0f;          ///< pixels per unit of f for the warped outlines
    float fmax = 0.0f;            ///< largest |f|
    int ascent = 0;               ///< ascent of the selected font: texts are placed on the baseline
    int height = 0;               ///< height of a text's box
    std::array<int, 10> digit{};  ///< advance of each digit in the selected font
    LabelGrid* labels = nullptr;  ///< room left for numbers; null: every number is written
    DetailLevel detail{};         ///< layers legible at this scale; all by default

    /// Window point of node n, before truncation.
    QPointF node(int n) const;
    /// Writes `s` with its top-left corner at (x, y), truncated, on an opaque white box.
    void write(float x, float y, const char* s) const;
    /// Writes number n like `write`, only where its box covers no number written before.
    void writeNumber(float x, float y, int n) const;
    /// Takes the selected font's measures: ascent, height and digit advances.
    void measureFont();
};

/// Label point of element e: the intersection of its medians from nodes 1 and 3 (the
/// centroid); on a vertical median, the point of that median the program has always used.
/// Nodes on one line, whose medians do not meet, give the mean of the three nodes.
float sciezx(const Model& m, int e);
float sciezy(const Model& m, int e);

/// Sets fskala and fmax for the warped outlines: 0 unless they are shown. When every f is 0
/// the outlines lie on the edges (fskala = 0).
void prepareWarp(MeshPaint& mp);

void drawBoundary(MeshPaint& mp);
/// Per element in order: edges, warped outline, number; edges and outlines only where the
/// detail level keeps them, and only of elements that reach into the client area.
void drawElements(MeshPaint& mp);
void drawNodeMarks(MeshPaint& mp);
void drawGroupMarks(MeshPaint& mp);
void drawNodeNumbers(MeshPaint& mp);
void drawLoadArrows(MeshPaint& mp);
void drawWarpLegend(MeshPaint& mp);
