#include "edit/elements.h"

ElementCheck checkElementNodes(int nn, int w1, int w2, int w3, NodeTest test) {
    ElementCheck c;
    const bool wizard = test == NodeTest::Wizard;
    auto out = [nn](int w) { return w < 1 || w > nn; };
    if (out(w1) || w1 == w2 || (wizard && w1 == w3)) c.messages.emplace_back("Zły numer węzła 1");
    if (out(w2) || (wizard && w2 == w3)) c.messages.emplace_back("Zły numer węzła 2");
    if (out(w3)) c.messages.emplace_back("Zły numer węzła 3");
    c.accepted = c.messages.empty() && w1 != w3 && w2 != w3;
    return c;
}

EditOutcome appendElement(Model& m, int w1, int w2, int w3) {
    if (!checkElementNodes(m.nn, w1, w2, w3).accepted) return {EditStatus::Refused, ""};
    EditOutcome r = growModel(m, 0, 1);
    if (!r.ok()) return r;
    m.noc[m.ne][1] = w1;
    m.noc[m.ne][2] = w2;
    m.noc[m.ne][3] = w3;
    return r;
}

EditOutcome setElementNodes(Model& m, int k, int w1, int w2, int w3) {
    if (k < 1 || k > m.ne || m.noc.rows() < m.ne || !checkElementNodes(m.nn, w1, w2, w3).accepted)
        return {EditStatus::Refused, ""};
    m.noc[k][1] = w1;
    m.noc[k][2] = w2;
    m.noc[k][3] = w3;
    m.obliczono = 0;
    return {};
}

EditOutcome deleteElement(Model& m, int k) {
    if (k < 1 || k > m.ne) return {EditStatus::Refused, ""};
    std::vector<int> target(static_cast<std::size_t>(m.nn) + 1);
    for (int i = 1; i <= m.nn; ++i)
        target[i] = i;
    std::vector<unsigned char> drop(static_cast<std::size_t>(m.ne) + 1, 0);
    drop[k] = 1;
    return removeItems(m, target, drop);
}
