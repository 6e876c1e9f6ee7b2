#include "solver/amg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "geometry/section.h"
#include "mesh/section_mesh.h"
#include "solver/assembly.h"
#include "solver/boundary.h"
#include "solver/cholesky.h"
#include "solver/contours.h"
#include "solver/driver.h"
#include "solver/solver_method.h"
#include "solver/stress_function.h"
#include "test_meshes.h"

namespace {

using test_meshes::Elements;
using test_meshes::Nodes;

// The stiffness of a mesh with the penalty on its contours, as the stress function solves it.
SymmetricMatrix penalisedStiffness(const Model& m, std::vector<double>& load) {
    SymmetricMatrix s = nodePattern(m);
    load.assign(m.nn + 1, 0.0);
    assembleStiffness(m, s, load);
    const double cnst = s.diagonal(0) * 100000.0;
    const Contours c = findContours(m, boundaryEdges(m));
    for (int i = 1; i <= m.nn; ++i)
        if (c.hole[i] != kOffContour) s.diagonal(i - 1) += cnst;
    return s;
}

double norm(const std::vector<double>& v) {
    double s = 0;
    for (double x : v)
        s += x * x;
    return std::sqrt(s);
}

TEST(AmgSolver, MeetsTheToleranceAndAgreesWithTheFactor) {
    Model m;
    test_meshes::gridModel(m, 2, 1, 40, 20, false);
    std::vector<double> load;
    const SymmetricMatrix s = penalisedStiffness(m, load);
    const std::vector<double> b(load.begin() + 1, load.end());
    AmgSolver amg;
    ASSERT_TRUE(amg.setup(s));
    std::vector<double> x(m.nn);
    const AmgResult r = amg.solve(b.data(), x.data(), 1e-10, 200);
    ASSERT_TRUE(r.converged);
    EXPECT_GT(r.iterations, 0);
    EXPECT_LT(r.iterations, 40);
    std::vector<double> ax(m.nn);
    s.multiply(x.data(), ax.data());
    for (int i = 0; i < m.nn; ++i)
        ax[i] -= b[i];
    EXPECT_LE(norm(ax), 1e-10 * norm(b));
    EXPECT_NEAR(r.residual, norm(ax) / norm(b), 1e-3 * r.residual);

    std::vector<double> direct = b;
    SparseCholesky chol;
    ASSERT_EQ(chol.analyze(s), FactorStatus::Ok);
    ASSERT_EQ(chol.factor(s), FactorStatus::Ok);
    ASSERT_EQ(chol.solve(direct.data(), 1), FactorStatus::Ok);
    const double top = *std::max_element(direct.begin(), direct.end());
    for (int i = 0; i < m.nn; ++i)
        EXPECT_NEAR(x[i], direct[i], 1e-8 * top) << i;
}

TEST(AmgSolver, ColumnsShareOneSetupAndAZeroColumnIsSolvedAtOnce) {
    Model m;
    test_meshes::gridModel(m, 1, 1, 16, 16, true);
    std::vector<double> load;
    const SymmetricMatrix s = penalisedStiffness(m, load);
    const std::size_t n = m.nn;
    std::vector<double> b(3 * n, 0.0), x(3 * n, -1.0);
    std::copy(load.begin() + 1, load.end(), b.begin());
    std::copy(load.begin() + 1, load.end(), b.begin() + 2 * n);
    std::vector<double> parts;
    const AmgResult r = amgSolve(s, b.data(), x.data(), 3, 1e-10, 200, [&](const char*, double p) {
        parts.push_back(p);
        return true;
    });
    ASSERT_TRUE(r.converged);
    EXPECT_EQ(parts, (std::vector<double>{0, 1.0 / 3, 2.0 / 3}));
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_EQ(x[n + i], 0.0);
        EXPECT_EQ(x[i], x[2 * n + i]);  // the same column twice: the same bits
    }
}

