#include "solver/stress_function.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "solver/assembly.h"
#include "solver/driver.h"
#include "test_meshes.h"

namespace {

struct Solved {
    StressFunction sf;
};

Solved solve(const Model& m, bool holes = true) {
    SymmetricMatrix s = nodePattern(m);
    return {solveStressFunction(m, s, holes)};
}

// Circulation residual of every hole, assembled here element by element: Σ over the hole's
// nodes of (K·φ − F) − 2·A.
std::vector<double> residuals(const Model& m, const StressFunction& sf) {
    const Contours& c = sf.contours;
    std::vector<double> r(c.holes());
    for (int k = 0; k < c.holes(); ++k)
        r[k] = -2 * c.area[k];
    for (int e = 1; e <= m.ne; ++e) {
        const ElementGeometry g = elementGeometry(m, e);
        for (int l = 0; l < 3; ++l) {
            const int h = c.hole[m.noc[e][l + 1]];
            if (h < 0) continue;
            r[h] -= 2 * g.area / 3;
            for (int j = 0; j < 3; ++j)
                r[h] += g.area * (g.b[0][l] * g.b[0][j] + g.b[1][l] * g.b[1][j]) *
                        sf.phi[m.noc[e][j + 1]];
        }
    }
    return r;
}

void expectHolesHeldAndBalanced(const Model& m, const StressFunction& sf) {
    ASSERT_EQ(sf.blad, 0);
    const std::vector<double> r = residuals(m, sf);
    for (int k = 0; k < sf.holes(); ++k) {
        // The penalty solve is exact to round-off of the order of cond·eps.
        EXPECT_LT(std::fabs(r[k]), 1e-9 * 2 * sf.contours.area[k]) << "hole " << k;
        EXPECT_GT(sf.C[k], 0.0);
    }
    for (int v = 1; v <= m.nn; ++v) {
        const int h = sf.contours.hole[v];
        if (h >= 0) {
            EXPECT_NEAR(sf.phi[v], sf.C[h], 1e-4 * sf.C[h]) << "node " << v;
        }
    }
}

constexpr double kTubeJ = std::numbers::pi / 2 * (1 - 0.0625);  // radii 0.5 and 1

TEST(HollowSection, ThickTubeMatchesTheExactConstant) {
    Model m;
    test_meshes::ring(m, 0.5, 1.0, 16, 128);
    const ComputeOutcome out = Obliczenia(m);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out.holes, 1);
    EXPECT_LT(out.J, kTubeJ);
    EXPECT_NEAR(out.J / kTubeJ, 1.0, 2e-3);
    int top = 1;
    for (int i = 2; i <= m.nn; ++i)
        if (m.ww[i][3] > m.ww[top][3]) top = i;
    EXPECT_NEAR(std::hypot(m.x[top][1], m.x[top][2]), 1.0, 1e-6);
    // Exact solution (1 − r²)/2: the hole's contour takes 3/8.
    const Solved s = solve(m);
    expectHolesHeldAndBalanced(m, s.sf);
    EXPECT_NEAR(s.sf.C[0], 0.375, 2e-3);
}

TEST(HollowSection, HoldingTheHoleAtZeroLosesSixSeventhsOfJ) {
    Model m;
    test_meshes::ring(m, 0.5, 1.0, 16, 128);
    const Solved held = solve(m, false);
    EXPECT_NEAR(held.sf.J / kTubeJ, 0.134, 0.003);
    EXPECT_EQ(held.sf.holes(), 0);
}

TEST(HollowSection, SquareBoxLiesBetweenTheHeldHoleAndTheSolidSquare) {
    Model coarse, fine;
    auto hole40 = [](int i, int j) { return i >= 10 && i < 30 && j >= 10 && j < 30; };
    auto hole80 = [](int i, int j) { return i >= 20 && i < 60 && j >= 20 && j < 60; };
    test_meshes::perforated(coarse, 1.0, 40, hole40);
    test_meshes::perforated(fine, 1.0, 80, hole80);
    const Solved c = solve(coarse), f = solve(fine);
    expectHolesHeldAndBalanced(coarse, c.sf);
    EXPECT_DOUBLE_EQ(c.sf.contours.area[0], 0.25);
    EXPECT_GT(c.sf.J, solve(coarse, false).sf.J * 1.5);
    EXPECT_LT(f.sf.J, 0.140577015);
    EXPECT_GT(f.sf.J, c.sf.J);
    EXPECT_NEAR(f.sf.J / c.sf.J, 1.0, 5e-3);
}

