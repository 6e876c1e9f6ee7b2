#include "io/dxf_import.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ::testing::StartsWith;

constexpr double kPi = std::numbers::pi;

const std::filesystem::path kData = std::filesystem::path(__FILE__).parent_path() / "data";

std::string num(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

std::string group(int code, const std::string& value) {
    return std::to_string(code) + "\n" + value + "\n";
}

std::string line(double x1, double y1, double x2, double y2, const std::string& layer = "0") {
    return group(0, "LINE") + group(8, layer) + group(10, num(x1)) + group(20, num(y1)) +
           group(11, num(x2)) + group(21, num(y2));
}

std::string circle(double x, double y, double r) {
    return group(0, "CIRCLE") + group(8, "0") + group(10, num(x)) + group(20, num(y)) +
           group(40, num(r));
}

// A closed LWPOLYLINE of (x, y, bulge) vertices.
std::string polyline(const std::vector<std::array<double, 3>>& v) {
    std::string s = group(0, "LWPOLYLINE") + group(8, "0") + group(90, std::to_string(v.size())) +
                    group(70, "1");
    for (const auto& [x, y, b] : v)
        s += group(10, num(x)) + group(20, num(y)) + (b != 0 ? group(42, num(b)) : "");
    return s;
}

std::string insert(const std::string& block, double x, double y, const std::string& extra = "") {
    return group(0, "INSERT") + group(8, "0") + group(2, block) + group(10, num(x)) +
           group(20, num(y)) + extra;
}

std::string block(const std::string& name, const std::string& entities, double x = 0,
                  double y = 0) {
    return group(0, "BLOCK") + group(8, "0") + group(2, name) + group(70, "0") + group(10, num(x)) +
           group(20, num(y)) + entities + group(0, "ENDBLK");
}

std::string drawing(const std::string& entities, const std::string& blocks = "",
                    const std::string& header = "") {
    return group(0, "SECTION") + group(2, "HEADER") + header + group(0, "ENDSEC") +
           group(0, "SECTION") + group(2, "BLOCKS") + blocks + group(0, "ENDSEC") +
           group(0, "SECTION") + group(2, "ENTITIES") + entities + group(0, "ENDSEC") +
           group(0, "EOF");
}

std::string square(double x, double y, double a, double gap = 0) {
    return line(x, y, x + a, y) + line(x + a, y + gap, x + a, y + a) +
           line(x + a, y + a, x, y + a) + line(x, y + a, x, y);
}

std::string withoutEof(std::string s) {
    s.resize(s.size() - std::string("0\nEOF\n").size());
    return s;
}

// The major circular segment of polyline bulge 3 over a chord of 10.
const double kBulgeRadius = 10 * (1 + 9) / (4 * 3.0);
const double kBulgeAngle = 4 * std::atan(3.0);
const double kBulgeSegment =
    0.5 * kBulgeRadius * kBulgeRadius * (kBulgeAngle - std::sin(kBulgeAngle));

struct Case {
    const char* name;
    std::string file;  // in tests/core/io/data, or
    std::string text;  // the drawing itself
    std::string layer;
    double scale = 1;
    std::string error;  // what the message starts with; empty: imported
    int outlines = 0, holes = 0, ignored = 0;
    double area = 0, tol = 1e-9;  // outer minus holes, relative tolerance
    std::array<double, 4> box{};
    std::string units = "bez jednostek";
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

Case ok(const char* name, std::string file, int outlines, int holes, double area, double tol,
        std::array<double, 4> box, int ignored = 0, std::string units = "bez jednostek",
        std::string layer = "") {
    Case c;
    c.name = name, c.file = std::move(file), c.outlines = outlines, c.holes = holes;
    c.area = area, c.tol = tol, c.box = box, c.ignored = ignored, c.units = std::move(units);
    c.layer = std::move(layer);
    return c;
}

Case text(const char* name, std::string text, int outlines, int holes, double area,
          std::array<double, 4> box, double scale = 1, int ignored = 0) {
    Case c = ok(name, "", outlines, holes, area, 1e-9, box, ignored);
    c.text = std::move(text), c.scale = scale;
    return c;
}

Case refused(const char* name, std::string file, std::string text, std::string error,
             std::string layer = "") {
    Case c;
    c.name = name, c.file = std::move(file), c.text = std::move(text), c.error = std::move(error);
    c.layer = std::move(layer);
    return c;
}

const std::string kCross = "Obrysy przecinają się w pobliżu punktu ";

std::vector<Case> cases() {
    const std::string box10 = square(0, 0, 10);
    return {
        ok("PlateR2000", "plate_r2000.dxf", 4, 3, 5600 - 200 * kPi, 1e-9, {0, 0, 100, 60}, 5,
           "milimetry"),
        ok("PlateR2018", "plate_r2018.dxf", 4, 3, 5600 - 200 * kPi, 1e-9, {0, 0, 100, 60}, 5,
           "milimetry"),
        ok("LooseLinesAndArcsR12", "loose_lines_r12.dxf", 1, 0, 600 + 50 * kPi, 1e-9,
           {0, 0, 40, 20}),
        ok("BlocksPlacedTurnedScaledMirroredNested", "blocks.dxf", 11, 10, 38775 - 100 * kPi, 2e-5,
           {0, 0, 200, 200}, 8, "milimetry"),
        ok("LayerOfTheOutline", "blocks.dxf", 1, 0, 40000, 1e-9, {0, 0, 200, 200}, 0, "milimetry",
           "OBRYS"),
        // Block contents on layer 0 (the text too) take the inserts' layer; case is ignored.
        ok("LayerOfTheInserts", "blocks.dxf", 10, 0, 1225 + 100 * kPi, 5e-4, {35, 35, 157.5, 175},
           8, "milimetry", "otwory"),
        ok("ExtrusionDownMirrors", "extrusion.dxf", 3, 0, 100 + 34 * kPi, 1e-9, {-50, -3, 0, 15}),
        ok("SplinesAndEllipses", "splines.dxf", 4, 0, 395 * kPi, 2e-3, {-10, -10, 70, 65}, 0,
           "metry"),
        ok("R12PolylineBulges", "r12_polylines.dxf", 2, 0, 25 * kPi + kBulgeSegment, 1e-9,
           {-5, -15, 25 + kBulgeRadius, 5}),
        refused("CrossingCircles", "crossing.dxf", "", kCross + "(7.5, -6.61"),
        refused("OpenOutline", "open_outline.dxf", "",
                "Obrys nie jest zamknięty: wolne końce w punktach (0, 0) i (0, 9)"),
        refused("BinaryFile", "binary.dxf", "",
                "Binarny plik DXF nie jest obsługiwany — zapisz rysunek jako DXF tekstowy"),

        text("EndsWithinTheTolerance", drawing(square(0, 0, 1, 1e-9)), 1, 0, 1, {0, 0, 1, 1}),
        refused("EndsBeyondTheTolerance", "", drawing(square(0, 0, 1, 1e-2)),
                "Obrys nie jest zamknięty: wolne końce w punktach (1, 0) i (1, 0.01)"),
        text("ScaleMultiplies", drawing(box10 + circle(5, 5, 2)), 2, 1,
             2.54 * 2.54 * (100 - 4 * kPi), {0, 0, 25.4, 25.4}, 2.54),
        // dxflib never gets past a line longer than its buffer; the importer cuts it.
        text("LongTextLine",
             drawing(group(0, "TEXT") + group(8, "0") + group(1, std::string(5000, 'x')) + box10),
             1, 0, 100, {0, 0, 10, 10}, 1, 1),
        text("InsertArrayAndBase",
             drawing(insert("Q", 0, 0,
                            group(70, "3") + group(71, "2") + group(44, "20") + group(45, "30")),
                     block("Q", circle(5, 5, 1), 2, 3)),
             6, 0, 6 * kPi, {2, 1, 44, 33}),
        // The insertion point and the turn are in the insert's object coordinates.
        text("InsertSeenFromBelow",
             drawing(insert("H", 10, 0, group(50, "90") + group(230, "-1")),
                     block("H", group(0, "ARC") + group(8, "0") + group(10, "0") + group(20, "0") +
                                    group(40, "10") + group(50, "0") + group(51, "180") +
                                    line(-10, 0, 10, 0))),
             1, 0, 50 * kPi, {-10, -10, 0, 10}),
        text("TiltedEntityIgnored",
             drawing(box10 + circle(5, 5, 1) + group(210, "1") + group(230, "0")), 1, 0, 100,
             {0, 0, 10, 10}, 1, 1),
        refused("NotDxf", "", "Ala ma kota\n", "Plik nie jest rysunkiem DXF"),
        refused("Empty", "", "", "Plik nie jest rysunkiem DXF"),
        refused("BinarySignature", "", std::string("AutoCAD Binary DXF\r\n\x1a\0\x01", 24),
                "Binarny plik DXF nie jest obsługiwany"),
        refused("NoEof", "", withoutEof(drawing(box10)),
                "Plik DXF jest niekompletny: brak znacznika EOF"),
        refused("NulByte", "", drawing(box10 + group(999, std::string("a\0b", 3))),
                "Plik DXF jest uszkodzony w wierszu"),
        // dxflib would read an unset double for a blank number.
        refused("BlankNumber", "",
                group(0, "SECTION") + group(2, "ENTITIES") + line(0, 0, 1, 1) + group(40, " ") +
                    group(0, "ENDSEC") + group(0, "EOF"),
                "Plik DXF jest uszkodzony w wierszu 17"),
        // ... and write before its vertex array, or allocate without bound.
        refused("BulgeBeforeVertex", "",
                drawing(group(0, "LWPOLYLINE") + group(90, "1") + group(42, "1")),
                "Plik DXF jest uszkodzony w wierszu 21"),
        refused("VertexCountBeyondSize", "",
                drawing(group(0, "LWPOLYLINE") + group(90, "100000000")),
                "Plik DXF jest uszkodzony w wierszu 19"),
        refused("OnlyText", "", drawing(group(0, "TEXT") + group(1, "x")),
                "Rysunek nie zawiera żadnego zamkniętego obrysu"),
        refused("NoSuchLayer", "", drawing(box10),
                "Na warstwie „X” nie ma żadnego zamkniętego obrysu", "X"),
        refused("SelfCrossing", "", drawing(polyline({{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}})),
                "Obrys przecina sam siebie w pobliżu punktu (1, 1)"),
        refused("OutlinesTouchAtACorner", "", drawing(square(0, 0, 1) + square(1, 1, 1)),
                kCross + "(1, 1)"),
        refused("HoleTouchesTheOutline", "", drawing(box10 + circle(8, 5, 2)), kCross + "(10, 5)"),
        refused("BlockContainsItself", "",
                drawing(insert("A", 0, 0), block("A", insert("A", 1, 1))),
                "Blok „A” zawiera sam siebie"),
        refused("HugeArray", "",
                drawing(insert("Q", 0, 0, group(70, "2000") + group(71, "2000")),
                        block("Q", circle(0, 0, 1))),
                "Rysunek zawiera zbyt wiele elementów"),
        refused("DecreasingKnots", "",
                drawing(group(0, "SPLINE") + group(70, "0") + group(71, "1") + group(72, "4") +
                        group(73, "2") + group(74, "0") + group(40, "1") + group(40, "0") +
                        group(40, "1") + group(40, "0") + group(10, "0") + group(20, "0") +
                        group(10, "1") + group(20, "0") + box10),
                "Rysunek zawiera nieprawidłową krzywą SPLINE"),
    };
}

class Drawings : public ::testing::TestWithParam<Case> {};

TEST_P(Drawings, ImportAsExpected) {
    const Case& c = GetParam();
    io::DxfOptions opt;
    opt.layer = c.layer;
    opt.scale = c.scale;
    const io::DxfImport r = c.file.empty() ? io::importDxfText(c.text, opt)
                                           : io::importDxf((kData / c.file).string(), opt);
    if (!c.error.empty()) {
        EXPECT_THAT(r.error, StartsWith(c.error));
        EXPECT_TRUE(r.outlines.empty());
        EXPECT_FALSE(r.ok());
        return;
    }
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.outlines.size(), static_cast<std::size_t>(c.outlines));
    EXPECT_EQ(r.holes, c.holes);
    EXPECT_EQ(r.ignored, c.ignored);
    EXPECT_EQ(r.units, c.units);
    double area = 0;
    int clockwise = 0;
    for (const geometry::Outline& o : r.outlines) {
        const double a = geometry::outlineArea(o);
        area += a;
        clockwise += a < 0;
    }
    EXPECT_EQ(clockwise, c.holes) << "holes run clockwise, outer outlines counter-clockwise";
    EXPECT_NEAR(area, c.area, c.tol * c.area);
    const double size = std::max(c.box[2] - c.box[0], c.box[3] - c.box[1]);
    EXPECT_NEAR(r.minX, c.box[0], 1e-9 * size);
    EXPECT_NEAR(r.minY, c.box[1], 1e-9 * size);
    EXPECT_NEAR(r.maxX, c.box[2], 1e-9 * size);
    EXPECT_NEAR(r.maxY, c.box[3], 1e-9 * size);
}

INSTANTIATE_TEST_SUITE_P(DxfImport, Drawings, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return info.param.name; });

