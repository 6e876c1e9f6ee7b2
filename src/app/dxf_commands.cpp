// Plik > Importuj DXF...: the closed outlines of a drawing become the project's section.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/dialogs/dialog_templates.h"
#include "app/dialogs/field_text.h"
#include "app/okno.h"
#include "geometry/outline_rows.h"
#include "geometry/section.h"
#include "io/dxf_import.h"

using dialogs::fieldValueText;
using dialogs::formatText;
using dialogs::setFieldText;

namespace {

const char* const kBladDanych = "Błąd danych";
const char* const kSkala = "Skala musi być liczbą dodatnią";

template <std::size_t N>
std::string tekst(const char (&field)[N]) {
    return fieldValueText(field, N);
}

/// The text without blanks at its ends.
std::string przyciety(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

/// What the import found, for the summary box; ends of the extent within a billionth of its
/// size from zero are shown as 0.
std::string podsumowanie(const io::DxfImport& r) {
    const double size = std::max(r.maxX - r.minX, r.maxY - r.minY);
    const auto end = [&](double v) { return std::abs(v) <= 1e-9 * size ? 0.0 : v; };
    return formatText(
        "Obrysów: %zu, otworów: %d, pominiętych obiektów: %d, jednostki: %s, "
        "zakres: x od %g do %g, y od %g do %g",
        r.outlines.size(), r.holes, r.ignored, r.units.c_str(), end(r.minX), end(r.maxX),
        end(r.minY), end(r.maxY));
}

}  // namespace

void _OKNO_::Cm_dxf() {
    _plikdxf_.filter = "Rysunki DXF (*.dxf)|*.dxf|";
    _plikdxf_.defaultExt = "dxf";
    if (!ui.chooseOpenFile(_plikdxf_)) return;
    // The path the section file will name: absolute, so that it holds wherever it is saved.
    std::error_code ec;
    std::string plik = std::filesystem::absolute(_plikdxf_.path, ec).lexically_normal().string();
    if (ec) plik = _plikdxf_.path;
    setFieldText(danedxf.skala, "1");
    setFieldText(danedxf.warstwa, "");
    bool zapytano = false;
    // Asked again with the entries kept until the drawing is meshed or the user gives up.
    while (ui.runDialog(dialogs::kDxfDialog, &danedxf)) {
        const std::optional<double> skala = geometry::parseNumber(tekst(danedxf.skala));
        if (!skala || !(*skala > 0) || !std::isfinite(*skala)) {
            ui.message(kSkala, kBladDanych, Buttons::Ok, Icon::Stop);
            continue;
        }
        io::DxfOptions opcje;
        opcje.scale = *skala;
        opcje.layer = przyciety(tekst(danedxf.warstwa));
        ui.setWaitCursor(true);
        io::DxfImport r = io::importDxf(plik, opcje);
        ui.setWaitCursor(false);
        if (!r.ok()) {
            ui.message(r.error.empty() ? "Przerwano" : r.error, kBladDanych, Buttons::Ok,
                       Icon::Stop);
            continue;
        }
        ui.message(podsumowanie(r), "WIRTOR", Buttons::Ok, Icon::Information);
        geometry::Shape shape;
        shape.kind = geometry::Shape::Kind::Rysunek;
        shape.drawing.path = plik;
        if (*skala != 1) shape.drawing.skala = *skala;
        shape.drawing.warstwa = opcje.layer;
        shape.drawing.outlines = std::move(r.outlines);
        geometry::Section opis;
        opis.shapes.push_back(std::move(shape));
        const Siatkowanie s = siatkuj(opis, zapytano);
        if (s == Siatkowanie::Odmowa) return;
        if (s == Siatkowanie::Gotowe) {
            // Saving the section proposes a file beside the drawing.
            _plikprz_.path = std::filesystem::path(plik).replace_extension(".wts").string();
            return;
        }
    }
    ui.requestRepaint();
}
