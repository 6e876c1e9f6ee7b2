#include "solver/sparse_matrix.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "test_meshes.h"

namespace {

struct PatternCase {
    int nodes, elements;
};

class NodePattern : public testing::TestWithParam<PatternCase> {};

// Every pair of nodes that share an element, and every diagonal, once, in sorted columns;
// the product agrees with the dense matrix for one vector and for two side by side.
TEST_P(NodePattern, HoldsThePairsThatShareAnElement) {
    const auto c = GetParam();
    std::mt19937 rng(c.nodes * 1000 + c.elements);
    test_meshes::Nodes nodes(c.nodes, {0.f, 0.f});
    test_meshes::Elements elems;
    for (int e = 0; e < c.elements; ++e)
        elems.push_back(test_meshes::randomTriangle(rng, c.nodes));
    Model m;
    test_meshes::fill(m, nodes, elems);
    std::set<std::pair<int, int>> expected;
    for (int i = 0; i < c.nodes; ++i)
        expected.insert({i, i});
    for (const auto& t : elems)
        for (int a : t)
            for (int b : t)
                if (a <= b) expected.insert({a - 1, b - 1});

    SymmetricMatrix s = nodePattern(m);
    ASSERT_EQ(s.n, c.nodes);
    std::set<std::pair<int, int>> got;
    for (int j = 0; j < s.n; ++j) {
        for (auto k = s.start[j]; k < s.start[j + 1]; ++k) {
            got.insert({static_cast<int>(s.row[k]), j});
            if (k > s.start[j]) {
                EXPECT_LT(s.row[k - 1], s.row[k]);
            }
        }
        EXPECT_EQ(s.row[s.start[j + 1] - 1], j);
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(s.entries(), static_cast<std::int64_t>(expected.size()));

    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<std::vector<double>> dense(s.n, std::vector<double>(s.n, 0.0));
    for (const auto& [i, j] : expected)
        dense[i][j] = dense[j][i] = s.at(i, j) = u(rng);
    std::vector<double> x(2 * s.n), y(2 * s.n), y1(s.n);
    for (double& v : x)
        v = u(rng);
    s.multiply(x.data(), y.data(), 2);
    std::vector<double> x1(s.n);
    for (int i = 0; i < s.n; ++i)
        x1[i] = x[2 * i + 1];
    s.multiply(x1.data(), y1.data());
    for (int i = 0; i < s.n; ++i) {
        double r0 = 0, r1 = 0;
        for (int j = 0; j < s.n; ++j) {
            r0 += dense[i][j] * x[2 * j];
            r1 += dense[i][j] * x[2 * j + 1];
        }
        EXPECT_NEAR(y[2 * i], r0, 1e-12);
        EXPECT_NEAR(y[2 * i + 1], r1, 1e-12);
        EXPECT_NEAR(y1[i], r1, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(Meshes, NodePattern,
                         testing::Values(PatternCase{3, 1}, PatternCase{4, 6}, PatternCase{12, 20},
                                         PatternCase{40, 30}, PatternCase{30, 200}));

struct BandCase {
    const char* name;
    void (*build)(Model&);
    int nbw;
};

class HalfBand : public testing::TestWithParam<BandCase> {};

TEST_P(HalfBand, FollowsTheNodeNumbering) {
    Model m;
    GetParam().build(m);
    EXPECT_EQ(halfBand(m), GetParam().nbw);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, HalfBand,
    testing::Values(
        BandCase{"OneElement",
                 [](Model& m) {
                     test_meshes::fill(m, {{0, 0}, {1, 0}, {0, 1}}, {{1, 3, 2}});
                 },
                 3},
        BandCase{"FarCorner",
                 [](Model& m) {
                     test_meshes::fill(m, {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 2}},
                                       {{1, 2, 3}, {2, 4, 3}, {1, 5, 2}});
                 },
                 5},
        // Rows of 8 corners: an element runs from a corner to the upper right one, 9 further on.
        BandCase{"TwoTriangleGrid", [](Model& m) { test_meshes::gridModel(m, 1, 1, 7, 3, false); },
                 10},
        // The centre nodes come after all 32 corners.
        BandCase{"FourTriangleGrid", [](Model& m) { test_meshes::gridModel(m, 1, 1, 7, 3, true); },
                 33}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
