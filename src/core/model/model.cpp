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
    m.ne = m.nq = m.nn = 0;
    m.Pusty = 0;
}
