#include "app/menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/okno.h"

namespace {

constexpr MenuKind D = MenuKind::DropDown;
constexpr MenuKind I = MenuKind::Item;
constexpr MenuRow SEP{MenuKind::Separator, "", 0};

constexpr MenuRow kMenu[] = {
    {D, "&Plik", 0},
    {I, "&Nowy", 1070, "Ctrl+N"},
    {I, "&Otwórz", 1020, "Ctrl+O"},
    {I, "&Zapisz", 1030, "Ctrl+S"},
    {I, "Zapisz &Jako", 1060, "Ctrl+Shift+S"},
    {I, "Zapisz &przekrój...", 51711},
    {I, "&Importuj DXF...", 51712},
    {I, "Z&amknij", 51703},
    SEP,
    {I, "Zapisz &wyniki do pliku ", 51702},
    {I, "Zapisz &rysunek...", 51707},
    SEP,
    {I, "&Kreator", 51695},
    SEP,
    {I, "&Koniec", 1040, "Ctrl+Q"},

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
    {I, "&Cofnij", 51730, "Ctrl+Z"},
    {I, "&Ponów", 51731, "Ctrl+Y; Ctrl+Shift+Z"},
    SEP,
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
    {I, "&Oblicz", 1010, "F5"},
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
    {I, "&Dopasuj", 51706, "Ctrl+0"},
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
        if (!ce.text.empty()) a->setText(QString::fromStdString(ce.text));
        if (a->isCheckable() && ce.check >= 0) a->setChecked(ce.check != 0);
    }
}

/// Item text as a name: no '&', no trailing "..." or blanks.
std::string plain(const char* caption) {
    std::string s;
    for (const char* p = caption; *p; ++p)
        if (*p != '&') s += *p;
    while (!s.empty() && (s.back() == '.' || s.back() == ' '))
        s.pop_back();
    return s;
}

}  // namespace

std::span<const MenuRow> menuRows() {
    return kMenu;
}

std::string commandName(int id) {
    const char* dropDown = "";
    for (const MenuRow& row : kMenu) {
        if (row.kind == MenuKind::DropDown) dropDown = row.caption;
        if (row.kind != MenuKind::Item || row.id != id) continue;
        const std::string name = plain(row.caption);
        int same = 0;
        for (const MenuRow& other : kMenu)
            same += other.kind != MenuKind::Separator && plain(other.caption) == name;
        if (same == 1) return name;
        // "Węzeł" under "&Dodaj" is "Dodaj węzeł"; the initial is lowered where it is ASCII.
        std::string lowered = name;
        if (!lowered.empty() && lowered[0] >= 'A' && lowered[0] <= 'Z')
            lowered[0] = static_cast<char>(lowered[0] - 'A' + 'a');
        return plain(dropDown) + " " + lowered;
    }
    return {};
}

void buildMenu(QMenuBar* bar, _OKNO_* okno) {
    QMenu* menu = nullptr;
    for (const MenuRow& row : kMenu) {
        switch (row.kind) {
            case MenuKind::DropDown:
                menu = bar->addMenu(QString::fromUtf8(row.caption));
                QObject::connect(menu, &QMenu::aboutToShow, okno,
                                 [menu, okno] { runEnablers(menu, okno); });
                // Keys reach the items while the drop-down is closed, when its enablers have
                // not run: such items stay enabled and their handlers test the state.
                QObject::connect(menu, &QMenu::aboutToHide, okno, [menu] {
                    for (QAction* a : menu->actions())
                        if (!a->shortcuts().isEmpty()) a->setEnabled(true);
                });
                break;
            case MenuKind::Separator:
                menu->addSeparator();
                break;
            case MenuKind::Item: {
                QAction* a = menu->addAction(QString::fromUtf8(row.caption));
                a->setData(row.id);
                const CommandEntry* e = _OKNO_::Find(row.id);
                a->setCheckable(e && e->checkable());
                if (row.keys)
                    a->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(row.keys),
                                                                 QKeySequence::PortableText));
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
