#include "edit/selection.h"

#include <charconv>
#include <utility>
#include <vector>

namespace {

/// printf's "%<width>.<prec>f" without the locale: right-aligned in `width` characters.
std::string fixed(double v, int width, int prec) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, prec);
    std::string s(buf, r.ec == std::errc{} ? r.ptr : buf);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
    return s;
}

}  // namespace

int nodeUnderPointer(const Model& m, float wx, float wy, float dx, float dy) {
    int el = 0;
    if (m.nn <= 1 || m.Pusty != 0 || m.x.rows() < m.nn) return 0;
    for (int i = 1; i <= m.nn; ++i) {
        const float xi = m.x[i][1];
        const float yi = m.x[i][2];
        if (wx - dx <= xi && xi <= wx + dx && wy - dy <= yi && yi <= wy + dy) el = i;
    }
    return el;
}

std::string readOutText(const Model& m, float wx, float wy, int el, int p_napr, int p_rn) {
    std::string s = "x=" + fixed(wx, 5, 2) + ", y=" + fixed(wy, 5, 2);
    if (m.Pusty != 0 || el <= 0) return s;
    const bool stressShown =
        m.obliczono == 1 && p_napr != 0 && p_rn >= 1 && p_rn <= m.ww.cols() && el <= m.ww.rows();
    if (stressShown) {
        const float nap = m.ww[el][p_rn];
        if (nap > 999)
            s += ", n=" + fixed(nap, 6, 0);
        else if (nap > 9)
            s += ", n=" + fixed(nap, 3, 2);
        else
            s += ", n=" + fixed(nap, 1, 4);
        return s;
    }
    return s + ", w\xC4\x99z. " + std::to_string(el);
}

void clearSelection(Model& m) {
    m.s_grp.release();
    m.i_grp = 0;
    m.j_grupa = 0;
}

int selectNodesInRect(Model& m, float wx1, float wy1, float wx2, float wy2) {
    clearSelection(m);
    if (m.Pusty != 0 || m.nn <= 0 || m.x.rows() < m.nn) return 0;
    if (wy1 > wy2) std::swap(wy1, wy2);
    if (wx1 > wx2) std::swap(wx1, wx2);
    std::vector<int> inside;
    for (int i = 1; i <= m.nn; ++i) {
        const float xi = m.x[i][1];
        const float yi = m.x[i][2];
        if (wx1 <= xi && xi <= wx2 && wy1 <= yi && yi <= wy2) inside.push_back(i);
    }
    if (inside.empty()) return 0;
    m.s_grp.allocate(static_cast<long>(inside.size()));
    for (std::size_t k = 0; k < inside.size(); ++k)
        m.s_grp[static_cast<long>(k) + 1] = inside[k];
    m.i_grp = static_cast<int>(inside.size());
    m.j_grupa = 1;
    return m.i_grp;
}
