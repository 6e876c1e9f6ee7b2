#include "edit/group.h"

#include <algorithm>
#include <vector>

#include "edit/nodes.h"

namespace {

constexpr const char* kBeyondRange = "Współrzędna węzła poza zakresem liczb";

/// True when a group is selected and every member names a node of the model.
bool hasGroup(const Model& m) {
    if (m.j_grupa != 1 || m.i_grp < 1 || m.s_grp.size() < m.i_grp || !modelConsistent(m))
        return false;
    for (int k = 1; k <= m.i_grp; ++k)
        if (m.s_grp[k] < 1 || m.s_grp[k] > m.nn) return false;
    return true;
}

bool displacedFits(const Model& m, double dx, double dy) {
    for (int k = 1; k <= m.i_grp; ++k) {
        const int n = m.s_grp[k];
        if (!fitsFloat(m.x[n][1] + dx) || !fitsFloat(m.x[n][2] + dy)) return false;
    }
    return true;
}

/// Position of each node in the group (1..i_grp), 0 outside it.
std::vector<int> groupPositions(const Model& m) {
    std::vector<int> pos(static_cast<std::size_t>(m.nn) + 1, 0);
    for (int k = 1; k <= m.i_grp; ++k)
        pos[m.s_grp[k]] = k;
    return pos;
}

}  // namespace

EditOutcome moveGroup(Model& m, double dx, double dy) {
    if (!hasGroup(m)) return {EditStatus::Refused, ""};
    if (!displacedFits(m, dx, dy)) return {EditStatus::Refused, kBeyondRange};
    for (int k = 1; k <= m.i_grp; ++k) {
        const int n = m.s_grp[k];
        m.x[n][1] = static_cast<float>(m.x[n][1] + dx);
        m.x[n][2] = static_cast<float>(m.x[n][2] + dy);
    }
    m.obliczono = 0;
    return {};
}

EditOutcome copyGroup(Model& m, double dx, double dy, bool elements) {
    if (!hasGroup(m)) return {EditStatus::Refused, ""};
    if (!displacedFits(m, dx, dy)) return {EditStatus::Refused, kBeyondRange};
    const int n0 = m.nn;
    const int e0 = m.ne;
    const std::vector<int> pos = groupPositions(m);
    // Copied elements: the group positions of their corners, in increasing order.
    std::vector<int> copies;
    if (elements)
        for (int e = 1; e <= e0; ++e) {
            int k[3] = {pos[m.noc[e][1]], pos[m.noc[e][2]], pos[m.noc[e][3]]};
            if (k[0] == 0 || k[1] == 0 || k[2] == 0) continue;
            std::sort(k, k + 3);
            copies.insert(copies.end(), k, k + 3);
        }
    const long added = static_cast<long>(copies.size() / 3);
    if (EditOutcome r = growModel(m, m.i_grp, added); !r.ok()) return r;
    for (int k = 1; k <= m.i_grp; ++k) {
        const int n = m.s_grp[k];
        m.x[n0 + k][1] = static_cast<float>(m.x[n][1] + dx);
        m.x[n0 + k][2] = static_cast<float>(m.x[n][2] + dy);
    }
    for (long c = 0; c < added; ++c)
        for (int l = 1; l <= 3; ++l)
            m.noc[e0 + 1 + c][l] = n0 + copies[static_cast<std::size_t>(3 * c + l - 1)];
    return {};
}

GroupCounts countGroupDeletion(const Model& m) {
    GroupCounts c;
    if (!hasGroup(m)) return c;
    const std::vector<int> pos = groupPositions(m);
    c.nodes = m.i_grp;
    for (int e = 1; e <= m.ne; ++e)
        if (pos[m.noc[e][1]] || pos[m.noc[e][2]] || pos[m.noc[e][3]]) ++c.elements;
    return c;
}

EditOutcome deleteGroup(Model& m) {
    if (!hasGroup(m)) return {EditStatus::Refused, ""};
    const std::vector<int> pos = groupPositions(m);
    std::vector<int> target(static_cast<std::size_t>(m.nn) + 1);
    for (int i = 1; i <= m.nn; ++i)
        target[i] = pos[i] ? 0 : i;
    std::vector<unsigned char> drop(static_cast<std::size_t>(m.ne) + 1, 0);
    for (int e = 1; e <= m.ne; ++e)
        drop[e] = pos[m.noc[e][1]] || pos[m.noc[e][2]] || pos[m.noc[e][3]];
    return removeItems(m, target, drop);
}
