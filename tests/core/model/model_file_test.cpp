#include "model/model_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "test_files.h"

using namespace wirtor_test;

namespace {

std::uint32_t bitsOf(float v) {
    std::uint32_t w;
    std::memcpy(&w, &v, 4);
    return w;
}

// Two triangles over a unit square, values chosen to need all 32 bits of a float.
void squareModel(Model& m) {
    fillModel(m,
              {{0.0f, 0.0f, 0.0f},
               {1.0f, 0.0f, -2.5f},
               {1.0f, 1.0f, 1e-30f},
               {0.1f, 1.0f / 3.0f, 3.4e38f}},
              {{1, 2, 3}, {1, 3, 4}}, 81234.567f, -0.3f);
}

// The bytes of a valid file with the given counts and default contents.
Bytes validFile(std::int32_t ne, std::int32_t nn) {
    Bytes b;
    putInt(b, ne);
    putInt(b, nn);
    putFloat(b, 80000.0f);
    putFloat(b, 1.0f);
    for (int e = 0; e < ne; ++e)
        for (int j = 0; j < 3; ++j)
            putInt(b, 1 + (e + j) % nn);
    for (int i = 0; i < nn; ++i) {
        putFloat(b, static_cast<float>(i));
        putFloat(b, 2.0f * static_cast<float>(i));
    }
    for (int i = 0; i < nn; ++i)
        putFloat(b, 0.0f);
    return b;
}

void setWord(Bytes& b, std::size_t offset, std::uint32_t w) {
    for (int k = 0; k < 4; ++k)
        b[offset + k] = static_cast<unsigned char>(w >> (8 * k));
}

void expectSameModel(const Model& a, const Model& b) {
    ASSERT_EQ(a.ne, b.ne);
    ASSERT_EQ(a.nn, b.nn);
    EXPECT_EQ(bitsOf(a.G), bitsOf(b.G));
    EXPECT_EQ(bitsOf(a.MS), bitsOf(b.MS));
    for (int e = 1; e <= a.ne; ++e)
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(a.noc[e][j], b.noc[e][j]) << e << "," << j;
    for (int i = 1; i <= a.nn; ++i) {
        EXPECT_EQ(bitsOf(a.x[i][1]), bitsOf(b.x[i][1])) << i;
        EXPECT_EQ(bitsOf(a.x[i][2]), bitsOf(b.x[i][2])) << i;
        EXPECT_EQ(bitsOf(a.si[i]), bitsOf(b.si[i])) << i;
    }
}

}  // namespace

TEST(ModelFile, SmallModelIsWrittenByteForByte) {
    ScratchDir dir;
    Model m;
    fillModel(m, {{0.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 0.5f}, {0.0f, -1.0f, 0.0f}}, {{1, 2, 3}},
              80000.0f, 1.0f);
    m.nq = 7;  // saving puts nq back to nn
    const auto path = dir.path("a.WT");
    ASSERT_TRUE(writeModelFile(path, m).ok());
    EXPECT_EQ(m.nq, 3);
    const Bytes expected = {
        0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,  // ne, nn
        0x00, 0x40, 0x9c, 0x47, 0x00, 0x00, 0x80, 0x3f,  // G = 80000, MS = 1
        0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,  // noc[1]
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                          // x[1]
        0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00,                          // x[2] = (2, 0)
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xbf,                          // x[3] = (0, -1)
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3f, 0x00, 0x00, 0x00, 0x00,  // si
    };
    EXPECT_EQ(readBytes(path), expected);
}

TEST(ModelFile, SavedAndReopenedModelIsIdenticalBitForBit) {
    ScratchDir dir;
    Model original;
    squareModel(original);
    const auto path = dir.path("square.WT");
    ASSERT_TRUE(writeModelFile(path, original).ok());
    EXPECT_EQ(std::filesystem::file_size(path), 16u + 12u * 2 + 12u * 4);

    Model back;
    back.G = 1.0f;
    back.nbw = 9;
    const FileOutcome r = readModelFile(path, back);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(r.message.empty());
    expectSameModel(original, back);
    EXPECT_EQ(back.Pusty, 0);
    EXPECT_EQ(back.obliczono, 0);
    EXPECT_EQ(back.nq, 4);
    EXPECT_EQ(back.nbw, 0);
    EXPECT_EQ(back.f.size(), 4);
    EXPECT_EQ(back.ww.rows(), 4);
    EXPECT_EQ(back.napr.rows(), 2);

    // A second save of what was read gives the same bytes.
    const auto again = dir.path("again.WT");
    ASSERT_TRUE(writeModelFile(again, back).ok());
    EXPECT_EQ(readBytes(again), readBytes(path));
}

