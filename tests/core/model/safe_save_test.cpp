// Saving the model file and the report onto every kind of target: what is written, what is
// refused, and what survives.
#include "model/safe_save.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
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

void resultsModel(Model& m) {
    fillModel(m, {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.5f}, {0.0f, 1.0f, 0.0f}}, {{1, 2, 3}});
    for (int i = 1; i <= 3; ++i)
        m.ww[i][1] = m.ww[i][2] = m.ww[i][3] = static_cast<float>(i);
    m.obliczono = 1;
}

// The two savers, each with the bytes it should leave and the text of its refusal.
struct Saver {
    const char* name;
    FileOutcome (*save)(const std::string&, Model&);
    const char* refusal;
};
const Saver kSavers[] = {
    {"model", [](const std::string& p, Model& m) { return writeModelFile(p, m); },
     "Nie można zapisać do pliku"},
    {"report", [](const std::string& p, Model& m) { return writeReport(p, m); },
     "Nie można zapisać danych do pliku"},
};

Bytes expectedBytes(const Saver& s, const ScratchDir& dir, const std::string& path, Model& m) {
    if (std::string(s.name) == "report") {
        const std::string text = reportText(path, m);
        return Bytes(text.begin(), text.end());
    }
    const auto ref = dir.path("wzor");
    EXPECT_TRUE(writeModelFile(ref, m).ok());
    Bytes b = readBytes(ref);
    fs::remove(ref);
    return b;
}

// Saves in a child that has given up root's privileges, so that modes bind it.
FileOutcome saveAsNobody(const Saver& s, const std::string& path, Model& m) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
        const FileOutcome r = s.save(path, m);
        ::_exit(r.ok() ? 0 : r.message == s.refusal ? 1 : 2);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return {FileStatus::BadData, "child"};
    switch (WEXITSTATUS(status)) {
        case 0:
            return {};
        case 1:
            return {FileStatus::CannotWrite, s.refusal};
        default:
            return {FileStatus::BadData, "child " + std::to_string(WEXITSTATUS(status))};
    }
}

bool isRoot() {
    return ::geteuid() == 0;
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
    /// Builds the scene in `dir` and returns the path to save to; empty: cannot be built here.
    std::function<std::string(const ScratchDir& dir)> prepare;
    bool saved;
    bool asNobody;  ///< saved by an unprivileged child when the tests run as root
    /// What else must hold afterwards.
    std::function<void(const ScratchDir& dir, const std::string& path)> check;
};

void PrintTo(const SaveTarget& t, std::ostream* os) {
    *os << t.name;
}

std::string oldFile(const ScratchDir& dir, const std::string& name, mode_t mode = 0644) {
    const auto p = dir.path(name);
    writeBytes(p, kOld);
    ::chmod(p.c_str(), mode);
    return p;
}

std::string inSubdir(const ScratchDir& dir, const char* sub, mode_t dirMode, uid_t owner) {
    fs::create_directory(dir.path(sub));
    const auto p = oldFile(dir, std::string(sub) + "/m", 0666);
    if (::chown(p.c_str(), owner, owner) != 0 || ::chmod(dir.path(sub).c_str(), dirMode) != 0)
        return {};
    return p;
}

void expectOld(const std::string& path) {
    EXPECT_EQ(readBytes(path), kOld);
}

