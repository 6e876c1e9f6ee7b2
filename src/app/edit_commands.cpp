// Editing the model item by item: nodes, elements, the shear modulus and the twisting moment.
// The handlers ask; the change itself is one core edit run through the edit sequence.
#include "app/dialogs/field_text.h"
#include "app/okno.h"
#include "edit/elements.h"
#include "edit/material.h"
#include "edit/merge.h"
#include "edit/nodes.h"

using dialogs::fieldInt;
using dialogs::fieldReal;
using dialogs::formatText;
using dialogs::setFieldText;

namespace {

/// Shows the element node test's messages in order; true when the triple is accepted.
bool testElementNodes(Ui& ui, const Model& m, const d_dane_przek& d) {
    const ElementCheck c = checkElementNodes(m.nn, fieldInt(d.w1), fieldInt(d.w2), fieldInt(d.w3));
    for (const std::string& text : c.messages)
        ui.message(text, "Błąd danych", Buttons::Ok, Icon::Stop);
    return c.accepted;
}

}  // namespace

bool _OKNO_::edytuj(Edycja e, const std::function<EditOutcome()>& zmiana) {
    EditOutcome r;
    const bool changed = edycja(e, [&] {
        r = zmiana();
        return r.ok();
    });
    if (!r.message.empty()) ui.message(r.message, "Błąd danych", Buttons::Ok, Icon::Stop);
    return changed;
}

bool _OKNO_::usun(const std::string& question, const char* caption,
                  const std::function<EditOutcome()>& zmiana) {
    return ui.message(question, caption, Buttons::YesNo, Icon::None) == Answer::Yes &&
           edytuj({}, zmiana);
}

int _OKNO_::podaj_numer(const char* nap) {
    setFieldText(danenr.i, "0");
    setFieldText(danenr.nap, nap);
    // Only OK takes the typed number back; any other end leaves the "0", which names nothing.
    ui.runDialog(3100, &danenr);
    return fieldInt(danenr.i);
}

void _OKNO_::Cm_d_wez() {
    if (m.Pusty != 0) return;
    setFieldText(danew.i, formatText("%d", m.nn + 1));
    setFieldText(danew.x, formatText("%3.4f", 0.0));
    setFieldText(danew.y, formatText("%3.4f", 0.0));
    if (!ui.runDialog(3020, &danew)) return;
    edytuj({}, [&] { return appendNode(m, fieldReal(danew.x), fieldReal(danew.y)); });
}

void _OKNO_::Cm_d_ele() {
    if (m.Pusty != 0 || m.nn < 3) return;
    // Asked again, from empty fields, until the nodes pass the test or the user cancels.
    do {
        setFieldText(danep.ee, formatText("%d", m.ne + 1));
        setFieldText(danep.w1, "0");
        setFieldText(danep.w2, "0");
        setFieldText(danep.w3, "0");
        if (!ui.runDialog(3010, &danep)) return;
    } while (!testElementNodes(ui, m, danep));
    edytuj({}, [&] {
        return appendElement(m, fieldInt(danep.w1), fieldInt(danep.w2), fieldInt(danep.w3));
    });
}

void _OKNO_::Cm_u_ele() {
    if (m.Pusty != 0) return;
    const int k = podaj_numer("Podaj numer elementu :");
    if (k < 1 || k > m.ne) return;
    usun(formatText("Usunąć element %d ?", k), "Usuwanie elementu",
         [&] { return deleteElement(m, k); });
}

void _OKNO_::Cm_u_wez() {
    if (m.Pusty != 0) return;
    const int k = podaj_numer("Podaj numer węzła :");
    const EditOutcome allowed = checkNodeDeletion(m, k);
    if (allowed.status == EditStatus::InUse)
        ui.message(allowed.message, "Usuwanie węzła", Buttons::Ok, Icon::Stop);
    if (!allowed.ok()) return;
    usun(formatText("Usunąć węzeł %d ?", k), "Usuwanie węzła", [&] { return deleteNode(m, k); });
}

void _OKNO_::Cm_z_wez() {
    if (m.Pusty != 0 || m.nn < 1) return;
    const int k = podaj_numer("Podaj numer węzła :");
    if (k < 1 || k > m.nn) return;
    setFieldText(danew.i, formatText("%d", k));
    setFieldText(danew.x, formatText("%3.4f", static_cast<double>(m.x[k][1])));
    setFieldText(danew.y, formatText("%3.4f", static_cast<double>(m.x[k][2])));
    if (!ui.runDialog(3020, &danew)) return;
    edytuj({.przebudowa = false},
           [&] { return setNode(m, k, fieldReal(danew.x), fieldReal(danew.y)); });
}

void _OKNO_::Cm_z_pret() {
    if (m.Pusty == 0 && m.ne >= 1) {
        const int k = podaj_numer("Podaj numer elementu :");
        if (k >= 1 && k <= m.ne) {
            setFieldText(danep.ee, formatText("%d", k));
            setFieldText(danep.w1, formatText("%d", m.noc[k][1]));
            setFieldText(danep.w2, formatText("%d", m.noc[k][2]));
            setFieldText(danep.w3, formatText("%d", m.noc[k][3]));
            // Tried once: refused nodes leave the element as it was.
            if (ui.runDialog(3010, &danep) && testElementNodes(ui, m, danep)) {
                edytuj({}, [&] {
                    return setElementNodes(m, k, fieldInt(danep.w1), fieldInt(danep.w2),
                                           fieldInt(danep.w3));
                });
                return;
            }
        }
    }
    ui.requestRepaint();
}

void _OKNO_::Cm_z_mat() {
    if (m.Pusty != 0) return;
    // Asked again, showing the unchanged G, until a valid value or "Anuluj".
    for (;;) {
        setFieldText(danemat.G, formatText("%f", static_cast<double>(m.G)));
        if (!ui.runDialog(3050, &danemat)) break;
        if (edytuj({.przebudowa = false, .siatka = false},
                   [&] { return setShearModulus(m, fieldReal(danemat.G)); }))
            return;
    }
    ui.requestRepaint();
}

void _OKNO_::Cm_z_sily() {
    if (m.Pusty != 0 || m.nn < 1) return;
    setFieldText(danes.MS, formatText("%f", static_cast<double>(m.MS)));
    if (!ui.runDialog(3190, &danes)) return;
    // A new moment only scales the results: it never starts the automatic computation.
    edytuj({.przebudowa = false, .oblicz = false, .siatka = false},
           [&] { return setTwistingMoment(m, fieldReal(danes.MS)); });
}

void _OKNO_::Cm_scal() {
    if (m.Pusty != 0 || m.nn < 2) return;
    MergeResult r;
    // Nothing to merge is no change: listings, results and the picture stay.
    const bool merged = edytuj({}, [&] {
        r = mergeNodes(m);
        if (r.outcome.ok() && r.nodesMerged == 0) return EditOutcome{EditStatus::Refused, ""};
        return r.outcome;
    });
    if (merged)
        ui.message(formatText("Scalono %d węzłów", r.nodesMerged), "Scal węzły", Buttons::Ok,
                   Icon::Information);
    else if (r.outcome.ok())
        ui.message("Brak węzłów do scalenia", "Scal węzły", Buttons::Ok, Icon::Information);
}
