#include "solver/quadratic_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "solver/boundary.h"
#include "solver/contours.h"
#include "test_meshes.h"

namespace {

struct MeshCase {
    const char* name;
    std::function<void(Model&)> build;
    int pieces;
};

class QuadraticNumbering : public testing::TestWithParam<MeshCase> {};

// Every element edge has one midpoint node whose edge is that corner pair; the edges run in
// ascending order of their node pairs; a shared edge has a shared midpoint; Euler's formula
// V − E + F = pieces − holes holds.
TEST_P(QuadraticNumbering, OneMidpointPerEdgeInNodeOrder) {
    Model m;
    GetParam().build(m);
    const QuadraticMesh q = quadraticMesh(m);
    ASSERT_EQ(q.vertices, m.nn);
    ASSERT_EQ(static_cast<int>(q.element.size()), m.ne);
    for (std::size_t k = 1; k < q.edge.size(); ++k)
        EXPECT_LT(q.edge[k - 1], q.edge[k]) << k;
    std::map<std::array<int, 2>, int> uses;
    for (int e = 1; e <= m.ne; ++e) {
        const auto& n = q.element[e - 1];
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(n[j], m.noc[e][j + 1] - 1);
            const int a = m.noc[e][j + 1], b = m.noc[e][(j + 1) % 3 + 1];
            const int mid = n[3 + j] - q.vertices;
            ASSERT_GE(mid, 0);
            ASSERT_LT(mid, static_cast<int>(q.edge.size()));
            EXPECT_EQ(q.edge[mid], (std::array<int, 2>{std::min(a, b), std::max(a, b)}));
            ++uses[q.edge[mid]];
        }
    }
    EXPECT_EQ(uses.size(), q.edge.size());
    const std::vector<BoundaryEdge> boundary = boundaryEdges(m);
    const int holes = findContours(m, boundary).holes();
    for (const auto& [edge, count] : uses)
        EXPECT_LE(count, 2);
    EXPECT_EQ(m.nn - static_cast<int>(q.edge.size()) + m.ne, GetParam().pieces - holes);
    EXPECT_EQ(q.pieces, GetParam().pieces);
    EXPECT_EQ(*std::max_element(q.piece.begin(), q.piece.end()), q.pieces - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, QuadraticNumbering,
    testing::Values(MeshCase{"grid", [](Model& m) { test_meshes::rectangle(m, 3, 2, 3, 2); }, 1},
                    MeshCase{"grid_p4",
                             [](Model& m) { test_meshes::rectangle(m, 1, 1, 3, 3, true); }, 1},
                    MeshCase{"ring", [](Model& m) { test_meshes::ring(m, 0.5, 1, 2, 12); }, 1},
                    MeshCase{"two_holes",
                             [](Model& m) {
                                 test_meshes::perforated(m, 1, 5, [](int i, int j) {
                                     return j == 2 && (i == 1 || i == 3);
                                 });
                             },
                             1},
                    MeshCase{"apart",
                             [](Model& m) {
                                 test_meshes::Nodes n;
                                 test_meshes::Elements e;
                                 test_meshes::grid(n, e, 0, 0, 1, 1, 2, 2, false,
                                                   [](int, int) { return true; });
                                 test_meshes::grid(n, e, 3, 0, 1, 1, 1, 1, false,
                                                   [](int, int) { return true; });
                                 test_meshes::fill(m, n, e);
                             },
                             2},
                    MeshCase{"touching_at_a_corner",
                             [](Model& m) {
                                 test_meshes::fill(m, {{0, 0}, {1, 0}, {0, 1}, {2, 0}, {1, -1}},
                                                   {{1, 2, 3}, {2, 4, 5}});
                             },
                             1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuadraticNumbering, DependsOnTheMeshAloneNotOnElementOrder) {
    Model m, r;
    test_meshes::rectangle(m, 2, 1, 4, 2, true);
    test_meshes::Nodes n;
    for (int i = 1; i <= m.nn; ++i)
        n.push_back({m.x[i][1], m.x[i][2]});
    test_meshes::Elements e;
    for (int k = m.ne; k >= 1; --k)
        e.push_back({m.noc[k][3], m.noc[k][1], m.noc[k][2]});
    test_meshes::fill(r, n, e);
    EXPECT_EQ(quadraticMesh(m).edge, quadraticMesh(r).edge);
}

}  // namespace
