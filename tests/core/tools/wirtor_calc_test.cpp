// Runs the built wirtor-calc binary and checks what it prints and how it exits.

#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "../model/test_files.h"
#include "model/model_file.h"

using namespace wirtor_test;

namespace {

struct CalcRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Single-quoted for the shell. Built by appending only: GCC 12 warns falsely on
// "literal" + std::string at -O3.
std::string quoted(const std::string& s) {
    std::string q(1, '\'');
    for (char c : s) {
        if (c == '\'')
            q.append("'\\''");
        else
            q.push_back(c);
    }
    q.push_back('\'');
    return q;
}

// `toStdout` redirects the standard output elsewhere (">>file"); it is then not read back.
CalcRun runCalc(const ScratchDir& dir, const std::vector<std::string>& args,
                const std::string& toStdout = {}, const std::string& env = {}) {
    std::string cmd = env + quoted(WIRTOR_CALC_PATH);
    for (const auto& a : args)
        cmd.append(1, ' ').append(quoted(a));
    const auto out = dir.path("stdout"), err = dir.path("stderr");
    if (toStdout.empty())
        cmd.append(" >").append(quoted(out));
    else
        cmd.append(1, ' ').append(toStdout);
    cmd.append(" 2>").append(quoted(err));
    const int status = std::system(cmd.c_str());
    CalcRun r;
    if (status != -1 && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    r.out = readText(out);
    r.err = readText(err);
    return r;
}

}  // namespace

TEST(WirtorCalc, HelpExplainsTheUsageInPolish) {
    ScratchDir dir;
    const CalcRun r = runCalc(dir, {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Użycie: wirtor-calc PLIK_MODELU.WT|PRZEKROJ.wts [RAPORT.txt]"),
              std::string::npos);
    EXPECT_TRUE(r.err.empty());
    const CalcRun full = runCalc(dir, {"--help"}, ">/dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "/dev/full: Nie można zapisać danych do pliku\n");
}

TEST(WirtorCalc, WrongArgumentCountPrintsUsageAndFails) {
    ScratchDir dir;
    for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"a", "b", "c"}}) {
        const CalcRun r = runCalc(dir, args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("Użycie:"), std::string::npos);
    }
}

TEST(WirtorCalc, UnreadableModelGivesTheProgramsMessage) {
    ScratchDir dir;
    const auto bad = dir.path("bad.WT");
    writeBytes(bad, Bytes(17, 0));
    struct Case {
        std::string path;
        const char* message;
    };
    for (const Case& c :
         {Case{dir.path("missing.WT"), "Nie można otworzyć pliku\n"},
          Case{bad, "Błędny plik z danymi\n"}, Case{"/proc", "Nie można otworzyć pliku\n"}}) {
        const CalcRun r = runCalc(dir, {c.path, dir.path("r.txt")});
        EXPECT_EQ(r.exitCode, 1) << c.path;
        EXPECT_EQ(r.err, c.path + ": " + c.message);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.path("r.txt")));
    }
}

namespace {

// Unit square cut into four triangles at its centre, node 5. The corners are held at 0, so
// the centre equation alone gives phi5 = (2/3) / 4 = 1/6, J = 4 * 0.5 * phi5 / 3 = 1/9, and
// in every triangle |grad phi| = 2 phi5 = 1/3, so tau = MS / J * 1/3 = 3.
std::string writeSquare(const ScratchDir& dir) {
    Model m;
    fillModel(m, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, 0}},
              {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
    const auto path = dir.path("square.WT");
    EXPECT_TRUE(writeModelFile(path, m).ok());
    return path;
}

double valueOf(const std::string& out, const std::string& name) {
    const std::string key = "\n" + name + " = ";
    const auto at = ("\n" + out).find(key);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(out.c_str() + at + key.size() - 1, nullptr);
}

}  // namespace

