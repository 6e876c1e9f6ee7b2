// Plik > Importuj DXF...: the scale and layer dialog, the summary, the drawing as the section,
// and faulty drawings that change nothing.
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
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

namespace {

const std::filesystem::path kData =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "core" / "io" / "data";

std::string drawing(const char* name) {
    return (kData / name).lexically_normal().string();
}

double meshArea(const Model& m) {
    double a = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const int i = m.noc[e][1], j = m.noc[e][2], k = m.noc[e][3];
        a += 0.5 * std::abs((m.x[j][1] - m.x[i][1]) * (m.x[k][2] - m.x[i][2]) -
                            (m.x[k][1] - m.x[i][1]) * (m.x[j][2] - m.x[i][2]));
    }
    return a;
}

std::string meshText(const Model& m) {
    std::ostringstream out;
    out << m.nn << ' ' << m.ne << '\n';
    for (int i = 1; i <= m.nn; ++i)
        out << m.x[i][1] << ' ' << m.x[i][2] << '\n';
    for (int e = 1; e <= m.ne; ++e)
        out << m.noc[e][1] << ' ' << m.noc[e][2] << ' ' << m.noc[e][3] << '\n';
    return out.str();
}

class DxfCommands : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    /// Queues the drawing `file` and the dialog with this scale and layer, then OK.
    void importuj(const std::string& file, const std::string& skala, const std::string& warstwa) {
        ui.choose(file);
        ui.dialog(3350, [=](dialogs::DialogSession& d) {
            EXPECT_EQ(d.text(8500), "1") << "the scale is proposed as 1";
            EXPECT_EQ(d.text(8501), "");
            EXPECT_TRUE(d.type(8500, skala));
            EXPECT_TRUE(d.type(8501, warstwa));
            return true;
        });
    }
};

// A 100 x 60 plate (mm) with two round holes and a slot: 5600 - 200 pi, here times 0.1^2.
TEST_F(DxfCommands, DrawingBecomesTheSectionAfterItsSummary) {
    m.G = 81000.0f;
    importuj(drawing("plate_r2000.dxf"), "0,1", " PLYTA ");
    ui.answer(Answer::Ok);
    okno.Cm_dxf();
    ASSERT_EQ(ui.choosers.size(), 1u);
    EXPECT_EQ(ui.choosers[0].filter, "Rysunki DXF (*.dxf)|*.dxf|");
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0],
              ask("Obrysów: 4, otworów: 3, pominiętych obiektów: 0, jednostki: milimetry, "
                  "zakres: x od 0 do 10, y od 0 do 6",
                  "WIRTOR", Buttons::Ok, Icon::Information));
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_GT(m.ne, 100);
    EXPECT_EQ(m.G, 81000.0f);
    EXPECT_NEAR(meshArea(m), (5600 - 200 * std::numbers::pi) * 0.01, 0.01);
    ASSERT_TRUE(okno.przekroj());
    ASSERT_EQ(okno.przekroj()->shapes.size(), 1u);
    const geometry::Shape& s = okno.przekroj()->shapes[0];
    EXPECT_EQ(s.kind, geometry::Shape::Kind::Rysunek);
    EXPECT_EQ(s.drawing.outlines.size(), 4u);
    EXPECT_TRUE(okno.siatkaZPrzekroju());

    // Saved, the section names the drawing, its scale and layer, and reads back as meshed.
    const std::string saved = dir.filePath("plyta.wts").toStdString();
    ui.prompts.clear();
    ui.choose(saved).answer(Answer::Ok);
    okno.Cm_zap_przekroj();
    std::ifstream in(saved);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\ndxf " + drawing("plate_r2000.dxf") + " skala=0.1 warstwa=PLYTA\n"),
              std::string::npos)
        << text.str();
    const geometry::SectionRead r = geometry::readSectionFile(saved);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.section.shapes[0].drawing.outlines.size(), 4u);
}

TEST_F(DxfCommands, HandEditedMeshIsReplacedOnlyWhenTheUserAgrees) {
    makeSquare(m);
    const std::string before = meshText(m);
    importuj(drawing("loose_lines_r12.dxf"), "1", "");
    ui.answer(Answer::Ok).answer(Answer::No);
    okno.Cm_dxf();
    ASSERT_EQ(ui.prompts.size(), 2u);
    EXPECT_EQ(ui.prompts[1].buttons, Buttons::YesNo);
    EXPECT_EQ(meshText(m), before);
    EXPECT_FALSE(okno.przekroj());
}

// A faulty drawing, scale or layer is named, the dialog comes back, and nothing changes.
struct Faulty {
    const char* file;
    const char* skala;
    const char* warstwa;
    const char* message;  ///< the start of the message
};

class FaultyDrawings : public DxfCommands, public ::testing::WithParamInterface<Faulty> {};

TEST_P(FaultyDrawings, LeaveTheModelAsItWas) {
    makeSquare(m);
    const std::string before = meshText(m);
    const Faulty& c = GetParam();
    importuj(drawing(c.file), c.skala, c.warstwa);
    ui.answer(Answer::Ok);
    ui.dialog(3350, [&](dialogs::DialogSession& d) {
        EXPECT_EQ(d.text(8500), c.skala) << "the entries are kept";
        return false;
    });
    okno.Cm_dxf();
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].caption, "Błąd danych");
    EXPECT_EQ(ui.prompts[0].icon, Icon::Stop);
    EXPECT_EQ(ui.prompts[0].text.rfind(c.message, 0), 0u) << ui.prompts[0].text;
    EXPECT_EQ(meshText(m), before);
    EXPECT_FALSE(okno.przekroj());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FaultyDrawings,
    ::testing::Values(Faulty{"open_outline.dxf", "1", "", ""}, Faulty{"binary.dxf", "1", "", ""},
                      Faulty{"crossing.dxf", "1", "", ""},
                      Faulty{"plate_r2000.dxf", "1", "BRAK", "Na warstwie „BRAK”"},
                      Faulty{"plate_r2000.dxf", "0", "", "Skala musi być liczbą dodatnią"},
                      Faulty{"plate_r2000.dxf", "x", "", "Skala musi być liczbą dodatnią"}));

}  // namespace
