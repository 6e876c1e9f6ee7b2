#pragma once
// Saving a file so that a failed save never destroys what was there.

#include <cstddef>
#include <functional>
#include <string>

/// Writes `n` bytes to `fd`, resuming after interruptions; false on any error.
bool writeAll(int fd, const void* data, std::size_t n);

/// Saves the file at `path`: `write` puts the whole content into the descriptor it is given,
/// from its start, and returns false on an error.
///
/// A symbolic link is written through to its target; a dangling one creates the target. An
/// existing target must be a regular file the process may write, outside the kernel's
/// interface file systems; anything else is refused untouched. The content goes into a new
/// file beside the target, given the old owner, group and mode, synced, renamed over the
/// target, and the directory synced. Where that would lose the owner or a hard link, or the
/// directory is not writable, the file is rewritten in place after a backup copy (in memory,
/// and beside the file where the directory allows), which restores it if the write fails.
/// False on failure, with the old file as it was and no temporary file left behind.
bool saveFileSafely(const std::string& path, const std::function<bool(int fd)>& write);
