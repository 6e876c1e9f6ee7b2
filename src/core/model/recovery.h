#pragma once
// Recovery copies: while a model has unsaved changes, each running program keeps a copy of it
// in the user's state directory under a name of its own, held by a lock on a file beside it;
// the kernel drops the lock when the program ends however it ends. A copy whose lock is free
// was left by a program that did not end normally.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/fd.h"
#include "model/model.h"

namespace recovery {

/// $XDG_STATE_HOME/wirtor when that is an absolute path, else $HOME/.local/state/wirtor;
/// empty when neither is known. Either argument may be null.
std::string directory(const char* xdg_state_home, const char* home);

/// The copy of this program: a name no other running program holds.
class Copy {
  public:
    /// Takes a free name in `dir` (made when missing); valid() is false when none could be had.
    explicit Copy(std::string dir);
    /// A normal end: the copy and its lock go.
    ~Copy();
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    bool valid() const { return lock_.valid(); }
    /// Writes the model over the copy with the safe save: a failed write leaves the last copy.
    bool write(Model& m);
    /// Removes the copy (the model is saved or gone); the name stays held.
    void remove();
    /// True while a copy is on disk.
    bool written() const { return written_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_, lockPath_;
    Fd lock_;
    bool written_ = false;
};

/// A copy left behind, held (locked) by this program until it goes out of scope or is
/// discarded, so that no other program starting now offers it too.
struct Orphan {
    std::string path;
    std::string lockPath;
    std::int64_t mtime = 0;  ///< seconds since the epoch of its last write
    Fd lock;
    /// Removes the copy and its lock file.
    void discard();
};

/// Copies in `dir` whose programs no longer run, newest first.
std::vector<Orphan> orphans(const std::string& dir);

/// When the next copy is due: the model has unsaved changes not yet copied, nothing waits on
/// the program, the last change is `quiet` old, and the last copy is `interval` old.
struct Schedule {
    using Clock = std::chrono::steady_clock;
    std::chrono::seconds interval{120};
    std::chrono::seconds quiet{2};

    /// Tells the schedule the model's state (its history state) at time `now`.
    void observe(std::uint64_t state, bool unsaved, Clock::time_point now);
    /// True when a copy should be written now; `busy` while the user waits on something.
    bool due(bool busy, Clock::time_point now) const;
    /// A copy of the observed state has been written at `now`.
    void written(Clock::time_point now);
    /// True while a copy on disk is needed no more (the model is saved or gone).
    bool stale() const { return !unsaved_; }

  private:
    std::optional<std::uint64_t> state_;
    std::optional<std::uint64_t> copied_;
    bool unsaved_ = false;
    Clock::time_point changed_{};
    std::optional<Clock::time_point> lastWrite_;
};

}  // namespace recovery
