#include "solver/properties_report.h"

#include <charconv>

#include "model/safe_save.h"

namespace {

constexpr const char* kCannotWrite = "Nie można zapisać danych do pliku";

/// "%.9g" without the locale.
std::string g9(double v) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 9);
    return std::string(buffer, r.ec == std::errc{} ? r.ptr : buffer);
}

}  // namespace

std::string propertiesText(const std::string& path, const Model& m, double J,
                           const SectionBounds& b) {
    const SectionProperties& p = b.properties;
    std::string s;
    const auto line = [&s](const char* name, double v, const char* note = nullptr) {
        s.append(name).append(" = ").append(g9(v));
        if (note) s.append("   ").append(note);
        s.append("\n");
    };
    s.append("Właściwości przekroju - program WIRTOR\n\nPlik :").append(path).append("\n\n");
    s.append("Liczba elementów               : ").append(std::to_string(m.ne)).append("\n");
    s.append("Liczba węzłów                  : ").append(std::to_string(m.nn)).append("\n\n");
    s.append("Moment bezwładności przy skręcaniu\n");
    line("J", J, "(elementy liniowe)");
    line("J_dolne", b.J_dolne, "(oszacowanie dolne, elementy kwadratowe)");
    line("J_gorne", b.J_gorne, "(oszacowanie górne, elementy kwadratowe)");
    s.append("\nPole i środek ciężkości\n");
    line("A", p.A);
    line("xc", p.xc);
    line("yc", p.yc);
    s.append("\nMomenty bezwładności względem osi przez środek ciężkości\n");
    line("Ix", p.Ix);
    line("Iy", p.Iy);
    line("Ixy", p.Ixy);
    s.append("\nGłówne momenty bezwładności\n");
    line("I1", p.I1);
    line("I2", p.I2);
    line("alfa", p.alfa, "(kąt osi momentu I1 od osi x, w stopniach)");
    s.append("\nŚrodek ścinania\n");
    line("xs", p.xs);
    line("ys", p.ys);
    s.append("\nWycinkowy moment bezwładności względem środka ścinania\n");
    line("Iw", p.Iw);
    s.append("\n\nKoniec pliku\n");
    return s;
}

FileOutcome writeProperties(const std::string& path, const Model& m, double J,
                            const SectionBounds& b) {
    const std::string text = propertiesText(path, m, J, b);
    if (!saveFileSafely(path, [&](int fd) { return writeAll(fd, text.data(), text.size()); }))
        return {FileStatus::CannotWrite, kCannotWrite};
    return {};
}
