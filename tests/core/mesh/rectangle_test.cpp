#include "mesh/rectangle.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <limits>
#include <tuple>
#include <vector>

namespace {

using Tri = std::array<int, 3>;

std::vector<Tri> elements(const Model& m, int from = 1) {
    std::vector<Tri> out;
    for (int e = from; e <= m.ne; ++e)
        out.push_back({m.noc[e][1], m.noc[e][2], m.noc[e][3]});
    return out;
}

Model emptyProject() {
    Model m;
    newProject(m);
    return m;
}

RectanglePatch patch(double px, double py, double dx, double dy, int ix, int iy, bool p4) {
    RectanglePatch p;
    p.px = px;
    p.py = py;
    p.dx = dx;
    p.dy = dy;
    p.ix = ix;
    p.iy = iy;
    p.p4 = p4;
    return p;
}

}  // namespace

TEST(Rectangle, TwoByOneTwoTrianglesNumbersNodesRowWiseAndElementsColumnWise) {
    Model m = emptyProject();
    ASSERT_TRUE(appendRectangle(m, patch(0, 0, 2, 1, 2, 1, false)).ok());
    ASSERT_EQ(m.nn, 6);
    ASSERT_EQ(m.nq, 6);
    const float xy[6][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(m.x[i][1], xy[i - 1][0]) << i;
        EXPECT_EQ(m.x[i][2], xy[i - 1][1]) << i;
        EXPECT_EQ(m.si[i], 0.0f);
    }
    EXPECT_EQ(elements(m), (std::vector<Tri>{{1, 2, 5}, {1, 4, 5}, {2, 3, 6}, {2, 5, 6}}));
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.obliczono, 0);
}

TEST(Rectangle, TwoByTwoTwoTrianglesElementOrder) {
    Model m = emptyProject();
    ASSERT_TRUE(appendRectangle(m, patch(0, 0, 2, 2, 2, 2, false)).ok());
    EXPECT_EQ(elements(m), (std::vector<Tri>{{1, 2, 5},
                                             {1, 4, 5},
                                             {4, 5, 8},
                                             {4, 7, 8},
                                             {2, 3, 6},
                                             {2, 5, 6},
                                             {5, 6, 9},
                                             {5, 8, 9}}));
}

TEST(Rectangle, FourTrianglesAddCentreNodesAfterCorners) {
    Model m = emptyProject();
    ASSERT_TRUE(appendRectangle(m, patch(0, 0, 2, 2, 1, 1, true)).ok());
    ASSERT_EQ(m.nn, 5);
    EXPECT_EQ(m.x[5][1], 1.0f);
    EXPECT_EQ(m.x[5][2], 1.0f);
    EXPECT_EQ(m.x[4][1], 2.0f);
    EXPECT_EQ(m.x[4][2], 2.0f);
    EXPECT_EQ(elements(m), (std::vector<Tri>{{1, 2, 5}, {5, 3, 4}, {1, 3, 5}, {2, 4, 5}}));

    Model big = emptyProject();
    ASSERT_TRUE(appendRectangle(big, patch(0, 0, 3, 2, 3, 2, true)).ok());
    EXPECT_EQ(big.nn, 18);
    EXPECT_EQ(big.ne, 24);
    EXPECT_EQ(big.noc[1][3], 13);  // first centre node = old nn + 13
}

TEST(Rectangle, AppendKeepsExistingNodesElementsAndLoads) {
    Model m;
    allocateModel(m, 10, 5);
    m.Pusty = 0;
    for (int i = 1; i <= 10; ++i) {
        m.x[i][1] = static_cast<float>(i) * 0.25f;
        m.x[i][2] = -static_cast<float>(i);
        m.si[i] = static_cast<float>(i) * 0.5f;
    }
    for (int e = 1; e <= 5; ++e)
        for (int k = 1; k <= 3; ++k)
            m.noc[e][k] = e + k;
    const std::vector<Tri> before = elements(m);

    ASSERT_TRUE(appendRectangle(m, patch(0, 0, 2, 1, 2, 1, false)).ok());
    EXPECT_EQ(m.nn, 16);
    EXPECT_EQ(m.nq, 16);
    EXPECT_EQ(m.ne, 9);
    EXPECT_EQ(elements(m, 6),
              (std::vector<Tri>{{11, 12, 15}, {11, 14, 15}, {12, 13, 16}, {12, 15, 16}}));
    std::vector<Tri> kept = elements(m);
    kept.resize(5);
    EXPECT_EQ(kept, before);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(m.x[i][1], static_cast<float>(i) * 0.25f);
        EXPECT_EQ(m.x[i][2], -static_cast<float>(i));
        EXPECT_EQ(m.si[i], static_cast<float>(i) * 0.5f);
    }
    for (int i = 11; i <= 16; ++i)
        EXPECT_EQ(m.si[i], 0.0f);
}

