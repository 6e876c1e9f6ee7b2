#include "detail_level.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

/// Elements sampled for the median; enough for a stable value, few enough for every paint.
constexpr int kSamples = 2048;
/// Fewer visible samples than this: the view shows a small part of the mesh, sampled again
/// at finer steps.
constexpr size_t kEnough = 256;

constexpr float kInfinite = std::numeric_limits<float>::infinity();

bool numbersFit(float spacing, LabelBox box) {
    return spacing >= static_cast<float>(box.height) &&
           spacing >= 0.5f * static_cast<float>(box.width);
}

/// Appends sqrt(2 * area) in pixels of the elements 1, 1 + stride, ... that reach into the
/// area, at most `cap` of them.
void sample(const Model& m, const ViewMapping& map, float w, float h, int stride, size_t cap,
            std::vector<float>& out) {
    for (long e = 1; e <= m.ne && out.size() < cap; e += stride) {
        float X[3], Y[3];
        for (int k = 0; k < 3; ++k) {
            const int n = m.noc[e][k + 1];
            X[k] = map.toWindowX(m.x[n][1]);
            Y[k] = map.toWindowY(m.x[n][2]);
        }
        if (std::max({X[0], X[1], X[2]}) < 0.0f || std::min({X[0], X[1], X[2]}) > w ||
            std::max({Y[0], Y[1], Y[2]}) < 0.0f || std::min({Y[0], Y[1], Y[2]}) > h)
            continue;
        const float cross = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
        const float s = std::sqrt(std::fabs(cross));
        if (std::isfinite(s)) out.push_back(s);
    }
}

}  // namespace

DetailLevel detailLevel(float spacing, LabelBox node, LabelBox element) {
    if (!(spacing >= 0.0f)) spacing = 0.0f;  // NaN: nothing legible can be promised
    DetailLevel d;
    d.edges = spacing >= kEdgeSpacing;
    d.marks = spacing >= kMarkSpacing;
    d.nodeNumbers = numbersFit(spacing, node);
    d.elementNumbers = numbersFit(spacing / std::numbers::sqrt2_v<float>, element);
    return d;
}

float meshSpacing(const Model& m, const ViewMapping& map, float w, float h) {
    if (m.ne <= 0) return kInfinite;
    const int stride = std::max(1, m.ne / kSamples);
    std::vector<float> sizes;
    sizes.reserve(4 * kSamples);
    sample(m, map, w, h, stride, 4 * kSamples, sizes);
    if (sizes.size() < kEnough && stride > 1) {
        // A part of the mesh fills the view: steps that would find about kSamples there.
        const int fine =
            std::max<int>(1, static_cast<int>(static_cast<long>(stride) *
                                              static_cast<long>(sizes.size()) / kSamples));
        sizes.clear();
        sample(m, map, w, h, fine, 4 * kSamples, sizes);
    }
    if (sizes.empty()) return kInfinite;
    const auto mid = sizes.begin() + static_cast<long>(sizes.size() / 2);
    std::nth_element(sizes.begin(), mid, sizes.end());
    return *mid;
}

LabelBox numberBox(int n, int digit, int height) {
    int digits = 1;
    for (int v = std::max(n, 0); v >= 10; v /= 10)
        ++digits;
    return {digits * digit + 2 * (digit / 2), height};
}
