#include "io/dxf_scan.h"

#include <cstdlib>
#include <cstring>
#include <optional>

namespace io {

namespace {

constexpr const char* kNotDxf = "Plik nie jest rysunkiem DXF";
constexpr const char* kBinary =
    "Binarny plik DXF nie jest obsługiwany — zapisz rysunek jako DXF tekstowy";
constexpr const char* kNoEof = "Plik DXF jest niekompletny: brak znacznika EOF";

// dxflib reads a line into 1024 bytes and never gets past a longer one.
constexpr std::size_t kMaxLine = 1000;
// Group codes a DXF file uses.
constexpr int kMaxGroupCode = 1071;

std::string damaged(int line) {
    return "Plik DXF jest uszkodzony w wierszu " + std::to_string(line);
}

// The group code as dxflib sees it (spaces and tabs around it dropped), when the line holds
// only digits.
std::optional<int> groupCode(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    if (s.empty() || s.size() > 4) return std::nullopt;
    int v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = 10 * v + (c - '0');
    }
    if (v > kMaxGroupCode) return std::nullopt;
    return v;
}

// dxflib reads these as doubles from a stream, which leaves the double unset when the value
// is blank.
bool realCode(int c) {
    return (c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) ||
           (c >= 460 && c <= 469) || (c >= 1010 && c <= 1059);
}

bool blank(std::string_view s) {
    return s.find_first_not_of(" \t\r\v\f") == std::string_view::npos;
}

// An integer value as dxflib reads it: strtol, then cut to int.
int dxflibInt(std::string_view s) {
    const std::string t(s.substr(0, 64));
    char* end = nullptr;
    return static_cast<int>(std::strtol(t.c_str(), &end, 10));
}

ObjectKind kindOf(std::string_view type) {
    for (const char* used : {"LINE", "ARC", "CIRCLE", "SEQEND", "ELLIPSE", "SPLINE", "INSERT"})
        if (type == used) return ObjectKind::Used;
    if (type == "POLYLINE") return ObjectKind::Polyline;
    if (type == "LWPOLYLINE") return ObjectKind::LwPolyline;
    if (type == "VERTEX") return ObjectKind::Vertex;
    for (const char* other :
         {"SECTION", "ENDSEC", "BLOCK", "ENDBLK", "EOF", "TABLE", "ENDTAB", "CLASS", "LAYER",
          "LTYPE", "STYLE", "VIEW", "UCS", "VPORT", "APPID", "DIMSTYLE", "BLOCK_RECORD"})
        if (type == other) return ObjectKind::Other;
    if (!type.empty() && type.front() == '$') return ObjectKind::Other;
    return ObjectKind::Unused;
}

// The checks of one object that keep dxflib within its arrays. dxflib sizes its vertex,
// knot, control and fit point arrays by count groups and keeps them (and their fill
// positions) from one entity to the next, so each count must come before its data and may
// not exceed the entity's size.
struct ObjectCheck {
    enum class Type { Other, LwPolyline, Spline, Leader } type = Type::Other;
    int startLine = 0;
    int pairs = 0;
    int countLine = 0;  // line of the largest count so far
    int largest = 0;
    bool vertexCount = false, vertexSinceCount = false;
    bool knots = false, controls = false, fits = false;

    static Type typeOf(std::string_view t) {
        if (t == "LWPOLYLINE") return Type::LwPolyline;
        if (t == "SPLINE") return Type::Spline;
        if (t == "LEADER") return Type::Leader;
        return Type::Other;
    }

    void count(int value, int line) {
        if (value > largest) largest = value, countLine = line;
    }

    // False when the group makes the object unsafe.
    bool group(int code, std::string_view value, int line) {
        ++pairs;
        switch (type) {
            case Type::LwPolyline:
                if (code == 90) {
                    const int n = dxflibInt(value);
                    if (n < 1) return false;
                    count(n, line);
                    vertexCount = true, vertexSinceCount = false;
                } else if (code == 10) {
                    if (!vertexCount) return false;
                    vertexSinceCount = true;
                } else if (code == 20 || code == 30) {
                    if (!vertexCount) return false;
                } else if (code == 42) {
                    if (!vertexSinceCount) return false;
                }
                return true;
            case Type::Spline:
                if (code == 72 || code == 73 || code == 74) {
                    count(dxflibInt(value), line);
                    (code == 72 ? knots : code == 73 ? controls : fits) = true;
                } else if (code == 40) {
                    if (!knots) return false;
                } else if (code == 10 || code == 20 || code == 30 || code == 41) {
                    if (!controls) return false;
                } else if (code == 11 || code == 21 || code == 31) {
                    if (!fits) return false;
                }
                return true;
            case Type::Leader:
                if (code == 76) count(dxflibInt(value), line);
                return true;
            case Type::Other:
                return true;
        }
        return true;
    }