TEST(ModelFile, ModelWithoutElementsRoundTripsWithoutElementArrays) {
    ScratchDir dir;
    Model m;
    fillModel(m, {{1.0f, 2.0f, 0.0f}, {3.0f, 4.0f, 0.0f}, {5.0f, 6.0f, 7.0f}}, {});
    const auto path = dir.path("nodes.WT");
    ASSERT_TRUE(writeModelFile(path, m).ok());
    EXPECT_EQ(std::filesystem::file_size(path), 52u);
    Model back;
    ASSERT_TRUE(readModelFile(path, back).ok());
    expectSameModel(m, back);
    EXPECT_FALSE(back.noc.allocated());
    EXPECT_FALSE(back.napr.allocated());
    EXPECT_EQ(back.Pusty, 0);
}

TEST(ModelFile, FileThatDoesNotExistCannotBeOpened) {
    ScratchDir dir;
    Model m;
    const FileOutcome r = readModelFile(dir.path("missing.WT"), m);
    EXPECT_EQ(r.status, FileStatus::CannotOpen);
    EXPECT_EQ(r.message, "Nie można otworzyć pliku");
    // Neither a directory nor a named pipe (which must not block) is a model file.
    const auto fifo = dir.path("pipe.WT");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& p : {dir.dir().string(), fifo})
        EXPECT_EQ(readModelFile(p, m).status, FileStatus::CannotOpen) << p;
    EXPECT_EQ(m.Pusty, 1);
}

struct BadFileCase {
    const char* name;
    std::function<Bytes()> bytes;
};

void PrintTo(const BadFileCase& c, std::ostream* os) {
    *os << c.name;
}

class RejectedFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(RejectedFile, IsRefusedAndLeavesTheModelAsGiven) {
    ScratchDir dir;
    const auto path = dir.path("bad.WT");
    writeBytes(path, GetParam().bytes());
    Model m;
    m.G = 123.0f;
    m.MS = 4.0f;
    const FileOutcome r = readModelFile(path, m);
    EXPECT_EQ(r.status, FileStatus::BadData);
    EXPECT_EQ(r.message, "Błędny plik z danymi");
    EXPECT_EQ(m.Pusty, 1);
    EXPECT_EQ(m.ne, 0);
    EXPECT_EQ(m.nn, 0);
    EXPECT_EQ(m.G, 123.0f);
    EXPECT_EQ(m.MS, 4.0f);
    EXPECT_FALSE(m.x.allocated());
    EXPECT_FALSE(m.noc.allocated());
    EXPECT_FALSE(m.si.allocated());
    EXPECT_FALSE(m.f.allocated());
    EXPECT_FALSE(m.ww.allocated());
    EXPECT_FALSE(m.napr.allocated());
}

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Valid 2-element, 4-node file with one word replaced.
Bytes withWord(std::size_t offset, std::uint32_t w) {
    Bytes b = validFile(2, 4);
    setWord(b, offset, w);
    return b;
}
// Offsets in validFile(2, 4): noc at 16, x at 40, si at 72.
const BadFileCase kBadFiles[] = {
    {"Empty", [] { return Bytes{}; }},
    {"ShortHeader", [] { return Bytes(15, 0); }},
    {"Truncated",
     [] {
         Bytes b = validFile(2, 4);
         b.pop_back();
         return b;
     }},
    {"OneByteTooLong",
     [] {
         Bytes b = validFile(2, 4);
         b.push_back(0);
         return b;
     }},
    {"MissingSi",
     [] {
         Bytes b = validFile(2, 4);
         b.resize(b.size() - 16);
         return b;
     }},
    {"NegativeElementCount",
     [] {
         Bytes b = validFile(0, 4);
         setWord(b, 0, 0xffffffffu);
         return b;
     }},
    {"NodeNumberZero", [] { return withWord(16 + 4, 0); }},
    {"NodeNumberAboveNn", [] { return withWord(16 + 20, 5); }},
    {"NodeNumberNegative", [] { return withWord(16, 0x80000000u); }},
    {"NaNG", [] { return withWord(8, bitsOf(kNaN)); }},
    {"InfMS", [] { return withWord(12, bitsOf(-kInf)); }},
    {"NaNCoordinateX", [] { return withWord(40, bitsOf(kNaN)); }},
    {"InfCoordinateY", [] { return withWord(40 + 28, bitsOf(kInf)); }},
    {"NaNSi", [] { return withWord(72 + 12, 0x7fc01234u); }},
    {"InfSi", [] { return withWord(72, bitsOf(kInf)); }},
    // Counts that would need gigabytes, in a file of a few bytes: refused by the size check.
    {"HugeElementCount",
     [] {
         Bytes b = validFile(0, 3);
         setWord(b, 0, 0x7fffffffu);
         return b;
     }},
    {"HugeNodeCount",
     [] {
         Bytes b = validFile(0, 3);
         setWord(b, 4, 0x7fffffffu);
         return b;
     }},
    {"HugeBothCounts",
     [] {
         Bytes b = validFile(0, 3);
         setWord(b, 0, 0x7fffffffu);
         setWord(b, 4, 0x7fffffffu);
         return b;
     }},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(ModelFile, RejectedFile, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModelFile, FileWithoutNodesKeepsTheCountsReadButNoProject) {
    ScratchDir dir;
    struct Case {
        std::int32_t nn;
        float G;
    };
    for (const Case c : {Case{0, 500.0f}, Case{-7, 600.0f}, Case{0, kNaN}}) {
        Bytes b;
        putInt(b, 5);
        putInt(b, c.nn);
        putFloat(b, c.G);
        putFloat(b, 2.0f);
        b.resize(200, 0);  // whatever follows does not matter
        const auto path = dir.path("empty.WT");
        writeBytes(path, b);
        Model m;
        const FileOutcome r = readModelFile(path, m);
        EXPECT_EQ(r.status, FileStatus::BadData) << c.nn;
        EXPECT_EQ(r.message, "Błędny plik z danymi");
        EXPECT_EQ(m.Pusty, 1);
        EXPECT_EQ(m.ne, 5);
        EXPECT_EQ(m.nn, c.nn);
        EXPECT_FALSE(m.x.allocated());
        if (std::isfinite(c.G)) {
            EXPECT_EQ(m.G, c.G);
            EXPECT_EQ(m.MS, 2.0f);
        } else {  // a non-finite material is never taken over
            EXPECT_EQ(m.G, 80000.0f);
            EXPECT_EQ(m.MS, 1.0f);
        }
    }
}

TEST(ModelFile, ReadingReplacesWhateverTheModelHeld) {
    ScratchDir dir;
    const auto path = dir.path("small.WT");
    writeBytes(path, validFile(0, 3));
    Model m;
    squareModel(m);
    m.obliczono = 1;
    ASSERT_TRUE(readModelFile(path, m).ok());
    EXPECT_EQ(m.ne, 0);
    EXPECT_EQ(m.nn, 3);
    EXPECT_FALSE(m.noc.allocated());
    EXPECT_EQ(m.x.rows(), 3);
    EXPECT_EQ(m.obliczono, 0);
}

TEST(ModelFile, FailedSaveKeepsThePreviousFile) {
    ScratchDir dir;
    Model m;
    squareModel(m);
    // A directory in the way of the target.
    const auto blocked = dir.path("blocked.WT");
    std::filesystem::create_directory(blocked);
    std::filesystem::path inside = std::filesystem::path(blocked) / "keep";
    writeBytes(inside.string(), {1, 2, 3});
    FileOutcome r = writeModelFile(blocked, m);
    EXPECT_EQ(r.status, FileStatus::CannotWrite);
    EXPECT_EQ(r.message, "Nie można zapisać do pliku");
    EXPECT_EQ(readBytes(inside.string()), (Bytes{1, 2, 3}));

    // A directory that does not exist.
    r = writeModelFile(dir.path("no/such/dir/m.WT"), m);
    EXPECT_EQ(r.status, FileStatus::CannotWrite);

    // Nothing is left beside the targets.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.dir()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(ModelFile, WriteErrorAfterOpeningIsReportedAndOldFileSurvives) {
    ScratchDir dir;
    const auto path = dir.path("m.WT");
    const Bytes old(200, 0x5a);
    writeBytes(path, old);
    Model m;
    squareModel(m);
    // A file-size limit below the model's 88 bytes makes a write fail once the file is open
    // (with SIGXFSZ ignored the write returns EFBIG instead of killing the process).
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 50;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileOutcome r = writeModelFile(path, m);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(r.status, FileStatus::CannotWrite);
    EXPECT_EQ(r.message, "Nie można zapisać do pliku");
    EXPECT_EQ(readBytes(path), old);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.dir()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "the temporary file is removed";
}

TEST(ModelFile, SaveOverAnExistingFileReplacesIt) {
    ScratchDir dir;
    const auto path = dir.path("m.WT");
    writeBytes(path, Bytes(1000, 0xab));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    Model m;
    squareModel(m);
    ASSERT_TRUE(writeModelFile(path, m).ok());
    EXPECT_EQ(std::filesystem::file_size(path), 88u);
    // A name at the file-name limit still leaves room for the temporary beside it.
    const auto longName = dir.path(std::string(250, 'n') + ".WT");
    EXPECT_TRUE(writeModelFile(longName, m).ok());
    EXPECT_EQ(readBytes(longName), readBytes(path));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

// A save that reports success must leave a file that opens again; a model whose counts
// outrun its arrays must not be read past them.
struct UnwritableModel {
    const char* what;
    std::function<void(Model&)> spoil;
};

class UnwritableModelTest : public ::testing::TestWithParam<UnwritableModel> {};

TEST_P(UnwritableModelTest, IsRefusedAndTheOldFileSurvives) {
    ScratchDir dir;
    const auto path = dir.path("m.WT");
    const Bytes old(40, 0x11);
    writeBytes(path, old);
    Model m;
    squareModel(m);
    GetParam().spoil(m);
    const FileOutcome r = writeModelFile(path, m);
    EXPECT_EQ(r.status, FileStatus::CannotWrite);
    EXPECT_EQ(r.message, "Nie można zapisać do pliku");
    EXPECT_EQ(readBytes(path), old);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.dir()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

const UnwritableModel kUnwritableModels[] = {
    {"counts of a rejected file, no arrays",
     [](Model& m) {
         releaseModel(m);
         m.ne = 1000;
         m.nn = -4;
     }},
    {"more nodes than rows", [](Model& m) { m.nn = 9; }},
    {"more elements than rows", [](Model& m) { m.ne = 7; }},
    {"node number above nn", [](Model& m) { m.noc[2][3] = 5; }},
    {"node number 0", [](Model& m) { m.noc[1][1] = 0; }},
    {"infinite coordinate", [](Model& m) { m.x[3][2] = std::numeric_limits<float>::infinity(); }},
    {"NaN load", [](Model& m) { m.si[4] = std::numeric_limits<float>::quiet_NaN(); }},
    {"infinite G", [](Model& m) { m.G = std::numeric_limits<float>::infinity(); }},
    {"NaN MS", [](Model& m) { m.MS = std::numeric_limits<float>::quiet_NaN(); }},
};

INSTANTIATE_TEST_SUITE_P(ModelFile, UnwritableModelTest, ::testing::ValuesIn(kUnwritableModels),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ModelFile, EmptyProjectIsWrittenAsItsHeader) {
    ScratchDir dir;
    const auto path = dir.path("empty.WT");
    Model m;
    newProject(m);
    ASSERT_TRUE(writeModelFile(path, m).ok());
    EXPECT_EQ(std::filesystem::file_size(path), 16u);
}

// Saving opens the chosen file for writing; a file the user may not write is not replaced
// through the directory. Run in a child without root's privileges, which would bypass the mode.
TEST(ModelFile, WriteProtectedFileIsNotReplaced) {
    ScratchDir dir;
    std::filesystem::permissions(dir.dir(), std::filesystem::perms::all);
    const auto path = dir.path("m.WT");
    const Bytes old(40, 0x22);
    writeBytes(path, old);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    Model m;
    squareModel(m);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        const FileOutcome r = writeModelFile(path, m);
        ::_exit(r.status == FileStatus::CannotWrite && r.message == "Nie można zapisać do pliku"
                    ? 0
                    : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(path), old);
}
