#include "geometry/section_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <filesystem>

#include "geometry/number_text.h"
#include "io/dxf_import.h"
#include "model/fd.h"

namespace geometry {

namespace {

constexpr std::int64_t kMaxFileBytes = std::int64_t{64} << 20;
constexpr const char* kCannotOpen = "Nie można otworzyć pliku";
constexpr const char* kTooLarge = "Plik jest większy niż 64 MiB";
constexpr std::size_t kQuotedBytes = 40;

constexpr const char* kKeywords[] = {"G",     "MS",    "siatka", "profil", "obrys", "okrag",
                                     "otwor", "punkt", "luk",    "koniec", "dxf"};

bool isKeyword(std::string_view w) {
    for (const char* k : kKeywords)
        if (w == k) return true;
    return false;
}

/// Names of a profile's place, after its dimensions.
constexpr const char* kPlace[] = {"x", "y", "obrot"};

bool isShapeKeyword(std::string_view w) {
    return w == "profil" || w == "obrys" || w == "okrag" || w == "dxf";
}

/// Length of the valid UTF-8 sequence at the start of `s`, 0 when it is not one.
std::size_t utf8Length(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    if (c < 0x80) return 1;
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < len || b(1) < lo || b(1) > hi) return 0;
    for (std::size_t i = 2; i < len; ++i)
        if (b(i) < 0x80 || b(i) > 0xBF) return 0;
    return len;
}

/// A word of the file in Polish quotes, fit for a message: shortened, with control
/// characters and broken UTF-8 shown as '?'.
std::string quoted(std::string_view w) {
    std::string out = "„";
    std::size_t i = 0;
    while (i < w.size() && i < kQuotedBytes) {
        const std::size_t len = utf8Length(w.substr(i));
        const unsigned char c = static_cast<unsigned char>(w[i]);
        if (len == 0 || c < 0x20 || c == 0x7F) {
            out += '?';
            ++i;
        } else {
            out.append(w.substr(i, len));
            i += len;
        }
    }
    if (i < w.size()) out += "…";
    return out + "”";
}

/// The blank-separated words of one line, comment removed, taken one at a time (a line may
/// be as long as the file).
class Words {
  public:
    explicit Words(std::string_view line) : rest_(line.substr(0, line.find('#'))) {}
    /// The next word; false when none is left.
    bool next(std::string_view& w) {
        std::size_t i = 0;
        while (i < rest_.size() && isBlank(rest_[i]))
            ++i;
        std::size_t j = i;
        while (j < rest_.size() && !isBlank(rest_[j]))
            ++j;
        w = rest_.substr(i, j - i);
        rest_ = rest_.substr(j);
        return !w.empty();
    }
    /// The next word, or the text between double quotes when it starts with one; `unclosed`
    /// tells a quote without its end.
    bool nextQuoted(std::string_view& w, bool& unclosed) {
        unclosed = false;
        std::size_t i = 0;
        while (i < rest_.size() && isBlank(rest_[i]))
            ++i;
        if (i == rest_.size() || rest_[i] != '"') return next(w);
        const std::size_t end = rest_.find('"', i + 1);
        if (end == std::string_view::npos) return !(unclosed = true);
        w = rest_.substr(i + 1, end - i - 1);
        rest_ = rest_.substr(end + 1);
        return !w.empty();
    }

  private:
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    std::string_view rest_;
};

class Parser {
  public:
    explicit Parser(std::string baseDir) : baseDir_(std::move(baseDir)) {}
    SectionRead run(std::string_view text);

  private:
    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }
    bool statement(Words& words, std::string_view keyword);
    bool outlineStatement(Words& words, std::string_view keyword);
    bool number(std::string_view w, const std::string& what, double& v);
    bool numbers(Words& words, std::string_view keyword, double* v, int count);
    bool noMore(Words& words);
    bool value(Words& words, std::string_view keyword, std::optional<double>& slot);
    bool profile(Words& words, bool otwor);
    bool drawing(Words& words, bool otwor);
    void closeOutline();

    std::string baseDir_;
    Section section_;
    std::string error_;
    int line_ = 0;
    bool inOutline_ = false;
};

bool Parser::number(std::string_view w, const std::string& what, double& v) {
    switch (readNumberText(w, v)) {
        case NumberRead::Ok:
            return true;
        case NumberRead::OutOfRange:
            return fail("Liczba " + quoted(w) + " jest poza zakresem");
        case NumberRead::NotANumber:
            break;
    }
    return fail(what + quoted(w));
}

