// Opening, saving, the results report and the computation from the menu, against real files.
#include <QTemporaryDir>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/okno.h"
#include "scripted_ui.h"
#include "test_models.h"

namespace {

const Prompt kZapisano = ask("Plik zapisano poprawnie", "WIRTOR", Buttons::Ok, Icon::None);
Prompt dysk(const char* text) {
    return ask(text, "Błąd operacji dyskowej", Buttons::Ok, Icon::Exclamation);
}
Prompt oblicz(const char* text) {
    return ask(text, "WIRTOR", Buttons::Ok, Icon::None);
}

/// A model file written byte by byte: header, then any number of raw 4-byte words.
void writeRaw(const std::string& path, std::int32_t ne, std::int32_t nn, float G, float MS,
              int extraWords = 0) {
    std::ofstream out(path, std::ios::binary);
    auto put = [&](const void* p) { out.write(static_cast<const char*>(p), 4); };
    put(&ne);
    put(&nn);
    put(&G);
    put(&MS);
    const std::int32_t zero = 0;
    for (int i = 0; i < extraWords; ++i)
        put(&zero);
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class FileCommands : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }

    /// Saves the square model as `name` through the save command.
    std::string saveSquare(const char* name) {
        makeSquare(m);
        const std::string p = path(name);
        ui.choose(p).answer(Answer::Ok);
        okno.Cm_Zapisz();
        ui.prompts.clear();
        return p;
    }
};

TEST_F(FileCommands, OpenWithoutProjectReadsTheFileAndShowsItsPath) {
    const std::string p = saveSquare("a.WT");
    releaseModel(m);
    okno.p_napr = okno.p_n_pola = 1;
    ui.choose(p);
    okno.Cm_Otworz();
    EXPECT_TRUE(ui.prompts.empty());
    ASSERT_EQ(ui.choosers.size(), 2u);
    EXPECT_FALSE(ui.chooserSaves[1]);
    EXPECT_EQ(ui.choosers[1].filter,
              "Pliki WIRTOR (*.WT *.wts)|*.WT;*.wts|Pliki PANWEL (*.WT)|*.WT|"
              "Opis przekroju (*.wts)|*.wts|");
    EXPECT_EQ(ui.choosers[1].defaultExt, "WT");
    EXPECT_EQ(ui.choosers[1].path, p) << "the open dialog proposes the name last saved";
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.nn, 9);
    EXPECT_EQ(m.ne, 8);
    EXPECT_EQ(okno.p_napr, 0);
    EXPECT_EQ(okno.p_n_pola, 0);
    EXPECT_EQ(ui.caption, "WIRTOR - " + p);
    EXPECT_EQ(caption, "WIRTOR - " + p);
    EXPECT_FALSE(ui.waitCursor);
    EXPECT_GE(ui.waitCalls, 2);
    EXPECT_GE(ui.repaints, 1);
}

// Nothing is released before a new file is read completely: a cancelled dialog or a refused
// file leaves the model, its caption and its results.
TEST_F(FileCommands, CancelledOrRefusedOpenKeepsTheModelCaptionAndResults) {
    writeRaw(path("zero.WT"), 1, 0, 5.0f, 7.0f, 3);
    writeRaw(path("neg.WT"), 0, -4, 5.0f, 7.0f);
    writeRaw(path("short.WT"), 2, 3, 5.0f, 7.0f, 4);  // body cut short
    struct {
        std::optional<std::string> file;  // none: the dialog is cancelled
        std::optional<Prompt> expected;
    } const cases[] = {
        {std::nullopt, std::nullopt},
        {path("missing.WT"), dysk("Nie można otworzyć pliku")},
        {path("zero.WT"), dysk("Błędny plik z danymi")},
        {path("neg.WT"), dysk("Błędny plik z danymi")},
        {path("short.WT"), dysk("Błędny plik z danymi")},
    };
    const std::string saved = saveSquare("sq.WT");
    okno.Cm_ODSWIEZ();
    ASSERT_EQ(m.obliczono, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.value_or("<cancel>"));
        ui.prompts.clear();
        ui.captions.clear();
        ui.choose(c.file);
        if (c.expected) ui.answer(Answer::Ok);
        okno.Cm_Otworz();
        EXPECT_EQ(ui.prompts,
                  c.expected ? std::vector<Prompt>{*c.expected} : std::vector<Prompt>{});
        if (c.expected) {
            EXPECT_FALSE(ui.prompts.back().waitCursor) << "the arrow is back first";
        }
        EXPECT_FALSE(ui.waitCursor);
        EXPECT_EQ(m.Pusty, 0);
        EXPECT_EQ(m.nn, 9);
        EXPECT_EQ(m.ne, 8);
        EXPECT_EQ(m.G, 80000.0f);
        EXPECT_EQ(m.obliczono, 1) << "the results stay";
        EXPECT_TRUE(ui.captions.empty());
        EXPECT_EQ(ui.caption, "WIRTOR - " + saved);
        EXPECT_EQ(okno._plik_.path, saved);
    }
}

