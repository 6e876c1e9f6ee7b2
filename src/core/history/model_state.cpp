#include "history/model_state.h"

namespace history {

ModelState capture(const Model& m, const SectionState& s) {
    ModelState st;
    st.nn = m.nn;
    st.ne = m.ne;
    st.G = m.G;
    st.MS = m.MS;
    st.x.reserve(2 * static_cast<std::size_t>(m.nn));
    st.si.reserve(static_cast<std::size_t>(m.nn));
    for (int i = 1; i <= m.nn; ++i) {
        st.x.push_back(m.x[i][1]);
        st.x.push_back(m.x[i][2]);
        st.si.push_back(m.si[i]);
    }
    st.noc.reserve(3 * static_cast<std::size_t>(m.ne));
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 3; ++k)
            st.noc.push_back(m.noc[e][k]);
    st.j_grupa = m.j_grupa;
    if (m.j_grupa == 1)
        for (int i = 1; i <= m.i_grp; ++i)
            st.grupa.push_back(m.s_grp[i]);
    st.przekroj = s;
    return st;
}

void restore(Model& m, const ModelState& st) {
    if (m.x.rows() != st.nn || m.si.size() != st.nn || m.f.size() != st.nn ||
        m.ww.rows() != st.nn) {
        m.x.release();
        m.si.release();
        m.f.release();
        m.ww.release();
        if (st.nn > 0) {
            m.x.allocate(st.nn, 2);
            m.si.allocate(st.nn);
            m.f.allocate(st.nn);
            m.ww.allocate(st.nn, 3);
        }
    }
    if (m.noc.rows() != st.ne || m.napr.rows() != st.ne) {
        m.noc.release();
        m.napr.release();
        if (st.ne > 0) {
            m.noc.allocate(st.ne, 3);
            m.napr.allocate(st.ne, 3);
        }
    }
    m.nn = m.nq = st.nn;
    m.ne = st.ne;
    m.G = st.G;
    m.MS = st.MS;
    for (int i = 1; i <= m.nn; ++i) {
        const std::size_t r = static_cast<std::size_t>(i - 1);
        m.x[i][1] = st.x[2 * r];
        m.x[i][2] = st.x[2 * r + 1];
        m.si[i] = st.si[r];
    }
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 3; ++k)
            m.noc[e][k] =
                st.noc[3 * static_cast<std::size_t>(e - 1) + static_cast<std::size_t>(k - 1)];

    bool zostaje = st.j_grupa == 1 && !st.grupa.empty();
    for (int n : st.grupa)
        zostaje = zostaje && n >= 1 && n <= m.nn;
    m.s_grp.release();
    m.i_grp = 0;
    m.j_grupa = 0;
    if (zostaje) {
        m.i_grp = static_cast<int>(st.grupa.size());
        m.s_grp.allocate(m.i_grp);
        for (int i = 1; i <= m.i_grp; ++i)
            m.s_grp[i] = st.grupa[static_cast<std::size_t>(i - 1)];
        m.j_grupa = 1;
    }
}

}  // namespace history
