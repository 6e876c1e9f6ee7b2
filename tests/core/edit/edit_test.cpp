// The model edits on small models: growing keeps everything, deleting renumbers densely, the
// element node test, and the material values.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "edit/elements.h"
#include "edit/material.h"
#include "edit/nodes.h"
#include "edit/resize.h"
#include "edit_test_util.h"

namespace {

using edit_test::coords;
using edit_test::corners;
using edit_test::Tri;
using edit_test::Xy;

/// A project with the given nodes (si of node i = 10 i) and elements, results current.
void build(Model& m, const std::vector<Xy>& xy, const std::vector<Tri>& tris) {
    allocateModel(m, static_cast<int>(xy.size()), static_cast<int>(tris.size()));
    for (int i = 1; i <= m.nn; ++i) {
        m.x[i][1] = xy[i - 1][0];
        m.x[i][2] = xy[i - 1][1];
        m.si[i] = 10.0f * static_cast<float>(i);
    }
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 3; ++k)
            m.noc[e][k] = tris[e - 1][k - 1];
    m.Pusty = 0;
    m.obliczono = 1;
}

std::vector<float> loads(const Model& m) {
    std::vector<float> v;
    for (int i = 1; i <= m.nn; ++i)
        v.push_back(m.si[i]);
    return v;
}
/// Every array has exactly the rows its count claims, none when the count is 0.
void expectExactArrays(const Model& m) {
    EXPECT_EQ(m.nq, m.nn);
    for (long rows : {m.x.rows(), m.ww.rows(), m.si.size(), m.f.size()})
        EXPECT_EQ(rows, m.nn);
    for (long rows : {m.noc.rows(), m.napr.rows()})
        EXPECT_EQ(rows, m.ne);
    EXPECT_EQ(m.x.allocated(), m.nn > 0);
    EXPECT_EQ(m.noc.allocated(), m.ne > 0);
}

const std::vector<Xy> kFive = {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 1}};

TEST(GrowModel, KeepsEveryValueAndAddsZeroLoads) {
    struct Case {
        int nodes, elements;
    } const cases[] = {{1, 0}, {0, 1}, {3, 2}, {0, 0}};
    for (const Case& c : cases) {
        Model m;
        build(m, kFive, {{1, 2, 4}, {2, 4, 5}});
        const auto xy = coords(m);
        const auto si = loads(m);
        const auto tris = corners(m);
        ASSERT_TRUE(growModel(m, c.nodes, c.elements).ok()) << c.nodes << "," << c.elements;
        EXPECT_EQ(m.nn, 5 + c.nodes);
        EXPECT_EQ(m.ne, 2 + c.elements);
        expectExactArrays(m);
        auto xyNow = coords(m);
        auto siNow = loads(m);
        auto trisNow = corners(m);
        for (int i = 5; i < m.nn; ++i)
            EXPECT_EQ(siNow[i], 0.0f);
        xyNow.resize(5), siNow.resize(5), trisNow.resize(2);
        EXPECT_EQ(xyNow, xy);
        EXPECT_EQ(siNow, si);
        EXPECT_EQ(trisNow, tris);
        EXPECT_EQ(m.obliczono, 0);
    }
}

TEST(GrowModel, FromAnEmptyProjectAndRefusalsLeaveTheModelAsItWas) {
    Model m;
    newProject(m);
    ASSERT_TRUE(appendNode(m, 1.5, -2.25).ok());
    EXPECT_EQ(coords(m), (std::vector<Xy>{{1.5f, -2.25f}}));
    EXPECT_EQ(loads(m), std::vector<float>{0.0f});
    expectExactArrays(m);

    const float* before = m.x.raw()[1];
    struct Case {
        long nodes, elements;
        EditStatus status;
    } const cases[] = {
        {-1, 0, EditStatus::Refused},           {0, -1, EditStatus::Refused},
        {2147483647L, 0, EditStatus::TooLarge}, {0, 2147483647L, EditStatus::TooLarge},
        {1L << 40, 0, EditStatus::TooLarge},
    };
    for (const Case& c : cases) {
        const EditOutcome r = growModel(m, c.nodes, c.elements);
        EXPECT_EQ(r.status, c.status) << c.nodes << "," << c.elements;
        EXPECT_EQ(r.message.empty(), c.status == EditStatus::Refused);
        EXPECT_EQ(m.nn, 1);
        EXPECT_EQ(m.ne, 0);
        EXPECT_EQ(m.x.raw()[1], before);
    }
    // Arrays short of the counts (what a rejected file leaves) are never read.
    m.nn = m.nq = 4;
    EXPECT_EQ(growModel(m, 1, 0).status, EditStatus::Refused);
}

// Deleting renumbers everything behind the deleted item and keeps the rest in order.
struct Deletion {
    const char* name;
    std::vector<Tri> tris;
    bool node;  ///< delete node k, else element k
    int k;
    EditStatus status;
    std::vector<Xy> xy;  ///< afterwards; empty: unchanged
    std::vector<Tri> trisAfter;
};

