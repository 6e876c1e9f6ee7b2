// The command table of the main window, the enablers, and the display switches.
#include "app/globals.h"
#include "app/menu.h"
#include "app/okno.h"

#include <utility>

namespace {

using O = _OKNO_;
using R = EnablerRule;

constexpr R kAlways{};
constexpr R kProject{.need = R::Project};
constexpr R kNodes{.need = R::Project, .minNodes = 1};
constexpr R kResults{.need = R::Results};
constexpr R kGroup{.need = R::Group, .minNodes = 1};
constexpr R kSection{.need = R::Section};
constexpr R project(int O::*shows) {
    return {.need = R::Project, .shows = shows};
}
constexpr R results(int O::*shows) {
    return {.need = R::Results, .shows = shows};
}
constexpr R stress(int k) {
    return {.need = R::Results, .stress = k};
}

// Ids without a menu item are routed too; nothing in the menu sends them.
constexpr CommandEntry kCommands[] = {
    // "&Plik"
    {1070, &O::Cm_Nowy, kAlways},
    {1020, &O::Cm_Otworz, kAlways},
    {1030, &O::Cm_Zapisz, kProject},
    {1060, &O::Cm_Zapisz_jako, kProject},
    {51711, &O::Cm_zap_przekroj, kSection},
    {51712, &O::Cm_dxf, kAlways},
    {51703, &O::Cm_zamknij, kProject},
    {51702, &O::Cm_zap_wyn, kResults},
    {51707, &O::Cm_zap_rys, kProject},
    {51695, &O::Cm_kreator, {.need = R::NoProject}},
    {1040, &O::Cm_Koniec, kAlways},
    // "&Dodaj"
    {51688, &O::Cm_d_wez, kProject},
    {51687, &O::Cm_d_ele, {.need = R::Project, .minNodes = 3}},
    {51700, &O::Cm_prost, kProject},
    {51704, &O::Cm_pierscien, kProject},
    {51708, &O::Cm_obrys, kAlways},
    {51709, &O::Cm_profil, kAlways},
    // "&Usuń"
    {51689, &O::Cm_u_wez, kNodes},
    {51691, &O::Cm_u_ele, {.need = R::Project, .minElements = 1}},
    // "&Zmień"
    {51730, &O::Cm_Cofnij, {.need = R::Undo}},
    {51731, &O::Cm_Ponow, {.need = R::Redo}},
    {1191, &O::Cm_z_wez, kNodes},
    {1170, &O::Cm_z_pret, kProject},
    {1150, &O::Cm_z_mat, kProject},
    {51682, &O::Cm_z_sily, kNodes},
    {51705, &O::Cm_scal, {.need = R::Project, .minNodes = 2}},
    {51710, &O::Cm_siatka_przekroju, kSection},
    // "&Grupa"
    {51698, &O::Cm_Grupa_prz, kGroup},
    {51697, &O::Cm_Grupa_kop_prz, kGroup},
    // "&Widok"
    {1010, &O::Cm_ODSWIEZ, kAlways},
    {1120, &O::Cm_Napr1, stress(1)},
    {1121, &O::Cm_Napr2, stress(2)},
    {1122, &O::Cm_Napr3, stress(3)},
    {1200, &O::Cm_n_ele, project(&O::p_n_ele)},
    {1220, &O::Cm_n_mat, project(&O::p_n_mat)},
    {1275, &O::Cm_siatka, project(&O::p_siatka)},
    {51694, &O::Cm_p_wez, project(&O::p_wez)},
    {1210, &O::Cm_n_wez, project(&O::p_n_wezl)},
    {51706, &O::Cm_dopasuj, kProject},
    {1130, &O::Cm_Wyniki, kResults},
    {1140, &O::Cm_Dane, kProject},
    // "Us&tawienia", "P&omoc"
    {51696, &O::Cm_u_graf, kAlways},
    {1240, &O::Cm_opro, kAlways},
    // No menu item.
    {1123, &O::Cm_Napr4, stress(4)},
    {1110, &O::Cm_Przem, results(&O::p_przem)},
    {1230, &O::Cm_n_pola, results(&O::p_n_pola)},
    {1250, &O::Cm_Podp, project(&O::p_podp)},
    {1260, &O::Cm_Sily, project(&O::p_sily)},
    {1270, &O::Cm_Sily_nr, {.need = R::LoadNumbers, .shows = &O::p_sily_nr}},
    {51699, &O::Cm_Grupa_doom, kGroup},
    {1160, &O::Cm_z_przek, kProject},
    {51683, &O::Cm_z_podp, kProject},
    {51701, &O::Cm_z_grubosc, kProject},
    {51685, &O::Cm_d_sile, kNodes},
    {51684, &O::Cm_d_podp, kNodes},
    {51686, &O::Cm_d_mat, kProject},
    {51693, &O::Cm_u_podp, kProject},
    {51690, &O::Cm_u_sile, kNodes},
    {51692, &O::Cm_u_mat, kProject},
};

// Commands that may run while a long operation reads the model: they change what is shown,
// never the model or the project.
bool wolnyPodczasPracy(const CommandEntry& e) {
    return e.checkable() || e.handler == &O::Cm_dopasuj;
}

}  // namespace

