#pragma once
// The data and results listings as drawing data: every text with its top-left corner and
// every rule, in whole-table coordinates. The windows draw them with an offset for scrolling;
// tests read the texts directly or render them into an image.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <vector>

#include "model/model.h"

class QPainter;

namespace listing {

/// One text; `at` is its top-left corner in the table.
struct Text {
    QPoint at;
    QString text;
    bool operator==(const Text& o) const { return at == o.at && text == o.text; }
};

/// A table ready to draw: texts and horizontal rules from x = 2 to x = `ruleEnd` (exclusive).
struct Table {
    std::vector<Text> texts;
    std::vector<int> rules;  ///< y of each rule
    int ruleEnd = 0;
    /// True when the table was asked of a model that does not exist (Pusty != 0).
    bool pusty = false;
};

/// Scroll unit of both listings, in pixels.
constexpr int kUnit = 10;

/// The data listing: elements with their corner nodes, nodes with their coordinates, and the
/// headings of the (always empty) material table. Empty while there is no model.
Table dane(const Model& m);

/// The element stresses tau xz and tau yz. Stress values appear only while the results belong
/// to the model (obliczono = 1); otherwise the rows hold the element numbers alone.
Table wyniki(const Model& m);

/// Scroll ranges in units (horizontal, vertical) for the counts of `m` at this moment.
QSize daneRange(const Model& m);
QSize wynikiRange(const Model& m);

/// Background of both listings (light grey).
QColor background();
/// Font of the listings' texts.
QFont font();

/// Fills `size` with the background and draws `t` shifted up and left by `offset`.
void paint(QPainter& p, const Table& t, QSize size, QPoint offset);

}  // namespace listing
