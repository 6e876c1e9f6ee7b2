// Saving the picture of the drawing area as PNG or SVG at a size the user chooses.
#include "app/dialogs/field_text.h"
#include "app/okno.h"
#include "model/report.h"
#include "view/picture_file.h"

namespace {

const char* const kRozmiar = "Szerokość i wysokość rysunku muszą leżeć w przedziale 151 - 8000";

}  // namespace

void _OKNO_::Cm_zap_rys() {
    if (m.Pusty == 1) return;
    // The dialog proposes the drawing area's size every time: the picture as the window shows it.
    danerys = {};
    dialogs::setFieldText(danerys.szer, dialogs::formatText("%d", width()));
    dialogs::setFieldText(danerys.wys, dialogs::formatText("%d", height()));
    if (!ui.runDialog(3200, &danerys)) return;
    const int w = dialogs::fieldInt(danerys.szer), h = dialogs::fieldInt(danerys.wys);
    const auto fits = [](int v) { return v > kMinClientSide && v <= kMaxPictureSide; };
    if (!fits(w) || !fits(h)) {
        ui.message(kRozmiar, "Błąd danych", Buttons::Ok, Icon::Stop);
        return;
    }
    if (!ui.chooseSaveFile(_plikrys_)) return;
    if (sameFile(fileIdOf(_plikrys_.path), plikModelu)) {
        ui.message(kReportOverModel, "Błąd operacji dyskowej", Buttons::Ok, Icon::Exclamation);
        return;
    }
    ui.setWaitCursor(true);
    const std::string failure = savePicture(_plikrys_.path, {w, h}, m, viewOptions(), mapping);
    ui.setWaitCursor(false);
    if (!failure.empty()) {
        ui.message(failure, "Błąd operacji dyskowej", Buttons::Ok, Icon::Exclamation);
        return;
    }
    ui.message("Plik zapisano poprawnie", "WIRTOR", Buttons::Ok, Icon::None);
}
