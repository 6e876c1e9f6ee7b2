#include "model/model.h"

#include <gtest/gtest.h>

#include "test_files.h"

using namespace wirtor_test;

namespace {

void expectReleased(const Model& m) {
    EXPECT_EQ(m.Pusty, 1);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.nn, 0);
    EXPECT_EQ(m.nq, 0);
    EXPECT_EQ(m.ne, 0);
    EXPECT_EQ(m.j_grupa, 0);
    EXPECT_EQ(m.id, 0);
    EXPECT_EQ(m.iw, 0);
    EXPECT_FALSE(m.x.allocated());
    EXPECT_FALSE(m.si.allocated());
    EXPECT_FALSE(m.f.allocated());
    EXPECT_FALSE(m.ww.allocated());
    EXPECT_FALSE(m.noc.allocated());
    EXPECT_FALSE(m.napr.allocated());
    EXPECT_FALSE(m.s_grp.allocated());
}

}  // namespace

TEST(ModelStore, ReleasingNodesWithoutElementsKeepsMaterial) {
    Model m;
    fillModel(m, {{0, 0, 0}, {1, 0, 0}}, {}, 5.0f, 7.0f);
    m.obliczono = 1;
    m.id = m.iw = 1;
    releaseModel(m);
    expectReleased(m);
    EXPECT_EQ(m.G, 5.0f);
    EXPECT_EQ(m.MS, 7.0f);
}

TEST(ModelStore, ReleasingClearsTheSelection) {
    Model m;
    fillModel(m, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}});
    m.s_grp.allocate(2);
    m.s_grp[1] = 1;
    m.s_grp[2] = 3;
    m.i_grp = 2;
    m.j_grupa = 1;
    releaseModel(m);
    expectReleased(m);
    EXPECT_EQ(m.i_grp, 0);
}

TEST(ModelStore, NewProjectIsEmptyAndKeepsMaterial) {
    Model m;
    fillModel(m, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}}, 3.0f, 4.0f);
    m.obliczono = 1;
    newProject(m);
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.nn + m.ne + m.nq, 0);
    EXPECT_FALSE(m.x.allocated());
    EXPECT_FALSE(m.noc.allocated());
    EXPECT_EQ(m.G, 3.0f);
    EXPECT_EQ(m.MS, 4.0f);

    // From no project at all, including the counts a rejected file may leave behind.
    Model fresh;
    fresh.ne = 12;
    fresh.nn = -3;
    newProject(fresh);
    EXPECT_EQ(fresh.Pusty, 0);
    EXPECT_EQ(fresh.nn + fresh.ne + fresh.nq, 0);
    EXPECT_EQ(fresh.G, 80000.0f);
    EXPECT_EQ(fresh.MS, 1.0f);
}

TEST(ModelStore, AllocatingForCountsLeavesTheArraysOfAZeroCountUnallocated) {
    Model m;
    fillModel(m, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}});
    allocateModel(m, 3, 0);
    EXPECT_EQ(m.nq, 3);
    EXPECT_EQ(m.x.rows(), 3);
    EXPECT_EQ(m.ww.rows(), 3);
    EXPECT_FALSE(m.noc.allocated());
    EXPECT_FALSE(m.napr.allocated());
    EXPECT_EQ(m.Pusty, 1);
}
