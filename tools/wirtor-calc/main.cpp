// wirtor-calc: computes one model file without the window and prints the main results.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "input.h"
#include "model/file_id.h"
#include "model/model.h"
#include "model/model_file.h"
#include "model/report.h"
#include "picture.h"
#include "solver/bounds.h"
#include "solver/driver.h"
#include "solver/properties_report.h"
#include "solver/solver_method.h"

namespace {

constexpr const char* kUsage =
    "Użycie: wirtor-calc PLIK_MODELU.WT|PRZEKROJ.wts [RAPORT.txt] [--mesh SIATKA.WT]\n"
    "                    [--picture RYSUNEK.png|RYSUNEK.svg] [--size SZERxWYS]\n"
    "                    [--map tau|xz|yz|none] [--solver cholesky|amg]\n"
    "       wirtor-calc RYSUNEK.dxf [RAPORT.txt] [opcje jak wyżej]\n"
    "\n"
    "Wczytuje model przekroju z pliku WT, opis przekroju z pliku wts albo rysunek\n"
    "przekroju z pliku DXF (dwa ostatnie dzieli na elementy tak jak program),\n"
    "oblicza skręcanie swobodne i wypisuje:\n"
    "  nn, ne           liczbę węzłów i elementów,\n"
    "  J                moment bezwładności przy skręcaniu,\n"
    "  katob            jednostkowy kąt skręcenia,\n"
    "  tau_max_elem     największe wypadkowe naprężenie styczne w elementach,\n"
    "  tau_max_wezl     największe wypadkowe naprężenie styczne w węzłach,\n"
    "  holes            liczbę znalezionych otworów,\n"
    "a po nich, obliczone elementami kwadratowymi na tej samej siatce:\n"
    "  J_dolne, J_gorne dolne i górne oszacowanie J (J leży między nimi),\n"
    "  A, xc, yc        pole i środek ciężkości,\n"
    "  Ix, Iy, Ixy      momenty bezwładności względem osi przez środek ciężkości,\n"
    "  I1, I2, alfa     główne momenty bezwładności i kąt osi I1 od osi x (stopnie),\n"
    "  xs, ys           środek ścinania,\n"
    "  Iw               wycinkowy moment bezwładności względem środka ścinania.\n"
    "Gdy ich obliczyć się nie da, wypisuje tylko wcześniejsze wyniki, a przyczynę\n"
    "na standardowe wyjście błędów (kod wyjścia 0, chyba że podano --properties).\n"
    "Gdy podano RAPORT.txt, zapisuje do niego raport wyników.\n"
    "W razie błędu wypisuje komunikat na standardowe wyjście błędów i kończy się\n"
    "kodem różnym od zera.\n"
    "\n"
    "  --times          (przed plikiem) po wynikach wypisuje czasy etapów obliczeń\n"
    "  --mesh PLIK      zapisuje model z siatką (plik WT), np. wygenerowaną z opisu\n"
    "  --properties PLIK zapisuje właściwości przekroju (plik tekstowy)\n"
    "  --picture PLIK   zapisuje rysunek przekroju (PNG lub SVG, wg rozszerzenia),\n"
    "                   taki jak w oknie programu; nie wymaga ekranu\n"
    "  --size SZERxWYS  rozmiar rysunku w pikselach (domyślnie 1280x1024)\n"
    "  --map MAPA       mapa naprężeń: tau (domyślnie), xz, yz lub none (bez mapy)\n"
    "  --solver METODA  metoda rozwiązywania układu: cholesky (rozkład macierzy) albo\n"
    "                   amg (gradienty sprzężone z wielosiatkowym uwarunkowaniem);\n"
    "                   domyślnie wybierana według liczby węzłów i otworów; --times\n"
    "                   wypisuje też metoda, iteracje i zapasowy_rozklad (1: metoda\n"
    "                   amg nie była zbieżna i układ rozwiązał rozkład macierzy)\n"
    "  -h, --help       wyświetla ten opis\n";

/// Says on stderr which file failed and how.
int fail(const std::string& file, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), message.c_str());
    return 1;
}

/// The file the standard output goes to, as the system names it, or a description.
std::string stdoutName() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/fd/1", buf, sizeof buf);
    if (n > 0 && buf[0] == '/' && static_cast<std::size_t>(n) < sizeof buf)
        return std::string(buf, static_cast<std::size_t>(n));
    return "standardowe wyjście";
}

/// Takes "--mesh PATH" out of argv; "" or why it was refused.
std::string takeMeshOption(int& argc, char** argv, std::string& path) {
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mesh") == 0) {
            if (i + 1 >= argc) return "brak wartości opcji --mesh";
            if (!path.empty()) return "powtórzona opcja --mesh";
            path = argv[++i];
            continue;
        }
        argv[out++] = argv[i];
    }
    argc = out;
    argv[argc] = nullptr;
    return {};
}

