// Graphics settings: the level count, the palette and automatic recomputation.
#include "app/dialogs/field_text.h"
#include "app/globals.h"
#include "app/okno.h"

void _OKNO_::Cm_u_graf() {
    // Rewritten from the settings at every opening, so a refused level count is not shown again.
    daneg = {};
    daneg.ladne = p_skok != 0 ? 1 : 0;
    daneg.przelicz = m.a_licz != 0 ? 1 : 0;
    dialogs::setFieldText(daneg.iizo, dialogs::formatText("%d", iizol));
    if (!ui.runDialog(3110, &daneg)) return;
    p_skok = daneg.ladne != 0 ? 1 : 0;
    m.a_licz = daneg.przelicz != 0 ? 1 : 0;
    // A count out of range is ignored without a word; the other settings still apply.
    const int n = dialogs::fieldInt(daneg.iizo);
    if (n >= 1 && n <= 200) iizol = n;
    Pasek_kol();
    ui.requestRepaint();
}
