// Sections from outlines and profiles: the dialogs, the description the window keeps, the
// question before a hand-edited mesh goes, and the section file opened and saved.
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/okno.h"
#include "geometry/section_file.h"
#include "scripted_ui.h"
#include "test_models.h"
#include "unsaved.h"

namespace {

const Prompt kZastapic =
    ask("Siatka zmieniona ręcznie zostanie zastąpiona siatką wygenerowaną z opisu przekroju. "
        "Zmiany wprowadzone ręcznie zostaną utracone. Kontynuować ?",
        "WIRTOR", Buttons::YesNo, Icon::Question);
const Prompt kZapisano = ask("Plik zapisano poprawnie", "WIRTOR", Buttons::Ok, Icon::None);

const char* const kKwadrat = "0 0\n10 0\n10 10\n0 10";

double meshArea(const Model& m) {
    double a = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const int i = m.noc[e][1], j = m.noc[e][2], k = m.noc[e][3];
        a += 0.5 * std::abs((m.x[j][1] - m.x[i][1]) * (m.x[k][2] - m.x[i][2]) -
                            (m.x[k][1] - m.x[i][1]) * (m.x[j][2] - m.x[i][2]));
    }
    return a;
}

/// The mesh as text, to tell two meshes apart.
std::string meshText(const Model& m) {
    std::ostringstream out;
    out << m.nn << ' ' << m.ne << '\n';
    for (int i = 1; i <= m.nn; ++i)
        out << m.x[i][1] << ' ' << m.x[i][2] << '\n';
    for (int e = 1; e <= m.ne; ++e)
        out << m.noc[e][1] << ' ' << m.noc[e][2] << ' ' << m.noc[e][3] << '\n';
    return out.str();
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

/// The statements of a section file: its lines without comments and blanks at the ends.
std::vector<std::string> statements(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        const auto b = line.find_first_not_of(" \t"), e = line.find_last_not_of(" \t\r");
        if (b != std::string::npos) out.push_back(line.substr(b, e - b + 1));
    }
    return out;
}

class SectionCommands : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    std::string write(const char* name, const std::string& text) const {
        std::ofstream(path(name)) << text;
        return path(name);
    }

    /// Queues the outline dialog with these rows, element size and hole switch, then OK.
    void obrys(const std::string& rows, const std::string& size = "2", bool otwor = false) {
        ui.dialog(3300, [=](dialogs::DialogSession& d) {
            EXPECT_TRUE(d.type(8400, rows));
            EXPECT_TRUE(d.type(8500, size));
            d.setChecked(8600, otwor);
            return true;
        });
    }
    /// Queues the profile choice of `kind` and its dimension dialog with these entries, then OK.
    void profil(int kind, std::vector<std::pair<int, std::string>> texts) {
        ui.dialog(3310, [kind](dialogs::DialogSession& d) { return d.choose(8900, kind); });
        ui.dialogOk(3320 + kind, std::move(texts));
    }
    void square() {
        obrys(kKwadrat);
        okno.Cm_obrys();
        ASSERT_TRUE(okno.siatkaZPrzekroju());
    }
};

TEST_F(SectionCommands, SquareOutlineWithoutProjectMakesOneWithTheCurrentValues) {
    m.G = 81000.0f;
    m.MS = 3.0f;
    square();
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_GT(m.ne, 20);
    EXPECT_NEAR(meshArea(m), 100.0, 1e-3);
    for (int i = 1; i <= m.nn; ++i) {
        EXPECT_TRUE(m.x[i][1] >= -1e-4f && m.x[i][1] <= 10.0001f) << i;
        EXPECT_TRUE(m.x[i][2] >= -1e-4f && m.x[i][2] <= 10.0001f) << i;
    }
    EXPECT_EQ(m.G, 81000.0f);
    EXPECT_EQ(m.MS, 3.0f);
    ASSERT_TRUE(okno.przekroj());
    const geometry::Section& s = *okno.przekroj();
    ASSERT_EQ(s.shapes.size(), 1u);
    EXPECT_EQ(s.shapes[0].kind, geometry::Shape::Kind::Obrys);
    EXPECT_EQ(s.shapes[0].outline.v.size(), 4u);
    EXPECT_EQ(s.siatka, 2.0);
    CommandEnabler ce;
    okno.enable(51710, ce);
    EXPECT_TRUE(ce.enabled);
    okno.enable(51711, ce);
    EXPECT_TRUE(ce.enabled);
}

