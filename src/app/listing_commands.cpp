// Opening the data and results listings.
#include "app/okno.h"
#include "view/listing_window.h"

void _OKNO_::Cm_Dane() {
    if (m.Pusty != 0) return;
    // Every use opens one more listing; dd refers to the newest.
    dd = new _DANE_(m, this);
    dd->show();
}

void _OKNO_::Cm_Wyniki() {
    if (m.Pusty != 0 || m.obliczono != 1) return;
    oo = new _WYNIKI_(m, ui);
    oo->show();
}