bool Parser::noMore(Words& words) {
    std::string_view w;
    if (words.next(w)) return fail("Zbędne słowo " + quoted(w));
    return true;
}

bool Parser::numbers(Words& words, std::string_view keyword, double* v, int count) {
    for (int k = 0; k < count; ++k) {
        std::string_view w;
        if (!words.next(w)) return fail("Brak liczby w poleceniu " + std::string(keyword));
        if (!number(w, "Niepoprawna liczba ", v[k])) return false;
    }
    return noMore(words);
}

bool Parser::value(Words& words, std::string_view keyword, std::optional<double>& slot) {
    const std::string name(keyword);
    if (slot) return fail("Powtórzona wartość " + name);
    double v;
    if (!numbers(words, keyword, &v, 1)) return false;
    if (keyword == "G" && !(v > 0)) return fail("Moduł G musi być dodatni");
    if (keyword == "siatka" && !(v > 0)) return fail("Rozmiar siatki musi być dodatni");
    slot = v;
    return true;
}

bool Parser::profile(Words& words, bool otwor) {
    std::string_view kindWord;
    if (!words.next(kindWord)) return fail("Brak kształtu profilu");
    const ProfileInfo* info = findProfile(kindWord);
    if (!info) return fail("Nieznany kształt profilu " + quoted(kindWord));
    const std::string kind = std::string(" profilu ") + info->keyword;
    const std::size_t n = info->dims.size();
    Shape s;
    s.kind = Shape::Kind::Profil;
    s.otwor = otwor;
    s.line = line_;
    s.profile.kind = info->kind;
    s.profile.dims.assign(n, 0.0);
    // The kind's dimensions in their order, then x, y and obrot.
    std::vector<bool> seen(n + 3, false);
    std::string_view w;
    while (words.next(w)) {
        const std::size_t eq = w.find('=');
        if (eq == std::string_view::npos || eq == 0)
            return fail("Oczekiwano nazwa=wartość zamiast " + quoted(w));
        const std::string_view name = w.substr(0, eq);
        std::size_t k = 0;
        while (k < n + 3 && name != (k < n ? info->dims[k].name : kPlace[k - n]))
            ++k;
        if (k == n + 3) return fail("Nieznany wymiar " + quoted(name) + kind);
        if (seen[k]) return fail("Powtórzony wymiar " + std::string(name) + kind);
        seen[k] = true;
        double v;
        if (!number(w.substr(eq + 1), "Niepoprawna wartość " + std::string(name) + " ", v))
            return false;
        if (k < n)
            s.profile.dims[k] = v;
        else if (k == n)
            s.profile.x = v;
        else if (k == n + 1)
            s.profile.y = v;
        else
            s.profile.obrot = v;
    }
    for (std::size_t k = 0; k < n; ++k)
        if (!seen[k] && !info->dims[k].optional)
            return fail(std::string("Brak wymiaru ") + info->dims[k].name + kind);
    section_.shapes.push_back(std::move(s));
    return true;
}

bool Parser::drawing(Words& words, bool otwor) {
    std::string_view w;
    bool unclosed = false;
    if (!words.nextQuoted(w, unclosed))
        return fail(unclosed ? "Brak cudzysłowu zamykającego nazwę rysunku" : "Brak nazwy rysunku");
    Shape s;
    s.kind = Shape::Kind::Rysunek;
    s.otwor = otwor;
    s.line = line_;
    s.drawing.path = std::string(w);
    bool layer = false;
    while (words.next(w)) {
        const std::size_t eq = w.find('=');
        if (eq == std::string_view::npos || eq == 0)
            return fail("Oczekiwano nazwa=wartość zamiast " + quoted(w));
        const std::string_view name = w.substr(0, eq), v = w.substr(eq + 1);
        if (name == "skala") {
            if (s.drawing.skala) return fail("Powtórzona wartość skala");
            double k;
            if (!number(v, "Niepoprawna wartość skala ", k)) return false;
            if (!(k > 0)) return fail("Skala rysunku musi być dodatnia");
            s.drawing.skala = k;
        } else if (name == "warstwa") {
            if (layer) return fail("Powtórzona wartość warstwa");
            if (v.empty()) return fail("Brak nazwy warstwy");
            layer = true;
            s.drawing.warstwa = std::string(v);
        } else {
            return fail("Nieznana wartość " + quoted(name) + " rysunku");
        }
    }
    std::filesystem::path file(s.drawing.path);
    if (file.is_relative() && !baseDir_.empty()) file = std::filesystem::path(baseDir_) / file;
    io::DxfOptions options;
    options.scale = s.drawing.skala.value_or(1.0);
    options.layer = s.drawing.warstwa;
    io::DxfImport read = io::importDxf(file.string(), options);
    if (!read.ok())
        return fail("Rysunek " + s.drawing.path + ": " +
                    (read.error.empty() ? "przerwano" : read.error));
    s.drawing.outlines = std::move(read.outlines);
    section_.shapes.push_back(std::move(s));
    return true;
}

