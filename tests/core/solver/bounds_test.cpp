#include "solver/bounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>
#include <random>
#include <string>

#include "quadratic_test_meshes.h"
#include "solver/boundary.h"
#include "solver/driver.h"
#include "solver/quadratic_stress.h"
#include "solver/warping.h"

namespace {

namespace qm = quadratic_test_meshes;

using Build = std::function<void(Model&)>;

void expectSumOfIndicators(const SectionBounds& b) {
    const double sum = std::accumulate(b.eta2.begin(), b.eta2.end(), 0.0);
    EXPECT_NEAR(sum, b.J_gorne - b.J_dolne, 1e-10 * b.J_gorne);
    for (double e : b.eta2)
        EXPECT_GE(e, 0.0);
}

// The base mesh, refined `level` times (nested meshes of the same polygon).
SectionBounds bracketOf(const Build& build, int level, double* linear = nullptr) {
    Model m;
    build(m);
    for (int l = 0; l < level; ++l)
        qm::refine(m);
    const SectionBounds b = computeBounds(m);
    if (linear) {
        const ComputeOutcome out = Obliczenia(m);
        *linear = out.ok() ? out.J : 0;
    }
    return b;
}

struct ExactCase {
    const char* name;
    Build build;
    double J;  // exact for the polygon
};

class ExactBracket : public testing::TestWithParam<ExactCase> {};

// On nested meshes the lower bound only rises and the upper only falls.
TEST_P(ExactBracket, HoldsTheExactValueAndNarrowsOnRefinement) {
    const ExactCase& c = GetParam();
    double lower = 0, upper = INFINITY;
    for (int level = 0; level < 3; ++level) {
        double linear = 0;
        const SectionBounds b = bracketOf(c.build, level, &linear);
        ASSERT_TRUE(b.ok()) << b.message;
        SCOPED_TRACE(testing::Message()
                     << c.name << " level " << level << ": " << b.J_dolne << " .. " << b.J_gorne);
        EXPECT_LE(b.J_dolne, c.J);
        EXPECT_GE(b.J_gorne, c.J);
        EXPECT_GE(b.J_dolne, lower);
        EXPECT_LE(b.J_gorne, upper);
        EXPECT_GT(b.J_dolne, linear);  // the linear elements' space lies inside
        expectSumOfIndicators(b);
        lower = b.J_dolne;
        upper = b.J_gorne;
    }
    EXPECT_LT((upper - lower) / c.J, 3e-3);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, ExactBracket,
    testing::Values(
        ExactCase{"square", [](Model& m) { test_meshes::rectangle(m, 1, 1, 2, 2); },
                  0.140577014955156},
        ExactCase{"square_p4", [](Model& m) { test_meshes::rectangle(m, 1, 1, 1, 1, true); },
                  0.140577014955156},
        ExactCase{"rectangle_2x1", [](Model& m) { test_meshes::rectangle(m, 2, 1, 2, 1); },
                  0.457363354239145},
        ExactCase{"rectangle_1x3", [](Model& m) { test_meshes::rectangle(m, 1, 3, 1, 3); },
                  0.789950793004504},
        ExactCase{"triangle", [](Model& m) { qm::triangle(m, 2, 2); }, std::sqrt(3.0) / 80 * 16}),
    [](const auto& info) { return std::string(info.param.name); });

class ConvergedBracket : public testing::TestWithParam<ExactCase> {};

// Holes and re-entrant corners: every bracket holds the converged J, which a refined mesh
// pins down narrowly.
TEST_P(ConvergedBracket, HoldsTheValueOfAFineMesh) {
    const ExactCase& c = GetParam();
    const SectionBounds fine = bracketOf(c.build, 3);
    ASSERT_TRUE(fine.ok()) << fine.message;
    EXPECT_LT((fine.J_gorne - fine.J_dolne) / fine.J_dolne, c.J);
    for (int level = 0; level < 2; ++level) {
        double linear = 0;
        const SectionBounds b = bracketOf(c.build, level, &linear);
        ASSERT_TRUE(b.ok()) << b.message;
        SCOPED_TRACE(testing::Message()
                     << c.name << " level " << level << ": " << b.J_dolne << " .. " << b.J_gorne);
        EXPECT_LE(b.J_dolne, fine.J_gorne);
        EXPECT_GE(b.J_gorne, fine.J_dolne);
        EXPECT_LE(b.J_dolne, fine.J_dolne);
        EXPECT_GE(b.J_gorne, fine.J_gorne);
        EXPECT_GT(b.J_dolne, linear);
        EXPECT_LT((b.J_gorne - b.J_dolne) / b.J_dolne, 0.2);  // a lost hole constant is far off
        expectSumOfIndicators(b);
    }
}

// J here is the largest relative width allowed on the fine mesh.
INSTANTIATE_TEST_SUITE_P(
    Sections, ConvergedBracket,
    testing::Values(ExactCase{"tube", [](Model& m) { test_meshes::ring(m, 0.5, 1, 2, 24); }, 1e-4},
                    ExactCase{"square_with_hole",
                              [](Model& m) {
                                  test_meshes::perforated(m, 1, 4, [](int i, int j) {
                                      return i >= 1 && i <= 2 && j >= 1 && j <= 2;
                                  });
                              },
                              1e-3},
                    ExactCase{"two_holes",
                              [](Model& m) {
                                  test_meshes::perforated(m, 1, 5, [](int i, int j) {
                                      return j == 2 && (i == 1 || i == 3);
                                  });
                              },
                              1e-3},
                    ExactCase{"angle", [](Model& m) { qm::angle(m, 1, 1, 0.5, 0.25); }, 3e-3}),
    [](const auto& info) { return std::string(info.param.name); });

// The bounds are energies of whatever admissible fields they are given: disturbing the
// solved fields (contour values kept) lowers the lower bound, raises the upper one and keeps
// the gap equal to the sum of the indicators.
TEST(Bracket, EnergiesOfDisturbedFieldsStillBoundAndMeetTheIndicators) {
    Model m;
    test_meshes::perforated(m, 1, 6,
                            [](int i, int j) { return i >= 2 && i <= 3 && j >= 2 && j <= 3; });
    const QuadraticMesh q = quadraticMesh(m);
    const std::vector<BoundaryEdge> edges = boundaryEdges(m);
    const Contours c = findContours(m, edges);
    const std::vector<int> contour = quadraticContours(q, c, edges);
    SolverTimes t;
    QuadraticWork w;
    QuadraticStress phi = solveQuadraticStress(m, q, c, contour, w, t);
    WarpingFunction omega = solveWarping(m, q, 0.5, 0.5, 1.0, w, t);
    ASSERT_EQ(phi.status, FactorStatus::Ok);
    ASSERT_EQ(omega.status, FactorStatus::Ok);
    ASSERT_EQ(phi.C.size(), 1u);
    const BracketEnergies solved = bracketEnergies(m, q, phi.phi, phi.C, c, omega.omega, 0.5, 0.5);

    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-1e-2, 1e-2);
    for (int v = 0; v < q.nodes(); ++v) {
        if (contour[v] == kOffContour) phi.phi[v] += d(rng);
        omega.omega[v] += d(rng);
    }
    phi.C[0] *= 1.01;
    for (int v = 0; v < q.nodes(); ++v)
        if (contour[v] == 0) phi.phi[v] = phi.C[0];
    const BracketEnergies disturbed =
        bracketEnergies(m, q, phi.phi, phi.C, c, omega.omega, 0.5, 0.5);
    EXPECT_LT(disturbed.lower, solved.lower);
    EXPECT_GT(disturbed.upper, solved.upper);
    const double sum = std::accumulate(disturbed.eta2.begin(), disturbed.eta2.end(), 0.0);
    EXPECT_NEAR(sum, disturbed.upper - disturbed.lower, 1e-12 * disturbed.upper);
}