TEST(AmgSolver, ReportsNonConvergenceAndCancel) {
    Model m;
    test_meshes::gridModel(m, 1, 1, 30, 30, false);
    std::vector<double> load;
    const SymmetricMatrix s = penalisedStiffness(m, load);
    std::vector<double> x(m.nn);
    EXPECT_FALSE(amgSolve(s, load.data() + 1, x.data(), 1, 1e-10, 1).converged);
    const AmgResult stopped = amgSolve(s, load.data() + 1, x.data(), 1, 1e-10, 200,
                                       [](const char*, double) { return false; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(stopped.converged);
}

// Automatic keeps the factor for small meshes and for many holes.
struct ChoiceCase {
    int nodes, holes;
    SolverMethod method;
};

class MethodChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(MethodChoice, FollowsTheSizeAndTheHoles) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(chooseMethod(c.nodes, c.holes), c.method) << c.nodes << " " << c.holes;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MethodChoice,
    testing::Values(ChoiceCase{3, 0, SolverMethod::Cholesky},
                    ChoiceCase{kAmgMinNodes - 1, 0, SolverMethod::Cholesky},
                    ChoiceCase{kAmgMinNodes, 0, SolverMethod::Amg},
                    ChoiceCase{kAmgMinNodes, kAmgMaxHoles, SolverMethod::Amg},
                    ChoiceCase{kAmgMinNodes, kAmgMaxHoles + 1, SolverMethod::Cholesky},
                    ChoiceCase{50'000'000, 0, SolverMethod::Amg},
                    ChoiceCase{50'000'000, 100, SolverMethod::Cholesky},
                    ChoiceCase{kAmgMinNodes - 1, kAmgMaxHoles + 1, SolverMethod::Cholesky}));

// Meshes on which the two methods must agree.
void perforatedSquare(Model& m) {
    // 4 × 5 = 20 square holes in a 60 × 60 grid.
    test_meshes::perforated(m, 6.0, 60, [](int i, int j) {
        return i % 12 >= 5 && i % 12 < 8 && j % 12 >= 5 && j % 12 < 8 && j < 60 && i < 48;
    });
}

void fan(Model& m) {
    // 400 slivers around one node, then one ring of cells outside.
    const int k = 400;
    Nodes n{{0, 0}};
    Elements e;
    for (int r = 1; r <= 2; ++r)
        for (int i = 0; i < k; ++i) {
            const double a = 2 * std::numbers::pi * i / k;
            n.push_back({static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a))});
        }
    for (int i = 0; i < k; ++i) {
        const int a = 2 + i, b = 2 + (i + 1) % k;
        e.push_back({1, a, b});
        e.push_back({a, a + k, b + k});
        e.push_back({a, b + k, b});
    }
    test_meshes::fill(m, n, e);
}

void strip(Model& m) {
    // 1000 : 1, cells 20 times longer than high.
    test_meshes::gridModel(m, 1000, 1, 100, 2, false);
}

geometry::Shape circle(double x, double y, double r, bool hole) {
    geometry::Shape s;
    s.kind = geometry::Shape::Kind::Okrag;
    s.circle = {x, y, r};
    s.otwor = hole;
    return s;
}

void graded(Model& m) {
    // A disc with a small hole and a large one: the mesher grades the elements between them.
    geometry::Section s;
    s.shapes = {circle(0, 0, 10, false), circle(3, 0, 0.1, true), circle(-4, 2, 2, true)};
    newProject(m);
    ASSERT_TRUE(meshSection(s, m).ok());
}

void manyCircles(Model& m) {
    // Seven round holes in a box, meshed like a section description.
    geometry::Section s;
    geometry::Shape box;
    box.outline = {{{0, 0}, {16, 0}, {16, 6}, {0, 6}}};
    s.shapes = {box};
    for (int k = 0; k < 7; ++k)
        s.shapes.push_back(circle(1.5 + 2.2 * k, 3 + (k % 2 ? 1 : -1), 0.7, true));
    s.siatka = 0.15;
    newProject(m);
    ASSERT_TRUE(meshSection(s, m).ok());
}

struct MeshCase {
    const char* name;
    std::function<void(Model&)> build;
    int holes;
};

class MethodsAgree : public testing::TestWithParam<MeshCase> {};

TEST_P(MethodsAgree, InTorsionConstantAngleAndStresses) {
    const MeshCase& c = GetParam();
    Model m;
    c.build(m);
    ASSERT_GT(m.ne, 0);
    ComputeResults a, b;
    ComputeOptions o;
    o.method = SolverMethod::Cholesky;
    const ComputeOutcome direct = computeResults(m, a, o);
    ASSERT_TRUE(direct.ok());
    EXPECT_EQ(direct.method, SolverMethod::Cholesky);
    EXPECT_EQ(direct.holes, c.holes);
    o.method = SolverMethod::Amg;
    const ComputeOutcome amg = computeResults(m, b, o);
    ASSERT_TRUE(amg.ok());
    EXPECT_EQ(amg.method, SolverMethod::Amg);
    EXPECT_FALSE(amg.fallback);
    EXPECT_GT(amg.iterations, 0);
    EXPECT_EQ(amg.factor_entries, 0);
    EXPECT_EQ(amg.times.ordering, 0);
    EXPECT_EQ(amg.holes, c.holes);
    // J to 1e-9; θ and the stresses are stored in single precision: θ to its last bit, the
    // stresses to 1e-6 of the largest.
    EXPECT_NEAR(amg.J, direct.J, 1e-9 * direct.J);
    EXPECT_NEAR(b.katob, a.katob, 1.2e-7f * a.katob);
    float top = 0;
    for (int i = 1; i <= m.nn; ++i)
        top = std::max({top, std::fabs(a.ww[i][1]), std::fabs(a.ww[i][2])});
    for (int e = 1; e <= m.ne; ++e)
        top = std::max({top, std::fabs(a.napr[e][1]), std::fabs(a.napr[e][2])});
    for (int e = 1; e <= m.ne; ++e)
        for (int l = 1; l <= 3; ++l)
            ASSERT_NEAR(b.napr[e][l], a.napr[e][l], 1e-6 * top) << "element " << e;
    for (int i = 1; i <= m.nn; ++i)
        for (int l = 1; l <= 3; ++l)
            ASSERT_NEAR(b.ww[i][l], a.ww[i][l], 1e-6 * top) << "node " << i;
}