void Parser::closeOutline() {
    std::vector<Vertex>& v = section_.shapes.back().outline.v;
    if (v.size() > 1 && v.back().x == v.front().x && v.back().y == v.front().y) v.pop_back();
    inOutline_ = false;
}

bool Parser::outlineStatement(Words& words, std::string_view keyword) {
    std::vector<Vertex>& v = section_.shapes.back().outline.v;
    double p[3];
    if (keyword == "punkt") {
        if (!numbers(words, keyword, p, 2)) return false;
        v.push_back({p[0], p[1], 0});
        return true;
    }
    if (keyword == "luk") {
        if (v.empty()) return fail("Obrys nie może zaczynać się od łuku");
        if (!numbers(words, keyword, p, 3)) return false;
        v.back().r = p[2];
        v.push_back({p[0], p[1], 0});
        return true;
    }
    if (keyword == "koniec") {
        if (!noMore(words)) return false;
        closeOutline();
        return true;
    }
    if (isKeyword(keyword)) return fail("Polecenie " + std::string(keyword) + " wewnątrz obrysu");
    return fail("Nieznane polecenie " + quoted(keyword));
}

bool Parser::statement(Words& words, std::string_view keyword) {
    if (inOutline_) return outlineStatement(words, keyword);
    bool otwor = false;
    if (keyword == "otwor") {
        if (!words.next(keyword)) return fail("Brak kształtu otworu (profil, obrys albo okrag)");
        if (!isShapeKeyword(keyword))
            return fail("Otworem może być profil, obrys albo okrag, nie " + quoted(keyword));
        otwor = true;
    }
    if (keyword == "G") return value(words, keyword, section_.G);
    if (keyword == "MS") return value(words, keyword, section_.MS);
    if (keyword == "siatka") return value(words, keyword, section_.siatka);
    if (keyword == "profil") return profile(words, otwor);
    if (keyword == "dxf") return drawing(words, otwor);
    if (keyword == "okrag") {
        double c[3];
        if (!numbers(words, keyword, c, 3)) return false;
        Shape s;
        s.kind = Shape::Kind::Okrag;
        s.circle = {c[0], c[1], c[2]};
        s.otwor = otwor;
        s.line = line_;
        section_.shapes.push_back(std::move(s));
        return true;
    }
    if (keyword == "obrys") {
        if (!noMore(words)) return false;
        Shape s;
        s.kind = Shape::Kind::Obrys;
        s.otwor = otwor;
        s.line = line_;
        section_.shapes.push_back(std::move(s));
        inOutline_ = true;
        return true;
    }
    if (isKeyword(keyword)) return fail("Polecenie " + std::string(keyword) + " poza obrysem");
    return fail("Nieznane polecenie " + quoted(keyword));
}

SectionRead Parser::run(std::string_view text) {
    const auto failed = [&](int line) {
        SectionRead r;
        r.error = error_;
        r.line = line;
        return r;
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++line_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Words words(line);
        std::string_view keyword;
        if (words.next(keyword) && !statement(words, keyword)) return failed(line_);
    }
    if (inOutline_) {
        error_ = "Obrys nie jest zakończony poleceniem koniec";
        return failed(section_.shapes.back().line);
    }
    if (section_.shapes.empty()) {
        error_ = "Plik nie opisuje żadnego kształtu";
        return failed(0);
    }
    const Loops loops = sectionLoops(section_);
    if (!loops.ok()) {
        error_ = loops.error;
        return failed(loops.line);
    }
    SectionRead r;
    r.section = std::move(section_);
    return r;
}

void appendNumber(std::string& out, double v) {
    out += ' ';
    out += numberText(v);
}

