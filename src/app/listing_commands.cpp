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
    WynikiHooks hooks;
    hooks.emptyModel = [&u = ui] {
        u.message("PUSTY jest 1 !", "Błąd wejścia do klasy WYNIKI", Buttons::YesNo, Icon::Question);
    };
    // Every change of the model drops the outcome and closes the listings.
    hooks.J = [this]() -> std::optional<double> {
        if (ostatnie_ && ostatnie_->ok()) return ostatnie_->J;
        return std::nullopt;
    };
    oo = new _WYNIKI_(m, std::move(hooks));
    oo->move(mapToGlobal(kListingOffset));
    ui.showWindow(oo);
}
