#include "mesh/boundary.h"

#include <algorithm>
#include <cmath>

namespace mesh {

Extent extentOf(const Boundary& b) {
    if (b.points.empty()) return {};
    Extent e{b.points[0].x, b.points[0].y, b.points[0].x, b.points[0].y};
    for (const geometry::Point& p : b.points) {
        e.x0 = std::min(e.x0, p.x), e.x1 = std::max(e.x1, p.x);
        e.y0 = std::min(e.y0, p.y), e.y1 = std::max(e.y1, p.y);
    }
    return e;
}

RowCrossings::RowCrossings(const Boundary& b, int bands) : b_(b) {
    const Extent e = extentOf(b);
    bands_ = std::max(1, bands);
    y0_ = e.y0;
    dy_ = (e.y1 - e.y0) / bands_;
    if (!(dy_ > 0)) dy_ = 1;
    auto band = [&](double y) {
        const double k = std::floor((y - y0_) / dy_);
        return static_cast<int>(std::clamp(k, 0.0, static_cast<double>(bands_ - 1)));
    };
    // Counting pass, then the edges of each band in one array.
    start_.assign(static_cast<std::size_t>(bands_) + 1, 0);
    for (const auto& ed : b.edges) {
        const double ya = b.points[ed[0]].y, yb = b.points[ed[1]].y;
        for (int k = band(std::min(ya, yb)), k1 = band(std::max(ya, yb)); k <= k1; ++k)
            ++start_[k + 1];
    }
    for (int k = 0; k < bands_; ++k)
        start_[k + 1] += start_[k];
    edges_.resize(start_[bands_]);
    std::vector<int> fill(start_.begin(), start_.end() - 1);
    for (std::size_t i = 0; i < b.edges.size(); ++i) {
        const double ya = b.points[b.edges[i][0]].y, yb = b.points[b.edges[i][1]].y;
        for (int k = band(std::min(ya, yb)), k1 = band(std::max(ya, yb)); k <= k1; ++k)
            edges_[fill[k]++] = static_cast<int>(i);
    }
}

void RowCrossings::at(double y, std::vector<double>& xs) const {
    xs.clear();
    const double k = std::floor((y - y0_) / dy_);
    if (!(k >= 0 && k < bands_)) return;
    const int band = static_cast<int>(k);
    for (int i = start_[band]; i < start_[band + 1]; ++i) {
        const auto& ed = b_.edges[edges_[i]];
        const geometry::Point& a = b_.points[ed[0]];
        const geometry::Point& c = b_.points[ed[1]];
        if ((a.y > y) == (c.y > y)) continue;
        xs.push_back(a.x + (y - a.y) / (c.y - a.y) * (c.x - a.x));
    }
    std::sort(xs.begin(), xs.end());
}

}  // namespace mesh