class DeleteItem : public ::testing::TestWithParam<Deletion> {};

TEST_P(DeleteItem, RenumbersDenselyOrLeavesTheModelAsItWas) {
    const Deletion& d = GetParam();
    Model m;
    build(m, kFive, d.tris);
    m.s_grp.allocate(2);
    m.s_grp[1] = 4, m.s_grp[2] = 5;
    m.i_grp = 2, m.j_grupa = 1;
    const auto si = loads(m);

    const EditOutcome r = d.node ? deleteNode(m, d.k) : deleteElement(m, d.k);
    EXPECT_EQ(r.status, d.status);
    if (d.status != EditStatus::Ok) {
        EXPECT_EQ(coords(m), kFive);
        EXPECT_EQ(corners(m), d.tris);
        EXPECT_EQ(m.obliczono, 1);
        EXPECT_EQ(m.j_grupa, 1);
        return;
    }
    EXPECT_EQ(coords(m), d.xy);
    EXPECT_EQ(corners(m), d.trisAfter);
    expectExactArrays(m);
    // Loads travel with their nodes.
    for (int i = 1; i <= m.nn; ++i) {
        int old = 0;
        while (kFive[old] != coords(m)[i - 1])
            ++old;
        EXPECT_EQ(m.si[i], si[old]);
    }
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.j_grupa, 0) << "no selection may point past nn";
    EXPECT_EQ(m.i_grp, 0);
    EXPECT_FALSE(m.s_grp.allocated());
}

const std::vector<Tri> kTwo = {{1, 2, 4}, {2, 4, 5}};
const std::vector<Tri> kFour = {{1, 2, 4}, {2, 3, 5}, {2, 5, 4}, {3, 5, 1}};

