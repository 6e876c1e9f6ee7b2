// The status line: results, no current results, and each reason of a failed computation.
#include "solver/summary.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "test_meshes.h"

namespace {

struct StatusCase {
    const char* name;
    /// Prepares the model; returns the outcome the window keeps (computed or made up).
    std::function<std::optional<ComputeOutcome>(Model&)> setUp;
    std::string begins;
};

bool startsWith(const std::string& s, const std::string& p) {
    return s.compare(0, p.size(), p) == 0;
}

std::optional<ComputeOutcome> computedSquare(Model& m) {
    test_meshes::rectangle(m, 1, 1, 4, 4);
    return Obliczenia(m);
}

class StatusLine : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusLine, SaysWhatTheResultsAreOrWhyThereAreNone) {
    Model m;
    const std::optional<ComputeOutcome> last = GetParam().setUp(m);
    const std::string s = statusLine(m, last ? &*last : nullptr);
    EXPECT_TRUE(startsWith(s, GetParam().begins)) << s;
    const std::string tail = "   |   G = 80000   MS = 1";
    EXPECT_EQ(s.substr(s.size() - tail.size()), tail) << s;
}

INSTANTIATE_TEST_SUITE_P(
    Summary, StatusLine,
    ::testing::Values(StatusCase{"NoProject", [](Model&) { return std::nullopt; }, "Brak projektu"},
                      StatusCase{"Results", computedSquare, "J = 0.115"},
                      StatusCase{"Outdated",
                                 [](Model& m) {
                                     computedSquare(m);
                                     m.obliczono = 0;
                                     return std::nullopt;
                                 },
                                 "Brak aktualnych wyników"},
                      StatusCase{"ZeroAreaElement",
                                 [](Model& m) {
                                     test_meshes::rectangle(m, 1, 1, 2, 2);
                                     m.noc[3][3] = m.noc[3][2];  // two equal corners
                                     return Obliczenia(m);
                                 },
                                 "Obliczenia nieudane: element 3 ma zerowe pole"},
                      StatusCase{"NoElements",
                                 [](Model& m) {
                                     newProject(m);
                                     return Obliczenia(m);
                                 },
                                 "Obliczenia nieudane: za mało węzłów lub brak elementów"},
                      StatusCase{
                          "PieceHeldByNoContour",
                          [](Model& m) {
                              computedSquare(m);
                              m.obliczono = 0;
                              m.blad = BLAD_PIVOT;
                              return ComputeOutcome{ComputeStatus::Failed, "", 0, 0};
                          },
                          "Obliczenia nieudane: część siatki nie jest związana z żadnym konturem"},
                      StatusCase{"Memory",
                                 [](Model& m) {
                                     computedSquare(m);
                                     m.obliczono = 0;
                                     m.blad = BLAD_PAMIEC;
                                     return ComputeOutcome{ComputeStatus::Failed, "", 0, 0};
                                 },
                                 "Obliczenia nieudane: brak pamięci"},
                      StatusCase{"GJZero",
                                 [](Model& m) {
                                     computedSquare(m);
                                     m.obliczono = 0;
                                     m.blad = BLAD_GJ;
                                     return ComputeOutcome{ComputeStatus::Failed, "", 0, 0};
                                 },
                                 "Obliczenia nieudane: G·J = 0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusLine, ResultsNameTheLargestNodalStressAndItsNode) {
    Model m;
    const ComputeOutcome r = *computedSquare(m);
    const NodalPeak p = largestNodalStress(m);
    ASSERT_GT(p.node, 0);
    for (int i = 1; i <= m.nn; ++i)
        EXPECT_LE(m.ww[i][3], p.tau);
    const std::string s = statusLine(m, &r);
    EXPECT_NE(s.find("(węzeł " + std::to_string(p.node) + ")"), std::string::npos) << s;
    EXPECT_NE(s.find("otwory: 0"), std::string::npos) << s;
}

}  // namespace