TEST_F(FileCommands, RefusedFileWithoutProjectChangesNothing) {
    writeRaw(path("zero.WT"), 4, 0, 5.0f, 7.0f);
    ui.choose(path("zero.WT")).answer(Answer::Ok);
    okno.Cm_Otworz();
    EXPECT_EQ(m.G, 80000.0f);
    EXPECT_EQ(m.MS, 1.0f);
    EXPECT_EQ(m.nn + m.ne, 0);
    EXPECT_EQ(m.Pusty, 1);
}

TEST_F(FileCommands, OpenWithAutomaticRecomputationComputesOrReports) {
    const std::string good = saveSquare("sq.WT");
    writeRaw(path("two.WT"), 0, 2, 80000.0f, 1.0f, 6);
    releaseModel(m);
    m.a_licz = 1;
    ui.choose(good);
    okno.Cm_Otworz();
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(m.obliczono, 1);

    ui.choose(path("two.WT")).answer(Answer::Ok);
    okno.Cm_Otworz();
    EXPECT_EQ(ui.prompts,
              (std::vector<Prompt>{oblicz("Niezdefiniowano podpór,węzłów lub elementów")}));
    EXPECT_EQ(m.Pusty, 0) << "the model read stays";
    EXPECT_EQ(m.nn, 2);
    EXPECT_EQ(m.obliczono, 0);
}

TEST_F(FileCommands, SaveShowsTheNewCaptionBeforeTheMessageAndReopensBitForBit) {
    makeSquare(m);
    m.G = 81234.5f;
    m.MS = 3.25f;
    m.x[5][1] = 1.0000001f;
    m.si[2] = -0.5f;
    const std::string p = path("model.WT");
    ui.choose(p).answer(Answer::Ok);
    okno.Cm_Zapisz();
    ASSERT_EQ(ui.prompts, std::vector<Prompt>{kZapisano});
    EXPECT_EQ(ui.prompts[0].frameCaption, "WIRTOR - " + p);
    EXPECT_FALSE(ui.prompts[0].waitCursor);
    EXPECT_TRUE(ui.chooserSaves[0]);
    EXPECT_EQ(ui.choosers[0].filter, "Pliki PANWEL (*.WT)|*.WT|");
    EXPECT_EQ(m.Pusty, 0) << "saving keeps the model";

    Model before;
    makeSquare(before);
    before.G = m.G;
    before.MS = m.MS;
    before.x[5][1] = m.x[5][1];
    before.si[2] = m.si[2];

    ui.choose(p);
    okno.Cm_zamknij();  // saved: nothing to ask
    okno.Cm_Otworz();
    EXPECT_EQ(ui.prompts, (std::vector<Prompt>{kZapisano}));
    ASSERT_EQ(m.Pusty, 0);
    ASSERT_EQ(m.nn, before.nn);
    ASSERT_EQ(m.ne, before.ne);
    EXPECT_EQ(std::memcmp(&m.G, &before.G, 4), 0);
    EXPECT_EQ(m.MS, before.MS);
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(m.noc[e][k], before.noc[e][k]);
    for (int i = 1; i <= m.nn; ++i) {
        EXPECT_EQ(std::memcmp(&m.x[i][1], &before.x[i][1], 8), 0) << i;
        EXPECT_EQ(std::memcmp(&m.si[i], &before.si[i], 4), 0) << i;
    }
}

TEST_F(FileCommands, FailedSaveReportsAndKeepsCaptionAndModel) {
    makeModel(m, 3, 1);
    ui.setCaption("WIRTOR - Beznazwy.WT");
    ui.choose(path("no/such/dir/x.WT")).answer(Answer::Ok);
    okno.Cm_Zapisz();
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{dysk("Nie można zapisać do pliku")});
    EXPECT_EQ(ui.caption, "WIRTOR - Beznazwy.WT");
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.nn, 3);
    EXPECT_FALSE(ui.waitCursor);
}

TEST_F(FileCommands, SaveAndReportDoNothingWithoutProjectOrWhenCancelled) {
    okno.Cm_Zapisz();
    okno.Cm_zap_wyn();
    EXPECT_TRUE(ui.choosers.empty());
    makeModel(m, 3, 1);
    m.obliczono = 1;
    ui.choose(std::nullopt).choose(std::nullopt);
    okno.dispatch(1060);  // "Zapisz &Jako" runs the same handler
    okno.Cm_zap_wyn();
    EXPECT_EQ(ui.choosers.size(), 2u);
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_TRUE(ui.captions.empty());
}

