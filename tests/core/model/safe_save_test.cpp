// Saving onto every kind of target: what is written, what is refused and what survives.
#include "model/safe_save.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "model/model_file.h"
#include "model/report.h"
#include "test_files.h"

using namespace wirtor_test;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
const Bytes kOld(40, 0x5a);
const Bytes kNew(100, 0xc3);

bool saveNew(const std::string& path) {
    return saveFileSafely(path, [](int fd) { return writeAll(fd, kNew.data(), kNew.size()); });
}

// As root, saves from a child without root's privileges, so that modes bind it.
bool saveNewAsNobody(const std::string& path) {
    if (::geteuid() != 0) return saveNew(path);
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && saveNew(path) ? 0 : 1);
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

/// A file holding kOld; empty when it cannot be given the owner asked for.
std::string oldFile(const ScratchDir& d, const std::string& name, mode_t mode = 0644,
                    uid_t owner = ::geteuid()) {
    const auto p = d.path(name);
    writeBytes(p, kOld);
    const bool made = ::chmod(p.c_str(), mode) == 0 &&
                      (owner == ::geteuid() || ::chown(p.c_str(), owner, owner) == 0);
    return made ? p : std::string();
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

/// The hidden names a save makes for its temporary file and backup copy.
std::vector<std::string> hiddenEntries(const fs::path& dir) {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.path().filename().string().front() == '.') found.push_back(e.path());
    return found;
}

struct SaveTarget {
    const char* name;
    /// Builds the scene and returns the path to save to; empty: it needs root's privileges.
    std::function<std::string(const ScratchDir&)> prepare;
    bool saved;
    bool asNobody;  ///< saved without root's privileges, in place
    std::function<void(const ScratchDir&, const std::string& path)> check;
};

void PrintTo(const SaveTarget& t, std::ostream* os) {
    *os << t.name;
}

const std::string kKernelFile = "/proc/self/comm";

const SaveTarget kTargets[] = {
    {"RegularFileKeepsItsMode", [](const ScratchDir& d) { return oldFile(d, "m", 0640); }, true,
     false,
     [](const ScratchDir&, const std::string& p) { EXPECT_EQ(statOf(p).st_mode & 07777, 0640u); }},
    {"LinkIsWrittenThrough",
     [](const ScratchDir& d) {
         oldFile(d, "cel");
         fs::create_symlink("cel", d.path("link"));
         return d.path("link");
     },
     true, false, [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_symlink(p)); }},
    {"DanglingLinkGetsItsTarget",
     [](const ScratchDir& d) {
         fs::create_symlink("brak", d.path("link"));
         return d.path("link");
     },
     true, false, [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_symlink(p)); }},
    {"LinkLoop",
     [](const ScratchDir& d) {
         fs::create_symlink("link", d.path("link"));
         return d.path("link");
     },
     false, false, [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_symlink(p)); }},
    {"HardLinkStaysOneFile",
     [](const ScratchDir& d) {
         const auto p = oldFile(d, "m");
         fs::create_hard_link(p, d.path("drugi"));
         return p;
     },
     true, false,
     [](const ScratchDir& d, const std::string&) { EXPECT_EQ(readBytes(d.path("drugi")), kNew); }},
    {"Device",
     [](const ScratchDir& d) {
         const auto p = d.path("null");  // the null device's numbers
         return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? p : std::string();
     },
     false, false,
     [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_character_file(p)); }},
    {"NamedPipe",
     [](const ScratchDir& d) {
         EXPECT_EQ(::mkfifo(d.path("pipe").c_str(), 0666), 0);
         return d.path("pipe");
     },
     false, false, [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_fifo(p)); }},
    {"Directory",
     [](const ScratchDir& d) {
         fs::create_directory(d.path("kat"));
         oldFile(d, "kat/m");
         return d.path("kat");
     },
     false, false,
     [](const ScratchDir& d, const std::string&) { EXPECT_EQ(readBytes(d.path("kat/m")), kOld); }},
    {"KernelFile", [](const ScratchDir&) { return kKernelFile; }, false, false, nullptr},
    {"ReadOnlyDirectoryWritableFile",
     [](const ScratchDir& d) {
         fs::create_directory(d.path("ro"));
         const auto p = oldFile(d, "ro/m", 0666);
         fs::permissions(d.path("ro"), fs::perms(0555));
         return p;
     },
     true, true, nullptr},
    {"OtherUsersFileKeepsItsOwner",
     [](const ScratchDir& d) {
         return ::geteuid() == 0 ? oldFile(d, "cudzy", 0640, kNobody) : std::string();
     },
     true, false,
     [](const ScratchDir&, const std::string& p) {
         const struct stat st = statOf(p);
         EXPECT_EQ(st.st_uid, kNobody);
         EXPECT_EQ(st.st_gid, kNobody);
         EXPECT_EQ(st.st_mode & 07777, 0640u);
     }},
    {"OwnerThatCannotBeKept",
     [](const ScratchDir& d) {
         fs::create_directory(d.path("wspolny"));
         fs::permissions(d.path("wspolny"), fs::perms::all);
         return ::geteuid() == 0 ? oldFile(d, "wspolny/m", 0666) : std::string();
     },
     true, true, [](const ScratchDir&, const std::string& p) { EXPECT_EQ(statOf(p).st_uid, 0u); }},
};

