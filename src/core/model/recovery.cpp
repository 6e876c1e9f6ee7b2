#include "model/recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "model/model_file.h"

namespace recovery {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "odzysk-";
constexpr const char* kCopyExt = ".WT";
constexpr const char* kLockExt = ".lock";

// Opens (creating) `path` and takes its lock without waiting; an invalid Fd when another
// process holds it or it cannot be had.
Fd lockFile(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) return Fd();
    int rc;
    do
        rc = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) return Fd();
    return fd;
}

}  // namespace

std::string directory(const char* xdg_state_home, const char* home) {
    if (xdg_state_home && xdg_state_home[0] == '/') return fs::path(xdg_state_home) / "wirtor";
    if (home && home[0] == '/') return fs::path(home) / ".local" / "state" / "wirtor";
    return {};
}

Copy::Copy(std::string dir) {
    if (dir.empty()) return;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) return;
    std::random_device seed;
    std::mt19937_64 rng((std::uint64_t(seed()) << 32) ^ seed() ^ std::uint64_t(::getpid()));
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string stem = (fs::path(dir) / (kPrefix + std::to_string(::getpid()) + "-" +
                                                   std::to_string(rng() % 1000000)))
                                     .string();
        // A name whose copy exists belongs to someone, running or not: never taken over.
        if (fs::exists(stem + kCopyExt, ec)) continue;
        Fd lock = lockFile(stem + kLockExt);
        if (!lock.valid()) continue;
        if (fs::exists(stem + kCopyExt, ec)) continue;
        path_ = stem + kCopyExt;
        lockPath_ = stem + kLockExt;
        lock_ = std::move(lock);
        return;
    }
}

Copy::~Copy() {
    if (!valid()) return;
    remove();
    ::unlink(lockPath_.c_str());
}

bool Copy::write(Model& m) {
    if (!valid()) return false;
    if (!writeModelFile(path_, m).ok()) return false;
    written_ = true;
    return true;
}

void Copy::remove() {
    if (!valid()) return;
    ::unlink(path_.c_str());
    written_ = false;
}

void Orphan::discard() {
    ::unlink(path.c_str());
    ::unlink(lockPath.c_str());
    lock.close();
}

std::vector<Orphan> orphans(const std::string& dir) {
    std::vector<Orphan> found;
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(dir, ec)) return found;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (!name.starts_with(kPrefix) || e.path().extension() != kCopyExt) continue;
        if (!e.is_regular_file(ec)) continue;
        Orphan o;
        o.path = e.path().string();
        o.lockPath = (e.path().parent_path() / e.path().stem()).string() + kLockExt;
        o.lock = lockFile(o.lockPath);
        if (!o.lock.valid()) continue;  // its program runs
        struct stat st {};
        if (::stat(o.path.c_str(), &st) != 0) continue;
        o.mtime = st.st_mtime;
        found.push_back(std::move(o));
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.mtime > b.mtime; });
    return found;
}

void Schedule::observe(std::uint64_t state, bool unsaved, Clock::time_point now) {
    if (state_ != state) changed_ = now;
    state_ = state;
    unsaved_ = unsaved;
    if (!unsaved) copied_.reset();
}

bool Schedule::due(bool busy, Clock::time_point now) const {
    if (busy || !unsaved_ || !state_ || copied_ == state_) return false;
    if (now - changed_ < quiet) return false;
    return !lastWrite_ || now - *lastWrite_ >= interval;
}

void Schedule::written(Clock::time_point now) {
    copied_ = state_;
    lastWrite_ = now;
}

}  // namespace recovery