TEST_F(FileCommands, ReportNamesItselfAndListsEveryNode) {
    const std::string model = saveSquare("sq.WT");
    okno.Cm_ODSWIEZ();
    ASSERT_EQ(m.obliczono, 1);
    const std::string p = path("wyniki.txt");
    ui.choose(p).answer(Answer::Ok);
    okno.Cm_zap_wyn();
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{kZapisano});
    EXPECT_EQ(ui.choosers.back().filter, "Pliki wyników PANWEL (*.txt)|*.txt|");
    EXPECT_EQ(ui.choosers.back().defaultExt, "txt");
    EXPECT_TRUE(ui.chooserSaves.back());
    EXPECT_EQ(okno._plik_.path, model) << "the report has its own dialog settings";
    EXPECT_EQ(okno._pliktxt_.path, p);
    const std::string text = readText(p);
    EXPECT_EQ(text.rfind("Wyniki obliczeń programu WIRTOR\n\nPlik :" + p + "\n", 0), 0u);
    EXPECT_NE(text.find("\n9\t"), std::string::npos);
    EXPECT_EQ(text.find("\n10\t"), std::string::npos);
    EXPECT_NE(text.find("\n\n\nKoniec pliku"), std::string::npos);
    EXPECT_EQ(ui.caption, "WIRTOR - " + model) << "the report does not change the caption";
}

TEST_F(FileCommands, ReportThatCannotBeWrittenSaysSo) {
    makeSquare(m);
    okno.Cm_ODSWIEZ();
    ui.choose(path("no/such/dir/w.txt")).answer(Answer::Ok);
    okno.Cm_zap_wyn();
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{dysk("Nie można zapisać danych do pliku")});
}

// The model's file, saved or opened, is never replaced by a report, whatever path leads to it.
TEST_F(FileCommands, ReportOverTheModelsFileIsRefused) {
    const std::string saved = saveSquare("sq.WT");
    const std::string opened = path("otwarty.WT");
    std::filesystem::copy_file(saved, opened);
    std::filesystem::create_directory(path("sub"));
    std::filesystem::create_symlink(opened, path("link.txt"));
    struct Case {
        const char* how;
        std::string model;  // opened first when it is not the file just saved
        std::string report;
    } const cases[] = {
        {"saved, same path", saved, saved},
        {"saved, other spelling", saved, path("sub/../sq.WT")},
        {"opened, same path", opened, opened},
        {"opened, through a link", opened, path("link.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        if (c.model != saved) {
            ui.choose(c.model);
            okno.Cm_Otworz();
        }
        okno.Cm_ODSWIEZ();
        ASSERT_EQ(m.obliczono, 1);
        const std::string before = readText(c.model);
        ui.prompts.clear();
        ui.choose(c.report).answer(Answer::Ok);
        okno.Cm_zap_wyn();
        EXPECT_EQ(ui.prompts, std::vector<Prompt>{dysk(
                                  "Nie można zapisać danych do pliku, z którego wczytano model")});
        EXPECT_EQ(readText(c.model), before);
    }
}

TEST_F(FileCommands, ReportWithoutCurrentResultsWritesNothing) {
    makeSquare(m);
    okno.Cm_zap_wyn();
    EXPECT_TRUE(ui.choosers.empty());
}

TEST_F(FileCommands, ComputationReportsEachFailureAndMarksOnlySuccess) {
    struct Case {
        const char* name;
        void (*setup)(Model&);
        const char* message;  // null: success
    } const cases[] = {
        {"no project", [](Model& mm) { releaseModel(mm); }, "Błąd obliczeń - projekt nie istnieje"},
        {"two nodes", [](Model& mm) { makeModel(mm, 2, 0); },
         "Niezdefiniowano podpór,węzłów lub elementów"},
        {"no element", [](Model& mm) { makeModel(mm, 3, 0); },
         "Niezdefiniowano podpór,węzłów lub elementów"},
        {"G = 0",
         [](Model& mm) {
             makeSquare(mm);
             mm.G = 0.0f;
         },
         "Błąd podczas obliczeń"},
        {"square", [](Model& mm) { makeSquare(mm); }, nullptr},
    };
    for (const Case& c : cases) {
        c.setup(m);
        m.obliczono = 1;
        ui.prompts.clear();
        ui.repaints = 0;
        if (c.message) ui.answer(Answer::Ok);
        okno.dispatch(1010);  // "&Oblicz"
        if (c.message) {
            EXPECT_EQ(ui.prompts, std::vector<Prompt>{oblicz(c.message)}) << c.name;
            EXPECT_FALSE(ui.prompts[0].waitCursor) << c.name;
            EXPECT_EQ(m.obliczono, 0) << c.name;
        } else {
            EXPECT_TRUE(ui.prompts.empty()) << c.name;
            EXPECT_EQ(m.obliczono, 1) << c.name;
        }
        EXPECT_FALSE(ui.waitCursor) << c.name;
        EXPECT_GE(ui.repaints, 1) << c.name;
        m.G = 80000.0f;
    }
}

}  // namespace