class SaveTargetTest : public ::testing::TestWithParam<SaveTarget> {};

TEST_P(SaveTargetTest, SavesOrRefusesAndKeepsWhatWasThere) {
    const SaveTarget& t = GetParam();
    ScratchDir dir;
    fs::permissions(dir.dir(), fs::perms(0755));
    const std::string path = t.prepare(dir);
    if (path.empty()) GTEST_SKIP() << "the target needs root's privileges";
    struct stat before {};
    const bool regular = ::stat(path.c_str(), &before) == 0 && S_ISREG(before.st_mode);
    const Bytes kernel = readBytes(kKernelFile);

    EXPECT_EQ(t.asNobody ? saveNewAsNobody(path) : saveNew(path), t.saved);
    if (t.saved) {
        EXPECT_EQ(readBytes(path), kNew);
        if (t.asNobody) {
            EXPECT_EQ(statOf(path).st_ino, before.st_ino) << "rewritten in place";
        }
    } else if (regular && path != kKernelFile) {
        EXPECT_EQ(readBytes(path), kOld);
    }
    EXPECT_EQ(readBytes(kKernelFile), kernel);
    if (t.check) t.check(dir, path);
    EXPECT_EQ(hiddenEntries(dir.dir()), std::vector<std::string>{});
    for (const auto& e : fs::recursive_directory_iterator(dir.dir()))
        if (!e.is_symlink() && e.is_directory())
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
}

INSTANTIATE_TEST_SUITE_P(Save, SaveTargetTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

// A model or a report whose write fails midway (a file-size limit below its size) leaves the
// old content whole and its refusal, whether the file was to be replaced or rewritten in place.
TEST(SafeSave, FailedWriteOfModelOrReportLeavesTheOldContent) {
    struct Saver {
        FileOutcome (*save)(const std::string&, Model&);
        const char* refusal;
    } const savers[] = {
        {[](const std::string& p, Model& m) { return writeModelFile(p, m); },
         "Nie można zapisać do pliku"},
        {[](const std::string& p, Model& m) { return writeReport(p, m); },
         "Nie można zapisać danych do pliku"},
    };
    for (const bool inPlace : {false, true}) {  // a second name makes it rewrite in place
        for (const Saver& s : savers) {
            SCOPED_TRACE(std::string(s.refusal) + (inPlace ? ", in place" : ""));
            ScratchDir dir;
            const auto path = oldFile(dir, "m");
            if (inPlace) fs::create_hard_link(path, dir.path("drugi"));
            Model m;
            fillModel(m, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}});
            for (int i = 1; i <= 3; ++i)
                m.ww[i][1] = m.ww[i][2] = 0.0f;
            rlimit saved{};
            ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
            rlimit small = saved;
            small.rlim_cur = kOld.size() + 10;
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
            const FileOutcome r = s.save(path, m);
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, previous);
            EXPECT_EQ(r.message, s.refusal);
            EXPECT_EQ(readBytes(path), kOld);
            EXPECT_EQ(hiddenEntries(dir.dir()), std::vector<std::string>{});
        }
    }
}

}  // namespace