TEST(WirtorCalc, ComputesASquareAndWritesTheReport) {
    ScratchDir dir;
    const auto model = writeSquare(dir);
    const auto report = dir.path("wyniki.txt");
    const CalcRun r = runCalc(dir, {model, report});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    EXPECT_EQ(r.out.rfind("nn = 5\nne = 4\nJ = ", 0), 0u) << r.out;
    // The penalty holds the corners only near 0, which raises the results by about 1e-4
    // relative; 5e-4 allows for that and still catches a wrong factor anywhere.
    const double tol = 5e-4;
    EXPECT_NEAR(valueOf(r.out, "J"), 1.0 / 9.0, tol / 9.0);
    EXPECT_NEAR(valueOf(r.out, "katob"), 9.0 / 80000.0, tol * 9.0 / 80000.0);
    EXPECT_NEAR(valueOf(r.out, "tau_max_elem"), 3.0, tol * 3.0);
    // Each component is 3 in two opposite triangles and 0 in the others; its projection is
    // the uniform 1.5, so every node has 1.5 * sqrt(2).
    EXPECT_NEAR(valueOf(r.out, "tau_max_wezl"), 1.5 * std::sqrt(2.0), tol * 2.2);
    EXPECT_NE(r.out.find("\nholes = 0\n"), std::string::npos);

    const std::string text = readText(report);
    EXPECT_NE(text.find("Plik :" + report + "\n"), std::string::npos);
    EXPECT_NE(text.find("Moduł sprężystości poprzecznej : 80000\n"), std::string::npos);
    EXPECT_NE(text.find("\n5\t"), std::string::npos);
    EXPECT_EQ(text.find("\n6\t"), std::string::npos);
}

TEST(WirtorCalc, ComputationFailuresGiveTheProgramsMessages) {
    ScratchDir dir;
    struct Case {
        std::vector<NodeData> nodes;
        std::vector<ElementData> elements;
        float G;
        const char* message;
    };
    const Case cases[] = {
        {{{0, 0, 0}, {1, 0, 0}},
         {{1, 2, 2}},
         1.0f,
         "Niezdefiniowano podpór,węzłów lub elementów\n"},
        {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
         {},
         1.0f,
         "Niezdefiniowano podpór,węzłów lub elementów\n"},
        {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}}, 0.0f, "Błąd podczas obliczeń\n"},
    };
    for (const Case& c : cases) {
        Model m;
        fillModel(m, c.nodes, c.elements, c.G);
        const auto path = dir.path("m.WT");
        ASSERT_TRUE(writeModelFile(path, m).ok());
        const CalcRun r = runCalc(dir, {path, dir.path("r.txt")});
        EXPECT_EQ(r.exitCode, 1) << c.message;
        EXPECT_EQ(r.err, path + ": " + c.message);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.path("r.txt")));
    }
}

// Every output that cannot take the results, or that would destroy the model, is refused
// with a message naming it, and the model stays as it was.
TEST(WirtorCalc, OutputFailuresNameTheFileAndKeepTheModel) {
    ScratchDir dir;
    const auto model = writeSquare(dir);
    const Bytes before = readBytes(model);
    std::filesystem::create_directory(dir.path("sub"));
    std::filesystem::create_symlink(model, dir.path("link.txt"));
    std::filesystem::create_hard_link(model, dir.path("hard.txt"));
    ASSERT_EQ(::mkfifo(dir.path("pipe").c_str(), 0600), 0);
    const std::string cannot = ": Nie można zapisać danych do pliku\n";
    const std::string over = ": Nie można zapisać danych do pliku, z którego wczytano model\n";
    struct Case {
        std::string report;    // the message names it; none: the results alone
        std::string toStdout;  // else where the results go, named by the message
        std::string message;
    } const cases[] = {
        {model, "", over},
        {dir.path("sub/.././square.WT"), "", over},
        {dir.path("link.txt"), "", over},
        {dir.path("hard.txt"), "", over},
        {"", std::string(">>").append(quoted(model)), over},
        {dir.path("no/such/r.txt"), "", cannot},
        {dir.dir().string(), "", cannot},
        {dir.path("pipe"), "", cannot},
        {"", ">/dev/full", cannot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report + c.toStdout);
        std::vector<std::string> args{model};
        if (!c.report.empty()) args.push_back(c.report);
        const CalcRun r = runCalc(dir, args, c.toStdout);
        const std::string named = !c.report.empty()      ? c.report
                                  : c.toStdout[1] == '>' ? model
                                                         : c.toStdout.substr(1);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, named + c.message);
        EXPECT_EQ(readBytes(model), before);
    }
}