INSTANTIATE_TEST_SUITE_P(Meshes, MethodsAgree,
                         testing::Values(MeshCase{"TwentyHoles", perforatedSquare, 20},
                                         MeshCase{"Fan", fan, 0},
                                         MeshCase{"Strip1000To1", strip, 0},
                                         MeshCase{"Graded", graded, 2},
                                         MeshCase{"SevenCircles", manyCircles, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

bool sameBits(const float* a, const float* b, int n) {
    return std::memcmp(a, b, sizeof(float) * n) == 0;
}

TEST(AmgStressFunction, RepeatedRunsGiveIdenticalBits) {
    Model m;
    test_meshes::ring(m, 1.0, 2.0, 6, 64);
    ComputeResults a, b;
    ComputeOptions o;
    o.method = SolverMethod::Amg;
    const ComputeOutcome ra = computeResults(m, a, o), rb = computeResults(m, b, o);
    ASSERT_TRUE(ra.ok() && rb.ok());
    EXPECT_EQ(ra.method, SolverMethod::Amg);
    EXPECT_EQ(ra.iterations, rb.iterations);
    EXPECT_EQ(ra.J, rb.J);
    EXPECT_TRUE(sameBits(a.f.raw() + 1, b.f.raw() + 1, m.nn));
    EXPECT_TRUE(sameBits(&a.ww[1][1], &b.ww[1][1], 3 * m.nn));
}

// A multigrid that does not converge hands the work to the factor: the factor's very bits.
TEST(AmgStressFunction, NonConvergenceFallsBackToTheFactor) {
    Model m;
    test_meshes::ring(m, 1.0, 2.0, 6, 64);
    ComputeResults a, b;
    ComputeOptions o;
    o.method = SolverMethod::Cholesky;
    const ComputeOutcome direct = computeResults(m, a, o);
    o.method = SolverMethod::Amg;
    setAmgIterationLimit(1);
    const ComputeOutcome amg = computeResults(m, b, o);
    setAmgIterationLimit(-1);
    ASSERT_TRUE(direct.ok() && amg.ok());
    EXPECT_EQ(amg.method, SolverMethod::Cholesky);
    EXPECT_TRUE(amg.fallback);
    EXPECT_FALSE(direct.fallback);
    EXPECT_GT(amg.iterations, 0);
    EXPECT_GT(amg.factor_entries, 0);
    EXPECT_EQ(amg.J, direct.J);
    EXPECT_EQ(amg.holes, 1);
    EXPECT_TRUE(sameBits(a.f.raw() + 1, b.f.raw() + 1, m.nn));
    EXPECT_TRUE(sameBits(&a.napr[1][1], &b.napr[1][1], 3 * m.ne));
    EXPECT_EQ(amgIterationLimit(), 200);
}

TEST(AmgStressFunction, CancelBetweenColumnsLeavesNoResult) {
    Model m;
    perforatedSquare(m);
    SymmetricMatrix s = nodePattern(m);
    int calls = 0;
    const StressFunction sf = solveStressFunction(
        m, s, true, 0, nullptr,
        [&](const char* etap, double) {
            return !(std::strcmp(etap, "Rozwiązywanie") == 0 && ++calls == 5);
        },
        SolverMethod::Amg);
    EXPECT_TRUE(sf.cancelled);
    EXPECT_EQ(calls, 5);
    EXPECT_FALSE(sf.fallback);
}

TEST(AmgStressFunction, StagesAndTimesOfTheMultigridPath) {
    Model m;
    test_meshes::gridModel(m, 1, 1, 30, 30, false);
    SymmetricMatrix s = nodePattern(m);
    std::vector<std::string> stages;
    SolverTimes t;
    const StressFunction sf = solveStressFunction(
        m, s, true, 0, &t,
        [&](const char* etap, double) {
            if (stages.empty() || stages.back() != etap) stages.emplace_back(etap);
            return true;
        },
        SolverMethod::Amg);
    ASSERT_EQ(sf.blad, 0);
    EXPECT_EQ(sf.method, SolverMethod::Amg);
    EXPECT_EQ(stages,
              (std::vector<std::string>{"Składanie układu", "Rozkład macierzy", "Rozwiązywanie"}));
    EXPECT_EQ(t.ordering, 0);
    EXPECT_GT(t.factorisation, 0);
    EXPECT_GT(t.solves, 0);
}

}  // namespace
