// Runs the built wirtor-calc binary and checks what it prints and how it exits.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
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

CalcRun runCalc(const ScratchDir& dir, const std::vector<std::string>& args) {
    std::string cmd = quoted(WIRTOR_CALC_PATH);
    for (const auto& a : args)
        cmd.append(1, ' ').append(quoted(a));
    const auto out = dir.path("stdout"), err = dir.path("stderr");
    cmd.append(" >").append(quoted(out)).append(" 2>").append(quoted(err));
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
    EXPECT_NE(r.out.find("Użycie: wirtor-calc PLIK_MODELU.WT [RAPORT.txt]"), std::string::npos);
    EXPECT_TRUE(r.err.empty());
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
    for (const Case& c : {Case{dir.path("missing.WT"), "Nie można otworzyć pliku\n"},
                          Case{bad, "Błędny plik z danymi\n"}}) {
        const CalcRun r = runCalc(dir, {c.path, dir.path("r.txt")});
        EXPECT_EQ(r.exitCode, 1) << c.path;
        EXPECT_EQ(r.err, c.message);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.path("r.txt")));
    }
}