/// Takes "--properties PATH" out of argv; "" or why it was refused.
std::string takePropertiesOption(int& argc, char** argv, std::string& path) {
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--properties") == 0) {
            if (i + 1 >= argc) return "brak wartości opcji --properties";
            if (!path.empty()) return "powtórzona opcja --properties";
            path = argv[++i];
            continue;
        }
        argv[out++] = argv[i];
    }
    argc = out;
    argv[argc] = nullptr;
    return {};
}

/// Takes "--solver cholesky|amg" out of argv; "" or why it was refused.
std::string takeSolverOption(int& argc, char** argv, SolverMethod& method) {
    int out = 1;
    bool given = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--solver") == 0) {
            if (i + 1 >= argc) return "brak wartości opcji --solver";
            if (given) return "powtórzona opcja --solver";
            given = true;
            const char* name = argv[++i];
            if (std::strcmp(name, "cholesky") == 0)
                method = SolverMethod::Cholesky;
            else if (std::strcmp(name, "amg") == 0)
                method = SolverMethod::Amg;
            else
                return std::string("nieznana metoda opcji --solver: ") + name +
                       " (dozwolone: cholesky, amg)";
            continue;
        }
        argv[out++] = argv[i];
    }
    argc = out;
    argv[argc] = nullptr;
    return {};
}

/// Flushes the standard output: 0, or 1 with a message when it could not take the text.
int flushed() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    return fail(stdoutName(), "Nie można zapisać danych do pliku");
}

}  // namespace