const SaveTarget kTargets[] = {
    {"RegularFileKeepsItsMode", [](const ScratchDir& d) { return oldFile(d, "m", 0640); }, true,
     false,
     [](const ScratchDir&, const std::string& p) {
         EXPECT_EQ(fs::status(p).permissions(), fs::perms(0640));
     }},
    {"NewFile", [](const ScratchDir& d) { return d.path("nowy"); }, true, false, nullptr},
    {"LinkIsWrittenThrough",
     [](const ScratchDir& d) {
         oldFile(d, "cel");
         fs::create_symlink("cel", d.path("link"));
         return d.path("link");
     },
     true, false,
     [](const ScratchDir& d, const std::string& p) {
         EXPECT_TRUE(fs::is_symlink(p));
         EXPECT_EQ(readBytes(d.path("cel")), readBytes(p));
     }},
    {"DanglingLinkCreatesItsTarget",
     [](const ScratchDir& d) {
         fs::create_symlink("brak", d.path("link"));
         return d.path("link");
     },
     true, false,
     [](const ScratchDir& d, const std::string& p) {
         EXPECT_TRUE(fs::is_symlink(p));
         EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(d.path("brak"))));
     }},
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
     [](const ScratchDir& d, const std::string& p) {
         EXPECT_EQ(fs::hard_link_count(p), 2u);
         EXPECT_EQ(readBytes(d.path("drugi")), readBytes(p));
     }},
    {"Device",
     [](const ScratchDir& d) {
         const auto p = d.path("null");  // the null device's numbers
         return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? p : std::string();
     },
     false, false,
     [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_character_file(p)); }},
    {"NamedPipe",
     [](const ScratchDir& d) {
         const auto p = d.path("pipe");
         return ::mkfifo(p.c_str(), 0666) == 0 ? p : std::string();
     },
     false, false, [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_fifo(p)); }},
    {"Socket",
     [](const ScratchDir& d) {
         const auto p = d.path("sock");
         sockaddr_un addr{};
         addr.sun_family = AF_UNIX;
         if (p.size() >= sizeof addr.sun_path) return std::string();
         p.copy(addr.sun_path, p.size());
         const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
         const bool bound = ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
         ::close(s);
         return bound ? p : std::string();
     },
     false, false, [](const ScratchDir&, const std::string& p) { EXPECT_TRUE(fs::is_socket(p)); }},
    {"Directory",
     [](const ScratchDir& d) {
         fs::create_directory(d.path("kat"));
         oldFile(d, "kat/m");
         return d.path("kat");
     },
     false, false, [](const ScratchDir& d, const std::string&) { expectOld(d.path("kat/m")); }},
    {"KernelFile", [](const ScratchDir&) { return std::string("/proc/self/comm"); }, false, false,
     nullptr},
    {"WritableFileInReadOnlyDirectoryIsWrittenInPlace",
     [](const ScratchDir& d) { return inSubdir(d, "ro", 0555, ::geteuid()); }, true, true,
     [](const ScratchDir&, const std::string& p) {
         EXPECT_EQ(fs::status(p).permissions(), fs::perms(0666));
     }},
    {"OtherUsersFileKeepsItsOwner",
     [](const ScratchDir& d) {
         const auto p = oldFile(d, "cudzy", 0640);
         return isRoot() && ::chown(p.c_str(), kNobody, kNobody) == 0 ? p : std::string();
     },
     true, false,
     [](const ScratchDir&, const std::string& p) {
         struct stat st {};
         ASSERT_EQ(::stat(p.c_str(), &st), 0);
         EXPECT_EQ(st.st_uid, kNobody);
         EXPECT_EQ(st.st_gid, kNobody);
         EXPECT_EQ(st.st_mode & 07777, 0640u);
     }},
    {"OwnerThatCannotBeKeptIsKeptInPlace",
     [](const ScratchDir& d) { return isRoot() ? inSubdir(d, "wspolny", 0777, 0) : std::string(); },
     true, true,
     [](const ScratchDir&, const std::string& p) {
         struct stat st {};
         ASSERT_EQ(::stat(p.c_str(), &st), 0);
         EXPECT_EQ(st.st_uid, 0u);
     }},
};

class SaveTargetTest : public ::testing::TestWithParam<SaveTarget> {};

TEST_P(SaveTargetTest, SavesOrRefusesAndKeepsWhatWasThere) {
    const SaveTarget& t = GetParam();
    for (const Saver& s : kSavers) {
        SCOPED_TRACE(s.name);
        ScratchDir dir;
        fs::permissions(dir.dir(), fs::perms(0755));
        const std::string path = t.prepare(dir);
        if (path.empty()) GTEST_SKIP() << "this target cannot be made without root's privileges";
        const Bytes kernelBefore = readBytes("/proc/self/comm");
        struct stat before {};
        const bool existed = ::stat(path.c_str(), &before) == 0;

        Model m;
        resultsModel(m);
        const Bytes expected = expectedBytes(s, dir, path, m);
        const FileOutcome r = t.asNobody && isRoot() ? saveAsNobody(s, path, m) : s.save(path, m);

        if (t.saved) {
            EXPECT_TRUE(r.ok()) << r.message;
            EXPECT_EQ(readBytes(path), expected);
            struct stat after {};
            ASSERT_EQ(::stat(path.c_str(), &after), 0);
            if (t.asNobody) {
                EXPECT_EQ(after.st_ino, before.st_ino) << "rewritten in place";
            }
        } else {
            EXPECT_EQ(r.status, FileStatus::CannotWrite);
            EXPECT_EQ(r.message, s.refusal);
            if (existed && S_ISREG(before.st_mode) && path.rfind("/proc/", 0) != 0) expectOld(path);
        }
        EXPECT_EQ(readBytes("/proc/self/comm"), kernelBefore);
        if (t.check) t.check(dir, path);
        EXPECT_EQ(hiddenEntries(dir.dir()), std::vector<std::string>{});
        for (const auto& e : fs::recursive_directory_iterator(dir.dir()))
            if (!e.is_symlink() && e.is_directory())
                fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
    }
}

INSTANTIATE_TEST_SUITE_P(Save, SaveTargetTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

// A write that fails midway, by a file-size limit below the new content's size, leaves the
// old content whole, whether the file was to be replaced or rewritten in place.
TEST(SafeSave, FailedWriteLeavesTheOldContent) {
    struct Case {
        const char* name;
        bool hardLink;  // a second name makes the save rewrite the file in place
    };
    for (const Case c : {Case{"replaced", false}, Case{"in place", true}}) {
        for (const Saver& s : kSavers) {
            SCOPED_TRACE(std::string(c.name) + " " + s.name);
            ScratchDir dir;
            const auto path = oldFile(dir, "m");
            if (c.hardLink) fs::create_hard_link(path, dir.path("drugi"));
            Model m;
            resultsModel(m);
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
            expectOld(path);
            if (c.hardLink) expectOld(dir.path("drugi"));
            EXPECT_EQ(hiddenEntries(dir.dir()), std::vector<std::string>{});
        }
    }
}

}  // namespace
