#include "model/report.h"

#include <locale>
#include <sstream>

#include "model/safe_save.h"

namespace {

constexpr const char* kCannotWrite = "Nie można zapisać danych do pliku";

}  // namespace

std::string reportText(const std::string& path, const Model& m) {
    std::ostringstream out;
    // The classic locale keeps the decimal point and digit grouping out of the user's hands.
    out.imbue(std::locale::classic());
    out << "Wyniki obliczeń programu WIRTOR\n"
        << '\n'
        << "Plik :" << path << '\n'
        << '\n'
        << "Liczba elementów               : " << m.ne << '\n'
        << "Liczba węzłów                  : " << m.nn << '\n'
        << "Moduł sprężystości poprzecznej : " << m.G << '\n'
        << "Moment skręcający              : " << m.MS << '\n'
        << '\n'
        << "Naprężenia w węzłach\n"
        << '\n'
        << "węzeł\tx\ty\tstyczne\tHubera\n";
    // The header names five columns; the table has always carried only the first three.
    const long rows = m.ww.allocated() ? m.ww.rows() : 0;
    for (int i = 1; i <= m.nn && i <= rows; ++i)
        out << i << '\t' << m.ww[i][1] << '\t' << m.ww[i][2] << '\n';
    out << '\n' << '\n' << "Koniec pliku\n";
    return out.str();
}

FileOutcome writeReport(const std::string& path, const Model& m) {
    const std::string text = reportText(path, m);
    if (!saveFileSafely(path, [&](int fd) { return writeAll(fd, text.data(), text.size()); }))
        return {FileStatus::CannotWrite, kCannotWrite};
    return {};
}
