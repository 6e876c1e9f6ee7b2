#include "model/report.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <locale>

#include "test_files.h"

using namespace wirtor_test;

namespace {

void threeNodeResults(Model& m) {
    fillModel(m, {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}}, {{1, 2, 3}});
    const float ww[3][2] = {{0.5f, 12.25f}, {80000.0f, 1.0f}, {1234567.0f, 0.00001234567f}};
    for (int i = 1; i <= 3; ++i) {
        m.ww[i][1] = ww[i - 1][0];
        m.ww[i][2] = ww[i - 1][1];
        m.ww[i][3] = -1.0f;  // not part of the table
    }
    m.obliczono = 1;
}

const char* const kThreeNodeReport =
    "Wyniki obliczeń programu WIRTOR\n"
    "\n"
    "Plik :/tmp/out/wyniki.txt\n"
    "\n"
    "Liczba elementów               : 1\n"
    "Liczba węzłów                  : 3\n"
    "Moduł sprężystości poprzecznej : 80000\n"
    "Moment skręcający              : 1\n"
    "\n"
    "Naprężenia w węzłach\n"
    "\n"
    "węzeł\tx\ty\tstyczne\tHubera\n"
    "1\t0.5\t12.25\n"
    "2\t80000\t1\n"
    "3\t1.23457e+06\t1.23457e-05\n"
    "\n"
    "\n"
    "Koniec pliku\n";

}  // namespace

TEST(Report, TextOfASmallModelIsExact) {
    Model m;
    threeNodeResults(m);
    EXPECT_EQ(reportText("/tmp/out/wyniki.txt", m), kThreeNodeReport);
}

TEST(Report, NumbersUseSixSignificantDigitsWithoutTrailingZeros) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {80000.0f, "80000"},   {1.0f, "1"},         {1234567.0f, "1.23457e+06"},
        {999999.0f, "999999"}, {0.0001f, "0.0001"}, {0.00001f, "1e-05"},
        {-2.5f, "-2.5"},       {0.0f, "0"},         {1.0f / 3.0f, "0.333333"},
        {123456.7f, "123457"}, {1e-30f, "1e-30"},
    };
    for (const Case& c : cases) {
        Model m;
        fillModel(m, {{0.0f, 0.0f, 0.0f}}, {}, c.value, 1.0f);
        const std::string text = reportText("r.txt", m);
        const std::string line = std::string("Moduł sprężystości poprzecznej : ") + c.text + "\n";
        EXPECT_NE(text.find(line), std::string::npos) << c.text << "\n" << text;
    }
}

namespace {

// Decimal comma and thousands grouping, as many desktop locales have.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

}  // namespace

TEST(Report, UserLocaleDoesNotChangeTheNumbers) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    Model m;
    threeNodeResults(m);
    const std::string text = reportText("/tmp/out/wyniki.txt", m);
    std::locale::global(previous);
    EXPECT_EQ(text, kThreeNodeReport);
}

TEST(Report, WrittenFileHoldsTheTextAndNamesItself) {
    ScratchDir dir;
    Model m;
    threeNodeResults(m);
    const auto path = dir.path("wyniki.txt");
    writeBytes(path, Bytes(5000, 'x'));  // an older, longer report is truncated
    ASSERT_TRUE(writeReport(path, m).ok());
    EXPECT_EQ(readText(path), reportText(path, m));
    EXPECT_NE(readText(path).find("Plik :" + path + "\n"), std::string::npos);
}

TEST(Report, UnwritablePathIsReported) {
    ScratchDir dir;
    Model m;
    threeNodeResults(m);
    for (const std::string& path : {dir.path("missing/r.txt"), dir.dir().string()}) {
        const FileOutcome r = writeReport(path, m);
        EXPECT_EQ(r.status, FileStatus::CannotWrite) << path;
        EXPECT_EQ(r.message, "Nie można zapisać danych do pliku");
    }
}

TEST(Report, NamedPipeIsRefusedWithoutBlocking) {
    ScratchDir dir;
    Model m;
    threeNodeResults(m);
    const auto fifo = dir.path("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto done = std::async(std::launch::async, [&] { return writeReport(fifo, m); });
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "writing the report waits for a reader of the pipe";
        // Give the blocked writer its reader so that the test can end.
        const int rd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        char buf[4096];
        while (done.wait_for(std::chrono::milliseconds(10)) == std::future_status::timeout)
            (void)!::read(rd, buf, sizeof buf);
        ::close(rd);
    }
    EXPECT_EQ(done.get().status, FileStatus::CannotWrite);
}
