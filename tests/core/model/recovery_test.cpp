#include "model/recovery.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "model/model_file.h"
#include "test_files.h"

namespace {

using namespace wirtor_test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

void triangle(Model& m, float G) {
    fillModel(m, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}}, G);
}

TEST(Recovery, DirectoryFollowsXdgThenHome) {
    const struct {
        const char* xdg;
        const char* home;
        const char* dir;
    } rows[] = {
        {"/s", "/h", "/s/wirtor"},
        {nullptr, "/h", "/h/.local/state/wirtor"},
        {"", "/h", "/h/.local/state/wirtor"},
        {"rel", "/h", "/h/.local/state/wirtor"},  // only an absolute XDG path counts
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(recovery::directory(r.xdg, r.home), r.dir)
            << (r.xdg ? r.xdg : "-") << " " << (r.home ? r.home : "-");
}

TEST(Recovery, RunningProgramsHoldTheirOwnCopiesAndANormalEndRemovesThem) {
    ScratchDir d;
    const std::string dir = d.path("stan");  // made by the first copy
    Model m;
    triangle(m, 5.0f);
    std::string first;
    {
        recovery::Copy a(dir), b(dir);
        ASSERT_TRUE(a.valid());
        ASSERT_TRUE(b.valid());
        EXPECT_NE(a.path(), b.path());
        ASSERT_TRUE(a.write(m));
        ASSERT_TRUE(b.write(m));
        first = a.path();
        EXPECT_TRUE(recovery::orphans(dir).empty());  // both programs still run
        b.remove();
        EXPECT_FALSE(fs::exists(b.path()));
    }
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(Recovery, AKilledProgramLeavesItsLastCopyToTheNext) {
    ScratchDir d;
    const std::string dir = d.path("stan");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Model m;
        triangle(m, 7.0f);
        recovery::Copy c(dir);
        c.write(m);
        triangle(m, 9.0f);
        c.write(m);
        ::kill(::getpid(), SIGKILL);  // no destructor runs
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    std::vector<recovery::Orphan> found = recovery::orphans(dir);
    ASSERT_EQ(found.size(), 1u);
    Model back;
    ASSERT_TRUE(readModelFile(found[0].path, back).ok());
    EXPECT_EQ(back.G, 9.0f);
    // Held while offered: a program starting meanwhile does not offer it too.
    EXPECT_TRUE(recovery::orphans(dir).empty());
    found[0].discard();
    EXPECT_TRUE(recovery::orphans(dir).empty());
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(Recovery, OrphansComeNewestFirstAndAFailedWriteKeepsTheLastCopy) {
    ScratchDir d;
    Model m;
    triangle(m, 1.0f);
    ASSERT_TRUE(writeModelFile(d.path("odzysk-1-1.WT"), m).ok());
    ASSERT_TRUE(writeModelFile(d.path("odzysk-2-2.WT"), m).ok());  // its lock file is missing
    ASSERT_TRUE(writeModelFile(d.path("inny.WT"), m).ok());        // not a copy: left alone
    fs::last_write_time(d.path("odzysk-1-1.WT"), fs::file_time_type::clock::now() + 10s);
    const std::vector<recovery::Orphan> found = recovery::orphans(d.dir().string());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(fs::path(found[0].path).filename(), "odzysk-1-1.WT");

    recovery::Copy c(d.dir().string());
    ASSERT_TRUE(c.write(m));
    const Bytes before = readBytes(c.path());
    m.noc[1][3] = 99;  // a model the reader would refuse is not written
    EXPECT_FALSE(c.write(m));
    EXPECT_EQ(readBytes(c.path()), before);
}

TEST(Recovery, ScheduleWaitsForQuietAndTheInterval) {
    using C = recovery::Schedule::Clock;
    const C::time_point t0{};
    recovery::Schedule s;
    s.observe(1, false, t0);
    EXPECT_FALSE(s.due(false, t0 + 1h));  // saved: nothing to copy
    s.observe(2, true, t0);
    EXPECT_FALSE(s.due(false, t0 + 1s));  // the user is still at it
    EXPECT_TRUE(s.due(false, t0 + 2s));
    EXPECT_FALSE(s.due(true, t0 + 2s));  // never while the user waits
    s.written(t0 + 2s);
    EXPECT_FALSE(s.due(false, t0 + 1h));  // this state is copied
    s.observe(3, true, t0 + 10s);
    EXPECT_FALSE(s.due(false, t0 + 60s));  // at most every 2 minutes
    EXPECT_TRUE(s.due(false, t0 + 122s));
    s.observe(3, false, t0 + 123s);
    EXPECT_TRUE(s.stale());
    s.observe(3, true, t0 + 124s);  // unsaved again (an undo past the save)
    EXPECT_TRUE(s.due(false, t0 + 130s));
}

}  // namespace