const CommandEntry* _OKNO_::Find(int id) {
    for (const CommandEntry& e : kCommands)
        if (e.id == id) return &e;
    return nullptr;
}

bool _OKNO_::dispatch(int id) {
    const CommandEntry* e = Find(id);
    if (!e) return false;
    if (zajety_ && !wolnyPodczasPracy(*e)) return true;
    // A change the command makes is undone under the command's name.
    const std::string bylo = std::exchange(polecenie_, commandName(id));
    (this->*(e->handler))();
    polecenie_ = bylo;
    // Any command may change what the status line shows (a new project, G, MS, results).
    odswiez_status();
    return true;
}

bool _OKNO_::enable(int id, CommandEnabler& ce) {
    const CommandEntry* e = Find(id);
    if (!e) return false;
    const EnablerRule& r = e->rule;
    const bool project = m.Pusty != 1;
    bool on = true;
    switch (r.need) {
        case R::Always:
            break;
        case R::NoProject:
            on = m.Pusty != 0;
            break;
        case R::Project:
            on = project;
            break;
        case R::Results:
            on = project && m.obliczono != 0;
            break;
        case R::Group:
            on = project && m.j_grupa != 0;
            break;
        case R::LoadNumbers:
            on = !(m.Pusty == 1 && p_sily == 1);
            break;
        case R::Section:
            on = project && przekroj_.has_value();
            break;
        case R::Undo:
        case R::Redo: {
            const bool wstecz = r.need == R::Undo;
            on = project && (wstecz ? historia_.canUndo() : historia_.canRedo());
            std::string text = wstecz ? "&Cofnij" : "&Ponów";
            const std::string name = !on      ? ""
                                     : wstecz ? historia_.undoName()
                                              : historia_.redoName();
            if (!name.empty()) text += ": " + name;
            ce.SetText(text);
            break;
        }
    }
    // The counts mean something only while a project exists.
    if (r.minNodes > 0 || r.minElements > 0)
        on = on && project && m.nn >= r.minNodes && m.ne >= r.minElements;
    if (zajety_ && !wolnyPodczasPracy(*e)) on = false;
    ce.Enable(on);
    if (r.shows != nullptr) ce.SetCheck(this->*r.shows == 1);
    if (r.stress != 0) ce.SetCheck(p_napr == 1 && p_rn == r.stress);
    return true;
}

// Display switches. None tests the model: the enablers grey them out when they do not apply.

void _OKNO_::wybierz_napr(int k) {
    // Choosing the stress already shown hides the map.
    p_napr = (p_napr == 1 && p_rn == k) ? 0 : 1;
    p_rn = k;
    ui.requestRepaint();
}

void _OKNO_::przelacz_grupe(int& sw) {
    // At most one of element numbers, material numbers and warped outlines is on.
    if (sw == 1) {
        sw = 0;
    } else {
        p_n_ele = p_n_mat = p_n_pola = 0;
        sw = 1;
    }
    ui.requestRepaint();
}

void _OKNO_::Cm_Napr1() {
    wybierz_napr(1);
}
void _OKNO_::Cm_Napr2() {
    wybierz_napr(2);
}
void _OKNO_::Cm_Napr3() {
    wybierz_napr(3);
}
void _OKNO_::Cm_Napr4() {
    wybierz_napr(4);
}
void _OKNO_::Cm_n_ele() {
    przelacz_grupe(p_n_ele);
}
void _OKNO_::Cm_n_mat() {
    przelacz_grupe(p_n_mat);
}
void _OKNO_::Cm_n_pola() {
    przelacz_grupe(p_n_pola);
}
void _OKNO_::Cm_siatka() {
    przelacz(p_siatka);
    ui.requestRepaint();
}
void _OKNO_::Cm_p_wez() {
    przelacz(p_wez);
    ui.requestRepaint();
}
void _OKNO_::Cm_n_wez() {
    przelacz(p_n_wezl);
    ui.requestRepaint();
}
void _OKNO_::Cm_Przem() {
    przelacz(p_przem);
    ui.requestRepaint();
}
void _OKNO_::Cm_Podp() {
    przelacz(p_podp);
    ui.requestRepaint();
}
void _OKNO_::Cm_Sily() {
    przelacz(p_sily);
    ui.requestRepaint();
}
void _OKNO_::Cm_Sily_nr() {
    przelacz(p_sily_nr);
    ui.requestRepaint();
}
void _OKNO_::Cm_dopasuj() {
    mapping.reset();
    ui.requestRepaint();
}
