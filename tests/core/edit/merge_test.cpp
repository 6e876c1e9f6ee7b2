// Merging coincident nodes: patches joined along their common edge, copies folded back into
// the original, the survivor rule and the tolerance.
#include "edit/merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "edit_test_util.h"
#include "mesh/rectangle.h"

namespace {

using edit_test::coords;
using edit_test::corners;
using edit_test::Tri;
using edit_test::Xy;

/// Appends nodes and elements (corners numbered within the part); results current.
void add(Model& m, const std::vector<Xy>& xy, const std::vector<Tri>& tris) {
    const int nn0 = m.nn, ne0 = m.ne;
    ASSERT_TRUE(growModel(m, static_cast<long>(xy.size()), static_cast<long>(tris.size())).ok());
    for (int i = 1; i <= static_cast<int>(xy.size()); ++i)
        m.x[nn0 + i][1] = xy[i - 1][0], m.x[nn0 + i][2] = xy[i - 1][1];
    for (int e = 1; e <= static_cast<int>(tris.size()); ++e)
        for (int k = 1; k <= 3; ++k)
            m.noc[ne0 + e][k] = nn0 + tris[e - 1][k - 1];
    m.obliczono = 1;
}

void patch(Model& m, double px, int ix, int iy) {
    RectanglePatch p;
    p.px = px, p.dx = ix, p.dy = iy, p.ix = ix, p.iy = iy;
    ASSERT_TRUE(appendRectangle(m, p).ok());
    m.obliczono = 1;
}

const std::vector<Tri> kJoined = {{1, 2, 5}, {1, 4, 5}, {2, 3, 6},  {2, 5, 6},
                                  {3, 7, 9}, {3, 6, 9}, {7, 8, 10}, {7, 9, 10}};
const std::vector<Xy> kFive = {{0, 0}, {3, 0}, {1, 2}, {4, 2}, {2, 5}};

struct MergeCase {
    const char* name;
    void (*make)(Model&);
    int merged, removed;
    std::vector<Tri> tris;  ///< afterwards; empty: not checked
};

const MergeCase kCases[] = {
    {"sideBySide", [](Model& m) { patch(m, 0, 2, 1), patch(m, 2, 2, 1); }, 2, 0, kJoined},
    {"copyOverTheFirst", [](Model& m) { patch(m, 0, 2, 1), patch(m, 2, 2, 1), patch(m, 0, 2, 1); },
     8, 4, kJoined},
    {"duplicatedModelCornersRotated",
     [](Model& m) {
         add(m, kFive, {{1, 2, 3}, {2, 4, 3}, {3, 4, 5}});
         add(m, kFive, {{2, 3, 1}, {3, 2, 4}, {5, 4, 3}});
     },
     5,
     3,
     {{1, 2, 3}, {2, 4, 3}, {3, 4, 5}}},
    {"nothingToMerge", [](Model& m) { patch(m, 0, 2, 1), patch(m, 2.01, 2, 1); }, 0, 0, {}},
    {"degenerateElement",
     [](Model& m) {
         add(m, {{0, 0}, {1, 0}, {0, 1}, {0.3e-6f, 0}}, {{1, 2, 3}, {1, 4, 3}});
     },
     1,
     1,
     {{1, 2, 3}}},
    {"zeroExtent",
     [](Model& m) {
         add(m, {{3, 3}, {3, 3}, {3, 3}}, {{1, 2, 3}});
     },
     2,
     1,
     {}},
    // 2 merges into 1; 3 is within tol of 2 only and stays; 4 is nearer to 3 but goes to 1.
    {"noChainsLowestSurvivor",
     [](Model& m) {
         add(m, {{0, 0}, {0.9e-6f, 0}, {1.8e-6f, 0}, {0.95e-6f, 0}, {1, 1}, {0, 1}},
             {{2, 5, 6}, {4, 3, 5}});
     },
     2,
     0,
     {{1, 3, 4}, {1, 2, 3}}},
    // 5 lies just left of survivor 4, which is more than tol right of node 1.
    {"survivorToTheRight",
     [](Model& m) {
         add(m, {{0, 0}, {1, 0}, {0, 1}, {1.2e-6f, 0.5f}, {0.7e-6f, 0.5f}}, {{1, 2, 3}, {5, 2, 3}});
     },
     1,
     0,
     {{1, 2, 3}, {4, 2, 3}}},
};

TEST(Merge, JoinsCoincidentNodesAndDropsWhatCollapses) {
    for (const MergeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Model m;
        newProject(m);
        c.make(m);
        const int nn0 = m.nn, ne0 = m.ne;
        const float* xy0 = m.x.raw()[1];
        const MergeResult r = mergeNodes(m);
        ASSERT_TRUE(r.outcome.ok());
        EXPECT_EQ(r.nodesMerged, c.merged);
        EXPECT_EQ(r.elementsRemoved, c.removed);
        EXPECT_EQ(m.nn, nn0 - c.merged);
        EXPECT_EQ(m.ne, ne0 - c.removed);
        if (!c.tris.empty()) {
            EXPECT_EQ(corners(m), c.tris);
        }
        if (c.merged == 0) {
            EXPECT_EQ(m.obliczono, 1);
            EXPECT_EQ(m.x.raw()[1], xy0) << "arrays rebuilt";
        }
        std::set<Tri> seen;
        for (Tri t : corners(m)) {
            std::sort(t.begin(), t.end());
            EXPECT_TRUE(t[0] != t[1] && t[1] != t[2] && seen.insert(t).second)
                << t[0] << t[1] << t[2];
        }
    }
}

TEST(Merge, ToleranceIsEuclideanAndRelativeToTheExtent) {
    // Node 4 at s·(dx, dy) from node 1 of a triangle of extent s; merged, element 2 doubles 1.
    struct Case {
        double s, dx, dy;
        bool merges;
    } const cases[] = {
        {1, 0.5e-6, 0, true},       {1, 0, 2e-6, false},     {1, 0.6e-6, 0.6e-6, true},
        {1, 0.8e-6, 0.8e-6, false}, {1000, 0.5e-6, 0, true}, {1000, 0, 2e-6, false},
    };
    for (const Case& c : cases) {
        Model m;
        newProject(m);
        const auto f = [&c](double v) { return static_cast<float>(c.s * v); };
        add(m, {{0, 0}, {f(1), 0}, {0, f(1)}, {f(c.dx), f(c.dy)}}, {{1, 2, 3}, {4, 2, 3}});
        const MergeResult r = mergeNodes(m);
        EXPECT_EQ(r.nodesMerged, c.merges) << c.s << " " << c.dx << " " << c.dy;
        EXPECT_EQ(r.elementsRemoved, c.merges) << c.s << " " << c.dx << " " << c.dy;
    }
}

TEST(Merge, LargePatchesShareTheirWholeEdgeAndInconsistentModelsAreRefused) {
    Model m;
    newProject(m);
    patch(m, 0, 200, 200);
    patch(m, 200, 200, 200);
    const MergeResult r = mergeNodes(m);
    EXPECT_EQ(r.nodesMerged, 201);
    EXPECT_EQ(r.elementsRemoved, 0);

    m.nq = 2;
    EXPECT_EQ(mergeNodes(m).outcome.status, EditStatus::Refused);
}

}  // namespace