int main(int argc, char** argv) {
    std::string meshOut;
    if (const std::string refused = takeMeshOption(argc, argv, meshOut); !refused.empty()) {
        std::fprintf(stderr, "wirtor-calc: %s\n", refused.c_str());
        return 2;
    }
    std::string propertiesOut;
    if (const std::string refused = takePropertiesOption(argc, argv, propertiesOut);
        !refused.empty()) {
        std::fprintf(stderr, "wirtor-calc: %s\n", refused.c_str());
        return 2;
    }
    ComputeOptions options;
    if (const std::string refused = takeSolverOption(argc, argv, options.method);
        !refused.empty()) {
        std::fprintf(stderr, "wirtor-calc: %s\n", refused.c_str());
        return 2;
    }
    PictureRequest picture;
    if (const std::string refused = takePictureOptions(argc, argv, picture); !refused.empty()) {
        std::fprintf(stderr, "wirtor-calc: %s\n", refused.c_str());
        return 2;
    }
    // --times before the files: where the time went, after the results.
    const bool times = argc > 1 && std::strcmp(argv[1], "--times") == 0;
    if (times) {
        --argc;
        ++argv;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return flushed();
    }
    if (argc < 2 || argc > 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // Taken before any file is opened, which could reuse a closed descriptor 1.
    const FileId out = fileIdOfDescriptor(STDOUT_FILENO);
    Model m;
    const auto t_read = std::chrono::steady_clock::now();
    const InputRead read = readInput(argv[1], m);
    const auto t_read_end = std::chrono::steady_clock::now();
    if (!read.ok()) {
        if (read.line <= 0) return fail(argv[1], read.failure);
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], read.line, read.failure.c_str());
        return 1;
    }
    // Nothing is written over the model: not the report, not the results (">> m.WT").
    const FileId model = fileIdOf(argv[1]);
    if (argc == 3 && sameFile(fileIdOf(argv[2]), model)) return fail(argv[2], kReportOverModel);
    if (sameFile(out, model)) return fail(stdoutName(), kReportOverModel);
    if (!picture.path.empty() && sameFile(fileIdOf(picture.path), model))
        return fail(picture.path, kReportOverModel);
    if (!meshOut.empty() && sameFile(fileIdOf(meshOut), model))
        return fail(meshOut, kReportOverModel);
    if (!meshOut.empty() && argc == 3 &&
        (meshOut == argv[2] || sameFile(fileIdOf(meshOut), fileIdOf(argv[2]))))
        return fail(meshOut, "Raport i siatka nie mogą trafić do tego samego pliku");

    if (!propertiesOut.empty() && sameFile(fileIdOf(propertiesOut), model))
        return fail(propertiesOut, kReportOverModel);
    if (!propertiesOut.empty() && argc == 3 &&
        (propertiesOut == argv[2] || sameFile(fileIdOf(propertiesOut), fileIdOf(argv[2]))))
        return fail(propertiesOut,
                    "Raport i właściwości przekroju nie mogą trafić do tego samego pliku");
    if (!propertiesOut.empty() && !meshOut.empty() &&
        (propertiesOut == meshOut || sameFile(fileIdOf(propertiesOut), fileIdOf(meshOut))))
        return fail(propertiesOut,
                    "Siatka i właściwości przekroju nie mogą trafić do tego samego pliku");

    const ComputeOutcome result = Obliczenia(m, options);
    if (!result.ok()) return fail(argv[1], result.message);
    // The bracket and the section properties beside the linear results, which they leave alone.
    const auto t_bounds = std::chrono::steady_clock::now();
    const SectionBounds bounds = computeBounds(m);
    const auto t_bounds_end = std::chrono::steady_clock::now();

    const auto t_write = std::chrono::steady_clock::now();
    if (!meshOut.empty()) {
        const FileOutcome written = writeModelFile(meshOut, m);
        if (!written.ok()) return fail(meshOut, written.message);
    }
    if (argc == 3) {
        // The report names itself; give it the full path, as the file dialog would.
        std::error_code ec;
        std::filesystem::path report = std::filesystem::absolute(argv[2], ec);
        if (ec) report = argv[2];
        const FileOutcome written = writeReport(report.string(), m);
        if (!written.ok()) return fail(argv[2], written.message);
    }
    if (!picture.path.empty()) {
        const std::string failure = writePicture(picture, m);
        if (!failure.empty()) return fail(picture.path, failure);
    }
    if (!propertiesOut.empty()) {
        if (!bounds.ok()) return fail(argv[1], bounds.message);
        std::error_code ec;
        std::filesystem::path file = std::filesystem::absolute(propertiesOut, ec);
        if (ec) file = propertiesOut;
        const FileOutcome written = writeProperties(file.string(), m, result.J, bounds);
        if (!written.ok()) return fail(propertiesOut, written.message);
    }

    const auto t_write_end = std::chrono::steady_clock::now();

    float tauElem = 0.0f;
    for (int e = 1; e <= m.ne; ++e)
        if (m.napr[e][3] > tauElem) tauElem = m.napr[e][3];
    float tauNode = 0.0f;
    for (int i = 1; i <= m.nn; ++i)
        if (m.ww[i][3] > tauNode) tauNode = m.ww[i][3];

    std::printf("nn = %d\n", m.nn);
    std::printf("ne = %d\n", m.ne);
    std::printf("J = %.9g\n", result.J);
    std::printf("katob = %.9g\n", static_cast<double>(m.katob));
    std::printf("tau_max_elem = %.9g\n", static_cast<double>(tauElem));
    std::printf("tau_max_wezl = %.9g\n", static_cast<double>(tauNode));
    std::printf("holes = %d\n", result.holes);
    if (bounds.ok()) {
        const SectionProperties& p = bounds.properties;
        const std::pair<const char*, double> keys[] = {{"J_dolne", bounds.J_dolne},
                                                       {"J_gorne", bounds.J_gorne},
                                                       {"A", p.A},
                                                       {"xc", p.xc},
                                                       {"yc", p.yc},
                                                       {"Ix", p.Ix},
                                                       {"Iy", p.Iy},
                                                       {"Ixy", p.Ixy},
                                                       {"I1", p.I1},
                                                       {"I2", p.I2},
                                                       {"alfa", p.alfa},
                                                       {"xs", p.xs},
                                                       {"ys", p.ys},
                                                       {"Iw", p.Iw}};
        for (const auto& [key, value] : keys)
            std::printf("%s = %.9g\n", key, value);
    }
    if (times) {
        const auto seconds = [](auto from, auto to) {
            return std::chrono::duration<double>(to - from).count();
        };
        const SolverTimes& t = result.times;
        if (read.meshSeconds >= 0) {
            const double import = std::max(read.importSeconds, 0.0);
            std::printf("czas_wczytania = %.3f s\n",
                        seconds(t_read, t_read_end) - read.meshSeconds - import);
            if (read.importSeconds >= 0) std::printf("czas_importu = %.3f s\n", import);
            std::printf("czas_siatkowania = %.3f s\n", read.meshSeconds);
        } else {
            std::printf("czas_wczytania = %.3f s\n", seconds(t_read, t_read_end));
        }
        std::printf("czas_porzadkowania = %.3f s\n", t.ordering);
        std::printf("czas_skladania = %.3f s\n", t.assembly);
        std::printf("czas_rozkladu = %.3f s\n", t.factorisation);
        std::printf("czas_rozwiazan = %.3f s\n", t.solves);
        std::printf("czas_wygladzania = %.3f s\n", t.smoothing);
        std::printf("czas_przedzialu = %.3f s\n", seconds(t_bounds, t_bounds_end));
        std::printf("czas_zapisu = %.3f s\n", seconds(t_write, t_write_end));
        std::printf("wyrazy_L = %.0f\n", result.factor_entries);
        std::printf("metoda = %s\n", methodName(result.method));
        std::printf("iteracje = %d\n", result.iterations);
        std::printf("zapasowy_rozklad = %d\n", result.fallback ? 1 : 0);
    }
    if (!bounds.ok()) std::fprintf(stderr, "%s: %s\n", argv[1], bounds.message.c_str());
    return flushed();
}