TEST_F(SectionCommands, ShapesAddUpWithoutAQuestionWhileTheMeshIsTheDescriptions) {
    square();
    ui.dialog(3300, [](dialogs::DialogSession& d) {
        EXPECT_EQ(d.text(8500), "2") << "the section's size is proposed";
        EXPECT_TRUE(d.type(8400, "5 5 2"));  // a whole circle
        d.setChecked(8600, true);
        return true;
    });
    okno.Cm_obrys();
    EXPECT_TRUE(ui.prompts.empty());
    ASSERT_EQ(okno.przekroj()->shapes.size(), 2u);
    const geometry::Shape& hole = okno.przekroj()->shapes[1];
    EXPECT_EQ(hole.kind, geometry::Shape::Kind::Okrag);
    EXPECT_TRUE(hole.otwor);
    EXPECT_NEAR(meshArea(m), 100.0 - std::numbers::pi * 4, 0.5);
    for (int i = 1; i <= m.nn; ++i)
        EXPECT_GE(std::hypot(m.x[i][1] - 5.0, m.x[i][2] - 5.0), 2.0 - 1e-3) << i;
}

// A faulty entry is named, the dialog comes back with it, and nothing changes.
struct Refusal {
    const char* rows;
    const char* size;
    const char* message;  ///< null: the core's own message about the outline
};

class RefusedOutlines : public SectionCommands, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedOutlines, LeaveTheModelAndTheDescription) {
    square();
    const std::string before = meshText(m);
    const Refusal& r = GetParam();
    obrys(r.rows, r.size);
    ui.answer(Answer::Ok);
    ui.dialog(3300, [&](dialogs::DialogSession& d) {
        EXPECT_EQ(d.text(8400), r.rows) << "the entries are kept";
        return false;
    });
    okno.Cm_obrys();
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].caption, "Błąd danych");
    EXPECT_EQ(ui.prompts[0].icon, Icon::Stop);
    if (r.message)
        EXPECT_EQ(ui.prompts[0].text, r.message);
    else
        EXPECT_FALSE(ui.prompts[0].text.empty());
    EXPECT_EQ(meshText(m), before);
    EXPECT_EQ(okno.przekroj()->shapes.size(), 1u);
    EXPECT_TRUE(okno.siatkaZPrzekroju());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedOutlines,
    ::testing::Values(
        Refusal{"20 0\n30 10\n30 0\n20 10", "2", nullptr},  // crosses itself
        Refusal{"20 0\n30 0\n30 x", "2", "Wiersz 3: Niepoprawna liczba „x”"},
        Refusal{"20 0\n30 0\n\t5\t", "2", "Wiersz 3: Brak współrzędnej X"},
        Refusal{"", "2", "Obrys nie ma żadnego punktu"},
        Refusal{"5 5 0", "2", "Wiersz 1: Promień okręgu R musi być dodatni"},
        Refusal{"20 0\n30 0\n30 10", "-1", "Największy bok elementu musi być liczbą dodatnią"},
        Refusal{"20 0\n30 0\n30 10", "abc", "Największy bok elementu musi być liczbą dodatnią"}));

TEST_F(SectionCommands, HoleOutsideTheSectionIsTheMeshersRefusal) {
    square();
    const std::string before = meshText(m);
    obrys("50 50 1", "2", true);
    ui.answer(Answer::Ok).dialogCancel(3300);
    okno.Cm_obrys();
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].caption, "Błąd danych");
    EXPECT_EQ(meshText(m), before);
    EXPECT_EQ(okno.przekroj()->shapes.size(), 1u);
}

