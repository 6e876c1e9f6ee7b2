#pragma once
// Unsaved changes in the shell's tests: the question that guards them and a change that makes
// some.

#include <string>

#include "app/okno.h"
#include "scripted_ui.h"

/// "Zapisać zmiany w pliku …?" about file `name` (Tak / Nie / Anuluj).
inline Prompt pytanieOZapis(const std::string& name = "Beznazwy.WT") {
    return ask("Zapisać zmiany w pliku „" + name + "”?", "WIRTOR", Buttons::YesNoCancel,
               Icon::Question);
}

/// A change of G through the edit sequence; the results flag stays as it was, so the project
/// differs from its file and nothing else does.
inline void zmien(_OKNO_& okno) {
    const int obliczono = okno.m.obliczono;
    okno.edycja({.przebudowa = false, .oblicz = false, .siatka = false}, [&] {
        okno.m.G += 1.0f;
        return true;
    });
    okno.m.obliczono = obliczono;
}