INSTANTIATE_TEST_SUITE_P(
    Edit, DeleteItem,
    ::testing::Values(Deletion{"node3of5",
                               kTwo,
                               true,
                               3,
                               EditStatus::Ok,
                               {{0, 0}, {1, 0}, {1, 1}, {2, 1}},
                               {{1, 2, 3}, {2, 3, 4}}},
                      Deletion{"lastNode",
                               {{1, 2, 4}},
                               true,
                               5,
                               EditStatus::Ok,
                               {{0, 0}, {1, 0}, {2, 0}, {1, 1}},
                               {{1, 2, 4}}},
                      Deletion{"nodeInUse", kTwo, true, 4, EditStatus::InUse, {}, {}},
                      Deletion{"nodeZero", kTwo, true, 0, EditStatus::Refused, {}, {}},
                      Deletion{"nodePastNn", kTwo, true, 6, EditStatus::Refused, {}, {}},
                      Deletion{"element2of4",
                               kFour,
                               false,
                               2,
                               EditStatus::Ok,
                               kFive,
                               {{1, 2, 4}, {2, 5, 4}, {3, 5, 1}}},
                      Deletion{"onlyElement", {{1, 2, 4}}, false, 1, EditStatus::Ok, kFive, {}},
                      Deletion{"elementZero", kTwo, false, 0, EditStatus::Refused, {}, {}},
                      Deletion{"elementPastNe", kTwo, false, 3, EditStatus::Refused, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RemoveItems, MovesCornersOntoTheirTargetAndRefusesDanglingOnes) {
    Model m;
    build(m, {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {1, 1}}, {{1, 2, 3}, {4, 5, 3}});
    // Node 4 lies on node 2: it goes, and element 2 takes node 2 in its place.
    const int target[] = {0, 1, 2, 3, 2, 5};
    const unsigned char keep[] = {0, 0, 0};
    ASSERT_TRUE(removeItems(m, target, keep).ok());
    EXPECT_EQ(m.nn, 4);
    EXPECT_EQ(corners(m), (std::vector<Tri>{{1, 2, 3}, {2, 4, 3}}));

    const int dangling[] = {0, 1, 2, 0, 4};  // node 3 goes, but element 1 still uses it
    const int chained[] = {0, 1, 4, 3, 2};   // a target that itself goes
    const int shortSpan[] = {0, 1, 2, 3};
    for (std::span<const int> t : {std::span<const int>(dangling), std::span<const int>(chained),
                                   std::span<const int>(shortSpan)})
        EXPECT_EQ(removeItems(m, t, keep).status, EditStatus::Refused);
    EXPECT_EQ(m.nn, 4);
    EXPECT_EQ(corners(m), (std::vector<Tri>{{1, 2, 3}, {2, 4, 3}}));
}

struct NodeCase {
    NodeTest test;
    Tri w;
    std::vector<std::string> messages;
    bool accepted;
};

TEST(ElementNodeTest, MessagesInOrderAndTheSilentRefusals) {
    const std::string z1 = "Zły numer węzła 1", z2 = "Zły numer węzła 2", z3 = "Zły numer węzła 3";
    constexpr NodeTest E = NodeTest::Edit, W = NodeTest::Wizard;
    const NodeCase cases[] = {
        {E, {1, 2, 3}, {}, true},        {E, {3, 1, 2}, {}, true},
        {E, {1, 2, 1}, {}, false},       {E, {1, 2, 2}, {}, false},
        {E, {1, 1, 2}, {z1}, false},     {E, {0, 0, 0}, {z1, z2, z3}, false},
        {E, {4, 2, 3}, {z1}, false},     {E, {1, 4, -1}, {z2, z3}, false},
        {E, {2, 3, 4}, {z3}, false},     {W, {1, 2, 3}, {}, true},
        {W, {1, 2, 1}, {z1}, false},     {W, {1, 2, 2}, {z2}, false},
        {W, {2, 2, 3}, {z1}, false},     {W, {0, 5, 9}, {z1, z2, z3}, false},
        {W, {1, 1, 1}, {z1, z2}, false},
    };
    for (const NodeCase& c : cases) {
        // Four nodes in the wizard's cases, three in the editor's.
        const ElementCheck r =
            checkElementNodes(c.test == W ? 4 : 3, c.w[0], c.w[1], c.w[2], c.test);
        EXPECT_EQ(r.messages, c.messages) << c.w[0] << c.w[1] << c.w[2];
        EXPECT_EQ(r.accepted, c.accepted) << c.w[0] << c.w[1] << c.w[2];
    }
}

TEST(ElementEdits, AppendAndChangeStoreTheNodesInTheOrderEntered) {
    Model m;
    build(m, kFive, kTwo);
    ASSERT_TRUE(appendElement(m, 5, 3, 2).ok());
    EXPECT_EQ(corners(m), (std::vector<Tri>{{1, 2, 4}, {2, 4, 5}, {5, 3, 2}}));
    expectExactArrays(m);
    m.obliczono = 1;
    ASSERT_TRUE(setElementNodes(m, 1, 4, 1, 3).ok());
    EXPECT_EQ(corners(m)[0], (Tri{4, 1, 3}));
    EXPECT_EQ(m.obliczono, 0);
    m.obliczono = 1;
    EXPECT_EQ(appendElement(m, 1, 2, 1).status, EditStatus::Refused);
    EXPECT_EQ(setElementNodes(m, 1, 1, 6, 2).status, EditStatus::Refused);
    EXPECT_EQ(setElementNodes(m, 4, 1, 2, 3).status, EditStatus::Refused);
    EXPECT_EQ(m.ne, 3);
    EXPECT_EQ(corners(m)[0], (Tri{4, 1, 3}));
    EXPECT_EQ(m.obliczono, 1);
}

TEST(NodeEdits, CoordinatesBeyondSinglePrecisionAreRefusedWithAMessage) {
    Model m;
    build(m, kFive, kTwo);
    ASSERT_TRUE(setNode(m, 2, -3.5, 1e30).ok());
    EXPECT_EQ(coords(m)[1], (Xy{-3.5f, 1e30f}));
    EXPECT_EQ(m.obliczono, 0);
    for (double bad : {1e39, -1e39, HUGE_VAL}) {
        EXPECT_FALSE(setNode(m, 1, bad, 0).message.empty());
        EXPECT_FALSE(appendNode(m, 0, bad).message.empty());
    }
    EXPECT_EQ(setNode(m, 6, 0, 0).status, EditStatus::Refused);
    EXPECT_EQ(m.nn, 5);
    EXPECT_EQ(coords(m)[0], (Xy{0, 0}));
}

TEST(MaterialEdits, ShearModulusMustBePositiveAndMomentMerelyFinite) {
    struct Case {
        double value;
        bool shearOk, momentOk;
    } const cases[] = {
        {81000000.0, true, true}, {0.5, true, true},    {0.0, false, true},    {-5.0, false, true},
        {1e-50, false, true},     {1e39, false, false}, {-1e39, false, false},
    };
    for (const Case& c : cases) {
        Model m;
        build(m, kFive, kTwo);
        const EditOutcome g = setShearModulus(m, c.value);
        EXPECT_EQ(g.ok(), c.shearOk) << c.value;
        EXPECT_EQ(m.G, c.shearOk ? static_cast<float>(c.value) : 80000.0f) << c.value;
        if (c.value <= 0) {
            EXPECT_EQ(g.message, "Moduł sprężystości poprzecznej <=0");
        }
        EXPECT_TRUE(g.ok() || !g.message.empty());
        const EditOutcome t = setTwistingMoment(m, c.value);
        EXPECT_EQ(t.ok(), c.momentOk) << c.value;
        EXPECT_EQ(m.MS, c.momentOk ? static_cast<float>(c.value) : 1.0f) << c.value;
        EXPECT_EQ(m.obliczono, c.shearOk || c.momentOk ? 0 : 1);
    }
}

}  // namespace