TEST_F(SectionCommands, ProfilesArePlacedAndTurnedAsEntered) {
    // A rectangle 20 x 10 centred on (5, -3), turned by 90°: 10 wide and 20 high.
    profil(10, {{8500, "20"}, {8501, "10"}, {8510, "5"}, {8511, "-3"}, {8512, "90"}, {8513, "2"}});
    okno.Cm_profil();
    EXPECT_TRUE(ui.prompts.empty());
    ASSERT_GT(m.nn, 0);
    float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
    for (int i = 1; i <= m.nn; ++i) {
        x0 = std::min(x0, m.x[i][1]), x1 = std::max(x1, m.x[i][1]);
        y0 = std::min(y0, m.x[i][2]), y1 = std::max(y1, m.x[i][2]);
    }
    EXPECT_NEAR(x0, 0.0f, 1e-4);
    EXPECT_NEAR(x1, 10.0f, 1e-4);
    EXPECT_NEAR(y0, -13.0f, 1e-4);
    EXPECT_NEAR(y1, 7.0f, 1e-4);
    ASSERT_EQ(okno.przekroj()->shapes.size(), 1u);
    const geometry::Profile& p = okno.przekroj()->shapes[0].profile;
    EXPECT_EQ(p.kind, geometry::ProfileKind::Prostokat);
    EXPECT_EQ(p.dims, (std::vector<double>{20, 10}));
    EXPECT_EQ(p.obrot, 90.0);
}

TEST_F(SectionCommands, AnIBeamFromItsProposedDimensions) {
    ui.dialog(3310, [](dialogs::DialogSession& d) { return d.choose(8900, 0); });
    ui.dialog(3320, [](dialogs::DialogSession& d) {
        // IPE 200 is proposed; empty placement fields mean 0.
        EXPECT_EQ(d.text(8500), "200");
        EXPECT_EQ(d.text(8503), "8.5");
        EXPECT_TRUE(d.type(8510, ""));
        EXPECT_TRUE(d.type(8513, "4"));
        return true;
    });
    okno.Cm_profil();
    EXPECT_TRUE(ui.prompts.empty());
    // Flanges, web and the four root fillets of IPE 200; chords of the fillets add a little.
    const double area = 2 * 100 * 8.5 + (200 - 2 * 8.5) * 5.6 + (4 - std::numbers::pi) * 144;
    EXPECT_NEAR(meshArea(m), area, 0.003 * area);
}

TEST_F(SectionCommands, ImpossibleDimensionsGiveTheCoresMessageAndTheDialogAgain) {
    square();
    const std::string before = meshText(m);
    profil(0, {{8503, "150"}});  // tf of an I 200 high
    ui.answer(Answer::Ok).answer(Answer::Ok);
    ui.dialog(3320, [](dialogs::DialogSession& d) {
        EXPECT_EQ(d.text(8503), "150") << "the entries are kept";
        EXPECT_TRUE(d.type(8503, "8,5"));
        EXPECT_TRUE(d.type(8500, "2oo"));
        return true;
    });
    ui.dialogCancel(3320);
    okno.Cm_profil();
    EXPECT_EQ(ui.prompts, (std::vector<Prompt>{ask("Grubość półki tf musi być mniejsza niż h/2",
                                                   "Błąd danych", Buttons::Ok, Icon::Stop),
                                               ask("Niepoprawna liczba w polu „Wysokość h”",
                                                   "Błąd danych", Buttons::Ok, Icon::Stop)}));
    EXPECT_EQ(meshText(m), before);
    EXPECT_EQ(okno.przekroj()->shapes.size(), 1u);
}

TEST_F(SectionCommands, AHandEditedMeshIsReplacedOnlyAfterYes) {
    square();
    const std::string generated = meshText(m);
    // G alone leaves the mesh the description's own.
    ui.dialogOk(3050, {{8500, "70000"}});
    okno.Cm_z_mat();
    EXPECT_TRUE(okno.siatkaZPrzekroju());
    ui.dialogOk(3020, {{8500, "20"}, {8501, "20"}});
    okno.Cm_d_wez();
    EXPECT_FALSE(okno.siatkaZPrzekroju());
    const std::string edited = meshText(m);

    ui.dialogOk(3340, {}).answer(Answer::No);
    okno.Cm_siatka_przekroju();
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{kZastapic});
    EXPECT_EQ(meshText(m), edited);
    EXPECT_FALSE(okno.siatkaZPrzekroju());

    ui.dialogOk(3340, {}).answer(Answer::Yes);
    okno.Cm_siatka_przekroju();
    EXPECT_EQ(ui.prompts, (std::vector<Prompt>{kZastapic, kZastapic}));
    EXPECT_EQ(meshText(m), generated);
    EXPECT_EQ(m.G, 70000.0f);
    EXPECT_TRUE(okno.siatkaZPrzekroju());

    ui.dialogOk(3340, {{8500, "5"}});
    okno.Cm_siatka_przekroju();
    EXPECT_EQ(ui.prompts.size(), 2u) << "its own mesh goes without a question";
    EXPECT_EQ(okno.przekroj()->siatka, 5.0);
    EXPECT_LT(m.ne, std::stoi(generated.substr(generated.find(' ') + 1)));
}

