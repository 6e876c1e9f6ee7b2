#pragma once
// Transfer records of the data-entry dialogs. Each is a plain struct whose fields stand in the
// order in which its dialog binds its controls: char[8] for an edit of the first dialogs (up to 7
// characters and a terminating zero), char[16] for one of the section dialogs, a large char
// array for a table, int for a check box (1 = ticked, 0 = clear) or a choice (the index). The
// dialog template table derives the same layout from its controls and checks it against these
// structs at compile time.
//
// Commands write pre-filled texts with setFieldText (dialogs/field_text.h), which keeps a text
// longer than 7 characters whole for the next dialog without overflowing the field.

/// Basic data of the wizard (dialog 3000).
struct d_dane_pods {
    char ne[8];
    char nn[8];
    char MS[8];
    char G[8];
};

/// Element number and its three nodes (dialog 3010).
struct d_dane_przek {
    char ee[8];
    char w1[8];
    char w2[8];
    char w3[8];
};

/// Node number and coordinates (dialog 3020).
struct d_wsp {
    char i[8];
    char x[8];
    char y[8];
};

/// Material (dialog 3050); the dialog binds only `G`, `i` takes part in no dialog.
struct d_mat {
    char i[8];
    char G[8];
};

/// Twisting moment (dialog 3190).
struct d_sily {
    char MS[8];
};

/// Number prompt (dialog 3100): the typed number and the prompt shown left of it.
struct d_nr {
    char i[8];
    char nap[40];
};

/// Graphics settings (dialog 3110).
struct d_dane_graf {
    char iizo[8];
    int ladne;
    int przelicz;
};

/// Copy of a group with a displacement (dialog 3120).
struct d_dane_kop {
    char px[8];
    char py[8];
    int wezly;
    int elementy;
    int sily;
    int podpory;
};

/// Displacement of a group (dialog 3130).
struct d_dane_prz {
    char px[8];
    char py[8];
};

/// Rectangular patch of elements (dialog 3150).
struct d_dane_mac {
    char px[8];
    char py[8];
    char dx[8];
    char dy[8];
    char ix[8];
    char iy[8];
    char ma[8];
    int opt;
    int p4;
};

/// Ring-sector patch of elements (dialog 3170).
struct d_dane_pierscien {
    char px[8];
    char py[8];
    char rz[8];
    char rw[8];
    char kp[8];
    char kk[8];
    char ix[8];
    char iy[8];
    char ma[8];
    int opt;
    int p4;
};

/// Support with a forced displacement (dialog 3030, opened by no command).
struct d_wymusz {
    char i[8];
    char nu[8];
    char x[8];
    char y[8];
    int chx;
    int chy;
};

/// Nodal load; no dialog template is tied to it.
struct d_temp {
    char i[8];
    char nr[8];
    char dt[8];
};

/// Cross-section area (dialog 3060, opened by no command).
struct d_przekr {
    char i[8];
    char a[8];
};

/// Counts shown before a group is deleted (dialog 3140, opened by no command).
struct d_dane_doom {
    char we[8];
    char el[8];
    char po[8];
    char si[8];
};

/// Thickness (dialog 3160, opened by no command).
struct da_grubosc {
    char gr[8];
};

/// Size of an exported picture in pixels (dialog 3200).
struct d_rysunek {
    char szer[8];
    char wys[8];
};

/// One closed outline (dialog 3300): the table's rows "X Y R", one a line; whether it is cut
/// out of the section; the largest element edge ("" for automatic).
struct d_obrys {
    char punkty[16384];
    int otwor;
    char siatka[16];
};

/// The profile kind chosen (dialog 3310): its index in ProfileKind order.
struct d_profil_rodzaj {
    int rodzaj;
};

/// Dimensions and placement of a profile (dialogs 3320-3331). A kind of n dimensions fills the
/// last n of the five fields of `w`, so that the dialogs of all kinds lay out this one record.
struct d_profil {
    char w[5][16];
    char x[16];
    char y[16];
    char obrot[16];
    char siatka[16];
    int otwor;
};

/// The largest element edge of the section (dialog 3340), "" for automatic.
struct d_siatka {
    char siatka[16];
};

/// The scale and the layer of a DXF drawing to import (dialog 3350); "" for all layers.
struct d_dxf {
    char skala[16];
    char warstwa[64];
};
