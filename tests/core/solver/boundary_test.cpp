#include "solver/boundary.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "test_meshes.h"

namespace {

// The pairwise scan over later elements, transcribed step by step as the reference.
std::vector<BoundaryEdge> pairwiseScan(const Model& m) {
    std::vector<std::array<int, 4>> ncon(m.ne + 1);
    for (int e = 1; e <= m.ne; ++e)
        for (int j = 1; j <= 3; ++j)
            ncon[e][j] = m.noc[e][j % 3 + 1];
    for (int e = 1; e <= m.ne; ++e)
        for (int j = 1; j <= 3; ++j) {
            const int p = ncon[e][j], q = m.noc[e][j];
            int count = 0;
            for (int e2 = e + 1; e2 <= m.ne; ++e2)
                for (int k = 1; k <= 3; ++k) {
                    const int c = ncon[e2][k], d = m.noc[e2][k];
                    if (c != 0 && (c == p || d == p) && (c == q || d == q)) {
                        ncon[e2][k] = 0;
                        ++count;
                    }
                }
            if (count > 0) ncon[e][j] = 0;
        }
    std::vector<BoundaryEdge> out;
    for (int e = 1; e <= m.ne; ++e)
        for (int j = 1; j <= 3; ++j)
            if (ncon[e][j] != 0) out.push_back({e, j});
    return out;
}

struct RandomMeshCase {
    int nodes, elements;
    int degenerate_percent;  ///< -1: no element repeats a corner, pairs still met many times
};

class BoundaryMatchesPairwiseScan : public testing::TestWithParam<RandomMeshCase> {};

TEST_P(BoundaryMatchesPairwiseScan, OnRandomMeshes) {
    const auto c = GetParam();
    std::mt19937 rng(c.nodes * 1000 + c.elements + c.degenerate_percent);
    for (int trial = 0; trial < 300; ++trial) {
        test_meshes::Nodes nodes(c.nodes, {0.f, 0.f});
        test_meshes::Elements elems;
        for (int e = 0; e < c.elements; ++e) {
            std::array<int, 3> t =
                test_meshes::randomTriangle(rng, c.nodes, c.degenerate_percent < 0);
            // Force repeated corners in a share of the elements.
            if (static_cast<int>(rng() % 100) < c.degenerate_percent) t[rng() % 3] = t[rng() % 3];
            elems.push_back(t);
        }
        Model m;
        test_meshes::fill(m, nodes, elems);
        ASSERT_EQ(boundaryEdges(m), pairwiseScan(m)) << "trial " << trial;
    }
}

INSTANTIATE_TEST_SUITE_P(Meshes, BoundaryMatchesPairwiseScan,
                         testing::Values(RandomMeshCase{3, 4, 0}, RandomMeshCase{4, 6, 30},
                                         RandomMeshCase{5, 12, 20}, RandomMeshCase{8, 20, 50},
                                         RandomMeshCase{20, 40, 10}, RandomMeshCase{3, 10, 90},
                                         RandomMeshCase{4, 8, -1}, RandomMeshCase{12, 60, -1}));

TEST(Boundary, MatchesPairwiseScanOnAPerforatedGrid) {
    Model m;
    test_meshes::perforated(m, 1.0, 9,
                            [](int i, int j) { return i >= 3 && i < 6 && j >= 3 && j < 6; });
    EXPECT_EQ(boundaryEdges(m), pairwiseScan(m));
}

TEST(Boundary, SingleElementHasThreeBoundaryEdges) {
    Model m;
    test_meshes::fill(m, {{0, 0}, {1, 0}, {0, 1}}, {{1, 2, 3}});
    EXPECT_EQ(boundaryEdges(m), (std::vector<BoundaryEdge>{{1, 1}, {1, 2}, {1, 3}}));
}

TEST(Boundary, SharedEdgeOfTwoElementsIsInterior) {
    Model m;
    test_meshes::fill(m, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{1, 2, 3}, {1, 4, 3}});
    const auto edges = boundaryEdges(m);
    // Element 1: edges 1-2, 2-3 outer, 3-1 shared; element 2: 1-4, 4-3 outer, 3-1 shared.
    EXPECT_EQ(edges, (std::vector<BoundaryEdge>{{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
    std::set<int> held;
    for (const auto& b : edges)
        held.insert({edgeFrom(m, b), edgeTo(m, b)});
    EXPECT_EQ(held, (std::set<int>{1, 2, 3, 4}));
}

TEST(Boundary, NodesAroundAHoleAreBoundaryNodes) {
    // 4 × 4 cells of width 1 without the centre 2 × 2 block: the 8 nodes around the hole and
    // the 16 of the outer contour lie on boundary edges, the rest does not exist.
    Model m;
    test_meshes::perforated(m, 4.0, 4,
                            [](int i, int j) { return i >= 1 && i < 3 && j >= 1 && j < 3; });
    std::set<std::pair<int, int>> held;
    for (const auto& b : boundaryEdges(m))
        for (int v : {edgeFrom(m, b), edgeTo(m, b)})
            held.insert({static_cast<int>(m.x[v][1]), static_cast<int>(m.x[v][2])});
    EXPECT_EQ(held.size(), 24u);
    for (auto p : {std::pair{1, 1}, {2, 1}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 2}})
        EXPECT_TRUE(held.count(p)) << p.first << "," << p.second;
}

}  // namespace
