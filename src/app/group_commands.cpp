// The node group: move, copy with a displacement, delete.
#include "app/dialogs/field_text.h"
#include "app/okno.h"
#include "edit/group.h"

using dialogs::fieldReal;
using dialogs::formatText;
using dialogs::setFieldText;

void _OKNO_::Cm_Grupa_prz() {
    if (m.nn <= 0 || m.j_grupa != 1) return;
    d_dane_prz d{};
    setFieldText(d.px, formatText("%3.2f", 0.0));
    setFieldText(d.py, formatText("%3.2f", 0.0));
    if (!ui.runDialog(3130, &d)) return;
    // Moving never starts the automatic computation; the selection stays for the next move.
    edytuj({.przebudowa = false, .oblicz = false},
           [&] { return moveGroup(m, fieldReal(d.px), fieldReal(d.py)); });
}

void _OKNO_::Cm_Grupa_kop_prz() {
    if (m.nn <= 0 || m.j_grupa != 1) return;
    d_dane_kop d{};
    d.wezly = d.elementy = d.sily = d.podpory = 1;
    setFieldText(d.px, formatText("%3.2f", 0.0));
    setFieldText(d.py, formatText("%3.2f", 0.0));
    if (!ui.runDialog(3120, &d)) return;
    if (d.wezly == 0) {
        ui.message("Nie można przeprowadzić kopiowania, jeśli nie zaznaczono węzłów jako obiektów",
                   "Błąd podczas kopiowania", Buttons::Ok, Icon::None);
        return;
    }
    edytuj({.oblicz = false},
           [&] { return copyGroup(m, fieldReal(d.px), fieldReal(d.py), d.elementy != 0); });
}

void _OKNO_::Cm_Grupa_doom() {
    if (m.Pusty != 0 || m.j_grupa != 1) return;
    // What goes is shown first; the fields only inform.
    const GroupCounts c = countGroupDeletion(m);
    d_dane_doom d{};
    setFieldText(d.we, formatText("%d", c.nodes));
    setFieldText(d.el, formatText("%d", c.elements));
    setFieldText(d.po, "0");
    setFieldText(d.si, "0");
    if (!ui.runDialog(3140, &d)) return;
    if (ui.message("Czy jesteś pewien ?", "Kasowanie grupy", Buttons::YesNo, Icon::Question) !=
        Answer::Yes)
        return;
    edytuj({}, [&] { return deleteGroup(m); });
}
