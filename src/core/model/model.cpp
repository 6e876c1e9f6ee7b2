#include "model/model.h"

void releaseModel(Model& m) {
    m.id = m.iw = 0;
    m.obliczono = 0;
    m.Pusty = 1;
    if (m.j_grupa == 1) {
        m.s_grp.release();
        m.i_grp = 0;
        m.j_grupa = 0;
    }
    m.x.release();
    m.f.release();
    m.si.release();
    m.ww.release();
    m.nn = m.nq = 0;
    m.noc.release();
    m.napr.release();
    m.ne = 0;
}

void allocateModel(Model& m, int nn, int ne) {
    releaseModel(m);
    m.nn = m.nq = nn;
    m.ne = ne;
    if (nn > 0) {
        m.x.allocate(nn, 2);
        m.si.allocate(nn);
        m.f.allocate(nn);
        m.ww.allocate(nn, 3);
    }
    if (ne > 0) {
        m.noc.allocate(ne, 3);
        m.napr.allocate(ne, 3);
    }
}

void newProject(Model& m) {
    releaseModel(m);
    m.Pusty = 0;
}

bool modelConsistent(const Model& m) {
    if (m.nn < 0 || m.ne < 0 || m.nq != m.nn) return false;
    if (m.nn > 0 && (m.x.rows() < m.nn || m.x.cols() < 2 || m.si.size() < m.nn ||
                     m.f.size() < m.nn || m.ww.rows() < m.nn || m.ww.cols() < 3))
        return false;
    if (m.ne > 0 &&
        (m.noc.rows() < m.ne || m.noc.cols() < 3 || m.napr.rows() < m.ne || m.napr.cols() < 3))
        return false;
    for (int e = 1; e <= m.ne; ++e)
        for (int l = 1; l <= 3; ++l)
            if (m.noc[e][l] < 1 || m.noc[e][l] > m.nn) return false;
    return true;
}
