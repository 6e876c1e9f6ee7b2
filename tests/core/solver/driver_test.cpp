#include "solver/driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "test_meshes.h"

namespace {

using test_meshes::fill;

// Exact torsion constant of a full a × b rectangle (a ≥ b) from the classical series.
double rectangleSeries(double a, double b) {
    double sum = 0;
    for (int n = 1; n < 200; n += 2)
        sum += std::tanh(n * std::numbers::pi * a / (2 * b)) / std::pow(n, 5);
    return a * b * b * b * (1.0 / 3 - 64 / std::pow(std::numbers::pi, 5) * (b / a) * sum);
}

constexpr double kUnitSquareJ = 0.140577015;

template <typename T>
bool sameBits(const T* a, const T* b, long n) {
    return std::memcmp(a, b, sizeof(T) * n) == 0;
}

TEST(Driver, NoProjectIsReported) {
    Model m;
    const ComputeOutcome out = Obliczenia(m);
    EXPECT_EQ(out.status, ComputeStatus::NoProject);
    EXPECT_STREQ(out.message, "Błąd obliczeń - projekt nie istnieje");
    EXPECT_EQ(m.obliczono, 0);
}

TEST(Driver, TooFewNodesOrNoElementsAreReported) {
    Model two, none;
    fill(two, {{0, 0}, {1, 0}}, {{1, 2, 2}});
    fill(none, {{0, 0}, {1, 0}, {0, 1}}, {});
    for (Model* m : {&two, &none}) {
        m->obliczono = 1;
        const ComputeOutcome out = Obliczenia(*m);
        EXPECT_EQ(out.status, ComputeStatus::NoElements);
        EXPECT_STREQ(out.message, "Niezdefiniowano podpór,węzłów lub elementów");
        EXPECT_EQ(m->obliczono, 0);
    }
}

struct FailureCase {
    const char* name;
    test_meshes::Nodes nodes;
    test_meshes::Elements elems;
    float G;
    int blad;
};

class DriverFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(DriverFailure, EndsWithTheCodeAndNoResults) {
    const FailureCase& c = GetParam();
    Model m;
    fill(m, c.nodes, c.elems);
    m.G = c.G;
    m.obliczono = 1;
    const ComputeOutcome out = Obliczenia(m);
    EXPECT_EQ(out.status, ComputeStatus::Failed);
    EXPECT_STREQ(out.message, "Błąd podczas obliczeń");
    EXPECT_EQ(m.blad, c.blad);
    EXPECT_EQ(m.obliczono, 0);
}

const test_meshes::Nodes kSquare = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}};
const test_meshes::Elements kFan = {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}};

INSTANTIATE_TEST_SUITE_P(
    Cases, DriverFailure,
    testing::Values(
        FailureCase{"ZeroG", kSquare, kFan, 0.0f, BLAD_GJ},
        FailureCase{"NodeWithoutElement",
                    {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}, {3, 3}},
                    kFan,
                    80000.0f,
                    BLAD_PIVOT},
        FailureCase{"ZeroAreaElement",
                    kSquare,
                    {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}, {1, 5, 3}},
                    80000.0f,
                    BLAD_ZDEGENEROWANY},
        FailureCase{"RepeatedCorner",
                    kSquare,
                    {{1, 2, 5}, {2, 3, 5}, {3, 4, 4}},
                    80000.0f,
                    BLAD_ZDEGENEROWANY},
        FailureCase{
            "CornerOutsideTheNodes", kSquare, {{1, 2, 5}, {2, 3, 9}}, 80000.0f, BLAD_ZDEGENEROWANY},
        FailureCase{"InfiniteCoordinate",
                    {{0, 0}, {1, 0}, {INFINITY, 1}},
                    {{1, 2, 3}},
                    80000.0f,
                    BLAD_ZDEGENEROWANY},
        FailureCase{"InfiniteModulus", kSquare, kFan, INFINITY, BLAD_ZDEGENEROWANY},
        // Every edge shared, so no node is held: the system is singular, although round-off
        // may leave its last pivot a hair away from 0.
        FailureCase{"ElementTwiceLeavesNoBoundary",
                    {{0, 0}, {1, 0}, {0.3f, 0.7f}},
                    {{1, 2, 3}, {1, 2, 3}},
                    80000.0f,
                    BLAD_PIVOT},
        FailureCase{"SeparatePieceWithoutBoundary",
                    {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}, {3, 0}, {4, 0}, {3.3f, 0.7f}},
                    {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}, {6, 7, 8}, {7, 8, 6}},
                    80000.0f,
                    BLAD_PIVOT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Driver, SingleElementCompletesWithUniformNodalValues) {
    Model m;
    fill(m, {{0, 0}, {2, 0}, {0, 1}}, {{1, 2, 3}});
    const ComputeOutcome out = Obliczenia(m);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(m.blad, 0);
    EXPECT_GT(out.J, 0.0);
    EXPECT_LT(out.J, 1e-3);
    // One constant element: the projection reproduces it at every node (to round-off).
    for (int i = 1; i <= 3; ++i)
        for (int c = 1; c <= 2; ++c)
            EXPECT_NEAR(m.ww[i][c], std::fabs(m.napr[1][c]), 1e-5 * m.napr[1][3]);
    EXPECT_FLOAT_EQ(m.napr[1][3], std::hypot(m.napr[1][1], m.napr[1][2]));
}

