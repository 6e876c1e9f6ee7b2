#include "solver/band_solve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "solver/dense_solve.h"

namespace {

struct BandCase {
    int n, w;
};

class BandSolveAgainstDense : public testing::TestWithParam<BandCase> {};

TEST_P(BandSolveAgainstDense, GivesTheDenseSolution) {
    const auto [n, w] = GetParam();
    std::mt19937 rng(n * 131 + w);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<std::vector<double>> dense(n, std::vector<double>(n, 0.0));
    BandMatrix s;
    ASSERT_TRUE(s.allocate(n, w));
    // Symmetric, diagonally dominant (no pivoting needed), some couplings exactly zero.
    for (int i = 0; i < n; ++i)
        for (int c = 1; c < w && i + c < n; ++c) {
            const double v = (rng() % 4 == 0) ? 0.0 : u(rng);
            dense[i][i + c] = dense[i + c][i] = s.at(i, c) = v;
        }
    for (int i = 0; i < n; ++i) {
        double sum = 1.0;
        for (int j = 0; j < n; ++j)
            if (j != i) sum += std::fabs(dense[i][j]);
        dense[i][i] = s.at(i, 0) = sum;
    }
    std::vector<double> b(n);
    for (double& v : b)
        v = u(rng);
    std::vector<double> ref = b;
    ASSERT_TRUE(denseSolve(dense, ref));
    ASSERT_TRUE(s.factor());
    std::vector<double> x = b;
    s.solve(x.data());
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(x[i], ref[i], 1e-12) << "row " << i;
    // The factors serve a second right-hand side as well.
    std::vector<double> b2(n, 1.0), x2 = b2;
    s.solve(x2.data());
    std::vector<double> ref2 = b2;
    ASSERT_TRUE(denseSolve(dense, ref2));
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(x2[i], ref2[i], 1e-12) << "row " << i;
}

INSTANTIATE_TEST_SUITE_P(Sizes, BandSolveAgainstDense,
                         testing::Values(BandCase{1, 1}, BandCase{5, 2}, BandCase{7, 7},
                                         BandCase{30, 4}, BandCase{60, 13}, BandCase{9, 20}));

TEST(BandSolve, ZeroPivotIsReported) {
    BandMatrix s;
    ASSERT_TRUE(s.allocate(3, 2));
    s.at(0, 0) = 0.0;
    s.at(0, 1) = 1.0;
    s.at(1, 0) = s.at(2, 0) = 1.0;
    EXPECT_FALSE(s.factor());
}

TEST(BandSolve, PivotThatEliminationMakesZeroIsReported) {
    // [[1, 1], [1, 1]] is singular: the second pivot becomes exactly 0.
    BandMatrix s;
    ASSERT_TRUE(s.allocate(2, 2));
    s.at(0, 0) = s.at(0, 1) = s.at(1, 0) = 1.0;
    EXPECT_FALSE(s.factor());
}

TEST(BandSolve, ImpossibleSizeIsRefused) {
    BandMatrix s;
    EXPECT_FALSE(s.allocate(0, 3));
    EXPECT_FALSE(s.allocate(2000000000, 2000000000));
    EXPECT_EQ(s.n(), 0);
}

}  // namespace
