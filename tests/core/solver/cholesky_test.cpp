#include "solver/cholesky.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "solver/dense_solve.h"

namespace {

using Dense = std::vector<std::vector<double>>;

// The upper triangle of a dense symmetric matrix, every diagonal entry kept.
SymmetricMatrix upper(const Dense& a) {
    SymmetricMatrix s;
    s.n = static_cast<int>(a.size());
    s.start.push_back(0);
    for (int j = 0; j < s.n; ++j) {
        for (int i = 0; i <= j; ++i)
            if (i == j || a[i][j] != 0.0) {
                s.row.push_back(i);
                s.value.push_back(a[i][j]);
            }
        s.start.push_back(static_cast<std::int64_t>(s.row.size()));
    }
    return s;
}

struct SpdCase {
    int n;
    int percent;  // of the couplings that are not zero
};

class CholeskyAgainstDense : public testing::TestWithParam<SpdCase> {};

TEST_P(CholeskyAgainstDense, GivesTheDenseSolution) {
    const auto [n, percent] = GetParam();
    std::mt19937 rng(n * 131 + percent);
    std::uniform_real_distribution<double> u(-1, 1);
    Dense a(n, std::vector<double>(n, 0.0));
    // Symmetric and diagonally dominant, so positive definite.
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (static_cast<int>(rng() % 100) < percent) a[i][j] = a[j][i] = u(rng);
    for (int i = 0; i < n; ++i) {
        double sum = 1.0;
        for (int j = 0; j < n; ++j)
            if (j != i) sum += std::fabs(a[i][j]);
        a[i][i] = sum;
    }
    const SymmetricMatrix s = upper(a);
    SparseCholesky chol;
    ASSERT_EQ(chol.analyze(s), FactorStatus::Ok);
    EXPECT_GE(chol.factorEntries(), n);
    ASSERT_EQ(chol.factor(s), FactorStatus::Ok);
    // Two right-hand sides in one solve, then a third on its own with the same factor.
    std::vector<double> b(3 * n);
    for (double& v : b)
        v = u(rng);
    std::vector<double> x = b;
    ASSERT_EQ(chol.solve(x.data(), 2), FactorStatus::Ok);
    ASSERT_EQ(chol.solve(x.data() + 2 * n, 1), FactorStatus::Ok);
    for (int c = 0; c < 3; ++c) {
        std::vector<double> ref(b.begin() + c * n, b.begin() + (c + 1) * n);
        ASSERT_TRUE(denseSolve(a, ref));
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(x[c * n + i], ref[i], 1e-12) << "column " << c << " row " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CholeskyAgainstDense,
                         testing::Values(SpdCase{1, 0}, SpdCase{5, 40}, SpdCase{7, 100},
                                         SpdCase{30, 10}, SpdCase{60, 5}, SpdCase{200, 2}));

struct RefusedCase {
    const char* name;
    Dense a;
};

class CholeskyRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(CholeskyRefuses, WhatIsNotPositiveDefinite) {
    const SymmetricMatrix s = upper(GetParam().a);
    SparseCholesky chol;
    ASSERT_EQ(chol.analyze(s), FactorStatus::Ok);
    EXPECT_EQ(chol.factor(s), FactorStatus::NotPositiveDefinite);
}

INSTANTIATE_TEST_SUITE_P(Matrices, CholeskyRefuses,
                         testing::Values(RefusedCase{"ZeroFirstPivot",
                                                     {{0, 1, 0}, {1, 1, 0}, {0, 0, 1}}},
                                         // The second pivot becomes exactly 0.
                                         RefusedCase{"Singular", {{1, 1}, {1, 1}}},
                                         RefusedCase{"Indefinite", {{1, 2}, {2, 1}}},
                                         RefusedCase{"NegativeDiagonal", {{2, 0}, {0, -1}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Cholesky, FactorBeyondTheMemoryLimitIsRefused) {
    const SymmetricMatrix s = upper({{4, 1}, {1, 3}});
    SparseCholesky tight(1);
    EXPECT_EQ(tight.analyze(s), FactorStatus::OutOfMemory);
    SparseCholesky roomy;
    ASSERT_EQ(roomy.analyze(s), FactorStatus::Ok);
    EXPECT_GT(roomy.factorBytes(), 1u);
}

}  // namespace