TEST_F(SectionCommands, AMeshOfRectanglesIsReplacedOnlyAfterYes) {
    newProject(m);
    ui.dialogOk(3150, {{8502, "2"}, {8503, "1"}, {8507, "2"}, {8506, "1"}});
    okno.Cm_prost();
    const std::string rectangles = meshText(m);
    obrys(kKwadrat);
    ui.answer(Answer::No);
    okno.Cm_obrys();
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{kZastapic});
    EXPECT_EQ(meshText(m), rectangles);
    EXPECT_FALSE(okno.przekroj());

    obrys(kKwadrat);
    ui.answer(Answer::Yes);
    okno.Cm_obrys();
    EXPECT_NEAR(meshArea(m), 100.0, 1e-3);
    ASSERT_TRUE(okno.przekroj());
    // Appending rectangles is a hand edit.
    ui.dialogOk(3150, {{8500, "20"}, {8502, "2"}, {8503, "1"}, {8507, "2"}, {8506, "1"}});
    okno.Cm_prost();
    EXPECT_FALSE(okno.siatkaZPrzekroju());
}

TEST_F(SectionCommands, NewCloseAndAModelFileDropTheDescription) {
    // A section meshed without a project makes one that is not saved yet.
    square();
    ui.answer(Answer::No);
    okno.Cm_zamknij();
    EXPECT_EQ(ui.prompts.back(), pytanieOZapis());
    EXPECT_FALSE(okno.przekroj());
    CommandEnabler ce;
    okno.enable(51710, ce);
    EXPECT_FALSE(ce.enabled);

    square();
    ui.answer(Answer::No);
    okno.Cm_Nowy();
    EXPECT_FALSE(okno.przekroj());

    square();
    makeSquare(m);
    const std::string model = path("model.WT");
    ui.choose(model).answer(Answer::Ok);
    okno.Cm_Zapisz();
    ui.choose(model);  // saved: nothing to ask
    okno.Cm_Otworz();
    EXPECT_FALSE(okno.przekroj());
    EXPECT_EQ(m.nn, 9);
}

const char* const kPlik =
    "# przekrój próbny\n"
    "G 81000\n"
    "MS 2,5\n"
    "siatka 1,5\n"
    "obrys\n"
    "  punkt 0 0\n"
    "  punkt 10 0\n"
    "  luk 10 10 5\n"
    "  punkt 0 10\n"
    "koniec\n"
    "otwor okrag 3 5 1\n"
    "profil prostokat b=2 h=4 x=20 y=5 obrot=30\n"
    "otwor profil kolo d=1 x=20 y=5\n";