TEST(DxfImport, ReportsUnitsAndLayers) {
    const io::DxfImport r = io::importDxf((kData / "blocks.dxf").string());
    EXPECT_EQ(r.unitScale, 1);
    EXPECT_EQ(r.layers, (std::vector<std::string>{"OBRYS", "OTWORY"}));
    for (const auto& [code, name, mm] :
         {std::tuple{1, "cale", 25.4}, std::tuple{6, "metry", 1000.0},
          std::tuple{0, "bez jednostek", 0.0},
          std::tuple{99, "nieznane jednostki (kod 99)", 0.0}}) {
        const io::DxfImport u = io::importDxfText(
            drawing(square(0, 0, 1), "", group(9, "$INSUNITS") + group(70, std::to_string(code))));
        EXPECT_EQ(u.units, name);
        EXPECT_EQ(u.unitScale, mm);
    }
}

TEST(DxfImport, OpensOnlyRegularFiles) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("wirtor-dxf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string fifo = (dir / "rura.dxf").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(io::importDxf(fifo).error, "Nie można otworzyć pliku");
    EXPECT_EQ(io::importDxf(dir.string()).error, "Nie można otworzyć pliku");
    EXPECT_EQ(io::importDxf((dir / "brak.dxf").string()).error, "Nie można otworzyć pliku");
    std::filesystem::remove_all(dir);
}

TEST(DxfImport, ProgressCanCancel) {
    io::DxfOptions opt;
    int calls = 0;
    opt.postep = [&calls](const char*, double) { return ++calls < 2; };
    const io::DxfImport r = io::importDxf((kData / "plate_r2018.dxf").string(), opt);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.outlines.empty());
    EXPECT_EQ(r.error, "");
}

// Ten thousand loose lines: 2500 small squares as holes of one large one.
TEST(DxfImport, ManyLooseLines) {
    std::string entities = square(-1, -1, 102);
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 50; ++j)
            entities += square(2 * i, 2 * j, 1);
    const io::DxfImport r = io::importDxfText(drawing(entities));
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.outlines.size(), 2501u);
    EXPECT_EQ(r.holes, 2500);
}

}  // namespace