TEST(Driver, TwoElementsSharingAnEdgeHoldAllFourNodes) {
    Model m;
    fill(m, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{1, 2, 3}, {1, 4, 3}});
    ASSERT_TRUE(Obliczenia(m).ok());
    for (int i = 1; i <= 4; ++i)
        EXPECT_LT(std::fabs(m.f[i]), 1e-4f);
}

TEST(Driver, ClockwiseElementsGiveTheSameStresses) {
    Model ccw, cw;
    test_meshes::rectangle(ccw, 1, 1, 6, 6, false);
    test_meshes::rectangle(cw, 1, 1, 6, 6, false);
    for (int e = 1; e <= cw.ne; ++e)
        std::swap(cw.noc[e][2], cw.noc[e][3]);
    ASSERT_TRUE(Obliczenia(ccw).ok());
    ASSERT_TRUE(Obliczenia(cw).ok());
    for (int e = 1; e <= ccw.ne; ++e)
        for (int c = 1; c <= 3; ++c)
            EXPECT_NEAR(cw.napr[e][c], ccw.napr[e][c], 1e-5 * ccw.napr[e][3] + 1e-6);
}

TEST(Driver, StressesScaleWithMomentAndNotWithModulus) {
    Model base, g2, ms2;
    for (Model* m : {&base, &g2, &ms2})
        test_meshes::rectangle(*m, 2, 1, 8, 4, true);
    g2.G = 2 * base.G;
    ms2.MS = 2 * base.MS;
    ASSERT_TRUE(Obliczenia(base).ok());
    ASSERT_TRUE(Obliczenia(g2).ok());
    ASSERT_TRUE(Obliczenia(ms2).ok());
    EXPECT_EQ(g2.katob, base.katob / 2);
    EXPECT_EQ(ms2.katob, 2 * base.katob);
    for (int e = 1; e <= base.ne; ++e)
        for (int c = 1; c <= 3; ++c) {
            EXPECT_NEAR(g2.napr[e][c], base.napr[e][c], 1e-6 * base.napr[e][3]);
            EXPECT_EQ(ms2.napr[e][c], 2 * base.napr[e][c]);
        }
}

TEST(Driver, NodalValuesAreMagnitudes) {
    Model m;
    test_meshes::rectangle(m, 1, 2, 5, 9, false);
    ASSERT_TRUE(Obliczenia(m).ok());
    for (int i = 1; i <= m.nn; ++i) {
        EXPECT_GE(m.ww[i][1], 0.0f);
        EXPECT_GE(m.ww[i][2], 0.0f);
        EXPECT_GE(m.ww[i][3], m.ww[i][1]);
        EXPECT_GE(m.ww[i][3], m.ww[i][2]);
    }
}