/// True for +0 only: -0 is written, so that it reads back as itself.
bool isPlusZero(double v) {
    return v == 0 && !std::signbit(v);
}

void appendProfile(std::string& out, const Profile& p) {
    const ProfileInfo& info = profileInfo(p.kind);
    out += "profil ";
    out += info.keyword;
    for (std::size_t k = 0; k < info.dims.size() && k < p.dims.size(); ++k) {
        if (info.dims[k].optional && isPlusZero(p.dims[k])) continue;
        out += ' ';
        out += info.dims[k].name;
        out += '=' + numberText(p.dims[k]);
    }
    const std::pair<const char*, double> place[] = {{"x", p.x}, {"y", p.y}, {"obrot", p.obrot}};
    for (const auto& [name, v] : place) {
        if (isPlusZero(v)) continue;
        out += ' ';
        out += name;
        out += '=' + numberText(v);
    }
}

void appendOutline(std::string& out, const Outline& o) {
    out += "obrys\n";
    for (std::size_t i = 0; i < o.v.size(); ++i) {
        const bool arc = i > 0 && !isPlusZero(o.v[i - 1].r);
        out += arc ? "  luk" : "  punkt";
        appendNumber(out, o.v[i].x);
        appendNumber(out, o.v[i].y);
        if (arc) appendNumber(out, o.v[i - 1].r);
        out += '\n';
    }
    // An arc back to the first vertex ends on it; the reader drops the repeated point.
    if (!o.v.empty() && !isPlusZero(o.v.back().r)) {
        out += "  luk";
        appendNumber(out, o.v.front().x);
        appendNumber(out, o.v.front().y);
        appendNumber(out, o.v.back().r);
        out += '\n';
    }
    out += "koniec";
}

void appendDrawing(std::string& out, const Drawing& d) {
    out += "dxf ";
    if (d.path.find_first_of(" \t") != std::string::npos || d.path.starts_with('"'))
        out += '"' + d.path + '"';
    else
        out += d.path;
    if (d.skala) out += " skala=" + numberText(*d.skala);
    if (!d.warstwa.empty()) out += " warstwa=" + d.warstwa;
}

/// Reads the whole of an open regular file, at most kMaxFileBytes.
bool readAll(int fd, std::string& text, bool& tooLarge) {
    char buf[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (static_cast<std::int64_t>(text.size()) + got > kMaxFileBytes) {
            tooLarge = true;
            return false;
        }
        text.append(buf, static_cast<std::size_t>(got));
    }
}

}  // namespace

SectionRead parseSection(std::string_view text, const std::string& baseDir) {
    return Parser(baseDir).run(text);
}

SectionRead readSectionFile(const std::string& path) {
    SectionRead failed;
    failed.error = kCannotOpen;
    // Only a regular file is opened: opening a device may act on it, a named pipe may block.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return failed;
    // O_NONBLOCK: should the name lead to a pipe by now, the open does not hang either.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return failed;
    if (st.st_size > kMaxFileBytes) {
        failed.error = kTooLarge;
        return failed;
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(st.st_size));
    bool tooLarge = false;
    if (!readAll(fd.get(), text, tooLarge)) {
        if (tooLarge) failed.error = kTooLarge;
        return failed;
    }
    std::string dir = std::filesystem::path(path).parent_path().string();
    if (dir.empty()) dir = ".";
    return parseSection(text, dir);
}

std::string sectionText(const Section& s) {
    std::string out = "# WIRTOR — opis przekroju\n";
    const std::pair<const char*, const std::optional<double>*> values[] = {
        {"G", &s.G}, {"MS", &s.MS}, {"siatka", &s.siatka}};
    for (const auto& [name, v] : values) {
        if (!*v) continue;
        out += name;
        appendNumber(out, **v);
        out += '\n';
    }
    for (const Shape& shape : s.shapes) {
        if (shape.otwor) out += "otwor ";
        switch (shape.kind) {
            case Shape::Kind::Profil:
                appendProfile(out, shape.profile);
                break;
            case Shape::Kind::Okrag:
                out += "okrag";
                appendNumber(out, shape.circle.x);
                appendNumber(out, shape.circle.y);
                appendNumber(out, shape.circle.r);
                break;
            case Shape::Kind::Obrys:
                appendOutline(out, shape.outline);
                break;
            case Shape::Kind::Rysunek:
                appendDrawing(out, shape.drawing);
                break;
        }
        out += '\n';
    }
    return out;
}

}  // namespace geometry
