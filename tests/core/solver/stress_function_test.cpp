#include "solver/stress_function.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "solver/assembly.h"
#include "solver/driver.h"
#include "test_meshes.h"

namespace {

struct Solved {
    StressFunction sf;
    int nbw = 0;
};

Solved solve(const Model& m, bool holes = true) {
    const Ordering o = reverseCuthillMcKee(m);
    BandMatrix s;
    EXPECT_TRUE(s.allocate(m.nn, o.nbw));
    return {solveStressFunction(m, o, s, holes), o.nbw};
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

std::uint64_t fnv(const void* p, std::size_t n, std::uint64_t h) {
    for (std::size_t i = 0; i < n; ++i) {
        h ^= static_cast<const unsigned char*>(p)[i];
        h *= 1099511628211ull;
    }
    return h;
}

struct GoldenCase {
    const char* name;
    void (*build)(Model&);
    double J;
    std::uint64_t hash;  // of f, napr, ww and katob
};

class SolidSection : public testing::TestWithParam<GoldenCase> {};

// Recorded before hole contours were introduced: solid sections keep every bit.
TEST_P(SolidSection, KeepsTheBitsOfTheHeldContourSolution) {
    const GoldenCase& c = GetParam();
    Model m;
    c.build(m);
    const ComputeOutcome out = Obliczenia(m);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out.holes, 0);
    EXPECT_EQ(out.J, c.J);
    std::uint64_t h = 1469598103934665603ull;
    h = fnv(m.f.raw() + 1, sizeof(float) * m.nn, h);
    h = fnv(&m.napr[1][1], 3 * sizeof(float) * m.ne, h);
    h = fnv(&m.ww[1][1], 3 * sizeof(float) * m.nn, h);
    h = fnv(&m.katob, sizeof(float), h);
    EXPECT_EQ(h, c.hash);
    EXPECT_EQ(solve(m, true).sf.phi, solve(m, false).sf.phi);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, SolidSection,
    testing::Values(GoldenCase{"FourTriangleRectangle",
                               [](Model& m) { test_meshes::gridModel(m, 2, 1, 11, 7, true); },
                               0x1.cc6ea735811c2p-2, 0x3b9091eb4d39b135ull},
                    GoldenCase{"LShape",
                               [](Model& m) {
                                   test_meshes::perforated(
                                       m, 1.0, 12, [](int i, int j) { return i >= 6 && j >= 6; });
                               },
                               0x1.9d43572c43bbcp-5, 0x1070faa39ba4516cull}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
