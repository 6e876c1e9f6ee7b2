#include "geometry/section_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>

#include "../model/test_files.h"

using namespace geometry;
using namespace std::string_literals;
using wirtor_test::ScratchDir;

namespace {

const std::string kHeader = "# WIRTOR — opis przekroju\n";

void writeText(const std::string& path, const std::string& text) {
    wirtor_test::writeBytes(path, wirtor_test::Bytes(text.begin(), text.end()));
}

std::uint64_t bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

// Doubles compared bit for bit, so that -0 and 0 differ.
void expectSame(const Section& a, const Section& b) {
    const auto same = [](const std::optional<double>& p, const std::optional<double>& q) {
        return p.has_value() == q.has_value() && (!p || bits(*p) == bits(*q));
    };
    EXPECT_TRUE(same(a.G, b.G));
    EXPECT_TRUE(same(a.MS, b.MS));
    EXPECT_TRUE(same(a.siatka, b.siatka));
    ASSERT_EQ(a.shapes.size(), b.shapes.size());
    for (std::size_t i = 0; i < a.shapes.size(); ++i) {
        SCOPED_TRACE(i);
        const Shape &p = a.shapes[i], &q = b.shapes[i];
        EXPECT_EQ(p.kind, q.kind);
        EXPECT_EQ(p.otwor, q.otwor);
        ASSERT_EQ(p.outline.v.size(), q.outline.v.size());
        for (std::size_t k = 0; k < p.outline.v.size(); ++k) {
            EXPECT_EQ(bits(p.outline.v[k].x), bits(q.outline.v[k].x));
            EXPECT_EQ(bits(p.outline.v[k].y), bits(q.outline.v[k].y));
            EXPECT_EQ(bits(p.outline.v[k].r), bits(q.outline.v[k].r));
        }
        EXPECT_EQ(bits(p.circle.x), bits(q.circle.x));
        EXPECT_EQ(bits(p.circle.y), bits(q.circle.y));
        EXPECT_EQ(bits(p.circle.r), bits(q.circle.r));
        EXPECT_EQ(p.profile.kind, q.profile.kind);
        ASSERT_EQ(p.profile.dims.size(), q.profile.dims.size());
        for (std::size_t k = 0; k < p.profile.dims.size(); ++k)
            EXPECT_EQ(bits(p.profile.dims[k]), bits(q.profile.dims[k]));
        EXPECT_EQ(bits(p.profile.x), bits(q.profile.x));
        EXPECT_EQ(bits(p.profile.y), bits(q.profile.y));
        EXPECT_EQ(bits(p.profile.obrot), bits(q.profile.obrot));
    }
}

// Accepted texts and the text written back from what was read (after the header line).
struct Accepted {
    const char* name;
    std::string text, written;
};

const Accepted kAccepted[] = {
    {"comments and blanks", "  # opis\n\tG\t81000   # moduł\n\n okrag  0 0\t1#koło\n",
     "G 81000\nokrag 0 0 1\n"},
    {"decimal comma, exponent, signs", "MS 1,5e3\nsiatka 2.5E-1\nokrag -1,25 +2 .5\n",
     "MS 1500\nsiatka 0.25\nokrag -1.25 2 0.5\n"},
    {"underflow reads as zero", "okrag 1e-400 -1e-400 1\n", "okrag 0 -0 1\n"},
    {"BOM and CRLF, no last line end", "\xEF\xBB\xBFG 1\r\nokrag 0 0 1\r\nMS 2",
     "G 1\nMS 2\nokrag 0 0 1\n"},
    {"I", "profil I h=200 b=100 tw=5,6 tf=8,5 r=12\n", "profil I h=200 b=100 tw=5.6 tf=8.5 r=12\n"},
    {"U in any order", "profil U r=13 tf=11 tw=6 b=80 h=200\n",
     "profil U h=200 b=80 tw=6 tf=11 r=13\n"},
    {"L without radii", "profil L t=10 h=100 b=100\n", "profil L h=100 b=100 t=10\n"},
    {"T", "profil T h=100 b=100 tw=10 tf=10 r=5\n", "profil T h=100 b=100 tw=10 tf=10 r=5\n"},
    {"RHS", "profil RHS h=120 b=80 t=5 r=7,5\n", "profil RHS h=120 b=80 t=5 r=7.5\n"},
    {"CHS", "profil CHS d=2 t=0.5\n", "profil CHS d=2 t=0.5\n"},
    {"kolo", "profil kolo d=10\n", "profil kolo d=10\n"},
    {"elipsa", "profil elipsa a=2 b=1\n", "profil elipsa a=2 b=1\n"},
    {"wielokat", "profil wielokat n=6 s=30\n", "profil wielokat n=6 s=30\n"},
    {"trojkat", "profil trojkat a=3\n", "profil trojkat a=3\n"},
    {"prostokat placed", "profil prostokat obrot=30 y=-3 x=0 h=2 b=1\n",
     "profil prostokat b=1 h=2 y=-3 obrot=30\n"},
    {"wal", "profil wal d=50 b=14 t=5,5\n", "profil wal d=50 b=14 t=5.5\n"},
    {"holes of every kind",
     "okrag 0 0 10\notwor okrag 0 0 5\notwor profil prostokat b=1 h=2 x=7\n"
     "otwor   obrys\npunkt 0 6\npunkt 1 6\npunkt 0 7\nkoniec\n",
     "okrag 0 0 10\notwor okrag 0 0 5\notwor profil prostokat b=1 h=2 x=7\n"
     "otwor obrys\n  punkt 0 6\n  punkt 1 6\n  punkt 0 7\nkoniec\n"},
    {"closing arc and repeated first point",
     "obrys\npunkt -20 -20\npunkt 20 -20\nluk 20 20 20\npunkt -20 20\nluk -20 -20 20\nkoniec\n"
     "obrys\npunkt 0 0\npunkt 1 0\npunkt 0 1\npunkt 0 0\nkoniec\n",
     "obrys\n  punkt -20 -20\n  punkt 20 -20\n  luk 20 20 20\n  punkt -20 20\n"
     "  luk -20 -20 20\nkoniec\nobrys\n  punkt 0 0\n  punkt 1 0\n  punkt 0 1\nkoniec\n"},
};

TEST(SectionFile, ReadsEveryAcceptedForm) {
    for (const Accepted& c : kAccepted) {
        SCOPED_TRACE(c.name);
        const SectionRead r = parseSection(c.text);
        ASSERT_TRUE(r.ok()) << r.error << " (" << r.line << ")";
        EXPECT_EQ(sectionText(r.section), kHeader + c.written);
    }
}

TEST(SectionFile, MapsArcsToVerticesAndKeepsLines) {
    const SectionRead r = parseSection(
        "# płaskownik\nobrys\n  punkt -20 -20\n  punkt 20 -20\n  luk 20 20 20\n"
        "  punkt -20 20\n  luk -20 -20 -20\nkoniec\n\notwor okrag 0 0 8\n"
        "profil prostokat h=2 b=1 x=3 y=4 obrot=5\n");
    ASSERT_TRUE(r.ok()) << r.error << " (" << r.line << ")";
    ASSERT_EQ(r.section.shapes.size(), 3u);
    const Shape& o = r.section.shapes[0];
    EXPECT_EQ(o.line, 2);
    ASSERT_EQ(o.outline.v.size(), 4u);
    const double expected[4][3] = {{-20, -20, 0}, {20, -20, 20}, {20, 20, 0}, {-20, 20, -20}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(o.outline.v[k].x, expected[k][0]) << k;
        EXPECT_EQ(o.outline.v[k].y, expected[k][1]) << k;
        EXPECT_EQ(o.outline.v[k].r, expected[k][2]) << k;
    }
    const Shape& hole = r.section.shapes[1];
    EXPECT_EQ(hole.line, 10);
    EXPECT_TRUE(hole.otwor);
    EXPECT_EQ(hole.circle.r, 8);
    const Shape& p = r.section.shapes[2];
    EXPECT_EQ(p.line, 11);
    EXPECT_FALSE(p.otwor);
    EXPECT_EQ(p.profile.kind, ProfileKind::Prostokat);
    EXPECT_EQ(p.profile.dims, (std::vector<double>{1, 2}));
    EXPECT_EQ(p.profile.x, 3);
    EXPECT_EQ(p.profile.y, 4);
    EXPECT_EQ(p.profile.obrot, 5);
}

struct Refused {
    std::string text;
    std::string message;  // empty: any message (the shape checks' own)
    int line;
};

TEST(SectionFile, RefusesWithMessageAndLine) {
    const std::string ok = "okrag 0 0 1\n";
    const Refused cases[] = {
        {ok + "xyz 1\n", "Nieznane polecenie „xyz”", 2},
        {"g 1\n", "Nieznane polecenie „g”", 1},
        {ok + "profil X h=1\n", "Nieznany kształt profilu „X”", 2},
        {"profil\n", "Brak kształtu profilu", 1},
        {"profil I h=1 b=1 tw=0.1 tf=0.1 q=1\n", "Nieznany wymiar „q” profilu I", 1},
        {"profil prostokat b=1 h=1 r=1\n", "Nieznany wymiar „r” profilu prostokat", 1},
        {"profil I h=1 h=2\n", "Powtórzony wymiar h profilu I", 1},
        {"profil prostokat b=1 h=1 x=1 x=2\n", "Powtórzony wymiar x profilu prostokat", 1},
        {"profil I b=100 tw=5 tf=8\n", "Brak wymiaru h profilu I", 1},
        {"profil L h=1 b=1 r1=0.1\n", "Brak wymiaru t profilu L", 1},
        {"profil prostokat b=1 h\n", "Oczekiwano nazwa=wartość zamiast „h”", 1},
        {"profil prostokat b=1 =2\n", "Oczekiwano nazwa=wartość zamiast „=2”", 1},
        {"profil prostokat b=1 h=\n", "Niepoprawna wartość h „”", 1},
        {"profil prostokat b=1 h=2mm\n", "Niepoprawna wartość h „2mm”", 1},
        {"okrag 0 0\n", "Brak liczby w poleceniu okrag", 1},
        {"okrag 0 0 1 2\n", "Zbędne słowo „2”", 1},
        {"G\n", "Brak liczby w poleceniu G", 1},
        {"G 1e400\n", "Liczba „1e400” jest poza zakresem", 1},
        {"okrag 0 0 -1e99999999999999999999\n",
         "Liczba „-1e99999999999999999999” jest poza zakresem", 1},
        {"G 0\n", "Moduł G musi być dodatni", 1},
        {"G -81000\n", "Moduł G musi być dodatni", 1},
        {"siatka -0\n", "Rozmiar siatki musi być dodatni", 1},
        {ok + "G 1\nG 1\n", "Powtórzona wartość G", 3},
        {"MS 1\nMS 1\n", "Powtórzona wartość MS", 2},
        {"siatka 1\nsiatka 2\n", "Powtórzona wartość siatka", 2},
        {"punkt 0 0\n", "Polecenie punkt poza obrysem", 1},
        {"luk 0 0 1\n", "Polecenie luk poza obrysem", 1},
        {ok + "koniec\n", "Polecenie koniec poza obrysem", 2},
        {"obrys\npunkt 0 0\nobrys\n", "Polecenie obrys wewnątrz obrysu", 3},
        {"obrys\nokrag 0 0 1\n", "Polecenie okrag wewnątrz obrysu", 2},
        {"obrys\notwor okrag 0 0 1\n", "Polecenie otwor wewnątrz obrysu", 2},
        {"obrys x\n", "Zbędne słowo „x”", 1},
        {"obrys\npunkt 0 0\npunkt 1 0\npunkt 0 1\nkoniec 1\n", "Zbędne słowo „1”", 5},
        {ok + "obrys\npunkt 0 0\npunkt 1 0\npunkt 0 1\n",
         "Obrys nie jest zakończony poleceniem koniec", 2},
        {"obrys\n# łuk\nluk 1 1 1\nkoniec\n", "Obrys nie może zaczynać się od łuku", 3},
        {"otwor\n", "Brak kształtu otworu (profil, obrys albo okrag)", 1},
        {"otwor # okrag 0 0 1\n", "Brak kształtu otworu (profil, obrys albo okrag)", 1},
        {"otwor G 1\n", "Otworem może być profil, obrys albo okrag, nie „G”", 1},
        {"otwor otwor okrag 0 0 1\n", "Otworem może być profil, obrys albo okrag, nie „otwor”", 1},
        {"", "Plik nie opisuje żadnego kształtu", 0},
        {"\xEF\xBB\xBF# nic\r\nG 1\nMS 2\nsiatka 3\n", "Plik nie opisuje żadnego kształtu", 0},
        // The checks of the shapes themselves, at the line of the faulty one.
        {ok + "obrys\npunkt 0 0\npunkt 1 0\nkoniec\n", "", 2},
        {ok + "\nprofil I h=10 b=10 tw=1 tf=6\n", "", 3},
        // Garbage is quoted readably, and shortened.
        {"okrag\0\x01\xff\xc3 0 0 1\n"s, "Nieznane polecenie „okrag????”", 1},
        {"ł" + std::string(100, 'a'), "Nieznane polecenie „ł" + std::string(38, 'a') + "…”", 1},
        {"G 1" + std::string(1 << 20, ' ') + "\t2\n", "Zbędne słowo „2”", 1},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        const SectionRead r = parseSection(c.text);
        ASSERT_FALSE(r.ok());
        if (!c.message.empty()) {
            EXPECT_EQ(r.error, c.message);
        }
        EXPECT_EQ(r.line, c.line) << r.error;
        EXPECT_TRUE(r.section.shapes.empty());
        EXPECT_FALSE(r.section.G);
    }
    // Anything but a plain decimal number.
    for (const char* w : {"0x10", "inf", "-inf", "nan", "1.2.3", "1,2.3", "1e", "1e+", "+", "-",
                          ".", ",", "e5", "--1", "+-1", "1e5.5", "1.5abc", "1_000", "١"}) {
        const SectionRead r = parseSection(std::string("okrag 0 0 ") + w + "\n");
        EXPECT_EQ(r.error, std::string("Niepoprawna liczba „") + w + "”");
        EXPECT_EQ(r.line, 1);
    }
}

// Statements with random words, blanks and junk: always a result, never a crash; whatever is
// read writes back to the same text.
TEST(SectionFile, SurvivesRandomText) {
    const std::string keywords[] = {"obrys",       "koniec", "punkt",    "luk",    "okrag",
                                    "otwor okrag", "otwor",  "profil L", "profil", "G",
                                    "siatka",      "#",      "",         "\0"s,    "\xff"};
    const std::string words[] = {"h=1",  "b=2,5", "t=0.1",  "r1=0", "x=-0", "1",
                                 "-2,5", "1e308", "1e-400", "0",    ".5",   "=",
                                 "\0"s,  "\xff",  "#",      "b=1"};
    std::mt19937 rng(7);
    for (int run = 0; run < 5000; ++run) {
        std::string text;
        for (int k = static_cast<int>(rng() % 10); k > 0; --k) {
            text += keywords[rng() % std::size(keywords)];
            for (int j = static_cast<int>(rng() % 5); j > 0; --j)
                text += (rng() % 2 ? " " : "\t") + words[rng() % std::size(words)];
            text += rng() % 4 ? "\n" : "\r\n";
        }
        const SectionRead r = parseSection(text);
        if (r.ok()) {
            const std::string written = sectionText(r.section);
            EXPECT_EQ(sectionText(parseSection(written).section), written);
        } else {
            EXPECT_FALSE(r.error.empty());
            EXPECT_GE(r.line, 0);
        }
    }
}

Section awkwardSection() {
    Section s;
    s.G = 0.1;
    s.MS = -0.0;
    s.siatka = 1e-7;
    Shape c;
    c.kind = Shape::Kind::Okrag;
    c.circle = {123456.789, -0.0, 0.1 + 0.2};
    s.shapes.push_back(c);
    Shape o;
    o.kind = Shape::Kind::Obrys;
    o.otwor = true;
    // Arcs both ways, the last one back to the first vertex.
    o.outline.v = {{1.0 / 3, 5e-324, 0}, {2, 0, -1.5}, {2, 1, 0}, {1.0 / 3, 1, 0.7}};
    s.shapes.push_back(o);
    Shape p;
    p.kind = Shape::Kind::Profil;
    p.profile = {ProfileKind::L, {100, 80, 1e1 / 3, 0, 2.25}, -0.0, 1e-7, -45};
    s.shapes.push_back(p);
    Shape q;
    q.kind = Shape::Kind::Profil;
    q.otwor = true;
    q.profile = {ProfileKind::Prostokat, {0.1, 0.2}, 50, 0, 0};
    s.shapes.push_back(q);
    return s;
}

TEST(SectionFile, WrittenTextReadsBackExactly) {
    Section bare;
    Shape circle;
    circle.kind = Shape::Kind::Okrag;
    circle.circle = {0, 0, 1};
    bare.shapes.push_back(circle);
    for (const Section& s : {awkwardSection(), bare}) {
        const std::string text = sectionText(s);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.rfind(kHeader, 0), 0u);
        const SectionRead r = parseSection(text);
        ASSERT_TRUE(r.ok()) << r.error << " (" << r.line << ")";
        expectSame(r.section, s);
        EXPECT_EQ(sectionText(r.section), text);
    }
}

