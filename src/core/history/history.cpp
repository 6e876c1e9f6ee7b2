#include "history/history.h"

#include <unistd.h>

#include <cstring>

namespace history {

namespace {

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameSections(const SectionState& a, const SectionState& b) {
    // Descriptions are compared by their presence and size only: an edit either keeps the
    // description object untouched or replaces it.
    if (a.siatkaZOpisu != b.siatkaZOpisu || a.opis.has_value() != b.opis.has_value()) return false;
    if (!a.opis) return true;
    return a.opis->shapes.size() == b.opis->shapes.size() && a.opis->siatka == b.opis->siatka &&
           a.opis->G == b.opis->G && a.opis->MS == b.opis->MS;
}

}  // namespace

std::size_t Step::bytes() const {
    std::size_t n = sizeof(Step) + name.size() + x.bytes() + si.bytes() + noc.bytes();
    n += (grupy[0].size() + grupy[1].size()) * sizeof(int);
    for (const SectionState& s : opisy)
        if (s.opis) n += sizeof(geometry::Section) + s.opis->shapes.size() * 256;
    return n;
}

Step makeStep(std::string name, const ModelState& b, const ModelState& a) {
    Step s;
    s.name = std::move(name);
    s.nn[0] = b.nn, s.nn[1] = a.nn;
    s.ne[0] = b.ne, s.ne[1] = a.ne;
    s.G[0] = b.G, s.G[1] = a.G;
    s.MS[0] = b.MS, s.MS[1] = a.MS;
    s.x = ArrayDelta<float>::make(b.x, a.x);
    s.si = ArrayDelta<float>::make(b.si, a.si);
    s.noc = ArrayDelta<int>::make(b.noc, a.noc);
    s.grupa = b.j_grupa != a.j_grupa || b.grupa != a.grupa;
    if (s.grupa) {
        s.j_grupa[0] = b.j_grupa, s.j_grupa[1] = a.j_grupa;
        s.grupy[0] = b.grupa, s.grupy[1] = a.grupa;
    }
    s.przekroj = !sameSections(b.przekroj, a.przekroj);
    // Kept whole either way: the app replaces the description object on every change of it.
    s.opisy[0] = b.przekroj, s.opisy[1] = a.przekroj;
    return s;
}

bool unchanged(const Step& s) {
    return s.nn[0] == s.nn[1] && s.ne[0] == s.ne[1] && sameBits(s.G[0], s.G[1]) &&
           sameBits(s.MS[0], s.MS[1]) && s.x.empty() && s.si.empty() && s.noc.empty() && !s.grupa &&
           !s.przekroj;
}

void History::record(std::string name, const ModelState& before, const Model& m,
                     const SectionState& s) {
    Step st = makeStep(std::move(name), before, capture(m, s));
    if (unchanged(st)) return;
    for (const Step& r : redo_)
        bytes_ -= r.bytes();
    redo_.clear();
    st.id = next_++;
    bytes_ += st.bytes();
    undo_.push_back(std::move(st));
    trim();
}

void History::trim() {
    while (!undo_.empty() && (undo_.size() > maxSteps_ || bytes_ > maxBytes_)) {
        // The oldest state left is the one the dropped step led to.
        base_ = undo_.front().id;
        bytes_ -= undo_.front().bytes();
        undo_.pop_front();
    }
}

void History::clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    base_ = next_++;
}

bool History::apply(const Step& st, bool back, Model& m, SectionState& s) {
    const int from = back ? 1 : 0, to = back ? 0 : 1;
    if (m.nn != st.nn[from] || m.ne != st.ne[from]) {
        clear();
        return false;
    }
    ModelState now = capture(m, s);
    now.nn = st.nn[to];
    now.ne = st.ne[to];
    now.G = st.G[to];
    now.MS = st.MS[to];
    st.x.apply(now.x, back);
    st.si.apply(now.si, back);
    st.noc.apply(now.noc, back);
    if (st.grupa) {
        now.j_grupa = st.j_grupa[to];
        now.grupa = st.grupy[to];
    }
    restore(m, now);
    // The description belongs to the state: always the one the step recorded for it.
    s = st.opisy[to];
    return true;
}

bool History::undo(Model& m, SectionState& s) {
    if (undo_.empty()) return false;
    Step st = std::move(undo_.back());
    undo_.pop_back();
    if (!apply(st, true, m, s)) return false;
    redo_.push_back(std::move(st));
    return true;
}

bool History::redo(Model& m, SectionState& s) {
    if (redo_.empty()) return false;
    Step st = std::move(redo_.back());
    redo_.pop_back();
    if (!apply(st, false, m, s)) return false;
    undo_.push_back(std::move(st));
    return true;
}

std::size_t physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long size = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 0;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(size);
}

History programHistory() {
    const std::size_t mem = physicalMemory();
    return History(50, mem > 0 ? mem / 4 : std::size_t{1} << 30);
}

}  // namespace history
