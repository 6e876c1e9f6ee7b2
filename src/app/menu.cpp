#include "app/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/okno.h"

namespace {

constexpr MenuKind D = MenuKind::DropDown;
constexpr MenuKind I = MenuKind::Item;
constexpr MenuRow SEP{MenuKind::Separator, "", 0};

constexpr MenuRow kMenu[] = {
    {D, "&Plik", 0},
    {I, "&Nowy", 1070},
    {I, "&Otwórz", 1020},
    {I, "&Zapisz", 1030},
    {I, "Zapisz &Jako", 1060},
    {I, "Zapisz &przekrój...", 51711},
    {I, "Z&amknij", 51703},
    SEP,
    {I, "Zapisz &wyniki do pliku ", 51702},
    {I, "Zapisz &rysunek...", 51707},
    SEP,
    {I, "&Kreator", 51695},
    SEP,
    {I, "&Koniec", 1040},

    {D, "&Dodaj", 0},
    {I, "&Węzeł", 51688},
    {I, "&Element", 51687},
    {I, "Prostokąt", 51700},
    {I, "Wycinek pierścienia", 51704},
    {I, "&Obrys...", 51708},
    {I, "&Profil...", 51709},

    {D, "&Usuń", 0},
    {I, "&Węzeł", 51689},
    {I, "&Element", 51691},

    {D, "&Zmień", 0},
    {I, "&Węzeł", 1191},
    {I, "&Element", 1170},
    {I, "&Materiał", 1150},
    {I, "&Moment skręcający", 51682},
    {I, "&Scal węzły", 51705},
    {I, "&Siatka przekroju...", 51710},

    {D, "&Grupa", 0},
    {I, "&Przesuń", 51698},
    {I, "&Kopiuj z przesunięciem", 51697},
    {I, "&Usuń", 51699},

    {D, "&Widok", 0},
    {I, "&Oblicz", 1010},
    SEP,
    {I, "Naprężenia styczne tau &xz", 1120},
    {I, "Naprężenia styczne tau &yz", 1121},
    {I, "Naprężenia styczne &tau", 1122},
    SEP,
    {I, "Numery &elmentów", 1200},
    {I, "Numery &materiałów", 1220},
    SEP,
    {I, "Siatka elementów skończonych", 1275},
    SEP,
    {I, "&Węzły", 51694},
    {I, "Numery wę&złów", 1210},
    SEP,
    {I, "&Dopasuj", 51706},
    SEP,
    {I, "&Wyniki obliczeń", 1130},
    {I, "&Dane obliczeniowe", 1140},

    {D, "Us&tawienia", 0},
    {I, "&Grafika", 51696},

    {D, "P&omoc", 0},
    {I, "&O programie...", 1240},
};

/// Sets every item of `menu` from its enabler; nothing is remembered between openings.
void runEnablers(QMenu* menu, _OKNO_* okno) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        CommandEnabler ce;
        okno->enable(a->data().toInt(), ce);
        a->setEnabled(ce.enabled);
        if (a->isCheckable() && ce.check >= 0) a->setChecked(ce.check != 0);
    }
}

}  // namespace

std::span<const MenuRow> menuRows() {
    return kMenu;
}

void buildMenu(QMenuBar* bar, _OKNO_* okno) {
    QMenu* menu = nullptr;
    for (const MenuRow& row : kMenu) {
        switch (row.kind) {
            case MenuKind::DropDown:
                menu = bar->addMenu(QString::fromUtf8(row.caption));
                QObject::connect(menu, &QMenu::aboutToShow, okno,
                                 [menu, okno] { runEnablers(menu, okno); });
                break;
            case MenuKind::Separator:
                menu->addSeparator();
                break;
            case MenuKind::Item: {
                QAction* a = menu->addAction(QString::fromUtf8(row.caption));
                a->setData(row.id);
                const CommandEntry* e = _OKNO_::Find(row.id);
                a->setCheckable(e && e->checkable());
                const int id = row.id;
                // Queued, so the drop-down is closed before a handler opens a modal box.
                QObject::connect(
                    a, &QAction::triggered, okno, [okno, id] { okno->dispatch(id); },
                    Qt::QueuedConnection);
                break;
            }
        }
    }
}
