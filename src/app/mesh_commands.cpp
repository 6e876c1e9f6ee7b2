// Mesh generators: the rectangle patch.
#include "app/dialogs/field_text.h"
#include "app/okno.h"
#include "mesh/rectangle.h"

void _OKNO_::Cm_prost() {
    if (m.Pusty == 0) {
        // A fresh record at every call: the dialog never remembers the previous entries.
        d_dane_mac d{};
        for (char* f : {d.px, d.py, d.dx, d.dy, d.ix, d.iy})
            f[0] = '0';
        d.ma[0] = '1';
        d.opt = 1;
        d.p4 = 0;
        if (ui.runDialog(3150, &d)) {
            RectanglePatch p;
            p.px = dialogs::fieldReal(d.px);
            p.py = dialogs::fieldReal(d.py);
            p.dx = dialogs::fieldReal(d.dx);
            p.dy = dialogs::fieldReal(d.dy);
            p.ix = dialogs::fieldInt(d.ix);
            p.iy = dialogs::fieldInt(d.iy);
            p.p4 = d.p4 != 0;
            // Entries that fail the test are refused silently.
            if (p.px >= 0 && p.py >= 0 && p.ix > 0 && p.iy > 0) {
                edytuj({}, [&] { return appendRectangle(m, p); });
                return;
            }
        }
    }
    ui.requestRepaint();
}
