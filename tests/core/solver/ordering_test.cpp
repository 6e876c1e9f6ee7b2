#include "solver/ordering.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_meshes.h"

namespace {

std::vector<int> identity(int nn) {
    std::vector<int> pos(nn + 1);
    for (int i = 0; i <= nn; ++i)
        pos[i] = i - 1;
    return pos;
}

TEST(Ordering, IsAPermutationWithTheHalfBandItClaims) {
    Model m;
    test_meshes::rectangle(m, 1, 1, 7, 5, true);
    const Ordering o = reverseCuthillMcKee(m);
    ASSERT_EQ(static_cast<int>(o.node.size()), m.nn);
    std::vector<int> sorted = o.node;
    std::sort(sorted.begin(), sorted.end());
    for (int k = 0; k < m.nn; ++k) {
        EXPECT_EQ(sorted[k], k + 1);
        EXPECT_EQ(o.pos[o.node[k]], k);
    }
    EXPECT_EQ(o.nbw, halfBand(m, o.pos));
}

TEST(Ordering, NarrowsTheBandOfTheFourTrianglePatch) {
    // The patch numbers its centre nodes after all corners: the natural band spans both.
    Model m;
    test_meshes::rectangle(m, 1, 1, 30, 30, true);
    const int natural = halfBand(m, identity(m.nn));
    const Ordering o = reverseCuthillMcKee(m);
    EXPECT_GT(natural, 900);
    EXPECT_LT(o.nbw, 70);
}

TEST(Ordering, KeepsTheTwoTriangleBandNearTheGridWidth) {
    Model m;
    test_meshes::rectangle(m, 1, 1, 40, 40, false);
    EXPECT_LE(reverseCuthillMcKee(m).nbw, 43);
}

TEST(Ordering, PlacesSeparatePiecesAndIsolatedNodes) {
    // Two triangles that share no node, and node 7 in no element.
    Model m;
    test_meshes::fill(m, {{0, 0}, {1, 0}, {0, 1}, {5, 5}, {6, 5}, {5, 6}, {9, 9}},
                      {{4, 5, 6}, {1, 2, 3}});
    const Ordering o = reverseCuthillMcKee(m);
    EXPECT_EQ(o.node.size(), 7u);
    EXPECT_EQ(o.nbw, 3);
}

TEST(Ordering, SameModelGivesTheSameOrder) {
    Model a, b;
    test_meshes::rectangle(a, 2, 1, 13, 9, true);
    test_meshes::rectangle(b, 2, 1, 13, 9, true);
    EXPECT_EQ(reverseCuthillMcKee(a).node, reverseCuthillMcKee(b).node);
}

}  // namespace
