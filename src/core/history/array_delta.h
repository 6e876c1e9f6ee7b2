#pragma once
// The difference between two versions of a flat array, kept as the changed stretches only.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace history {

/// What changed in one array: stretches that differ, each with its old and new values. With
/// equal sizes every stretch has one length in both versions; with a new size there is one
/// stretch between the common beginning and the common end.
template <typename T>
class ArrayDelta {
  public:
    /// The difference from `before` to `after`, compared bit for bit; stretches closer than
    /// `gap` values are joined.
    static ArrayDelta make(const std::vector<T>& before, const std::vector<T>& after,
                           std::size_t gap = 8) {
        ArrayDelta d;
        const std::size_t nb = before.size(), na = after.size();
        if (nb == na) {
            std::size_t i = 0;
            while (i < nb) {
                if (same(before[i], after[i])) {
                    ++i;
                    continue;
                }
                std::size_t end = i + 1, last = i + 1;
                while (end < nb && end - last < gap) {
                    if (!same(before[end], after[end])) last = end + 1;
                    ++end;
                }
                d.push(i, before, last - i, after, last - i);
                i = last;
            }
            return d;
        }
        const std::size_t shorter = std::min(nb, na);
        std::size_t head = 0;
        while (head < shorter && same(before[head], after[head]))
            ++head;
        std::size_t tail = 0;
        while (tail < shorter - head && same(before[nb - 1 - tail], after[na - 1 - tail]))
            ++tail;
        d.push(head, before, nb - head - tail, after, na - head - tail);
        return d;
    }

    /// Turns the version on one side into the other: the old one when `back`.
    void apply(std::vector<T>& v, bool back) const {
        bool sameSize = true;
        for (const Stretch& s : stretches_)
            sameSize = sameSize && s.before.size() == s.after.size();
        if (sameSize) {
            for (const Stretch& s : stretches_) {
                const std::vector<T>& to = back ? s.before : s.after;
                std::copy(to.begin(), to.end(), v.begin() + static_cast<long>(s.at));
            }
            return;
        }
        std::vector<T> out;
        std::size_t from = 0;
        for (const Stretch& s : stretches_) {
            const std::vector<T>& to = back ? s.before : s.after;
            const std::vector<T>& now = back ? s.after : s.before;
            out.insert(out.end(), v.begin() + static_cast<long>(from),
                       v.begin() + static_cast<long>(s.at));
            out.insert(out.end(), to.begin(), to.end());
            from = s.at + now.size();
        }
        out.insert(out.end(), v.begin() + static_cast<long>(from), v.end());
        v.swap(out);
    }

    /// True when both versions are the same.
    bool empty() const { return stretches_.empty(); }
    /// Bytes the kept values take.
    std::size_t bytes() const {
        std::size_t n = 0;
        for (const Stretch& s : stretches_)
            n += (s.before.size() + s.after.size()) * sizeof(T) + sizeof(Stretch);
        return n;
    }

  private:
    struct Stretch {
        std::size_t at;
        std::vector<T> before, after;
    };
    std::vector<Stretch> stretches_;

    static bool same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }
    void push(std::size_t at, const std::vector<T>& b, std::size_t nb, const std::vector<T>& a,
              std::size_t na) {
        const auto first = static_cast<long>(at);
        stretches_.push_back(
            {at, std::vector<T>(b.begin() + first, b.begin() + first + static_cast<long>(nb)),
             std::vector<T>(a.begin() + first, a.begin() + first + static_cast<long>(na))});
    }
};

}  // namespace history