TEST(WirtorCalc, TimesOnRequestFollowTheUnchangedResults) {
    ScratchDir dir;
    const auto model = writeSquare(dir);
    const CalcRun plain = runCalc(dir, {model});
    const CalcRun timed = runCalc(dir, {"--times", model, dir.path("r.txt")});
    ASSERT_EQ(timed.exitCode, 0) << timed.err;
    EXPECT_EQ(plain.out.find("czas_"), std::string::npos);
    EXPECT_EQ(timed.out.rfind(plain.out, 0), 0u) << timed.out;
    for (const char* stage : {"czas_wczytania", "czas_porzadkowania", "czas_skladania",
                              "czas_rozkladu", "czas_rozwiazan", "czas_wygladzania", "czas_zapisu"})
        EXPECT_GE(valueOf(timed.out, stage), 0.0) << stage;
    EXPECT_GE(valueOf(timed.out, "wyrazy_L"), 5.0);
    EXPECT_TRUE(std::filesystem::exists(dir.path("r.txt")));
}

// --solver forces a method anywhere among the arguments; --times names the one that solved.
TEST(WirtorCalc, SolverOptionForcesTheMethodAndTimesNameIt) {
    ScratchDir dir;
    const auto model = writeSquare(dir);
    const CalcRun automatic = runCalc(dir, {"--times", model});
    ASSERT_EQ(automatic.exitCode, 0) << automatic.err;
    EXPECT_NE(automatic.out.find("\nmetoda = cholesky\niteracje = 0\nzapasowy_rozklad = 0\n"),
              std::string::npos)
        << automatic.out;
    struct Case {
        std::vector<std::string> args;
        const char* method;
    } const cases[] = {
        {{"--times", model, "--solver", "amg"}, "amg"},
        {{"--solver", "amg", "--times", model}, "amg"},
        {{"--times", "--solver", "cholesky", model}, "cholesky"},
    };
    // Open MPI's threads, alive until the process ends, stop the leak checker's tracer at
    // exit: the runs that start MPI are checked for memory errors only.
    const char* const noLeakCheck = "ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" ";
    for (const Case& c : cases) {
        const CalcRun r =
            runCalc(dir, c.args, {}, c.method == std::string("amg") ? noLeakCheck : "");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
        EXPECT_NE(r.out.find(std::string("\nmetoda = ") + c.method + "\n"), std::string::npos)
            << r.out;
        EXPECT_EQ(valueOf(r.out, "zapasowy_rozklad"), 0.0);
        EXPECT_EQ(valueOf(r.out, "J"), valueOf(automatic.out, "J"));
        if (std::string(c.method) == "amg") {
            EXPECT_GE(valueOf(r.out, "iteracje"), 1.0);
            EXPECT_EQ(valueOf(r.out, "wyrazy_L"), 0.0);
            EXPECT_EQ(valueOf(r.out, "czas_porzadkowania"), 0.0);
        }
    }
    // Without --times the results alone, the same as without the option.
    const CalcRun plain = runCalc(dir, {model}),
                  forced = runCalc(dir, {model, "--solver", "amg"}, {}, noLeakCheck);
    EXPECT_EQ(forced.out, plain.out);
}

TEST(WirtorCalc, SolverOptionIsRefusedWithoutAKnownMethod) {
    ScratchDir dir;
    const auto model = writeSquare(dir);
    struct Case {
        std::vector<std::string> args;
        const char* err;
    } const cases[] = {
        {{model, "--solver"}, "wirtor-calc: brak wartości opcji --solver\n"},
        {{model, "--solver", "lu"},
         "wirtor-calc: nieznana metoda opcji --solver: lu (dozwolone: cholesky, amg)\n"},
        {{model, "--solver", "AMG"},
         "wirtor-calc: nieznana metoda opcji --solver: AMG (dozwolone: cholesky, amg)\n"},
        {{model, "--solver", "amg", "--solver", "cholesky"},
         "wirtor-calc: powtórzona opcja --solver\n"},
    };
    for (const Case& c : cases) {
        const CalcRun r = runCalc(dir, c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.empty());
    }
}

