// wirtor-calc's bracket and section-property lines and its --properties file.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "../model/test_files.h"
#include "../solver/test_meshes.h"
#include "model/model_file.h"

using namespace wirtor_test;

namespace {

struct CalcRun {
    int exitCode = -1;
    std::string out, err;
};

CalcRun calc(const ScratchDir& dir, const std::vector<std::string>& args) {
    std::string cmd = std::string("'") + WIRTOR_CALC_PATH + "'";
    for (const auto& a : args)
        cmd.append(" '").append(a).append("'");
    cmd.append(" >'").append(dir.path("out")).append("' 2>'").append(dir.path("err")).append("'");
    const int status = std::system(cmd.c_str());
    CalcRun r;
    if (status != -1 && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    r.out = readText(dir.path("out"));
    r.err = readText(dir.path("err"));
    return r;
}

// A 2 × 1 rectangle of 8 × 4 cells.
std::string writeRectangle(const ScratchDir& dir) {
    Model m;
    test_meshes::rectangle(m, 2, 1, 8, 4);
    const std::string path = dir.path("prostokat.WT");
    EXPECT_TRUE(writeModelFile(path, m).ok());
    return path;
}

constexpr const char* kKeys[] = {"J_dolne", "J_gorne", "A",  "xc",   "yc", "Ix", "Iy",
                                 "Ixy",     "I1",      "I2", "alfa", "xs", "ys", "Iw"};

double valueOf(const std::string& text, const std::string& key) {
    const std::string k = "\n" + key + " = ";
    const auto at = ("\n" + text).find(k);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(text.c_str() + at + k.size() - 1, nullptr);
}

}  // namespace

TEST(CalcProperties, PrintsTheBracketAndThePropertiesAfterTheHoles) {
    ScratchDir dir;
    const CalcRun r = calc(dir, {writeRectangle(dir)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    // The keys in their order, right after today's last line.
    std::string expected = "\nholes = 0\n";
    std::size_t at = r.out.find(expected);
    ASSERT_NE(at, std::string::npos) << r.out;
    at += expected.size();
    for (const char* key : kKeys) {
        const std::string k = std::string(key) + " = ";
        EXPECT_EQ(r.out.compare(at, k.size(), k), 0) << key << " in\n" << r.out;
        at = r.out.find('\n', at) + 1;
    }
    EXPECT_EQ(at, r.out.size());
    const double exact = 0.457363354239145;
    EXPECT_LE(valueOf(r.out, "J_dolne"), exact);
    EXPECT_GE(valueOf(r.out, "J_gorne"), exact);
    EXPECT_LT(valueOf(r.out, "J"), valueOf(r.out, "J_dolne"));
    EXPECT_NEAR(valueOf(r.out, "A"), 2.0, 1e-9);
    EXPECT_NEAR(valueOf(r.out, "xc"), 1.0, 1e-9);
    EXPECT_NEAR(valueOf(r.out, "Ix"), 2.0 / 12, 1e-9);
    EXPECT_NEAR(valueOf(r.out, "Iy"), 8.0 / 12, 1e-9);
    EXPECT_NEAR(valueOf(r.out, "alfa"), 90, 1e-9);
    EXPECT_NEAR(valueOf(r.out, "xs"), 1.0, 1e-7);
}

TEST(CalcProperties, WritesThePropertiesFileWithTheSameValues) {
    ScratchDir dir;
    const std::string model = writeRectangle(dir), file = dir.path("wlasciwosci.txt");
    const CalcRun r = calc(dir, {model, "--properties", file});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = readText(file);
    EXPECT_EQ(text.rfind("Właściwości przekroju - program WIRTOR\n\nPlik :" + file + "\n", 0), 0u)
        << text;
    for (const char* key : kKeys)
        EXPECT_EQ(valueOf(text, key), valueOf(r.out, key)) << key;
    EXPECT_EQ(valueOf(text, "J"), valueOf(r.out, "J"));
    EXPECT_NE(text.find("\nKoniec pliku\n"), std::string::npos);
}

TEST(CalcProperties, RefusesTheModelFileAndTheReportAsTarget) {
    ScratchDir dir;
    const std::string model = writeRectangle(dir);
    const Bytes before = readBytes(model);
    const CalcRun over = calc(dir, {model, "--properties", model});
    EXPECT_EQ(over.exitCode, 1);
    EXPECT_EQ(over.err, model + ": Nie można zapisać danych do pliku, z którego wczytano model\n");
    EXPECT_EQ(readBytes(model), before);
    const std::string report = dir.path("raport.txt");
    const CalcRun same = calc(dir, {model, report, "--properties", report});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_NE(same.err.find("Raport i właściwości przekroju nie mogą trafić do tego samego pliku"),
              std::string::npos)
        << same.err;
    const CalcRun twice = calc(dir, {model, "--properties", report, "--properties", report});
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_NE(twice.err.find("powtórzona opcja --properties"), std::string::npos);
}
