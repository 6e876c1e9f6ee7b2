// Sections from outlines and standard profiles: the description the window keeps, its mesh
// and its file.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "app/dialogs/dialog_templates.h"
#include "app/dialogs/field_text.h"
#include "app/globals.h"
#include "app/okno.h"
#include "geometry/number_text.h"
#include "geometry/outline_rows.h"
#include "geometry/profile.h"
#include "geometry/section_file.h"
#include "mesh/section_mesh.h"
#include "model/file_id.h"
#include "model/safe_save.h"
#include "view/profile_sketch.h"

using dialogs::fieldValueText;
using dialogs::formatText;
using dialogs::setFieldText;

namespace {

const char* const kZastapic =
    "Siatka zmieniona ręcznie zostanie zastąpiona siatką wygenerowaną z opisu przekroju. "
    "Zmiany wprowadzone ręcznie zostaną utracone. Kontynuować ?";
const char* const kBladDanych = "Błąd danych";
const char* const kBladDysku = "Błąd operacji dyskowej";
const char* const kNieOtwarto = "Nie można otworzyć pliku";
const char* const kRozmiar = "Największy bok elementu musi być liczbą dodatnią";

static_assert(std::extent_v<decltype(_OKNO_::daneprofilu)> == dialogs::kProfileKinds);

void bladDanych(Ui& ui, const std::string& text) {
    ui.message(text, kBladDanych, Buttons::Ok, Icon::Stop);
}

/// A message about line `line` of a section file, or about the whole of it for line 0.
std::string zWierszem(int line, const std::string& message) {
    return line > 0 ? formatText("Wiersz %d: ", line) + message : message;
}

/// The element size field: nothing for an empty field (automatic), else its value; a text that
/// is no positive number leaves its message in `blad` unless an earlier one is there.
std::optional<double> rozmiar(const std::string& text, std::string& blad) {
    if (text.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
    const std::optional<double> v = geometry::parseNumber(text);
    if ((!v || !(*v > 0)) && blad.empty()) blad = kRozmiar;
    return v;
}

/// A number field of the profile dialog, 0 when empty; a text that is no number leaves its
/// message in `blad` unless an earlier one is there.
double liczba(const std::string& text, const char* pole, std::string& blad) {
    if (text.find_first_not_of(" \t") == std::string::npos) return 0;
    const std::optional<double> v = geometry::parseNumber(text);
    if (!v && blad.empty()) blad = std::string("Niepoprawna liczba w polu „") + pole + "”";
    return v.value_or(0);
}

template <std::size_t N>
std::string tekst(const char (&field)[N]) {
    return fieldValueText(field, N);
}

/// The value a section file gets for G or MS: the description's own while the model still
/// holds it (so that a file read and saved again keeps its text), else the model's.
double wartosc(const std::optional<double>& opis, float model) {
    return opis && static_cast<float>(*opis) == model ? *opis : static_cast<double>(model);
}

}  // namespace

void _OKNO_::porzuc_przekroj() {
    przekroj_.reset();
    siatkaZPrzekroju_ = false;
}

void _OKNO_::przygotuj_profile() {
    for (int k = 0; k < dialogs::kProfileKinds; ++k) {
        d_profil& d = daneprofilu[k];
        dialogs::clearRecord(d);
        const std::vector<double> w = typicalDimensions(static_cast<geometry::ProfileKind>(k));
        const std::size_t first = std::size(d.w) - std::min(w.size(), std::size(d.w));
        for (std::size_t i = first; i < std::size(d.w); ++i)
            setFieldText(d.w[i], geometry::numberText(w[i - first]));
        setFieldText(d.x, "0");
        setFieldText(d.y, "0");
        setFieldText(d.obrot, "0");
    }
}

Siatkowanie _OKNO_::siatkuj(const geometry::Section& opis, bool& zapytano) {
    const bool siatka = m.Pusty == 0 && (m.nn > 0 || m.ne > 0);
    if (siatka && !siatkaZPrzekroju_ && !zapytano) {
        if (ui.message(kZastapic, "WIRTOR", Buttons::YesNo, Icon::Question) != Answer::Yes) {
            ui.requestRepaint();
            return Siatkowanie::Odmowa;
        }
        zapytano = true;
    }
    // G and MS are the model's now: a value the description brought from its file must not
    // undo a change made since.
    geometry::Section doSiatki = opis;
    doSiatki.G.reset();
    doSiatki.MS.reset();
    MeshOutcome r;
    ui.setWaitCursor(true);
    edycja({.siatka = false}, [&] {
        r = meshSection(doSiatki, m);
        if (!r.ok()) return false;
        przekroj_ = opis;
        siatkaZPrzekroju_ = true;
        return true;
    });
    ui.setWaitCursor(false);
    if (r.ok()) return Siatkowanie::Gotowe;
    if (r.status != MeshStatus::Cancelled) bladDanych(ui, zWierszem(r.line, r.message));
    return Siatkowanie::Blad;
}

Siatkowanie _OKNO_::dodaj_ksztalt(const geometry::Shape& shape, std::optional<double> rozmiar,
                                  bool& zapytano) {
    // The shape on its own first, so that its own fault is named as such.
    geometry::Section sam;
    sam.shapes.push_back(shape);
    const geometry::Loops loops = geometry::sectionLoops(sam);
    if (!loops.ok()) {
        bladDanych(ui, loops.error);
        return Siatkowanie::Blad;
    }
    geometry::Section opis = przekroj_.value_or(geometry::Section{});
    opis.shapes.push_back(shape);
    opis.siatka = rozmiar;
    return siatkuj(opis, zapytano);
}

void _OKNO_::Cm_obrys() {
    setFieldText(daneobrys.siatka,
                 przekroj_ && przekroj_->siatka ? geometry::numberText(*przekroj_->siatka) : "");
    bool zapytano = false;
    // Asked again with the entries kept until the outline is meshed or the user gives up.
    while (ui.runDialog(dialogs::kObrysDialog, &daneobrys)) {
        const geometry::OutlineRows rows = geometry::outlineFromRows(tekst(daneobrys.punkty));
        if (!rows.ok()) {
            bladDanych(ui, zWierszem(rows.row, rows.error));
            continue;
        }
        std::string blad;
        const std::optional<double> size = rozmiar(tekst(daneobrys.siatka), blad);
        if (!blad.empty()) {
            bladDanych(ui, blad);
            continue;
        }
        geometry::Shape shape = rows.shape;
        shape.otwor = daneobrys.otwor != 0;
        if (dodaj_ksztalt(shape, size, zapytano) != Siatkowanie::Blad) return;
    }
    ui.requestRepaint();
}

void _OKNO_::Cm_profil() {
    if (!ui.runDialog(dialogs::kProfilDialog, &danerodzaj)) return;
    const int k = std::clamp(danerodzaj.rodzaj, 0, dialogs::kProfileKinds - 1);
    const geometry::ProfileInfo& ksztalt =
        geometry::profileInfo(static_cast<geometry::ProfileKind>(k));
    d_profil& d = daneprofilu[k];
    const std::size_t n = std::min(ksztalt.dims.size(), std::size(d.w));
    const std::size_t first = std::size(d.w) - n;
    setFieldText(d.siatka,
                 przekroj_ && przekroj_->siatka ? geometry::numberText(*przekroj_->siatka) : "");
    bool zapytano = false;
    while (ui.runDialog(dialogs::kWymiaryDialog + k, &d)) {
        geometry::Shape shape;
        shape.kind = geometry::Shape::Kind::Profil;
        shape.otwor = d.otwor != 0;
        geometry::Profile& p = shape.profile;
        p.kind = ksztalt.kind;
        std::string blad;
        for (std::size_t i = 0; i < n; ++i)
            p.dims.push_back(liczba(tekst(d.w[first + i]), ksztalt.dims[i].label, blad));
        p.x = liczba(tekst(d.x), "x", blad);
        p.y = liczba(tekst(d.y), "y", blad);
        p.obrot = liczba(tekst(d.obrot), "Obrót [°]", blad);
        const std::optional<double> size = rozmiar(tekst(d.siatka), blad);
        if (blad.empty()) blad = geometry::profileOutlines(p).error;
        if (!blad.empty()) {
            bladDanych(ui, blad);
            continue;
        }
        if (dodaj_ksztalt(shape, size, zapytano) != Siatkowanie::Blad) return;
    }
    ui.requestRepaint();
}

void _OKNO_::Cm_siatka_przekroju() {
    if (m.Pusty != 0 || !przekroj_) return;
    setFieldText(danesiatki.siatka,
                 przekroj_->siatka ? geometry::numberText(*przekroj_->siatka) : "");
    bool zapytano = false;
    while (ui.runDialog(dialogs::kSiatkaDialog, &danesiatki)) {
        std::string blad;
        const std::optional<double> size = rozmiar(tekst(danesiatki.siatka), blad);
        if (!blad.empty()) {
            bladDanych(ui, blad);
            continue;
        }
        geometry::Section opis = *przekroj_;
        opis.siatka = size;
        if (siatkuj(opis, zapytano) != Siatkowanie::Blad) return;
    }
    ui.requestRepaint();
}

bool _OKNO_::otworz_przekroj(const std::string& path) {
    ui.setWaitCursor(true);
    const geometry::SectionRead read = geometry::readSectionFile(path);
    MeshOutcome r;
    bool changed = false;
    if (read.ok())
        // G and MS come from the file where it gives them.
        changed = edycja({.siatka = false, .historia = false}, [&] {
            r = meshSection(read.section, m);
            if (!r.ok()) return false;
            przekroj_ = read.section;
            siatkaZPrzekroju_ = true;
            plikModelu = fileIdOf(path);
            caption = "WIRTOR - " + path;
            ui.setCaption(caption);
            p_napr = 0;
            p_n_pola = 0;
            _plikprz_.path = path;
            // Saving the mesh proposes a model file beside the section file.
            _plik_.path = path.substr(0, path.size() - 4) + ".WT";
            return true;
        });
    ui.setWaitCursor(false);
    if (!read.ok()) {
        if (read.line == 0 && read.error == kNieOtwarto)
            ui.message(read.error, kBladDysku, Buttons::Ok, Icon::Exclamation);
        else
            bladDanych(ui, zWierszem(read.line, read.error));
    } else if (!r.ok() && r.status != MeshStatus::Cancelled) {
        bladDanych(ui, zWierszem(r.line, r.message));
    }
    return changed;
}

void _OKNO_::Cm_zap_przekroj() {
    if (m.Pusty != 0 || !przekroj_) return;
    if (!ui.chooseSaveFile(_plikprz_)) return;
    geometry::Section opis = *przekroj_;
    opis.G = wartosc(opis.G, m.G);
    opis.MS = wartosc(opis.MS, m.MS);
    const std::string text = geometry::sectionText(opis);
    ui.setWaitCursor(true);
    const bool saved = saveFileSafely(
        _plikprz_.path, [&](int fd) { return writeAll(fd, text.data(), text.size()); });
    ui.setWaitCursor(false);
    if (!saved) {
        ui.message("Nie można zapisać danych do pliku", kBladDysku, Buttons::Ok, Icon::Exclamation);
        return;
    }
    // A mesh that is the description's own is saved with it: nothing is left unsaved.
    if (siatkaZPrzekroju_) {
        zapisany_ = historia_.state();
        pokaz_tytul();
    }
    ui.message("Plik zapisano poprawnie", "WIRTOR", Buttons::Ok, Icon::None);
}
