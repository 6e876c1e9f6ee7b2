#include "io/dxf_units.h"

namespace io {

DrawingUnit drawingUnit(std::optional<int> code) {
    struct Named {
        const char* name;
        double mm;
    };
    // By $INSUNITS code, 1 to 24.
    static constexpr Named kUnits[] = {
        {"cale", 25.4},
        {"stopy", 304.8},
        {"mile", 1609344},
        {"milimetry", 1},
        {"centymetry", 10},
        {"metry", 1e3},
        {"kilometry", 1e6},
        {"mikrocale", 25.4e-6},
        {"tysięczne cala", 25.4e-3},
        {"jardy", 914.4},
        {"angstremy", 1e-7},
        {"nanometry", 1e-6},
        {"mikrometry", 1e-3},
        {"decymetry", 100},
        {"dekametry", 1e4},
        {"hektometry", 1e5},
        {"gigametry", 1e12},
        {"jednostki astronomiczne", 1.495978707e14},
        {"lata świetlne", 9.4607304725808e18},
        {"parseki", 3.0856775814913673e19},
        {"stopy geodezyjne USA", 1200.0 / 3937 * 1000},
        {"cale geodezyjne USA", 100.0 / 3937 * 1000},
        {"jardy geodezyjne USA", 3600.0 / 3937 * 1000},
        {"mile geodezyjne USA", 6336000.0 / 3937 * 1000},
    };
    if (!code || *code == 0) return {"bez jednostek", 0};
    if (*code < 1 || *code > 24)
        return {"nieznane jednostki (kod " + std::to_string(*code) + ")", 0};
    return {kUnits[*code - 1].name, kUnits[*code - 1].mm};
}

}  // namespace io