TEST(Bracket, ClockwiseElementsAndAnotherNumberingGiveTheSameBracket) {
    Model m;
    qm::angle(m, 1, 1, 0.25, 0.125);
    const SectionBounds a = computeBounds(m);
    // Every other element turned clockwise, nodes numbered backwards.
    Model r;
    test_meshes::Nodes nodes;
    for (int i = m.nn; i >= 1; --i)
        nodes.push_back({m.x[i][1], m.x[i][2]});
    test_meshes::Elements elems;
    for (int e = 1; e <= m.ne; ++e) {
        const auto id = [&](int l) { return m.nn + 1 - m.noc[e][l]; };
        if (e % 2)
            elems.push_back({id(1), id(3), id(2)});
        else
            elems.push_back({id(1), id(2), id(3)});
    }
    test_meshes::fill(r, nodes, elems);
    const SectionBounds b = computeBounds(r);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_NEAR(b.J_dolne, a.J_dolne, 1e-12 * a.J_dolne);
    EXPECT_NEAR(b.J_gorne, a.J_gorne, 1e-12 * a.J_gorne);
    // The properties follow the warping function, iterated to about 1e-9.
    EXPECT_NEAR(b.properties.Iw, a.properties.Iw, 1e-8 * a.properties.Iw);
    EXPECT_NEAR(b.properties.xs, a.properties.xs, 1e-8);
}

TEST(Bracket, SeparatePiecesAddUp) {
    Model one, two;
    test_meshes::rectangle(one, 1, 1, 4, 4);
    test_meshes::Nodes n;
    test_meshes::Elements e;
    test_meshes::grid(n, e, 0, 0, 1, 1, 4, 4, false, [](int, int) { return true; });
    test_meshes::grid(n, e, 3, 0, 1, 1, 4, 4, false, [](int, int) { return true; });
    test_meshes::fill(two, n, e);
    const SectionBounds a = computeBounds(one), b = computeBounds(two);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_NEAR(b.J_dolne, 2 * a.J_dolne, 1e-12);
    EXPECT_NEAR(b.J_gorne, 2 * a.J_gorne, 1e-12);
    EXPECT_NEAR(b.properties.xc, 2.0, 1e-12);
}

