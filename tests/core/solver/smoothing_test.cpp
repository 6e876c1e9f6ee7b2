#include "solver/smoothing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "solver/dense_solve.h"
#include "solver/sparse_matrix.h"
#include "test_meshes.h"

namespace {

// The consistent L2 projection of |napr| per component, assembled and solved densely.
std::vector<double> denseProjection(const Model& m, int component) {
    std::vector<std::vector<double>> a(m.nn, std::vector<double>(m.nn, 0.0));
    std::vector<double> b(m.nn, 0.0);
    for (int e = 1; e <= m.ne; ++e) {
        const auto& p = m.x;
        const int* v = m.noc[e];
        const double detj = std::fabs((p[v[2]][1] - p[v[1]][1]) * (p[v[3]][2] - p[v[1]][2]) -
                                      (p[v[3]][1] - p[v[1]][1]) * (p[v[2]][2] - p[v[1]][2]));
        for (int l = 1; l <= 3; ++l) {
            b[v[l] - 1] += detj / 6 * std::fabs(m.napr[e][component]);
            for (int c = 1; c <= 3; ++c)
                a[v[l] - 1][v[c] - 1] += detj / 24 * (l == c ? 2 : 1);
        }
    }
    EXPECT_TRUE(denseSolve(a, b));
    return b;
}

struct SmoothingCase {
    const char* name;
    int ix, iy;
    bool p4;
};

class Smoothing : public testing::TestWithParam<SmoothingCase> {};

// Nodes moved at random inside their cells and random element stresses: the iteration over
// the packed upper triangle must meet the dense solution of the same system.
TEST_P(Smoothing, MeetsTheDenseProjection) {
    const SmoothingCase c = GetParam();
    Model m;
    test_meshes::gridModel(m, 2.0, 1.0, c.ix, c.iy, c.p4);
    std::mt19937 rng(c.ix * 100 + c.iy);
    std::uniform_real_distribution<float> shift(-0.2f, 0.2f), stress(-5.0f, 5.0f);
    for (int i = 1; i <= m.nn; ++i) {
        m.x[i][1] += shift(rng) * 2.0f / c.ix;
        m.x[i][2] += shift(rng) * 1.0f / c.iy;
    }
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 2; ++k)
            m.napr[e][k] = stress(rng);
    SymmetricMatrix s = nodePattern(m);
    ASSERT_EQ(smoothStresses(m, s), 0);
    for (int k = 1; k <= 2; ++k) {
        const std::vector<double> w = denseProjection(m, k);
        for (int i = 1; i <= m.nn; ++i)
            ASSERT_NEAR(m.ww[i][k], std::fabs(w[i - 1]), 1e-5 * (1 + std::fabs(w[i - 1])))
                << c.name << " node " << i << " component " << k;
    }
    for (int e = 1; e <= m.ne; ++e)
        EXPECT_FLOAT_EQ(m.napr[e][3], std::hypot(m.napr[e][1], m.napr[e][2]));
}

INSTANTIATE_TEST_SUITE_P(Meshes, Smoothing,
                         testing::Values(SmoothingCase{"TwoTriangles", 7, 5, false},
                                         SmoothingCase{"FourTriangles", 6, 4, true},
                                         SmoothingCase{"OneCell", 1, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
