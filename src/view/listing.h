#pragma once
// The data and results listings as drawing data: every text with its top-left corner and
// every rule, in whole-table coordinates. The windows draw them with an offset for scrolling;
// tests read the texts directly or render them into an image.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>
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

/// A table ready to draw: texts and horizontal rules, kRule pixels wide, from x = 2 to
/// x = `ruleEnd` (exclusive).
struct Table {
    std::vector<Text> texts;
    std::vector<int> rules;  ///< y of each rule
    int ruleEnd = 0;
    /// True when the table was asked of a model that does not exist (Pusty != 0).
    bool pusty = false;
};

/// Scroll unit of both listings, in pixels.
constexpr int kUnit = 10;
/// Height of a table row; the scroll steps are whole rows.
constexpr int kRow = 20;
/// Width of the rules, in pixels.
constexpr int kRule = 3;
/// Cell height (ascent + descent) of the texts, in pixels.
constexpr int kFontHeight = 16;

/// The data listing: elements with their corner nodes, nodes with their coordinates, the one
/// material with its shear modulus G and the twisting moment MS. Empty while there is no model.
Table dane(const Model& m);

/// The element stresses tau xz and tau yz, and below them the torsion constant J, the unit
/// angle of twist and the largest nodal stress with its node. Values appear only while the
/// results belong to the model (obliczono = 1); otherwise the rows hold the element numbers
/// alone. `J` is the torsion constant of the last computation when the caller knows it;
/// without it J follows from MS / (G katob), which a zero moment leaves unknown.
Table wyniki(const Model& m, std::optional<double> J = std::nullopt);

/// Scroll ranges in units (horizontal, vertical) for the counts of `m` at this moment.
QSize daneRange(const Model& m);
QSize wynikiRange(const Model& m);

/// Background of both listings (light grey).
QColor background();
/// Font of the listings' texts: Arial (or the face it maps to) with a cell height of
/// kFontHeight pixels, as a Windows font of height 16 has.
QFont font();

/// Fills `size` with the background and draws `t` shifted up and left by `offset`.
void paint(QPainter& p, const Table& t, QSize size, QPoint offset);

}  // namespace listing
