// Mesh generators: the rectangle patch and the model wizard.
#include <cstring>

#include "app/dialogs/field_text.h"
#include "app/okno.h"
#include "edit/elements.h"
#include "edit/nodes.h"
#include "mesh/rectangle.h"
#include "mesh/ring.h"
#include "mesh/wizard.h"

using dialogs::fieldInt;
using dialogs::fieldReal;
using dialogs::formatText;
using dialogs::setFieldText;

namespace {

void bladDanych(Ui& ui, const std::string& text) {
    ui.message(text, "Błąd danych", Buttons::Ok, Icon::Stop);
}

/// The wizard's element phase: every element asked for in turn, again with its stored nodes
/// after a refusal. False when the user cancels.
bool wizardElements(Ui& ui, Model& m, d_dane_przek& d) {
    for (int e = 1; e <= m.ne; ++e)
        for (;;) {
            setFieldText(d.ee, formatText("%d", e));
            setFieldText(d.w1, formatText("%d", m.noc[e][1]));
            setFieldText(d.w2, formatText("%d", m.noc[e][2]));
            setFieldText(d.w3, formatText("%d", m.noc[e][3]));
            if (!ui.runDialog(3010, &d)) return false;
            const int w[3] = {fieldInt(d.w1), fieldInt(d.w2), fieldInt(d.w3)};
            const ElementCheck c = checkElementNodes(m.nn, w[0], w[1], w[2], NodeTest::Wizard);
            for (const std::string& text : c.messages)
                bladDanych(ui, text);
            if (c.accepted) {
                for (int k = 1; k <= 3; ++k)
                    m.noc[e][k] = w[k - 1];
                break;
            }
        }
    return true;
}

/// The wizard's node phase: every node asked for in turn until the user cancels.
void wizardNodes(Ui& ui, Model& m, d_wsp& d) {
    for (int i = 1; i <= m.nn;) {
        setFieldText(d.i, formatText("%d", i));
        setFieldText(d.x, formatText("%3.4f", static_cast<double>(m.x[i][1])));
        setFieldText(d.y, formatText("%3.4f", static_cast<double>(m.x[i][2])));
        if (!ui.runDialog(3020, &d)) return;
        const EditOutcome r = setNode(m, i, fieldReal(d.x), fieldReal(d.y));
        if (r.ok())
            ++i;
        else
            bladDanych(ui, r.message);
    }
}

}  // namespace

void _OKNO_::Cm_kreator() {
    if (m.Pusty == 0) {
        if (!zapytaj_o_zapis()) {
            ui.requestRepaint();
            return;
        }
        Zwol_pam();
    }
    setFieldText(dane.ne, "2");
    setFieldText(dane.nn, "4");
    setFieldText(dane.MS, formatText("%f", static_cast<double>(m.MS)));
    setFieldText(dane.G, formatText("%f", static_cast<double>(m.G)));
    if (ui.runDialog(3000, &dane)) {
        const WizardData d{fieldInt(dane.ne), fieldInt(dane.nn), fieldReal(dane.MS),
                           fieldReal(dane.G)};
        const WizardCheck c = checkWizardData(d);
        for (const std::string& text : c.messages)
            bladDanych(ui, text);
        if (c.accepted) {
            // The dialogs run inside the change: nothing is drawn until the model is complete.
            // A new project: its history starts here, not saved yet.
            edytuj({.historia = false}, [&] {
                const EditOutcome r = startWizardModel(m, d.nn, d.ne);
                if (!r.ok()) return r;
                m.G = static_cast<float>(d.G);
                m.MS = static_cast<float>(d.MS);
                if (wizardElements(ui, m, danep)) wizardNodes(ui, m, danew);
                return r;
            });
            nowa_historia(false);
            pokaz_tytul();
            return;
        }
        m.nn = m.nq = m.ne = 0;
    }
    ui.requestRepaint();
}

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

void _OKNO_::Cm_pierscien() {
    if (m.Pusty == 0) {
        // A fresh record at every call: the dialog never remembers the previous entries.
        d_dane_pierscien d{};
        for (char* f : {d.px, d.py, d.rz, d.rw, d.kp, d.ix, d.iy})
            f[0] = '0';
        std::memcpy(d.kk, "360", 4);
        d.ma[0] = '1';
        d.opt = 1;
        d.p4 = 0;
        if (ui.runDialog(3170, &d)) {
            RingPatch p;
            p.px = fieldReal(d.px);
            p.py = fieldReal(d.py);
            p.rz = fieldReal(d.rz);
            p.rw = fieldReal(d.rw);
            p.kp = fieldReal(d.kp);
            p.kk = fieldReal(d.kk);
            p.ix = fieldInt(d.ix);
            p.iy = fieldInt(d.iy);
            p.p4 = d.p4 != 0;
            // Entries that fail the test, or that could only give folded or flat elements,
            // are refused silently.
            if (p.px >= 0 && p.py >= 0 && p.ix > 0 && p.iy > 0) {
                edytuj({}, [&] { return appendRing(m, p); });
                return;
            }
        }
    }
    ui.requestRepaint();
}