namespace {

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, Bytes(text.begin(), text.end()));
}

}  // namespace

// A tube of radii 1 and 0.5: J = pi/2 (1 - 0.5^4); its inner circle is found as a hole.
TEST(WirtorCalc, MeshesAndComputesASectionFile) {
    ScratchDir dir;
    const auto section = dir.path("rura.wts");
    writeText(section, "G 1\nMS 1\nsiatka 0,05\nprofil CHS d=2 t=0.5\n");
    const auto mesh = dir.path("siatka.WT");
    const CalcRun r = runCalc(dir, {"--times", section, dir.path("r.txt"), "--mesh", mesh});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const double exact = std::numbers::pi / 2 * (1 - 0.0625);
    // Linear triangles on chords of the circles give J from below, within 0.5 % here.
    EXPECT_LT(valueOf(r.out, "J"), exact);
    EXPECT_NEAR(valueOf(r.out, "J"), exact, 5e-3 * exact);
    EXPECT_NE(r.out.find("\nholes = 1\n"), std::string::npos);
    EXPECT_GE(valueOf(r.out, "czas_siatkowania"), 0.0);
    EXPECT_GE(valueOf(r.out, "czas_wczytania"), 0.0);

    // The written model is the mesh computed: the same counts and the same J again.
    Model m;
    ASSERT_TRUE(readModelFile(mesh, m).ok());
    EXPECT_EQ(m.nn, static_cast<int>(valueOf(r.out, "nn")));
    EXPECT_EQ(m.ne, static_cast<int>(valueOf(r.out, "ne")));
    const CalcRun again = runCalc(dir, {mesh});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(valueOf(again.out, "J"), valueOf(r.out, "J"));
}

TEST(WirtorCalc, FaultySectionFileNamesItsLineAndWritesNothing) {
    ScratchDir dir;
    struct Case {
        std::string text;
        std::string where;  // ":LINE: " or ": " for a message without a line
    } const cases[] = {
        {"G 80000\nprofil X h=1\n", ":2: "},
        {"okrag 0 0 1\nobrys\npunkt 0 0\npunkt 1 0\npunkt 0 1\n", ":2: "},
        {"# nic\n", ": "},
        {"okrag 0 0 1\notwor okrag 5 5 1\n", ":2: "},
        {"siatka 1e-9\nokrag 0 0 1000\n", ": "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto section = dir.path("p.wts");
        writeText(section, c.text);
        const CalcRun r = runCalc(dir, {section, dir.path("r.txt"), "--mesh", dir.path("m.WT")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind(section + c.where, 0), 0u) << r.err;
        EXPECT_GT(r.err.size(), section.size() + c.where.size() + 1) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path("r.txt")));
        EXPECT_FALSE(std::filesystem::exists(dir.path("m.WT")));
    }
}

