#include "test_models.h"

void makeModel(Model& m, int nn, int ne) {
    allocateModel(m, nn, ne);
    for (int i = 1; i <= nn; ++i) {
        m.x[i][1] = static_cast<float>(i);
        m.x[i][2] = static_cast<float>(i % 2);
        m.si[i] = 0.0f;
        m.f[i] = 0.0f;
        for (int k = 1; k <= 3; ++k)
            m.ww[i][k] = 0.0f;
    }
    for (int e = 1; e <= ne; ++e)
        for (int k = 1; k <= 3; ++k) {
            m.noc[e][k] = k;
            m.napr[e][k] = 0.0f;
        }
    m.Pusty = 0;
}

void makeSquare(Model& m) {
    makeModel(m, 9, 8);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const int n = 1 + i + 3 * j;
            m.x[n][1] = static_cast<float>(i);
            m.x[n][2] = static_cast<float>(j);
        }
    int e = 1;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            const int a = 1 + i + 3 * j, b = a + 1, c = a + 4, d = a + 3;
            m.noc[e][1] = a, m.noc[e][2] = b, m.noc[e][3] = c, ++e;
            m.noc[e][1] = a, m.noc[e][2] = c, m.noc[e][3] = d, ++e;
        }
}