TEST(Rectangle, NegativeExtentBuildsTowardsSmallerCoordinates) {
    Model m = emptyProject();
    ASSERT_TRUE(appendRectangle(m, patch(1, 1, -1, -2, 1, 1, false)).ok());
    EXPECT_EQ(m.x[4][1], 0.0f);
    EXPECT_EQ(m.x[4][2], -1.0f);
}

TEST(Rectangle, ClearsResultsOfTheModel) {
    Model m = emptyProject();
    ASSERT_TRUE(appendRectangle(m, patch(0, 0, 1, 1, 1, 1, false)).ok());
    m.obliczono = 1;
    ASSERT_TRUE(appendRectangle(m, patch(2, 0, 1, 1, 1, 1, false)).ok());
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.nn, 8);  // touching patches share no nodes
}

TEST(Rectangle, ImpossiblePatchesAreRefusedAndTheModelStaysAsItWas) {
    Model m = emptyProject();
    ASSERT_TRUE(appendRectangle(m, patch(0, 0, 1, 1, 1, 1, false)).ok());
    const float* xBefore = m.x.raw()[1];
    for (const auto& [ix, iy, p4] :
         std::vector<std::tuple<int, int, bool>>{{INT_MAX, INT_MAX, true},
                                                 {INT_MAX, 1, false},
                                                 {1 << 20, 1 << 20, false},
                                                 {40000, 40000, true}}) {
        const EditOutcome out = appendRectangle(m, patch(0, 0, 1, 1, ix, iy, p4));
        EXPECT_EQ(out.status, EditStatus::TooLarge) << ix << "x" << iy;
        EXPECT_FALSE(out.message.empty());
    }
    EXPECT_EQ(appendRectangle(m, patch(0, 0, 1, 1, 0, 3, false)).status, EditStatus::Refused);
    EXPECT_EQ(m.nn, 4);
    EXPECT_EQ(m.ne, 2);
    EXPECT_EQ(m.x.raw()[1], xBefore);
}

TEST(Rectangle, ModelWithoutProjectOrWithArraysShorterThanItsCountsIsNotTouched) {
    // What a rejected model file leaves: counts read from the file, no arrays, no project.
    Model rejected;
    rejected.nn = -3;
    rejected.ne = 5;
    EXPECT_EQ(appendRectangle(rejected, patch(0, 0, 1, 1, 1, 1, false)).status,
              EditStatus::Refused);
    EXPECT_EQ(rejected.Pusty, 1);
    EXPECT_EQ(rejected.nn, -3);
    EXPECT_EQ(rejected.ne, 5);

    Model shortArrays = emptyProject();
    ASSERT_TRUE(appendRectangle(shortArrays, patch(0, 0, 1, 1, 1, 1, false)).ok());
    shortArrays.nn = shortArrays.nq = 9;
    EXPECT_EQ(appendRectangle(shortArrays, patch(0, 0, 1, 1, 1, 1, false)).status,
              EditStatus::Refused);
    EXPECT_EQ(shortArrays.x.rows(), 4);
}

// Dialog fields hold up to 7 characters, enough for "1e39" or "9e99999" (infinite).
TEST(Rectangle, CoordinatesBeyondSinglePrecisionAreRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const RectanglePatch& p :
         {patch(inf, 0, 1, 1, 1, 1, false), patch(0, nan, 1, 1, 1, 1, false),
          patch(0, 0, 1e39, 1, 1, 1, false), patch(0, 0, 1, -1e39, 2, 1, true),
          patch(3e38, 0, 3e38, 1, 1, 1, false), patch(1e39, 0, -1e39, 1, 1, 1, false)}) {
        Model m = emptyProject();
        ASSERT_TRUE(appendRectangle(m, patch(0, 0, 1, 1, 1, 1, false)).ok());
        EXPECT_EQ(appendRectangle(m, p).status, EditStatus::Refused)
            << p.px << " " << p.py << " " << p.dx << " " << p.dy;
        EXPECT_EQ(m.nn, 4);
        EXPECT_EQ(m.ne, 2);
    }
    // The largest extent that still fits is built.
    Model m = emptyProject();
    ASSERT_TRUE(appendRectangle(m, patch(0, 0, 3e38, 1, 1, 1, false)).ok());
    EXPECT_EQ(m.x[2][1], 3e38f);
}
