#include "mesh/sizing.h"

#include <limits>
#include <numbers>

namespace mesh {

namespace {

constexpr double kTarget = 20000;  // elements of a compact section
constexpr double kAcross = 4;      // elements across the thinnest part
constexpr double kGrowth = 0.25;   // increase of h per unit distance
constexpr double kFloor = 1.0 / 256;

// A uniform grid of edge indices over the boundary's box, for casting rays.
class EdgeGrid {
  public:
    explicit EdgeGrid(const Boundary& b) : b_(b) {
        const Extent e = extentOf(b);
        const double w = e.x1 - e.x0, h = e.y1 - e.y0;
        const double n = std::max<double>(1, static_cast<double>(b.edges.size()));
        cell_ = std::sqrt(std::max(w * h, 1e-300) / n);
        cell_ = std::max({cell_, w / 4096, h / 4096, 1e-300});
        x0_ = e.x0 - cell_, y0_ = e.y0 - cell_;
        nx_ = static_cast<int>(w / cell_) + 3;
        ny_ = static_cast<int>(h / cell_) + 3;
        std::vector<std::pair<int, int>> pairs;  // cell, edge
        for (std::size_t i = 0; i < b.edges.size(); ++i) {
            const geometry::Point& a = b.points[b.edges[i][0]];
            const geometry::Point& c = b.points[b.edges[i][1]];
            walk(a.x, a.y, c.x - a.x, c.y - a.y, 1.0, [&](int k, double) {
                pairs.emplace_back(k, static_cast<int>(i));
                return true;
            });
        }
        start_.assign(static_cast<std::size_t>(nx_) * ny_ + 1, 0);
        for (const auto& p : pairs)
            ++start_[p.first + 1];
        for (std::size_t k = 1; k < start_.size(); ++k)
            start_[k] += start_[k - 1];
        edges_.resize(pairs.size());
        std::vector<int> fill(start_.begin(), start_.end() - 1);
        for (const auto& p : pairs)
            edges_[fill[p.first]++] = p.second;
    }

    // Distance along the unit direction (dx, dy) from p to the first edge other than `self`;
    // infinite when none.
    double cast(const geometry::Point& p, double dx, double dy, int self) const {
        double best = std::numeric_limits<double>::infinity();
        const double far = (nx_ + ny_) * cell_ * 2;
        walk(p.x, p.y, dx * far, dy * far, 1.0, [&](int k, double tExit) {
            for (int i = start_[k]; i < start_[k + 1]; ++i) {
                const int e = edges_[i];
                if (e == self) continue;
                const geometry::Point& a = b_.points[b_.edges[e][0]];
                const geometry::Point& c = b_.points[b_.edges[e][1]];
                const double ex = c.x - a.x, ey = c.y - a.y;
                const double den = dx * ey - dy * ex;
                if (den == 0) continue;
                const double wx = a.x - p.x, wy = a.y - p.y;
                const double t = (wx * ey - wy * ex) / den;
                const double s = (wx * dy - wy * dx) / den;
                if (t > 0 && s >= 0 && s <= 1 && t < best) best = t;
            }
            return best > tExit * far;
        });
        return best;
    }

  private:
    // Visits the cells the segment p + u d, u in [0, umax], passes through, in order; `fn`
    // gets the cell and the u where the segment leaves it, and returns false to stop.
    template <typename Fn>
    void walk(double px, double py, double dx, double dy, double umax, Fn fn) const {
        double gx = (px - x0_) / cell_, gy = (py - y0_) / cell_;
        int i = std::clamp(static_cast<int>(std::floor(gx)), 0, nx_ - 1);
        int j = std::clamp(static_cast<int>(std::floor(gy)), 0, ny_ - 1);
        const int si = dx > 0 ? 1 : -1, sj = dy > 0 ? 1 : -1;
        const double inf = std::numeric_limits<double>::infinity();
        const double ddx = dx != 0 ? cell_ / std::abs(dx) : inf;
        const double ddy = dy != 0 ? cell_ / std::abs(dy) : inf;
        double tx = dx != 0 ? ((dx > 0 ? i + 1 - gx : gx - i) * ddx) : inf;
        double ty = dy != 0 ? ((dy > 0 ? j + 1 - gy : gy - j) * ddy) : inf;
        for (;;) {
            const double exit = std::min({tx, ty, umax});
            if (!fn(j * nx_ + i, exit) || exit >= umax) return;
            if (tx < ty) {
                i += si, tx += ddx;
                if (i < 0 || i >= nx_) return;
            } else {
                j += sj, ty += ddy;
                if (j < 0 || j >= ny_) return;
            }
        }
    }

