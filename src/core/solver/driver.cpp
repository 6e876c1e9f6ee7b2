#include "solver/driver.h"

ComputeOutcome Obliczenia(Model& m) {
    m.obliczono = 0;
    m.blad = 0;
    return {ComputeStatus::Failed, "Błąd podczas obliczeń"};
}
