#include "model/file_id.h"

#include <sys/stat.h>

namespace {

FileId idOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, true};
}

}  // namespace

FileId fileIdOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? idOf(st) : FileId{};
}

FileId fileIdOfDescriptor(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? idOf(st) : FileId{};
}

bool sameFile(const FileId& a, const FileId& b) {
    return a.known && b.known && a.dev == b.dev && a.ino == b.ino;
}
