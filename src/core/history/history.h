#pragma once
// The undo history of a project: each step keeps only what its change touched.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "history/array_delta.h"
#include "history/model_state.h"

namespace history {

/// One change: its name and the difference between the state before and after it.
struct Step {
    std::string name;
    std::uint64_t id = 0;  ///< the state the change led to
    int nn[2]{}, ne[2]{};  ///< before, after
    float G[2]{}, MS[2]{};
    ArrayDelta<float> x, si;
    ArrayDelta<int> noc;
    /// Selection and description, kept whole and only when the change altered them.
    bool grupa = false;
    int j_grupa[2]{};
    std::vector<int> grupy[2];
    bool przekroj = false;
    SectionState opisy[2];
    /// Bytes the step keeps.
    std::size_t bytes() const;
};

/// The difference from `before` to `after`; nothing changed when its bytes are only its own.
Step makeStep(std::string name, const ModelState& before, const ModelState& after);
/// True when `s` changes nothing.
bool unchanged(const Step& s);

/// Undo and redo stacks bounded by a number of steps and by the bytes they keep. Every state
/// has its own number, so that a saved state can be recognised again after undo and redo.
class History {
  public:
    /// At most `maxSteps` steps, together at most `maxBytes` bytes.
    History(std::size_t maxSteps, std::size_t maxBytes)
        : maxSteps_(maxSteps), maxBytes_(maxBytes) {}

    /// Records the change from `before` to the state now in `m` with `s` under `name`; a change
    /// that altered nothing is not recorded. Empties the redo stack.
    void record(std::string name, const ModelState& before, const Model& m, const SectionState& s);
    /// Forgets every step; the state now gets a new number.
    void clear();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    /// Names of the step an undo or a redo would take back or do again.
    const std::string& undoName() const { return undo_.back().name; }
    const std::string& redoName() const { return redo_.back().name; }

    /// Takes the newest step back in `m` and `s`; false (and the history cleared) when `m` is
    /// not the state that step led to.
    bool undo(Model& m, SectionState& s);
    /// Does the step last taken back again.
    bool redo(Model& m, SectionState& s);

    /// Number of the state now.
    std::uint64_t state() const { return undo_.empty() ? base_ : undo_.back().id; }
    std::size_t steps() const { return undo_.size() + redo_.size(); }
    std::size_t bytes() const { return bytes_; }

  private:
    bool apply(const Step& st, bool back, Model& m, SectionState& s);
    void trim();

    std::size_t maxSteps_, maxBytes_;
    std::deque<Step> undo_, redo_;
    std::size_t bytes_ = 0;
    std::uint64_t next_ = 1;
    std::uint64_t base_ = 0;
};

/// Bytes of physical memory, 0 when the system does not say.
std::size_t physicalMemory();

/// The bound of the program's history: 50 steps within a quarter of physical memory.
History programHistory();

}  // namespace history
