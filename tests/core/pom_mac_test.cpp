#include "pom_mac.h"

#include <gtest/gtest.h>

#include <limits>

TEST(PomMac, VectorOfOneHasExactlyElementOne) {
    float* v = wektor(1, 1);
    v[1] = 3.5f;
    EXPECT_EQ(v[1], 3.5f);
    uwolnij_wektor(v, 1, 1);
}

TEST(PomMac, MatrixRowsAreContiguous) {
    float** m = macierz(1, 4, 1, 3);
    EXPECT_EQ(&m[1][3] + 1, &m[2][1]);
    EXPECT_EQ(&m[3][3] + 1, &m[4][1]);
    uwolnij_macierz(m, 1, 4, 1, 3);
    int** im = imacierz(1, 1, 1, 3);
    EXPECT_EQ(&im[1][1] + 2, &im[1][3]);
    uwolnij_imacierz(im, 1, 1, 1, 3);
}

TEST(PomMac, OwningArraysIndexFromOneAndRelease) {
    Macierz<float> x;
    x.allocate(3, 2);
    x[3][2] = 7.0f;
    EXPECT_EQ(x[3][2], 7.0f);
    EXPECT_EQ(x.rows(), 3);
    Macierz<float> y = std::move(x);
    EXPECT_FALSE(x.allocated());
    EXPECT_EQ(y[3][2], 7.0f);
    Wektor<int> v;
    EXPECT_TRUE(v.try_allocate(5));
    v[5] = 1;
    v.release();
    EXPECT_FALSE(v.allocated());
}

TEST(PomMac, ImpossibleSizeIsRefusedWithoutAllocation) {
    Wektor<float> v;
    EXPECT_FALSE(v.try_allocate(std::numeric_limits<long>::max()));
    Macierz<float> m;
    EXPECT_FALSE(m.try_allocate(std::numeric_limits<long>::max() / 2, 4));
    EXPECT_FALSE(m.allocated());
}

TEST(PomMacDeathTest, OutOfMemoryIsFatalWithThreeLines) {
    EXPECT_EXIT(wektor(1, std::numeric_limits<long>::max()), ::testing::ExitedWithCode(1),
                "Wystąpił bład podczas działania programu \n"
                "błąd allokacji w vector\\(\\)\n"
                "...powrót do systemu...");
}
