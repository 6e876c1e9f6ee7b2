// The command table of the main window, the enablers, and the display switches.
#include "app/globals.h"
#include "app/okno.h"

namespace {

using O = _OKNO_;

// Ids without a menu item are routed too; nothing in the menu sends them.
constexpr CommandEntry kCommands[] = {
    // "&Plik"
    {1070, &O::Cm_Nowy, nullptr, false},
    {1020, &O::Cm_Otworz, nullptr, false},
    {1030, &O::Cm_Zapisz, &O::Ce_Zapisz, false},
    {1060, &O::Cm_Zapisz, &O::Ce_Zapisz, false},
    {51703, &O::Cm_zamknij, &O::Ce_zamknij, false},
    {51702, &O::Cm_zap_wyn, &O::Ce_zap_wyn, false},
    {51695, &O::Cm_kreator, &O::Ce_kreator, false},
    {1040, &O::Cm_Koniec, nullptr, false},
    // "&Dodaj"
    {51688, &O::Cm_d_wez, &O::Ce_d_wez, false},
    {51687, &O::Cm_d_ele, &O::Ce_d_ele, false},
    {51700, &O::Cm_prost, &O::Ce_prost, false},
    // "&Usuń"
    {51689, &O::Cm_u_wez, &O::Ce_u_wez, false},
    {51691, &O::Cm_u_ele, &O::Ce_u_ele, false},
    // "&Zmień"
    {1191, &O::Cm_z_wez, &O::Ce_z_wez, false},
    {1170, &O::Cm_z_pret, &O::Ce_z_pret, false},
    {1150, &O::Cm_z_mat, &O::Ce_z_mat, false},
    {51682, &O::Cm_z_sily, &O::Ce_z_sily, false},
    // "&Grupa"
    {51698, &O::Cm_Grupa_prz, &O::Ce_Grupa_prz, false},
    {51697, &O::Cm_Grupa_kop_prz, &O::Ce_Grupa_kop_prz, false},
    // "&Widok"
    {1010, &O::Cm_ODSWIEZ, nullptr, false},
    {1120, &O::Cm_Napr1, &O::Ce_Napr1, true},
    {1121, &O::Cm_Napr2, &O::Ce_Napr2, true},
    {1122, &O::Cm_Napr3, &O::Ce_Napr3, true},
    {1200, &O::Cm_n_ele, &O::Ce_n_ele, true},
    {1220, &O::Cm_n_mat, &O::Ce_n_mat, true},
    {1275, &O::Cm_siatka, &O::Ce_siatka, true},
    {51694, &O::Cm_p_wez, &O::Ce_p_wez, true},
    {1210, &O::Cm_n_wez, &O::Ce_n_wez, true},
    {1130, &O::Cm_Wyniki, &O::Ce_Wyniki, false},
    {1140, &O::Cm_Dane, &O::Ce_Dane, false},
    // "Us&tawienia", "P&omoc"
    {51696, &O::Cm_u_graf, nullptr, false},
    {1240, &O::Cm_opro, nullptr, false},
    // No menu item.
    {1123, &O::Cm_Napr4, &O::Ce_Napr4, true},
    {1110, &O::Cm_Przem, &O::Ce_Przem, true},
    {1230, &O::Cm_n_pola, &O::Ce_n_pola, true},
    {1250, &O::Cm_Podp, &O::Ce_Podp, true},
    {1260, &O::Cm_Sily, &O::Ce_Sily, true},
    {1270, &O::Cm_Sily_nr, &O::Ce_Sily_nr, true},
    {51704, &O::Cm_pierscien, &O::Ce_pierscien, false},
    {51699, &O::Cm_Grupa_doom, &O::Ce_Grupa_doom, false},
    {1160, &O::Cm_z_przek, &O::Ce_z_przek, false},
    {51683, &O::Cm_z_podp, &O::Ce_z_podp, false},
    {51701, &O::Cm_z_grubosc, &O::Ce_z_grubosc, false},
    {51685, &O::Cm_d_sile, &O::Ce_d_sile, false},
    {51684, &O::Cm_d_podp, &O::Ce_d_podp, false},
    {51686, &O::Cm_d_mat, &O::Ce_d_mat, false},
    {51693, &O::Cm_u_podp, &O::Ce_u_podp, false},
    {51690, &O::Cm_u_sile, &O::Ce_u_sile, false},
    {51692, &O::Cm_u_mat, &O::Ce_u_mat, false},
};

}  // namespace

const CommandEntry* _OKNO_::Find(int id) {
    for (const CommandEntry& e : kCommands)
        if (e.id == id) return &e;
    return nullptr;
}

bool _OKNO_::dispatch(int id) {
    const CommandEntry* e = Find(id);
    if (!e) return false;
    (this->*(e->handler))();
    return true;
}