TEST_F(SectionCommands, ASectionFileOpensMeshedAndSavesBackTheSameDescription) {
    const std::string p = write("probny.WTS", kPlik);
    ui.choose(p);
    okno.Cm_Otworz();
    EXPECT_TRUE(ui.prompts.empty());
    ASSERT_EQ(m.Pusty, 0);
    EXPECT_GT(m.ne, 0);
    EXPECT_EQ(m.G, 81000.0f);
    EXPECT_EQ(m.MS, 2.5f);
    EXPECT_EQ(ui.caption, "WIRTOR - " + p);
    EXPECT_FALSE(ui.waitCursor);
    ASSERT_TRUE(okno.przekroj());
    EXPECT_EQ(okno.przekroj()->shapes.size(), 4u);
    EXPECT_TRUE(okno.siatkaZPrzekroju());
    const std::string mesh = meshText(m);

    const std::string saved = path("zapis.wts");
    ui.choose(saved).answer(Answer::Ok);
    okno.dispatch(51711);
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{kZapisano});
    EXPECT_TRUE(ui.chooserSaves.back());
    EXPECT_EQ(ui.choosers.back().filter, "Opis przekroju (*.wts)|*.wts|");
    EXPECT_EQ(ui.choosers.back().defaultExt, "wts");
    EXPECT_EQ(ui.choosers.back().path, p) << "the file opened is proposed";
    const geometry::SectionRead original = geometry::parseSection(kPlik);
    ASSERT_TRUE(original.ok());
    EXPECT_EQ(statements(readText(saved)), statements(geometry::sectionText(original.section)));

    // The mesh is the description's own: saving the description left nothing unsaved.
    ui.choose(saved);
    okno.Cm_Otworz();
    EXPECT_EQ(meshText(m), mesh);
    EXPECT_EQ(ui.caption, "WIRTOR - " + saved);
    // A file the program wrote comes back byte for byte.
    const std::string again = path("znowu.wts");
    ui.choose(again).answer(Answer::Ok);
    okno.Cm_zap_przekroj();
    EXPECT_EQ(readText(again), readText(saved));
}

TEST_F(SectionCommands, SavingWritesTheModelsCurrentValues) {
    square();
    m.G = 70000.0f;
    m.MS = 0.5f;
    const std::string saved = path("kwadrat.wts");
    ui.choose(saved).answer(Answer::Ok);
    okno.Cm_zap_przekroj();
    const geometry::SectionRead r = geometry::readSectionFile(saved);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.section.G, 70000.0);
    EXPECT_EQ(r.section.MS, 0.5);
    EXPECT_EQ(r.section.siatka, 2.0);
    EXPECT_EQ(r.section.shapes.size(), 1u);

    ui.prompts.clear();
    ui.choose(path("brak/kwadrat.wts")).answer(Answer::Ok);
    okno.Cm_zap_przekroj();
    EXPECT_EQ(ui.prompts,
              std::vector<Prompt>{ask("Nie można zapisać danych do pliku", "Błąd operacji dyskowej",
                                      Buttons::Ok, Icon::Exclamation)});
}

TEST_F(SectionCommands, AFaultyOrMissingSectionFileLeavesTheProject) {
    square();
    const std::string before = meshText(m);
    ui.setCaption("WIRTOR - Beznazwy.WT");
    const std::string faulty =
        write("zly.wts", "G 81000\nobrys\n  punkt 0 0\n  punkt x 0\nkoniec\n");
    struct {
        std::string file;
        std::string caption;
        Icon icon;
        std::string prefix;
    } const cases[] = {
        {faulty, "Błąd danych", Icon::Stop, "Wiersz 4: "},
        {path("brak.wts"), "Błąd operacji dyskowej", Icon::Exclamation, "Nie można otworzyć pliku"},
        // read well, but the mesher refuses a hole touching nothing of the section
        {write("otwor.wts",
               "obrys\n punkt 0 0\n punkt 1 0\n punkt 1 1\nkoniec\n"
               "otwor okrag 50 50 1\n"),
         "Błąd danych", Icon::Stop, ""},
    };
    for (const auto& c : cases) {
        ui.prompts.clear();
        ui.answer(Answer::No).choose(c.file).answer(Answer::Ok);
        okno.Cm_Otworz();
        ASSERT_EQ(ui.prompts.size(), 2u) << c.file;
        EXPECT_EQ(ui.prompts[0], pytanieOZapis());
        EXPECT_EQ(ui.prompts[1].caption, c.caption);
        EXPECT_EQ(ui.prompts[1].icon, c.icon);
        EXPECT_EQ(ui.prompts[1].text.rfind(c.prefix, 0), 0u) << ui.prompts[1].text;
        EXPECT_FALSE(ui.prompts[1].waitCursor);
        EXPECT_EQ(m.Pusty, 0);
        EXPECT_EQ(meshText(m), before);
        EXPECT_EQ(okno.przekroj()->shapes.size(), 1u);
        EXPECT_EQ(ui.caption, "WIRTOR - Beznazwy.WT");
    }
}

}  // namespace