TEST(HollowSection, TwoMirroredHolesTakeTheSameValue) {
    // 3 × 1 bar of 30 × 10 cells with two 0.5 × 0.4 holes placed symmetrically about x = 1.5.
    Model m;
    test_meshes::Nodes n;
    test_meshes::Elements e;
    test_meshes::grid(n, e, 0, 0, 3, 1, 30, 10, false, [](int i, int j) {
        return !(j >= 3 && j < 7 && ((i >= 5 && i < 10) || (i >= 20 && i < 25)));
    });
    test_meshes::compact(n, e);
    test_meshes::fill(m, n, e);
    const Solved s = solve(m);
    ASSERT_EQ(s.sf.holes(), 2);
    expectHolesHeldAndBalanced(m, s.sf);
    EXPECT_NEAR(s.sf.C[0], s.sf.C[1], 1e-6 * s.sf.C[0]);
    EXPECT_EQ(Obliczenia(m).holes, 2);
}

TEST(HollowSection, HoleTouchingTheOutsideIsHeldAtZero) {
    Model m;
    test_meshes::perforated(m, 1.0, 10, [](int i, int j) {
        return (i < 2 && j < 2) || (i >= 2 && i < 6 && j >= 2 && j < 6);
    });
    const Solved s = solve(m);
    ASSERT_EQ(s.sf.blad, 0);
    EXPECT_EQ(s.sf.holes(), 0);
    for (int v = 1; v <= m.nn; ++v)
        if (s.sf.contours.hole[v] == kOuterContour) {
            EXPECT_LT(std::fabs(s.sf.phi[v]), 1e-5);
        }
}

TEST(HollowSection, TwentyHolesAreEachBalanced) {
    // A 5 × 4 array of 3 × 3-cell holes in a 1.25 × 1 plate of 25 × 20 cells: more holes
    // than one block of right-hand sides; the plate is symmetric about both midlines.
    Model m;
    test_meshes::Nodes n;
    test_meshes::Elements e;
    test_meshes::grid(n, e, 0, 0, 1.25, 1, 25, 20, false, [](int i, int j) {
        return !(i % 5 >= 1 && i % 5 < 4 && j % 5 >= 1 && j % 5 < 4);
    });
    test_meshes::compact(n, e);
    test_meshes::fill(m, n, e);
    const Solved s = solve(m);
    ASSERT_EQ(s.sf.holes(), 20);
    expectHolesHeldAndBalanced(m, s.sf);
    // The holes are numbered by their lowest node: row by row from the bottom.
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) {
            const double v = s.sf.C[5 * r + c];
            EXPECT_NEAR(v, s.sf.C[5 * r + 4 - c], 1e-6 * v) << r << "," << c;
            EXPECT_NEAR(v, s.sf.C[5 * (3 - r) + c], 1e-6 * v) << r << "," << c;
        }
    EXPECT_GT(s.sf.C[5 + 2], s.sf.C[0]);  // an inner hole lies higher on the membrane
}