    const Boundary& b_;
    double x0_ = 0, y0_ = 0, cell_ = 1;
    int nx_ = 1, ny_ = 1;
    std::vector<int> start_, edges_;
};

}  // namespace

double areaSize(double area) {
    return std::sqrt(area / (kElementArea * kTarget));
}

SizeField::SizeField(double x0, double y0, double cell, int nx, int ny, std::vector<double> v)
    : x0_(x0), y0_(y0), inv_(1 / cell), nx_(nx), ny_(ny), v_(std::move(v)) {
    lo_ = *std::min_element(v_.begin(), v_.end());
    hi_ = *std::max_element(v_.begin(), v_.end());
}

std::vector<ThicknessRay> thicknessRays(const Boundary& b, double spacing) {
    std::vector<ThicknessRay> rays;
    if (b.edges.empty() || !(spacing > 0)) return rays;
    const EdgeGrid grid(b);
    for (std::size_t e = 0; e < b.edges.size(); ++e) {
        const geometry::Point& a = b.points[b.edges[e][0]];
        const geometry::Point& c = b.points[b.edges[e][1]];
        const double ex = c.x - a.x, ey = c.y - a.y;
        const double len = std::hypot(ex, ey);
        if (!(len > 0)) continue;
        const double n = std::min(std::ceil(len / spacing), 1e6);
        const double nx = -ey / len, ny = ex / len;
        for (int k = 0; k < n; ++k) {
            const double u = (k + 0.5) / n;
            ThicknessRay r;
            r.p = {a.x + u * ex, a.y + u * ey};
            r.dx = nx, r.dy = ny;
            r.t = grid.cast(r.p, nx, ny, static_cast<int>(e));
            r.width = len / n;
            if (std::isfinite(r.t)) rays.push_back(r);
        }
    }
    return rays;
}

SizeField automaticSize(const Boundary& b, const std::vector<ThicknessRay>& rays, double area) {
    const double hArea = areaSize(area);
    const double floor = hArea * kFloor;
    double hMin = hArea;
    for (const ThicknessRay& r : rays)
        hMin = std::min(hMin, std::max(r.t / kAcross, floor));
    if (!(hMin < hArea)) return SizeField(hArea);

    // A grid of at most about 2^18 nodes, fine enough for the thinnest part.
    const Extent e = extentOf(b);
    const double w = e.x1 - e.x0, h = e.y1 - e.y0;
    const double cell = std::max({0.5 * hMin, std::sqrt(w * h / (1 << 18)), w / 2048, h / 2048});
    const int nx = static_cast<int>(w / cell) + 3, ny = static_cast<int>(h / cell) + 3;
    const double x0 = e.x0 - cell, y0 = e.y0 - cell;
    std::vector<double> v(static_cast<std::size_t>(nx) * ny, hArea);
    auto lower = [&](double x, double y, double value) {
        const int i = std::clamp(static_cast<int>((x - x0) / cell), 0, nx - 2);
        const int j = std::clamp(static_cast<int>((y - y0) / cell), 0, ny - 2);
        double* r = &v[static_cast<std::size_t>(j) * nx + i];
        r[0] = std::min(r[0], value), r[1] = std::min(r[1], value);
        r[nx] = std::min(r[nx], value), r[nx + 1] = std::min(r[nx + 1], value);
    };
    for (const ThicknessRay& r : rays) {
        const double value = std::max(r.t / kAcross, floor);
        if (!(value < hArea)) continue;
        // The whole strip the ray stands for, through the material, is that thin.
        const int along = static_cast<int>(std::min(std::ceil(2 * r.t / cell), 1e6));
        const int across = static_cast<int>(std::min(std::ceil(2 * r.width / cell), 1e6));
        for (int k = 0; k <= along; ++k)
            for (int l = 0; l <= across; ++l) {
                const double s = r.t * k / std::max(along, 1);
                const double w = r.width * (static_cast<double>(l) / std::max(across, 1) - 0.5);
                lower(r.p.x + s * r.dx - w * r.dy, r.p.y + s * r.dy + w * r.dx, value);
            }
    }
    // h(y) <= h(x) + kGrowth |x - y|, by forward and backward chamfer sweeps.
    const double a = kGrowth * cell, d = a * std::numbers::sqrt2;
    for (int round = 0; round < 2; ++round) {
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                double& c = v[static_cast<std::size_t>(j) * nx + i];
                if (i > 0) c = std::min(c, (&c)[-1] + a);
                if (j > 0) {
                    const double* r = &c - nx;
                    c = std::min(c, r[0] + a);
                    if (i > 0) c = std::min(c, r[-1] + d);
                    if (i + 1 < nx) c = std::min(c, r[1] + d);
                }
            }
        for (int j = ny - 1; j >= 0; --j)
            for (int i = nx - 1; i >= 0; --i) {
                double& c = v[static_cast<std::size_t>(j) * nx + i];
                if (i + 1 < nx) c = std::min(c, (&c)[1] + a);
                if (j + 1 < ny) {
                    const double* r = &c + nx;
                    c = std::min(c, r[0] + a);
                    if (i + 1 < nx) c = std::min(c, r[1] + d);
                    if (i > 0) c = std::min(c, r[-1] + d);
                }
            }
    }
    return SizeField(x0, y0, cell, nx, ny, std::move(v));
}

double elementEstimate(const Boundary& b, const std::vector<ThicknessRay>& rays, const SizeField& f,
                       double area) {
    double n = area / (kElementArea * f.largest() * f.largest());
    if (!f.uniform()) {
        // Cell centres of a grid of about 2^18 cells inside the region.
        const Extent e = extentOf(b);
        const double w = e.x1 - e.x0, h = e.y1 - e.y0;
        const double cell = std::max({std::sqrt(w * h / (1 << 18)), w / 2048, h / 2048});
        const RowCrossings rows(b, static_cast<int>(std::min(h / cell, 1e6)) + 1);
        std::vector<double> xs;
        double sum = 0;
        for (double y = e.y0 + 0.5 * cell; y < e.y1; y += cell) {
            rows.at(y, xs);
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2)
                for (double x = e.x0 + (std::ceil((xs[k] - e.x0) / cell - 0.5) + 0.5) * cell;
                     x < xs[k + 1]; x += cell) {
                    const double s = f.at(x, y);
                    sum += cell * cell / (kElementArea * s * s);
                }
        }
        n = std::max(n, sum);
    }
    // Walls thinner than h still take about one element across: width t, edges about t.
    const double least = kFloor * areaSize(area);
    for (const ThicknessRay& r : rays) {
        const double m = 0.5 * r.t;
        if (r.t < f.at(r.p.x + m * r.dx, r.p.y + m * r.dy))
            n += 0.5 * r.width / (kElementArea * std::max(r.t, least));
    }
    return n;
}

}  // namespace mesh