bool _OKNO_::enable(int id, CommandEnabler& ce) {
    const CommandEntry* e = Find(id);
    if (!e) return false;
    if (e->enabler)
        (this->*(e->enabler))(ce);
    else
        ce.Enable(true);
    return true;
}

// Enablers: "model" is Pusty != 1, "results" is obliczono != 0.

void _OKNO_::Ce_Zapisz(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_zamknij(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_zap_wyn(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
}
void _OKNO_::Ce_kreator(CommandEnabler& ce) {
    ce.Enable(m.Pusty != 0);
}
void _OKNO_::Ce_d_wez(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_d_ele(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 3);
}
void _OKNO_::Ce_prost(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_u_wez(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1);
}
void _OKNO_::Ce_u_ele(CommandEnabler& ce) {
    ce.Enable(model_() && m.ne >= 1);
}
void _OKNO_::Ce_z_wez(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1);
}
void _OKNO_::Ce_z_pret(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_z_mat(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_z_sily(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1);
}
void _OKNO_::Ce_Grupa_prz(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1 && m.j_grupa != 0);
}
void _OKNO_::Ce_Grupa_kop_prz(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1 && m.j_grupa != 0);
}
void _OKNO_::Ce_Grupa_doom(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1 && m.j_grupa != 0);
}

void _OKNO_::Ce_Napr1(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
    ce.SetCheck(p_napr == 1 && p_rn == 1);
}
void _OKNO_::Ce_Napr2(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
    ce.SetCheck(p_napr == 1 && p_rn == 2);
}
void _OKNO_::Ce_Napr3(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
    ce.SetCheck(p_napr == 1 && p_rn == 3);
}
void _OKNO_::Ce_Napr4(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
    ce.SetCheck(p_napr == 1 && p_rn == 4);
}
void _OKNO_::Ce_n_ele(CommandEnabler& ce) {
    ce.Enable(model_());
    ce.SetCheck(p_n_ele == 1);
}
void _OKNO_::Ce_n_mat(CommandEnabler& ce) {
    ce.Enable(model_());
    ce.SetCheck(p_n_mat == 1);
}
void _OKNO_::Ce_n_pola(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
    ce.SetCheck(p_n_pola == 1);
}
void _OKNO_::Ce_siatka(CommandEnabler& ce) {
    ce.Enable(model_());
    ce.SetCheck(p_siatka == 1);
}
void _OKNO_::Ce_p_wez(CommandEnabler& ce) {
    ce.Enable(model_());
    ce.SetCheck(p_wez == 1);
}
void _OKNO_::Ce_n_wez(CommandEnabler& ce) {
    ce.Enable(model_());
    ce.SetCheck(p_n_wezl == 1);
}
void _OKNO_::Ce_Przem(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
    ce.SetCheck(p_przem == 1);
}
void _OKNO_::Ce_Podp(CommandEnabler& ce) {
    ce.Enable(model_());
    ce.SetCheck(p_podp == 1);
}
void _OKNO_::Ce_Sily(CommandEnabler& ce) {
    ce.Enable(model_());
    ce.SetCheck(p_sily == 1);
}
void _OKNO_::Ce_Sily_nr(CommandEnabler& ce) {
    ce.Enable(!(m.Pusty == 1 && p_sily == 1));
    ce.SetCheck(p_sily_nr == 1);
}
void _OKNO_::Ce_Wyniki(CommandEnabler& ce) {
    ce.Enable(model_() && wyniki_());
}
void _OKNO_::Ce_Dane(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_pierscien(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_z_przek(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_z_podp(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_z_grubosc(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_d_sile(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1);
}
void _OKNO_::Ce_d_podp(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1);
}
void _OKNO_::Ce_d_mat(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_u_podp(CommandEnabler& ce) {
    ce.Enable(model_());
}
void _OKNO_::Ce_u_sile(CommandEnabler& ce) {
    ce.Enable(model_() && m.nn >= 1);
}
void _OKNO_::Ce_u_mat(CommandEnabler& ce) {
    ce.Enable(model_());
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

// Commands of features still to come: mesh generators and wizard, node and element editing,
// group operations and graphics settings. Routed and enabled already.

void _OKNO_::Cm_kreator() {}
void _OKNO_::Cm_pierscien() {}
void _OKNO_::Cm_d_wez() {}
void _OKNO_::Cm_d_ele() {}
void _OKNO_::Cm_u_wez() {}
void _OKNO_::Cm_u_ele() {}
void _OKNO_::Cm_z_wez() {}
void _OKNO_::Cm_z_pret() {}
void _OKNO_::Cm_z_mat() {}
void _OKNO_::Cm_z_sily() {}
void _OKNO_::Cm_Grupa_prz() {}
void _OKNO_::Cm_Grupa_kop_prz() {}
void _OKNO_::Cm_Grupa_doom() {}