TEST(Driver, ComputingTwiceGivesIdenticalBitsAndLeavesInputsAlone) {
    Model m;
    test_meshes::rectangle(m, 3, 1, 12, 5, true);
    m.G = 1234.5f;
    m.MS = 7.25f;
    for (int i = 1; i <= m.nn; ++i)
        m.si[i] = 0.5f * i;
    std::vector<float> x(&m.x[1][1], &m.x[1][1] + 2 * m.nn),
        si(m.si.raw() + 1, m.si.raw() + 1 + m.nn);
    std::vector<int> noc(&m.noc[1][1], &m.noc[1][1] + 3 * m.ne);
    ASSERT_TRUE(Obliczenia(m).ok());
    std::vector<float> f(m.f.raw() + 1, m.f.raw() + 1 + m.nn),
        ww(&m.ww[1][1], &m.ww[1][1] + 3 * m.nn), napr(&m.napr[1][1], &m.napr[1][1] + 3 * m.ne);
    const float katob = m.katob;
    ASSERT_TRUE(Obliczenia(m).ok());
    EXPECT_TRUE(sameBits(f.data(), m.f.raw() + 1, m.nn));
    EXPECT_TRUE(sameBits(ww.data(), &m.ww[1][1], 3 * m.nn));
    EXPECT_TRUE(sameBits(napr.data(), &m.napr[1][1], 3 * m.ne));
    EXPECT_TRUE(sameBits(&katob, &m.katob, 1));
    EXPECT_TRUE(sameBits(x.data(), &m.x[1][1], 2 * m.nn));
    EXPECT_TRUE(sameBits(si.data(), m.si.raw() + 1, m.nn));
    EXPECT_TRUE(sameBits(noc.data(), &m.noc[1][1], 3 * m.ne));
    EXPECT_EQ(m.G, 1234.5f);
    EXPECT_EQ(m.MS, 7.25f);
}

TEST(Driver, HalfBandOfTheNodeNumberingOnlyGrows) {
    Model m;
    test_meshes::gridModel(m, 1, 1, 7, 3, false);  // an element spans 10 node numbers
    ASSERT_TRUE(Obliczenia(m).ok());
    EXPECT_EQ(m.nbw, 10);
    m.nbw = 40;
    ASSERT_TRUE(Obliczenia(m).ok());
    EXPECT_EQ(m.nbw, 40);
    m.nbw = 0;
    m.G = 0;
    EXPECT_FALSE(Obliczenia(m).ok());
    EXPECT_EQ(m.nbw, 10);
}

TEST(Driver, FailureAfterSuccessClearsObliczono) {
    Model m;
    test_meshes::rectangle(m, 1, 1, 3, 3, false);
    ASSERT_TRUE(Obliczenia(m).ok());
    EXPECT_EQ(m.obliczono, 1);
    m.G = 0;
    EXPECT_FALSE(Obliczenia(m).ok());
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.blad, BLAD_GJ);
}

struct ConvergenceCase {
    int cells;
    bool p4;
    double lo, hi;  // bounds on the relative error of J
};

class UnitSquareConvergence : public testing::TestWithParam<ConvergenceCase> {};

// Linear triangles approach J from below with an error of order h²; the bounds are the
// measured error ± about 10 %.
TEST_P(UnitSquareConvergence, ApproachesTheSeriesFromBelow) {
    const auto c = GetParam();
    Model m;
    test_meshes::rectangle(m, 1, 1, c.cells, c.cells, c.p4);
    const ComputeOutcome out = Obliczenia(m);
    ASSERT_TRUE(out.ok());
    const double rel = out.J / kUnitSquareJ - 1;
    EXPECT_GT(rel, c.lo);
    EXPECT_LT(rel, c.hi);
    EXPECT_NEAR(m.katob, 1.0 / (m.G * out.J), 1e-6 / (m.G * out.J));
}

INSTANTIATE_TEST_SUITE_P(Meshes, UnitSquareConvergence,
                         testing::Values(ConvergenceCase{40, false, -2.2e-3, -1.8e-3},
                                         ConvergenceCase{40, true, -7.7e-4, -6.3e-4}));