    // The line where the finished object is faulty, 0 when it is not.
    int fault() const {
        if (largest > pairs) return countLine;
        if (type == Type::LwPolyline && !vertexCount) return startLine;
        if (type == Type::Spline && !(knots && controls && fits)) return startLine;
        return 0;
    }
};

}  // namespace

DxfScan scanDxf(std::string_view file) {
    DxfScan out;
    if (file.starts_with("AutoCAD Binary DXF")) {
        out.error = kBinary;
        return out;
    }
    if (file.starts_with("\xEF\xBB\xBF")) file.remove_prefix(3);

    std::size_t pos = 0;
    int lineNo = 0;
    bool longLines = false;
    auto nextLine = [&](std::string_view& line) {
        if (pos >= file.size()) return false;
        const std::size_t nl = file.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? file.size() : nl;
        line = file.substr(pos, end - pos);
        pos = nl == std::string_view::npos ? file.size() : nl + 1;
        ++lineNo;
        if (line.size() > kMaxLine) longLines = true;
        return true;
    };

    enum class Section { None, Entities, Other } section = Section::None;
    bool sectionName = false, started = false, eof = false;
    ObjectCheck check;
    std::string_view code, value;
    while (!eof && nextLine(code)) {
        const int codeLine = lineNo;
        const std::optional<int> c = groupCode(code);
        if (!c || code.size() > kMaxLine || !nextLine(value)) {
            out.error = started ? damaged(codeLine) : kNotDxf;
            return out;
        }
        if (std::memchr(code.data(), '\0', code.size()) ||
            std::memchr(value.data(), '\0', value.size())) {
            out.error = started ? damaged(codeLine) : kNotDxf;
            return out;
        }
        // dxflib drops the line ends only (any run of CR).
        while (!value.empty() && value.back() == '\r')
            value.remove_suffix(1);
        if (!started) {
            if (*c == 999) continue;
            if (*c != 0 || value != "SECTION") {
                out.error = kNotDxf;
                return out;
            }
            started = true;
        }
        if (*c == 999) continue;
        if (realCode(*c) && blank(value)) {
            out.error = damaged(codeLine);
            return out;
        }
        if (*c == 0 || *c == 9) {
            if (const int bad = check.fault()) {
                out.error = damaged(bad);
                return out;
            }
            check = ObjectCheck{};
            check.type = ObjectCheck::typeOf(value);
            check.startLine = codeLine;
            if (*c == 0 && value == "SECTION") sectionName = true;
            if (*c == 0 && value == "ENDSEC") section = Section::None;
            if (*c == 0 && value == "EOF") eof = true;
            ScanObject o;
            o.kind = kindOf(value);
            o.inEntities = section == Section::Entities;
            out.objects.push_back(o);
            continue;
        }
        if (*c == 2 && sectionName)
            section = value == "ENTITIES" ? Section::Entities : Section::Other;
        sectionName = false;
        if (*c == 70 && !out.objects.empty()) out.objects.back().flags = dxflibInt(value);
        if (!check.group(*c, value, codeLine)) {
            out.error = damaged(codeLine);
            return out;
        }
    }
    if (!eof) {
        out.error = started ? kNoEof : kNotDxf;
        out.objects.clear();
        return out;
    }
    out.view = file.substr(0, pos);
    if (longLines) {
        out.copy.reserve(out.view.size());
        for (std::size_t p = 0; p < out.view.size();) {
            const std::size_t nl = out.view.find('\n', p);
            const std::size_t end = nl == std::string_view::npos ? out.view.size() : nl;
            out.copy.append(out.view.substr(p, std::min(end - p, kMaxLine)));
            out.copy += '\n';
            p = end + 1;
        }
    }
    return out;
}

}  // namespace io