TEST(SectionFile, ReadsOnlyRegularFilesOfAtMost64MiB) {
    ScratchDir dir;
    const std::string good = dir.path("p.wts");
    wirtor_test::writeBytes(good, {'o', 'k', 'r', 'a', 'g', ' ', '0', ' ', '0', ' ', '1'});
    const SectionRead r = readSectionFile(good);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.section.shapes.size(), 1u);

    const std::string fifo = dir.path("pipe.wts");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& p :
         {dir.dir().string(), dir.path("missing.wts"), fifo, std::string("/dev/null")}) {
        const SectionRead bad = readSectionFile(p);
        EXPECT_EQ(bad.error, "Nie można otworzyć pliku") << p;
        EXPECT_EQ(bad.line, 0);
    }

    const std::string big = dir.path("big.wts");
    std::filesystem::copy_file(good, big);
    std::filesystem::resize_file(big, (std::uintmax_t{64} << 20) + 1);
    const SectionRead large = readSectionFile(big);
    EXPECT_EQ(large.error, "Plik jest większy niż 64 MiB");
    EXPECT_EQ(large.line, 0);
}

// Drawings in the section file: tests/core/io/data copied beside a scratch .wts.
const std::filesystem::path kDrawings =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "io" / "data";

TEST(SectionFile, DrawingsAreImportedBesideTheFileAndWrittenBackAsGiven) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.dir() / "rys");
    std::filesystem::copy_file(kDrawings / "plate_r2000.dxf", dir.dir() / "rys" / "plyta.dxf");
    std::filesystem::copy_file(kDrawings / "loose_lines_r12.dxf", dir.path("d d.dxf"));
    const std::string wts = dir.path("p.wts");
    const std::string text = kHeader +
                             "G 1\n"
                             "dxf rys/plyta.dxf\n"
                             "dxf rys/plyta.dxf skala=0.1 warstwa=PLYTA\n"
                             "otwor dxf \"d d.dxf\" skala=0.01\n";
    writeText(wts, text);
    const SectionRead r = readSectionFile(wts);
    ASSERT_TRUE(r.ok()) << r.error << " (" << r.line << ")";
    ASSERT_EQ(r.section.shapes.size(), 3u);
    struct Expected {
        std::optional<double> skala;
        std::string warstwa;
        std::size_t outlines;
        double x1;  // right end of the drawing times the scale
        bool otwor;
    } const expected[] = {
        {std::nullopt, "", 4, 100, false}, {0.1, "PLYTA", 4, 10, false}, {0.01, "", 1, 0.4, true}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Shape& sh = r.section.shapes[i];
        EXPECT_EQ(sh.kind, Shape::Kind::Rysunek);
        EXPECT_EQ(sh.line, static_cast<int>(i) + 3);
        EXPECT_EQ(sh.otwor, expected[i].otwor);
        EXPECT_EQ(sh.drawing.skala, expected[i].skala);
        EXPECT_EQ(sh.drawing.warstwa, expected[i].warstwa);
        ASSERT_EQ(sh.drawing.outlines.size(), expected[i].outlines);
        double x1 = -1e300;
        for (const Outline& o : sh.drawing.outlines)
            x1 = std::max(x1, outlineBox(o).x1);
        EXPECT_NEAR(x1, expected[i].x1, 1e-9 * expected[i].x1);
    }
    // The outlines stay in the loops: nested ones come out as solids (nesting makes the
    // holes), the cut drawing's as cuts.
    const Loops loops = sectionLoops(r.section);
    ASSERT_TRUE(loops.ok()) << loops.error;
    ASSERT_EQ(loops.loops.size(), 9u);
    EXPECT_FALSE(loops.loops[7].otwor);
    EXPECT_TRUE(loops.loops[8].otwor);
    EXPECT_EQ(sectionText(r.section), text);

    // The same text read from elsewhere finds the drawings from the given directory only.
    EXPECT_TRUE(parseSection(text, dir.dir().string()).ok());
}

