// Group move, copy and delete on a 4-node, 2-element model.
#include "edit/group.h"
#include "edit_test_util.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using edit_test::coords;
using edit_test::corners;
using edit_test::Tri;
using edit_test::Xy;

/// The unit square as elements (1, 2, 3) and (4, 1, 3), with results and the given group.
void square(Model& m, const std::vector<int>& group) {
    allocateModel(m, 4, 2);
    const Xy xy[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 1; i <= 4; ++i)
        m.x[i][1] = xy[i - 1][0], m.x[i][2] = xy[i - 1][1], m.si[i] = 0.5f;
    const Tri tris[] = {{1, 2, 3}, {4, 1, 3}};
    for (int e = 1; e <= 2; ++e)
        for (int k = 1; k <= 3; ++k)
            m.noc[e][k] = tris[e - 1][k - 1];
    m.Pusty = 0;
    m.obliczono = 1;
    m.i_grp = static_cast<int>(group.size());
    m.j_grupa = group.empty() ? 0 : 1;
    if (!group.empty()) m.s_grp.allocate(m.i_grp);
    for (int k = 1; k <= m.i_grp; ++k)
        m.s_grp[k] = group[k - 1];
}

std::vector<int> selection(const Model& m) {
    std::vector<int> v;
    for (int k = 1; k <= (m.j_grupa ? m.i_grp : 0); ++k)
        v.push_back(m.s_grp[k]);
    return v;
}

enum Op { Move, Copy, CopyNodesOnly, Delete };

struct GroupCase {
    const char* name;
    std::vector<int> group;
    Op op;
    double dx, dy;
    EditStatus status;
    std::vector<Xy> xy;  ///< afterwards; empty: unchanged
    std::vector<Tri> tris;
    std::vector<int> selectionAfter;
};

const std::vector<Xy> kSquare = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
const std::vector<Tri> kTris = {{1, 2, 3}, {4, 1, 3}};

class GroupOperation : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupOperation, ChangesWhatItShouldAndNothingElse) {
    const GroupCase& c = GetParam();
    Model m;
    square(m, c.group);
    EditOutcome r;
    switch (c.op) {
        case Move:
            r = moveGroup(m, c.dx, c.dy);
            break;
        case Copy:
            r = copyGroup(m, c.dx, c.dy, true);
            break;
        case CopyNodesOnly:
            r = copyGroup(m, c.dx, c.dy, false);
            break;
        case Delete:
            r = deleteGroup(m);
            break;
    }
    EXPECT_EQ(r.status, c.status);
    const bool changed = c.status == EditStatus::Ok;
    EXPECT_EQ(coords(m), changed ? c.xy : kSquare);
    EXPECT_EQ(corners(m), changed ? c.tris : kTris);
    EXPECT_EQ(selection(m), changed ? c.selectionAfter : c.group);
    EXPECT_EQ(m.obliczono, changed ? 0 : 1);
    EXPECT_EQ(m.nq, m.nn);
    for (int i = 5; i <= m.nn; ++i)
        EXPECT_EQ(m.si[i], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Edit, GroupOperation,
    ::testing::Values(
        GroupCase{"MoveThreeNodes",
                  {1, 2, 3},
                  Move,
                  1.5,
                  -2,
                  EditStatus::Ok,
                  {{1.5f, -2}, {2.5f, -2}, {2.5f, -1}, {0, 1}},
                  kTris,
                  {1, 2, 3}},
        GroupCase{"CopyListsTheCopiesInGroupOrder",
                  {1, 3, 4},
                  Copy,
                  2,
                  0,
                  EditStatus::Ok,
                  {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 0}, {3, 1}, {2, 1}},
                  {{1, 2, 3}, {4, 1, 3}, {5, 6, 7}},
                  {1, 3, 4}},
        GroupCase{"CopyNodesOnly",
                  {1, 3, 4},
                  CopyNodesOnly,
                  2,
                  0,
                  EditStatus::Ok,
                  {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 0}, {3, 1}, {2, 1}},
                  kTris,
                  {1, 3, 4}},
        GroupCase{"TwoOfThreeNodesCopyNoElement",
                  {1, 3},
                  Copy,
                  0,
                  1,
                  EditStatus::Ok,
                  {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 1}, {1, 2}},
                  kTris,
                  {1, 3}},
        GroupCase{"ZeroDisplacementDoublesInPlace",
                  {1, 2, 3, 4},
                  Copy,
                  0,
                  0,
                  EditStatus::Ok,
                  {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}},
                  {{1, 2, 3}, {4, 1, 3}, {5, 6, 7}, {5, 7, 8}},
                  {1, 2, 3, 4}},
        GroupCase{"DeleteRenumbersBehindTheGroup",
                  {2},
                  Delete,
                  0,
                  0,
                  EditStatus::Ok,
                  {{0, 0}, {1, 1}, {0, 1}},
                  {{3, 1, 2}},
                  {}},
        GroupCase{"DeleteEverything", {1, 2, 3, 4}, Delete, 0, 0, EditStatus::Ok, {}, {}, {}},
        GroupCase{"NoGroup", {}, Move, 1, 1, EditStatus::Refused, {}, {}, {}},
        GroupCase{"BeyondSinglePrecision", {1}, Copy, 1e39, 0, EditStatus::Refused, {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GroupDeletion, CountsTheNodesAndEveryElementThatUsesOne) {
    Model m;
    square(m, {2, 4});
    const GroupCounts c = countGroupDeletion(m);
    EXPECT_EQ(c.nodes, 2);
    EXPECT_EQ(c.elements, 2);
}

}  // namespace
