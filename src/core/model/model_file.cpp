#include "model/model_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/fd.h"
#include "model/safe_save.h"

namespace {

constexpr const char* kCannotOpen = "Nie można otworzyć pliku";
constexpr const char* kBadData = "Błędny plik z danymi";
constexpr const char* kCannotWrite = "Nie można zapisać do pliku";

constexpr std::int64_t kHeaderBytes = 16;
constexpr std::int64_t kElementBytes = 12;  // three int32 node numbers
constexpr std::int64_t kNodeBytes = 12;     // float32 X, Y and si

FileOutcome failure(FileStatus status, const char* text) {
    return {status, text};
}

// Explicit little-endian decoding keeps the format independent of the host's byte order.
std::uint32_t getU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void putU32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

bool readFull(int fd, unsigned char* buf, std::size_t n) {
    while (n > 0) {
        const ssize_t got = ::read(fd, buf, n);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        buf += got;
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

/// Reads a known number of 4-byte words through a fixed buffer, so that reading never
/// needs memory in proportion to the file.
class WordReader {
  public:
    WordReader(int fd, std::int64_t words) : fd_(fd), left_(words) {}
    bool next(std::uint32_t& w) {
        if (pos_ == len_) {
            if (left_ == 0) return false;
            const std::int64_t chunk = left_ < kWords ? left_ : kWords;
            if (!readFull(fd_, buf_, static_cast<std::size_t>(chunk) * 4)) return false;
            left_ -= chunk;
            pos_ = 0;
            len_ = static_cast<int>(chunk);
        }
        w = getU32(buf_ + 4 * pos_++);
        return true;
    }

  private:
    static constexpr int kWords = 4096;
    int fd_;
    std::int64_t left_;
    int pos_ = 0;
    int len_ = 0;
    unsigned char buf_[4 * kWords];
};

class WordWriter {
  public:
    explicit WordWriter(int fd) : fd_(fd) {}
    void put(std::uint32_t w) {
        if (len_ == sizeof buf_) flush();
        putU32(buf_ + len_, w);
        len_ += 4;
    }
    void putInt(int v) { put(static_cast<std::uint32_t>(v)); }
    void putFloat(float v) { put(std::bit_cast<std::uint32_t>(v)); }
    /// Writes what is buffered; false once any write has failed.
    bool flush() {
        if (ok_ && len_ > 0) ok_ = writeAll(fd_, buf_, len_);
        len_ = 0;
        return ok_;
    }

  private:
    int fd_;
    bool ok_ = true;
    std::size_t len_ = 0;
    unsigned char buf_[16384];
};

/// The body of a file: 3·ne node numbers in 1..nn, then 3·nn finite floats. Each value
/// goes to `sink(k, word)` after it has been checked; false at the first bad or missing one.
template <typename Sink>
bool scanBody(int fd, std::int64_t ne, std::int64_t nn, Sink sink) {
    if (::lseek(fd, kHeaderBytes, SEEK_SET) != kHeaderBytes) return false;
    const std::int64_t ints = 3 * ne;
    const std::int64_t words = ints + 3 * nn;
    WordReader in(fd, words);
    for (std::int64_t k = 0; k < words; ++k) {
        std::uint32_t w;
        if (!in.next(w)) return false;
        if (k < ints) {
            const auto node = static_cast<std::int32_t>(w);
            if (node < 1 || node > nn) return false;
        } else if (!std::isfinite(std::bit_cast<float>(w))) {
            return false;
        }
        sink(k, w);
    }
    return true;
}

}  // namespace

FileOutcome readModelFile(const std::string& path, Model& m) {
    // Only a regular file is opened: opening a device may act on it, a named pipe may block.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return failure(FileStatus::CannotOpen, kCannotOpen);
    // O_NONBLOCK: should the name lead to a pipe by now, the open does not hang either.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return failure(FileStatus::CannotOpen, kCannotOpen);

    unsigned char header[kHeaderBytes];
    if (st.st_size < kHeaderBytes || !readFull(fd.get(), header, sizeof header))
        return failure(FileStatus::BadData, kBadData);
    const std::int32_t ne = static_cast<std::int32_t>(getU32(header));
    const std::int32_t nn = static_cast<std::int32_t>(getU32(header + 4));
    const float G = std::bit_cast<float>(getU32(header + 8));
    const float MS = std::bit_cast<float>(getU32(header + 12));
    const bool materialFinite = std::isfinite(G) && std::isfinite(MS);

    if (nn < 1) {
        // The counts read stay in the model, which remains without a project. A non-finite
        // G or MS is not kept: it would poison the next project built on this model.
        releaseModel(m);
        m.ne = ne;
        m.nn = nn;
        if (materialFinite) {
            m.G = G;
            m.MS = MS;
        }
        return failure(FileStatus::BadData, kBadData);
    }
    // 64-bit arithmetic: both counts are below 2^31, so the size cannot overflow.
    if (ne < 0 || !materialFinite ||
        st.st_size != kHeaderBytes + kElementBytes * ne + kNodeBytes * std::int64_t{nn})
        return failure(FileStatus::BadData, kBadData);

    // Check the whole body before any array exists; only then allocate and read again.
    if (!scanBody(fd.get(), ne, nn, [](std::int64_t, std::uint32_t) {}))
        return failure(FileStatus::BadData, kBadData);

    allocateModel(m, nn, ne);
    const std::int64_t ints = 3 * std::int64_t{ne};
    const bool same = scanBody(fd.get(), ne, nn, [&](std::int64_t k, std::uint32_t w) {
        if (k < ints) {
            m.noc[k / 3 + 1][k % 3 + 1] = static_cast<std::int32_t>(w);
            return;
        }
        k -= ints;
        const float v = std::bit_cast<float>(w);
        if (k < 2 * std::int64_t{nn})
            m.x[k / 2 + 1][k % 2 + 1] = v;
        else
            m.si[k - 2 * std::int64_t{nn} + 1] = v;
    });
    if (!same) {
        // The file changed between the two passes.
        releaseModel(m);
        return failure(FileStatus::BadData, kBadData);
    }
    m.G = G;
    m.MS = MS;
    m.nbw = 0;
    m.obliczono = 0;
    m.Pusty = 0;
    return {};
}

namespace {

// What the reader accepts back, apart from the node count: a save that would leave a file
// that cannot be opened again is refused instead of being reported as done.
bool writable(const Model& m) {
    if (!modelConsistent(m) || !std::isfinite(m.G) || !std::isfinite(m.MS)) return false;
    for (int i = 1; i <= m.nn; ++i)
        if (!std::isfinite(m.x[i][1]) || !std::isfinite(m.x[i][2]) || !std::isfinite(m.si[i]))
            return false;
    return true;
}

// Writes the model to an open descriptor.
bool writeBody(int fd, const Model& m) {
    WordWriter out(fd);
    out.putInt(m.ne);
    out.putInt(m.nn);
    out.putFloat(m.G);
    out.putFloat(m.MS);
    for (int e = 1; e <= m.ne; ++e)
        for (int j = 1; j <= 3; ++j)
            out.putInt(m.noc[e][j]);
    for (int i = 1; i <= m.nn; ++i) {
        out.putFloat(m.x[i][1]);
        out.putFloat(m.x[i][2]);
    }
    for (int i = 1; i <= m.nq; ++i)
        out.putFloat(m.si[i]);
    return out.flush();
}

}  // namespace

FileOutcome writeModelFile(const std::string& path, Model& m) {
    m.nq = m.nn;
    if (!writable(m) || !saveFileSafely(path, [&](int fd) { return writeBody(fd, m); }))
        return failure(FileStatus::CannotWrite, kCannotWrite);
    return {};
}