TEST(SolidSection, FanRoundOneNodeHasTheClosedFormJ) {
    // A regular n-gon of radius 1 fanned from its centre: the centre is the only free node,
    // φ = 2·cos²(π/n)/3 there and J = 2·A·φ/3; the penalty holds the rim to about 1e-5.
    const int n = 2000;
    Model m;
    test_meshes::Nodes nodes{{0, 0}};
    test_meshes::Elements elems;
    for (int k = 0; k < n; ++k) {
        const double a = 2 * std::numbers::pi * k / n;
        nodes.push_back({static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))});
        elems.push_back({1, k + 2, (k + 1) % n + 2});
    }
    test_meshes::fill(m, nodes, elems);
    double area = 0;
    for (int e = 1; e <= m.ne; ++e)
        area += elementGeometry(m, e).area;
    const double phi = 2 * std::pow(std::cos(std::numbers::pi / n), 2) / 3;
    const ComputeOutcome out = Obliczenia(m);
    ASSERT_TRUE(out.ok());
    EXPECT_NEAR(m.f[1], phi, 1e-4 * phi);
    EXPECT_NEAR(out.J, 2 * area * phi / 3, 1e-4 * out.J);
    // A quarter turn maps the fan onto itself and swaps the stress components.
    EXPECT_GT(m.ww[1][1], 0.1f);
    EXPECT_NEAR(m.ww[1][1], m.ww[1][2], 1e-6 * m.ww[1][1]);
}

TEST(SolidSection, FactorBeyondTheMemoryLimitEndsAsAMemoryFailure) {
    Model m;
    test_meshes::gridModel(m, 1, 1, 6, 6, false);
    SymmetricMatrix s = nodePattern(m);
    EXPECT_EQ(solveStressFunction(m, s, true, 1).blad, BLAD_PAMIEC);
}

struct GoldenCase {
    const char* name;
    void (*build)(Model&);
    // Recorded with the band solver before the sparse factorisation replaced it.
    double J, katob;
    double f;                    // Σ f
    std::array<double, 3> napr;  // Σ |napr| per column
    std::array<double, 3> ww;    // Σ ww per column
};

class SolidSection : public testing::TestWithParam<GoldenCase> {};

TEST_P(SolidSection, MatchesTheRecordedSolution) {
    const GoldenCase& c = GetParam();
    Model m;
    c.build(m);
    const ComputeOutcome out = Obliczenia(m);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out.holes, 0);
    EXPECT_NEAR(out.J, c.J, 1e-9 * c.J);
    EXPECT_NEAR(m.katob, c.katob, 1e-9 * c.katob);
    double f = 0;
    std::array<double, 3> napr{}, ww{};
    for (int i = 1; i <= m.nn; ++i) {
        f += m.f[i];
        for (int k = 0; k < 3; ++k)
            ww[k] += m.ww[i][k + 1];
    }
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 0; k < 3; ++k)
            napr[k] += std::fabs(m.napr[e][k + 1]);
    EXPECT_NEAR(f, c.f, 1e-6 * c.f);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(napr[k], c.napr[k], 1e-6 * c.napr[k]) << "column " << k + 1;
        EXPECT_NEAR(ww[k], c.ww[k], 1e-6 * c.ww[k]) << "column " << k + 1;
    }
    // Without holes the hole handling must not touch a single bit.
    EXPECT_EQ(solve(m, true).sf.phi, solve(m, false).sf.phi);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, SolidSection,
    testing::Values(GoldenCase{"FourTriangleRectangle",
                               [](Model& m) { test_meshes::gridModel(m, 2, 1, 11, 7, true); },
                               0x1.cc6ea735811c2p-2,
                               0x1.d267fp-16,
                               0x1.16b4d62d920a8p+4,
                               {0x1.a5c180f5e7203p+6, 0x1.c937ac7dc1aa2p+7, 0x1.27d7359408p+8},
                               {0x1.dfadb143bp+5, 0x1.07c1321975p+7, 0x1.5762d41ep+7}},
                    GoldenCase{"LShape",
                               [](Model& m) {
                                   test_meshes::perforated(
                                       m, 1.0, 12, [](int i, int j) { return i >= 6 && j >= 6; });
                               },
                               0x1.9d43572c43bbcp-5,
                               0x1.03d208p-12,
                               0x1.d0ec005c413bp+1,
                               {0x1.1fdd7aa94cbc2p+9, 0x1.1fdd7aa94cbc2p+9, 0x1.f3e13ea6d9b8p+9},
                               {0x1.75ec840fbd8p+8, 0x1.75ec840fbd8p+8, 0x1.493b17e9p+9}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
