#include "edit/resize.h"

#include <climits>
#include <vector>

#include <unistd.h>

#include "edit/selection.h"

namespace {

constexpr const char* kTooLarge = "Brak pamięci na model o takiej liczbie węzłów i elementów";

// Arrays of the rebuilt model; moved into it only once every one is allocated.
struct NodeArrays {
    Macierz<float> x, ww;
    Wektor<float> si, f;
    bool allocate(long n) {
        return n == 0 || (x.try_allocate(n, 2) && ww.try_allocate(n, 3) && si.try_allocate(n) &&
                          f.try_allocate(n));
    }
    void commit(Model& m, long n) {
        m.x = std::move(x);
        m.ww = std::move(ww);
        m.si = std::move(si);
        m.f = std::move(f);
        m.nn = m.nq = static_cast<int>(n);
    }
};

struct ElementArrays {
    Macierz<int> noc;
    Macierz<float> napr;
    bool allocate(long n) { return n == 0 || (noc.try_allocate(n, 3) && napr.try_allocate(n, 3)); }
    void commit(Model& m, long n) {
        m.noc = std::move(noc);
        m.napr = std::move(napr);
        m.ne = static_cast<int>(n);
    }
};

double physicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 1e18;
    return static_cast<double>(pages) * static_cast<double>(size);
}

}  // namespace

EditOutcome growModel(Model& m, long nodes, long elements) {
    if (nodes < 0 || elements < 0 || !modelConsistent(m)) return {EditStatus::Refused, ""};
    if (nodes > INT_MAX - m.nn || elements > INT_MAX - m.ne)
        return {EditStatus::TooLarge, kTooLarge};
    const long nn = m.nn + nodes;
    const long ne = m.ne + elements;
    // Memory is overcommitted on Linux, so a failed allocation is not a reliable limit:
    // refuse a model whose arrays alone would take more than half of the physical memory.
    const double bytes = 4.0 * (7.0 * static_cast<double>(nn) + 6.0 * static_cast<double>(ne));
    if (bytes > 0.5 * physicalMemory()) return {EditStatus::TooLarge, kTooLarge};

    NodeArrays na;
    ElementArrays ea;
    if ((nodes > 0 && !na.allocate(nn)) || (elements > 0 && !ea.allocate(ne)))
        return {EditStatus::TooLarge, kTooLarge};
    if (nodes > 0) {
        for (int i = 1; i <= m.nn; ++i) {
            na.x[i][1] = m.x[i][1];
            na.x[i][2] = m.x[i][2];
            na.si[i] = m.si[i];
        }
        for (long i = m.nn + 1; i <= nn; ++i)
            na.si[i] = 0.0f;
        na.commit(m, nn);
    }
    if (elements > 0) {
        for (int e = 1; e <= m.ne; ++e)
            for (int k = 1; k <= 3; ++k)
                ea.noc[e][k] = m.noc[e][k];
        ea.commit(m, ne);
    }
    m.obliczono = 0;
    return {};
}

EditOutcome removeItems(Model& m, std::span<const int> nodeTarget,
                        std::span<const unsigned char> dropElement) {
    if (!modelConsistent(m) || nodeTarget.size() != static_cast<std::size_t>(m.nn) + 1 ||
        dropElement.size() != static_cast<std::size_t>(m.ne) + 1)
        return {EditStatus::Refused, ""};
    // New number of every old node: its own when it stays, its target's when it moves there,
    // 0 when it goes without a target.
    std::vector<int> number(static_cast<std::size_t>(m.nn) + 1, 0);
    int nn = 0;
    for (int i = 1; i <= m.nn; ++i)
        if (nodeTarget[i] == i) number[i] = ++nn;
    for (int i = 1; i <= m.nn; ++i) {
        const int t = nodeTarget[i];
        if (t == i) continue;
        if (t < 0 || t > m.nn || (t != 0 && nodeTarget[t] != t)) return {EditStatus::Refused, ""};
        number[i] = t == 0 ? 0 : number[t];
    }
    int ne = 0;
    for (int e = 1; e <= m.ne; ++e) {
        if (dropElement[e]) continue;
        ++ne;
        for (int k = 1; k <= 3; ++k)
            if (number[m.noc[e][k]] == 0) return {EditStatus::Refused, ""};
    }

    NodeArrays na;
    ElementArrays ea;
    if (!na.allocate(nn) || !ea.allocate(ne)) return {EditStatus::TooLarge, kTooLarge};
    for (int i = 1; i <= m.nn; ++i) {
        if (nodeTarget[i] != i) continue;
        const int n = number[i];
        na.x[n][1] = m.x[i][1];
        na.x[n][2] = m.x[i][2];
        na.si[n] = m.si[i];
    }
    for (int e = 1, n = 0; e <= m.ne; ++e) {
        if (dropElement[e]) continue;
        ++n;
        for (int k = 1; k <= 3; ++k)
            ea.noc[n][k] = number[m.noc[e][k]];
    }
    na.commit(m, nn);
    ea.commit(m, ne);
    clearSelection(m);
    m.obliczono = 0;
    return {};
}