TEST(Driver, RefiningTheSquareImprovesJ) {
    Model coarse, fine;
    test_meshes::rectangle(coarse, 1, 1, 80, 80, false);
    test_meshes::rectangle(fine, 1, 1, 160, 160, false);
    const double e80 = std::fabs(Obliczenia(coarse).J - kUnitSquareJ);
    const double e160 = std::fabs(Obliczenia(fine).J - kUnitSquareJ);
    EXPECT_LT(e160, e80 / 3.5);  // second order: about a quarter
}

TEST(Driver, RectangleMatchesTheSeries) {
    Model m;
    test_meshes::rectangle(m, 3, 1, 120, 40, true);
    const double exact = rectangleSeries(3, 1);
    const ComputeOutcome out = Obliczenia(m);
    ASSERT_TRUE(out.ok());
    EXPECT_LT(out.J, exact);
    EXPECT_NEAR(out.J / exact, 1.0, 1e-3);
}

}  // namespace

// Cancelling at any stage the computation reports leaves the model's results, codes and
// half-band exactly as they were: here the results of an earlier run with another moment.
class DriverCancel : public testing::TestWithParam<std::pair<const char*, int>> {};

TEST_P(DriverCancel, LeavesTheModelAsItWas) {
    const char* const stage = GetParam().first;
    const int call = GetParam().second;
    Model m;
    test_meshes::ring(m, 1.0, 2.0, 3, 16);
    ASSERT_TRUE(Obliczenia(m).ok());
    m.MS = 3.0f;
    const std::vector<float> f(m.f.raw() + 1, m.f.raw() + 1 + m.nn),
        ww(&m.ww[1][1], &m.ww[1][1] + 3 * m.nn), napr(&m.napr[1][1], &m.napr[1][1] + 3 * m.ne);
    const float katob = m.katob;
    const int nbw = m.nbw;

    std::vector<std::string> seen;
    int calls = 0;
    ComputeOptions o;
    o.postep = [&](const char* etap, double) {
        seen.emplace_back(etap);
        return !(seen.back() == stage && calls++ == call);
    };
    const ComputeOutcome out = Obliczenia(m, o);
    EXPECT_EQ(out.status, ComputeStatus::Cancelled);
    EXPECT_STREQ(out.message, "");
    EXPECT_EQ(seen.back(), stage);
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(m.blad, BLAD_BRAK);
    EXPECT_EQ(m.nbw, nbw);
    EXPECT_TRUE(sameBits(f.data(), m.f.raw() + 1, m.nn));
    EXPECT_TRUE(sameBits(ww.data(), &m.ww[1][1], 3 * m.nn));
    EXPECT_TRUE(sameBits(napr.data(), &m.napr[1][1], 3 * m.ne));
    EXPECT_TRUE(sameBits(&katob, &m.katob, 1));
}

INSTANTIATE_TEST_SUITE_P(Stages, DriverCancel,
                         testing::Values(std::pair{"Składanie układu", 0},
                                         std::pair{"Rozkład macierzy", 0},
                                         std::pair{"Rozwiązywanie", 0},
                                         std::pair{"Wygładzanie naprężeń", 0},
                                         std::pair{"Wygładzanie naprężeń", 2}));

TEST(Driver, StagesAreReportedInOrderWithFractionsInRange) {
    Model m;
    test_meshes::ring(m, 1.0, 2.0, 3, 16);
    std::vector<std::string> stages;
    ComputeOptions o;
    o.postep = [&](const char* etap, double czesc) {
        EXPECT_TRUE(czesc == -1 || (czesc >= 0 && czesc <= 1)) << etap << " " << czesc;
        if (stages.empty() || stages.back() != etap) stages.emplace_back(etap);
        return true;
    };
    ASSERT_TRUE(Obliczenia(m, o).ok());
    EXPECT_EQ(stages, (std::vector<std::string>{"Składanie układu", "Rozkład macierzy",
                                                "Rozwiązywanie", "Wygładzanie naprężeń"}));
}
