#include "geometry/outline_rows.h"

#include <cstddef>

#include "geometry/number_text.h"

namespace geometry {
namespace {

constexpr std::size_t kQuotedBytes = 40;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

/// A cell in Polish quotes for a message, shortened on a character boundary.
std::string quoted(std::string_view cell) {
    std::size_t end = cell.size();
    if (end > kQuotedBytes) {
        end = kQuotedBytes;
        while (end > 0 && (static_cast<unsigned char>(cell[end]) & 0xC0) == 0x80)
            --end;
    }
    std::string out = "„";
    out.append(cell.substr(0, end));
    if (end < cell.size()) out += "…";
    return out + "”";
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    double v = 0;
    if (readNumberText(trim(text), v) != NumberRead::Ok) return std::nullopt;
    return v;
}

std::vector<std::string> rowCells(std::string_view row) {
    std::vector<std::string> cells;
    if (row.find('\t') != std::string_view::npos) {
        for (;;) {
            const std::size_t tab = row.find('\t');
            cells.emplace_back(trim(row.substr(0, tab)));
            if (tab == std::string_view::npos) break;
            row.remove_prefix(tab + 1);
        }
        return cells;
    }
    std::size_t i = 0;
    while (i < row.size()) {
        while (i < row.size() && isBlank(row[i]))
            ++i;
        const std::size_t start = i;
        while (i < row.size() && !isBlank(row[i]))
            ++i;
        if (i > start) cells.emplace_back(row.substr(start, i - start));
    }
    return cells;
}

OutlineRows outlineFromRows(std::string_view text) {
    OutlineRows out;
    std::vector<Vertex> vertices;
    int firstRow = 0;
    int line = 0;
    const auto fail = [&](std::string message) {
        out.error = std::move(message);
        out.row = line;
        return out;
    };
    while (!text.empty()) {
        ++line;
        const std::size_t end = text.find('\n');
        const std::string_view row = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::vector<std::string> cells = rowCells(row);
        while (!cells.empty() && cells.back().empty())
            cells.pop_back();
        if (cells.empty()) continue;
        if (cells.size() > 3) return fail("Zbędna wartość " + quoted(cells[3]));
        static const char* const kMissing[] = {"Brak współrzędnej X", "Brak współrzędnej Y"};
        double v[3] = {0, 0, 0};
        for (std::size_t k = 0; k < 3; ++k) {
            if (k >= cells.size() || cells[k].empty()) {
                if (k < 2) return fail(kMissing[k]);
                continue;
            }
            const std::optional<double> number = parseNumber(cells[k]);
            if (!number) return fail("Niepoprawna liczba " + quoted(cells[k]));
            v[k] = *number;
        }
        if (vertices.empty()) firstRow = line;
        vertices.push_back({v[0], v[1], v[2]});
    }
    line = 0;
    if (vertices.empty()) return fail("Obrys nie ma żadnego punktu");
    if (vertices.size() == 1) {
        line = firstRow;
        if (!(vertices[0].r > 0)) return fail("Promień okręgu R musi być dodatni");
        out.shape.kind = Shape::Kind::Okrag;
        out.shape.circle = {vertices[0].x, vertices[0].y, vertices[0].r};
        return out;
    }
    out.shape.kind = Shape::Kind::Obrys;
    out.shape.outline.v = std::move(vertices);
    return out;
}

}  // namespace geometry
