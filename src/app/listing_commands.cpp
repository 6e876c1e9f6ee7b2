// Opening the data and results listings.
#include "app/okno.h"
#include "view/listing_window.h"

namespace {

// Listings open inside the drawing area, clear of the menu bar.
constexpr QPoint kListingOffset(20, 20);

}  // namespace

void _OKNO_::Cm_Dane() {
    if (m.Pusty != 0) return;
    // Every use opens one more listing; dd refers to the newest.
    dd = new _DANE_(m, this);
    dd->move(mapToGlobal(kListingOffset));
    ui.showWindow(dd);
}

void _OKNO_::Cm_Wyniki() {
    if (m.Pusty != 0 || m.obliczono != 1) return;
    Ui& u = ui;
    oo = new _WYNIKI_(m, [&u] {
        u.message("PUSTY jest 1 !", "Błąd wejścia do klasy WYNIKI", Buttons::YesNo, Icon::Question);
    });
    oo->move(mapToGlobal(kListingOffset));
    ui.showWindow(oo);
}
