// The window's recovery copy and the offer to restore one at start.
#include "app/recovery.h"

#include <QDateTime>
#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "model/model_file.h"
#include "scripted_ui.h"
#include "test_models.h"
#include "unsaved.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = recovery::Schedule::Clock;

class Recovery : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() /
                   ("wirtor-odzysk-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
    Clock::time_point now{};

    void SetUp() override {
        fs::remove_all(dir);
        makeSquare(m);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A copy left by a program that ended without removing it, with G = `g`.
    std::string orphan(float g) {
        fs::create_directories(dir);
        Model left;
        makeSquare(left);
        left.G = g;
        const std::string path = (dir / "odzysk-1-1.WT").string();
        EXPECT_TRUE(writeModelFile(path, left).ok());
        return path;
    }
};

TEST_F(Recovery, CopiesUnsavedChangesInQuietMomentsAndDropsThemOnceSaved) {
    auto* kopia = new KopiaOdzysku(okno, dir.string(), [this] { return now; });
    ASSERT_TRUE(kopia->kopia().valid());
    kopia->sprawdz();
    EXPECT_FALSE(kopia->kopia().written());  // nothing unsaved yet
    zmien(okno);
    kopia->sprawdz();
    now += 3s;
    kopia->sprawdz();
    ASSERT_TRUE(kopia->kopia().written());
    Model back;
    ASSERT_TRUE(readModelFile(kopia->kopia().path(), back).ok());
    EXPECT_EQ(back.G, m.G);

    zmien(okno);
    now += 10s;
    kopia->sprawdz();  // two minutes have not passed since the last copy
    back = Model{};
    ASSERT_TRUE(readModelFile(kopia->kopia().path(), back).ok());
    EXPECT_NE(back.G, m.G);
    now += 2min;
    kopia->sprawdz();
    back = Model{};
    ASSERT_TRUE(readModelFile(kopia->kopia().path(), back).ok());
    EXPECT_EQ(back.G, m.G);

    ui.choose((dir / "moj.WT").string());
    ui.answer(Answer::Ok);  // "Zapisano"
    okno.Cm_Zapisz_jako();
    kopia->sprawdz();
    EXPECT_FALSE(kopia->kopia().written());
    EXPECT_FALSE(fs::exists(kopia->kopia().path()));
    EXPECT_TRUE(fs::exists(dir / "moj.WT"));
}

TEST_F(Recovery, NoCopyWhileTheComputationRuns) {
    auto* kopia = new KopiaOdzysku(okno, dir.string(), [this] { return now; });
    zmien(okno);
    kopia->sprawdz();
    now += 3s;
    ui.during = [&] { kopia->sprawdz(); };
    okno.Cm_ODSWIEZ();
    EXPECT_FALSE(kopia->kopia().written());
    ui.during = nullptr;
    kopia->sprawdz();
    EXPECT_TRUE(kopia->kopia().written());
}

TEST_F(Recovery, TheOfferAtStart) {
    const std::string question =
        "Znaleziono niezapisany model z " +
        QDateTime::currentDateTime().toString("d.MM.yyyy H:mm").toStdString() + " — przywrócić?";
    const struct {
        Answer answer;
        bool restored;
        bool kept;
    } rows[] = {
        {Answer::Yes, true, false},
        {Answer::No, false, false},
        {Answer::Cancel, false, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.answer));
        Model fresh;
        ScriptedUi u;
        _OKNO_ o{fresh, &u};
        const std::string path = orphan(1234.0f);
        u.answer(r.answer);
        EXPECT_EQ(zaproponujOdzysk(o, dir.string()), r.restored);
        ASSERT_EQ(u.prompts.size(), 1u);
        // The minute may turn between the copy and the question.
        EXPECT_EQ(u.prompts[0].text.substr(0, 30), question.substr(0, 30));
        EXPECT_EQ(u.prompts[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(fs::exists(path), r.kept);
        EXPECT_EQ(fresh.Pusty, r.restored ? 0 : 1);
        if (r.restored) {
            EXPECT_EQ(fresh.G, 1234.0f);
            EXPECT_TRUE(o.zmieniony());
            EXPECT_EQ(u.caption, "WIRTOR - Beznazwy.WT *");
        }
        fs::remove_all(dir);
    }
}

TEST_F(Recovery, ACopyOfARunningProgramIsNotOffered) {
    auto* kopia = new KopiaOdzysku(okno, dir.string(), [this] { return now; });
    zmien(okno);
    kopia->sprawdz();
    now += 3s;
    kopia->sprawdz();
    ASSERT_TRUE(kopia->kopia().written());
    Model other;
    ScriptedUi u;
    _OKNO_ o{other, &u};
    EXPECT_FALSE(zaproponujOdzysk(o, dir.string()));
    EXPECT_TRUE(u.prompts.empty());
}

TEST_F(Recovery, AnUnreadableCopyIsReportedAndDropped) {
    fs::create_directories(dir);
    const std::string path = (dir / "odzysk-1-1.WT").string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("nie model", f);
    std::fclose(f);
    Model fresh;
    ScriptedUi u;
    _OKNO_ o{fresh, &u};
    u.answer(Answer::Yes).answer(Answer::Ok);
    EXPECT_FALSE(zaproponujOdzysk(o, dir.string()));
    ASSERT_EQ(u.prompts.size(), 2u);
    EXPECT_EQ(u.prompts[1].caption, "Błąd operacji dyskowej");
    EXPECT_EQ(fresh.Pusty, 1);
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
