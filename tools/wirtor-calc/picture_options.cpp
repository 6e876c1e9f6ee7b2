#include <cstdio>
#include <cstring>

#include "picture.h"

namespace {

// The sides the program's dialog accepts.
constexpr int kMinSide = 151;
constexpr int kMaxSide = 8000;

bool parseSize(const char* s, int& w, int& h) {
    char x = 0, rest = 0;
    return std::sscanf(s, "%d%c%d%c", &w, &x, &h, &rest) == 3 && (x == 'x' || x == 'X') &&
           w >= kMinSide && w <= kMaxSide && h >= kMinSide && h <= kMaxSide;
}

}  // namespace

std::string takePictureOptions(int& argc, char** argv, PictureRequest& r) {
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const bool valued = std::strcmp(a, "--picture") == 0 || std::strcmp(a, "--size") == 0 ||
                            std::strcmp(a, "--map") == 0;
        if (valued) {
            if (i + 1 >= argc) return std::string("brak wartości opcji ") + a;
            const char* v = argv[++i];
            if (std::strcmp(a, "--picture") == 0) {
                r.path = v;
            } else if (std::strcmp(a, "--size") == 0) {
                if (!parseSize(v, r.w, r.h))
                    return std::string("błędny rozmiar rysunku: ") + v +
                           " (oczekiwano SZERxWYS, każdy bok od 151 do 8000 pikseli)";
            } else if (std::strcmp(v, "tau") == 0) {
                r.rn = 3;
            } else if (std::strcmp(v, "xz") == 0) {
                r.rn = 1;
            } else if (std::strcmp(v, "yz") == 0) {
                r.rn = 2;
            } else if (std::strcmp(v, "none") == 0) {
                r.rn = 0;
            } else {
                return std::string("nieznana mapa naprężeń: ") + v +
                       " (dozwolone: tau, xz, yz, none)";
            }
            continue;
        }
        if (a[0] == '-' && a[1] != '\0' && std::strcmp(a, "--times") != 0 &&
            std::strcmp(a, "--help") != 0 && std::strcmp(a, "-h") != 0)
            return std::string("nieznana opcja: ") + a;
        argv[out++] = argv[i];
    }
    argc = out;
    argv[argc] = nullptr;
    return {};
}