TEST(WirtorCalc, MeshOptionIsRefusedWithoutAPathOrOverTheInput) {
    ScratchDir dir;
    const auto section = dir.path("p.wts");
    writeText(section, "okrag 0 0 1\n");
    const CalcRun missing = runCalc(dir, {section, "--mesh"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "wirtor-calc: brak wartości opcji --mesh\n");
    const CalcRun over = runCalc(dir, {section, "--mesh", section});
    EXPECT_EQ(over.exitCode, 1);
    EXPECT_EQ(readText(section), "okrag 0 0 1\n");
}

namespace {

// An I-section (h 200, b 100, tw 5.6, tf 8.5, r 12) centred on the origin as a CAD program
// draws it: twelve loose lines, four fillet arcs and a text, in R12 ASCII.
std::string iSectionDrawing() {
    const double X = 50, Y = 100, w = 2.8, f = Y - 8.5, r = 12;
    std::string out = "0\nSECTION\n2\nENTITIES\n";
    const auto num = [](double v) { return std::to_string(v) + "\n"; };
    const auto line = [&](double x0, double y0, double x1, double y1) {
        out += "0\nLINE\n8\n0\n10\n" + num(x0) + "20\n" + num(y0) + "11\n" + num(x1) + "21\n" +
               num(y1);
    };
    const auto arc = [&](double cx, double cy, double a0, double a1) {
        out += "0\nARC\n8\n0\n10\n" + num(cx) + "20\n" + num(cy) + "40\n" + num(r) + "50\n" +
               num(a0) + "51\n" + num(a1);
    };
    line(-X, -Y, X, -Y), line(X, -Y, X, -f), line(X, -f, w + r, -f);
    line(w, -f + r, w, f - r), line(w + r, f, X, f), line(X, f, X, Y);
    line(X, Y, -X, Y), line(-X, Y, -X, f), line(-X, f, -w - r, f);
    line(-w, f - r, -w, -f + r), line(-w - r, -f, -X, -f), line(-X, -f, -X, -Y);
    arc(w + r, -f + r, 180, 270), arc(w + r, f - r, 90, 180);
    arc(-w - r, f - r, 0, 90), arc(-w - r, -f + r, 270, 360);
    out += "0\nTEXT\n8\n0\n10\n0\n20\n120\n40\n5\n1\nIPE\n";
    return out + "0\nENDSEC\n0\nEOF\n";
}

}  // namespace

// The drawing computes as the same profile given by its dimensions; with --times the import
// is timed on its own.
TEST(WirtorCalc, ComputesADrawingAsTheSameProfile) {
    ScratchDir dir;
    const auto drawing = dir.path("dwuteownik.DXF");
    writeText(drawing, iSectionDrawing());
    const auto profile = dir.path("i.wts");
    writeText(profile, "profil I h=200 b=100 tw=5.6 tf=8.5 r=12\n");
    const CalcRun d = runCalc(dir, {"--times", drawing, dir.path("r.txt")});
    ASSERT_EQ(d.exitCode, 0) << d.err;
    EXPECT_TRUE(d.err.empty()) << d.err;
    const CalcRun p = runCalc(dir, {profile});
    ASSERT_EQ(p.exitCode, 0) << p.err;
    EXPECT_NEAR(valueOf(d.out, "J"), valueOf(p.out, "J"), 1e-4 * valueOf(p.out, "J"));
    EXPECT_NE(d.out.find("\nholes = 0\n"), std::string::npos);
    EXPECT_GE(valueOf(d.out, "czas_importu"), 0.0);
    EXPECT_GE(valueOf(d.out, "czas_siatkowania"), 0.0);
    EXPECT_TRUE(std::filesystem::exists(dir.path("r.txt")));

    // A plate with three holes found by nesting.
    const CalcRun plate =
        runCalc(dir, {std::filesystem::path(__FILE__).parent_path().parent_path() / "io" / "data" /
                      "plate_r2000.dxf"});
    ASSERT_EQ(plate.exitCode, 0) << plate.err;
    EXPECT_NE(plate.out.find("\nholes = 3\n"), std::string::npos) << plate.out;
}

TEST(WirtorCalc, FaultyDrawingIsNamedAndNothingIsWritten) {
    ScratchDir dir;
    const auto data = std::filesystem::path(__FILE__).parent_path().parent_path() / "io" / "data";
    for (const char* name : {"open_outline.dxf", "binary.dxf", "crossing.dxf", "missing.dxf"}) {
        SCOPED_TRACE(name);
        const std::string drawing = (data / name).string();
        const CalcRun r = runCalc(dir, {drawing, dir.path("r.txt"), "--mesh", dir.path("m.WT")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind(drawing + ": ", 0), 0u) << r.err;
        EXPECT_GT(r.err.size(), drawing.size() + 3) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.path("r.txt")));
        EXPECT_FALSE(std::filesystem::exists(dir.path("m.WT")));
    }
}
