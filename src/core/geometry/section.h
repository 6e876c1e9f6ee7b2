#pragma once
// The description of a cross-section: shapes united, nested or subtracted, and the values
// the section file carries with them.

#include <optional>
#include <string>
#include <vector>

#include "geometry/outline.h"
#include "geometry/profile.h"

namespace geometry {

/// A DXF drawing of the section file: its path as written and the outlines read from it.
struct Drawing {
    std::string path;               ///< as the file gives it (relative to the section file)
    std::optional<double> skala;    ///< scale written in the file; absent: 1
    std::string warstwa;            ///< layer written in the file; empty: all layers
    std::vector<Outline> outlines;  ///< the outlines imported, scale applied
};

/// One statement that makes a shape: an outline, a circle, a profile or a drawing.
struct Shape {
    enum class Kind { Obrys, Okrag, Profil, Rysunek };
    Kind kind = Kind::Obrys;
    Outline outline;     ///< Kind::Obrys
    Circle circle;       ///< Kind::Okrag
    Profile profile;     ///< Kind::Profil
    Drawing drawing;     ///< Kind::Rysunek; holes of the drawing by nesting
    bool otwor = false;  ///< subtracted from the section
    int line = 0;        ///< line of the section file it came from, 0 when none
};

/// A whole section description.
struct Section {
    std::optional<double> G, MS;   ///< absent: the program's current values
    std::optional<double> siatka;  ///< largest element edge; absent: automatic
    std::vector<Shape> shapes;     ///< in the order given
};

/// One closed curve of a section after profiles and circles are expanded.
struct Loop {
    Outline outline;
    bool otwor = false;
    int shape = 0;  ///< index into Section::shapes
};

/// Every shape of `s` as closed loops, or the first shape's error (with its line).
struct Loops {
    std::vector<Loop> loops;
    std::string error;  ///< Polish message, empty on success
    int line = 0;       ///< line of the faulty shape, 0 when none
    bool ok() const { return error.empty(); }
};

/// Expands profiles, circles and drawings (no file is read) and checks every loop on its own: at
/// least three vertices (or an arc-bounded pair), arcs that exist, finite coordinates, no
/// self-intersection, non-zero area.
Loops sectionLoops(const Section& s);

}  // namespace geometry
