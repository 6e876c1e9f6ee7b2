#include "model/report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <locale>
#include <sstream>

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
    // O_NONBLOCK: a named pipe without a reader is refused instead of hanging the open. The
    // writes block as usual; only a regular file is truncated, so that a device or a pipe
    // with a reader (/dev/stdout) can take the report too.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return {FileStatus::CannotWrite, kCannotWrite};
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    bool ok = ::fstat(fd, &st) == 0 && flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
    if (ok && S_ISREG(st.st_mode)) ok = ::ftruncate(fd, 0) == 0;
    const std::string text = reportText(path, m);
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        ok = put > 0;
        if (ok) done += static_cast<std::size_t>(put);
    }
    if (::close(fd) != 0) ok = false;
    if (!ok) return {FileStatus::CannotWrite, kCannotWrite};
    return {};
}
