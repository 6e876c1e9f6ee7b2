#include "edit/nodes.h"

#include <cmath>
#include <vector>

namespace {

constexpr const char* kBeyondRange = "Współrzędna węzła poza zakresem liczb";
constexpr const char* kInUse = "Nie można usunąć węzła, który jest składnikiem elementu";

}  // namespace

bool fitsFloat(double v) {
    return std::isfinite(static_cast<float>(v));
}

EditOutcome appendNode(Model& m, double x, double y) {
    if (!fitsFloat(x) || !fitsFloat(y)) return {EditStatus::Refused, kBeyondRange};
    EditOutcome r = growModel(m, 1, 0);
    if (!r.ok()) return r;
    m.x[m.nn][1] = static_cast<float>(x);
    m.x[m.nn][2] = static_cast<float>(y);
    return r;
}

EditOutcome setNode(Model& m, int k, double x, double y) {
    if (k < 1 || k > m.nn || m.x.rows() < m.nn) return {EditStatus::Refused, ""};
    if (!fitsFloat(x) || !fitsFloat(y)) return {EditStatus::Refused, kBeyondRange};
    m.x[k][1] = static_cast<float>(x);
    m.x[k][2] = static_cast<float>(y);
    m.obliczono = 0;
    return {};
}

int elementUsingNode(const Model& m, int k) {
    for (int e = 1; e <= m.ne; ++e)
        if (m.noc[e][1] == k || m.noc[e][2] == k || m.noc[e][3] == k) return e;
    return 0;
}

EditOutcome checkNodeDeletion(const Model& m, int k) {
    if (!modelConsistent(m)) return {EditStatus::Refused, ""};
    if (elementUsingNode(m, k) != 0) return {EditStatus::InUse, kInUse};
    if (k < 1 || k > m.nn) return {EditStatus::Refused, ""};
    return {};
}

EditOutcome deleteNode(Model& m, int k) {
    if (EditOutcome r = checkNodeDeletion(m, k); !r.ok()) return r;
    std::vector<int> target(static_cast<std::size_t>(m.nn) + 1);
    for (int i = 1; i <= m.nn; ++i)
        target[i] = i;
    target[k] = 0;
    const std::vector<unsigned char> keep(static_cast<std::size_t>(m.ne) + 1, 0);
    return removeItems(m, target, keep);
}