TEST(Bracket, SameModelGivesTheSameBits) {
    Model m;
    qm::angle(m, 1, 1, 0.25, 0.125);
    const SectionBounds a = computeBounds(m), b = computeBounds(m);
    EXPECT_EQ(a.J_dolne, b.J_dolne);
    EXPECT_EQ(a.J_gorne, b.J_gorne);
    EXPECT_EQ(a.eta2, b.eta2);
    EXPECT_EQ(a.properties.Iw, b.properties.Iw);
}

struct Refusal {
    const char* name;
    Build build;
    BoundsStatus status;
    const char* message;
};

class BoundsRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(BoundsRefusal, SaysWhy) {
    Model m;
    GetParam().build(m);
    const SectionBounds b = computeBounds(m);
    EXPECT_EQ(b.status, GetParam().status);
    EXPECT_EQ(b.message, GetParam().message);
    EXPECT_TRUE(b.eta2.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Models, BoundsRefusal,
    testing::Values(
        Refusal{"no_project", [](Model&) {}, BoundsStatus::NoProject,
                "Błąd obliczeń - projekt nie istnieje"},
        Refusal{"no_elements", [](Model& m) { newProject(m); }, BoundsStatus::NoElements,
                "Niezdefiniowano podpór,węzłów lub elementów"},
        Refusal{"zero_area",
                [](Model& m) {
                    test_meshes::fill(m, {{0, 0}, {1, 0}, {0, 1}, {2, 0}}, {{1, 2, 3}, {1, 2, 4}});
                },
                BoundsStatus::Degenerate, "Nie obliczono przedziału J: element 2 ma zerowe pole"},
        Refusal{"not_finite",
                [](Model& m) {
                    test_meshes::fill(m, {{0, 0}, {1, 0}, {0, INFINITY}}, {{1, 2, 3}});
                },
                BoundsStatus::Degenerate,
                "Nie obliczono przedziału J: wynik nie jest liczbą skończoną"},
        Refusal{"unheld",
                [](Model& m) {
                    test_meshes::fill(m, {{0, 0}, {1, 0}, {0, 1}}, {{1, 2, 3}, {1, 3, 2}});
                },
                BoundsStatus::Unheld,
                "Nie obliczono przedziału J: część siatki nie jest związana z żadnym konturem"}),
    [](const auto& info) { return std::string(info.param.name); });

// Random triangles over random nodes: refused or bracketed, never a crash, and a bracket
// always meets its indicators; a folded pair of elements is refused.
TEST(Bracket, RandomMeshesAreBracketedOrRefused) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> coordinate(-1, 1);
    int bracketed = 0;
    for (int round = 0; round < 40; ++round) {
        const int nodes = 4 + round % 7;
        test_meshes::Nodes n;
        for (int i = 0; i < nodes; ++i)
            n.push_back({coordinate(rng), coordinate(rng)});
        test_meshes::Elements e;
        for (int k = 0; k < 1 + round % 5; ++k) {
            const auto t = test_meshes::randomTriangle(rng, nodes, true);
            e.push_back({t[0], t[1], t[2]});
        }
        Model m;
        test_meshes::fill(m, n, e);
        const SectionBounds b = computeBounds(m);
        if (!b.ok()) {
            EXPECT_TRUE(b.status == BoundsStatus::Degenerate || b.status == BoundsStatus::Unheld)
                << b.message;
            continue;
        }
        ++bracketed;
        EXPECT_LE(b.J_dolne, b.J_gorne);
        expectSumOfIndicators(b);
    }
    EXPECT_GT(bracketed, 0);
    Model folded;  // two triangles on the same side of their shared edge
    test_meshes::fill(folded, {{0, 0}, {2, 0}, {1, 1}, {1, 2}}, {{1, 2, 3}, {1, 2, 4}});
    const SectionBounds f = computeBounds(folded);
    EXPECT_EQ(f.status, BoundsStatus::Degenerate);
    EXPECT_EQ(f.message, "Nie obliczono przedziału J: elementy siatki zachodzą na siebie");
}

TEST(Bracket, ProgressHearsTheStagesAndMayCancel) {
    Model m;
    test_meshes::rectangle(m, 1, 1, 4, 4);
    std::vector<std::string> stages;
    const SectionBounds done = computeBounds(m, [&](const char* s, double) {
        stages.push_back(s);
        return true;
    });
    EXPECT_TRUE(done.ok());
    EXPECT_GE(stages.size(), 3u);
    for (std::size_t stop = 0; stop < 3; ++stop) {
        std::size_t calls = 0;
        const SectionBounds b =
            computeBounds(m, [&](const char*, double) { return calls++ < stop; });
        EXPECT_EQ(b.status, BoundsStatus::Cancelled);
        EXPECT_EQ(b.message, "Przerwano obliczanie przedziału J");
    }
}

}  // namespace
