#include "model/safe_save.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <new>

#include "model/fd.h"

namespace {

/// Follows symbolic links to the name they finally lead to; empty on a loop or a link that
/// cannot be read.
std::string resolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return {};
        target.resize(static_cast<std::size_t>(n));
        if (target.front() != '/') {
            const auto slash = path.rfind('/');
            if (slash != std::string::npos) target.insert(0, path, 0, slash + 1);
        }
        path = std::move(target);
    }
    return {};
}

/// Files of /proc, /sys and their kin are kernel settings, not documents.
bool onKernelFileSystem(const std::string& path) {
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0) return true;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case PROC_SUPER_MAGIC:
        case SYSFS_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case BPF_FS_MAGIC:
        case EFIVARFS_MAGIC:
            return true;
        default:
            return false;
    }
}

/// Creates a hidden file beside `name` in `dir` under a name no file has; `created` gets it.
int createBeside(const std::string& dir, const std::string& name, const char* tag, mode_t mode,
                 std::string& created) {
    // Cut long names so that the new name stays within the file-name limit.
    std::string stem = dir;
    stem += "/.";
    stem += name.substr(0, 200);
    stem += tag;
    stem += std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = stem + "-" + std::to_string(attempt);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    created.clear();
    return -1;
}

void syncDirectory(const std::string& dir) {
    // Some file systems refuse to sync a directory; the rename has happened all the same.
    Fd fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) (void)::fsync(fd.get());
}

enum class Replaced { Done, Failed, NotSuitable };

/// Writes a new file beside the target and renames it over; NotSuitable when the new file
/// cannot be created or cannot take the old one's owner, group and mode.
Replaced replaceByRename(const std::string& dir, const std::string& name, const std::string& target,
                         const struct stat* old, const std::function<bool(int)>& write) {
    std::string temp;
    Fd fd(createBeside(dir, name, ".tmp", old ? 0600 : 0666, temp));
    if (!fd.valid()) return Replaced::NotSuitable;
    if (old) {
        struct stat now {};
        // The owner first: changing it clears the set-id bits of the mode.
        const bool kept = ::fstat(fd.get(), &now) == 0 &&
                          ((now.st_uid == old->st_uid && now.st_gid == old->st_gid) ||
                           ::fchown(fd.get(), old->st_uid, old->st_gid) == 0) &&
                          ::fchmod(fd.get(), old->st_mode & 07777) == 0;
        if (!kept) {
            fd.close();
            ::unlink(temp.c_str());
            return Replaced::NotSuitable;
        }
    }
    const bool written = write(fd.get()) && ::fsync(fd.get()) == 0;
    if (!fd.close() || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return Replaced::Failed;
    }
    syncDirectory(dir);
    return Replaced::Done;
}

bool readAllAt(int fd, unsigned char* buf, std::size_t n) {
    for (std::size_t done = 0; done < n;) {
        const ssize_t got = ::pread(fd, buf + done, n - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

/// Puts `n` bytes back as the whole content of the file open on `fd`.
bool restore(int fd, const unsigned char* data, std::size_t n) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, data, n) &&
           ::ftruncate(fd, static_cast<off_t>(n)) == 0 && ::fsync(fd) == 0;
}

bool rewriteInPlace(const std::string& dir, const std::string& name, const std::string& target,
                    const struct stat& old, const std::function<bool(int)>& write) {
    Fd fd(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_dev != old.st_dev || st.st_ino != old.st_ino)
        return false;

    const auto size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<unsigned char[]> backup(new (std::nothrow) unsigned char[size + 1]);
    if (!backup || !readAllAt(fd.get(), backup.get(), size)) return false;
    // A copy on disk survives a crash in the middle of the rewrite.
    std::string copy;
    Fd copyFd(createBeside(dir, name, ".kopia", 0600, copy));
    if (copyFd.valid() && !(writeAll(copyFd.get(), backup.get(), size) &&
                            ::fsync(copyFd.get()) == 0 && copyFd.close())) {
        copyFd.close();
        ::unlink(copy.c_str());
        copy.clear();
    }

    bool ok = ::lseek(fd.get(), 0, SEEK_SET) == 0 && write(fd.get());
    const off_t end = ok ? ::lseek(fd.get(), 0, SEEK_CUR) : -1;
    ok = ok && end >= 0 && ::ftruncate(fd.get(), end) == 0 && ::fsync(fd.get()) == 0;
    const bool intact = ok || restore(fd.get(), backup.get(), size);
    // The copy stays only when it is all that is left of the old content.
    if (intact && !copy.empty()) ::unlink(copy.c_str());
    return ok;
}

}  // namespace

bool writeAll(int fd, const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(fd, p, n);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

bool saveFileSafely(const std::string& path, const std::function<bool(int)>& write) {
    const std::string target = resolveLinks(path);
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "."
                            : slash == 0               ? "/"
                                                       : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) return false;

    struct stat old {};
    if (::lstat(target.c_str(), &old) != 0)
        return errno == ENOENT &&
               replaceByRename(dir, name, target, nullptr, write) == Replaced::Done;
    // A file that could not be opened for writing is not replaced through its directory.
    if (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 ||
        onKernelFileSystem(target))
        return false;
    if (old.st_nlink == 1) {
        const Replaced r = replaceByRename(dir, name, target, &old, write);
        if (r != Replaced::NotSuitable) return r == Replaced::Done;
    }
    return rewriteInPlace(dir, name, target, old, write);
}