TEST(SectionFile, DrawingFaultsNameTheirLine) {
    ScratchDir dir;
    std::filesystem::copy_file(kDrawings / "open_outline.dxf", dir.path("otwarty.dxf"));
    std::filesystem::copy_file(kDrawings / "plate_r2000.dxf", dir.path("p.dxf"));
    struct Case {
        std::string text;
        int line;
        std::string error;  // the start of the message
    } const cases[] = {
        {"okrag 0 0 1\ndxf brak.dxf\n", 2, "Rysunek brak.dxf: "},
        {"dxf otwarty.dxf skala=2\n", 1, "Rysunek otwarty.dxf: "},
        {"\ndxf p.dxf warstwa=INNA\n", 2, "Rysunek p.dxf: Na warstwie „INNA”"},
        {"dxf\n", 1, "Brak nazwy rysunku"},
        {"dxf \"p.dxf\n", 1, "Brak cudzysłowu zamykającego nazwę rysunku"},
        {"dxf p.dxf skala=0\n", 1, "Skala rysunku musi być dodatnia"},
        {"dxf p.dxf skala=1 skala=2\n", 1, "Powtórzona wartość skala"},
        {"dxf p.dxf kolor=1\n", 1, "Nieznana wartość „kolor” rysunku"},
        {"dxf p.dxf 2\n", 1, "Oczekiwano nazwa=wartość zamiast „2”"},
        {"obrys\ndxf p.dxf\n", 2, "Polecenie dxf wewnątrz obrysu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const SectionRead r = parseSection(c.text, dir.dir().string());
        EXPECT_EQ(r.line, c.line);
        EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << r.error;
        EXPECT_GT(r.error.size(), c.error.size() - 1);
        EXPECT_TRUE(r.section.shapes.empty());
    }
    // The importer's own message follows the name: where the outline is open.
    const SectionRead open = parseSection("dxf otwarty.dxf\n", dir.dir().string());
    EXPECT_NE(open.error.find("otwarty.dxf: "), std::string::npos);
    EXPECT_GT(open.error.size(), std::string("Rysunek otwarty.dxf: ").size());
}

}  // namespace
