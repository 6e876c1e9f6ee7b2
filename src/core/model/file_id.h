#pragma once
// Which file a path leads to, by device and inode: the same whatever the path's spelling,
// the links on the way or the hard link used.

#include <sys/types.h>

#include <string>

struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool known = false;  ///< false: no file was there
};

/// The file `path` leads to (links followed); unknown when there is none.
FileId fileIdOf(const std::string& path);

/// The file open on descriptor `fd`; unknown when the descriptor is not open.
FileId fileIdOfDescriptor(int fd);

/// True when both are known and name the same file.
bool sameFile(const FileId& a, const FileId& b);
