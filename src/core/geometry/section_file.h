#pragma once
// The section file (.wts): a text description of a cross-section, one statement a line.
//
//   # comment               G value        MS value       siatka size
//   profil KIND name=value ... [x=..] [y=..] [obrot=..]
//   obrys / punkt X Y / luk X Y R / koniec
//   okrag X Y R
//   dxf PLIK [skala=..] [warstwa=..]    (PLIK in "..." when it holds blanks)
//   otwor <profil|obrys|okrag|dxf statement>
//
// Numbers take a decimal point or a decimal comma.

#include <string>
#include <string_view>

#include "geometry/section.h"

namespace geometry {

/// Result of reading: the section, or the first error with its line (1-based, 0 when the
/// error concerns the whole file) and the Polish message.
struct SectionRead {
    Section section;
    std::string error;  ///< empty on success
    int line = 0;
    bool ok() const { return error.empty(); }
};

/// Parses the text of a section file; drawings are imported here, relative paths from
/// `baseDir` (empty: the current directory). Shapes are checked with sectionLoops, so a read
/// section always expands; the region they make (holes touching nothing, ...) is the mesher's.
SectionRead parseSection(std::string_view text, const std::string& baseDir = {});

/// Reads the file at `path` (regular files only, UTF-8, at most 64 MiB), its drawings relative
/// to its directory; an unreadable file gives "Nie można otworzyć pliku" with line 0.
SectionRead readSectionFile(const std::string& path);

/// The section file text of `s`: parseSection of it gives `s` back (numbers in shortest
/// round-trip form, lines renumbered).
std::string sectionText(const Section& s);

}  // namespace geometry
