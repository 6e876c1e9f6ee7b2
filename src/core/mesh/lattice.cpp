#include "mesh/lattice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace mesh {

namespace {

constexpr double kSpacing = 0.9;  // lattice spacing over h
constexpr double kNear = 0.75;    // nearest other interior point, in spacings
constexpr double kWall = 0.55;    // nearest edge, in spacings
constexpr double kEncroach = 1.05;
constexpr int kMaxLevel = 60;
constexpr double kDenseCells = 1 << 22;  // buckets kept in an array up to this many

struct Run {
    int lo, hi, i0, i1;  // cells i0..i1 of a band span the levels lo..hi
};

// Buckets of one level's spacing over a box: an array when the box is small enough in
// buckets, a hash table otherwise. Each bucket holds a list of points and a range of edges.
class Buckets {
  public:
    Buckets(double x0, double y0, double x1, double y1, double cell)
        : x0_(x0), y0_(y0), inv_(1 / cell) {
        const double nx = std::floor((x1 - x0) * inv_) + 1, ny = std::floor((y1 - y0) * inv_) + 1;
        dense_ = nx * ny <= kDenseCells;
        nx_ = dense_ ? static_cast<long>(nx) : 0;
        ny_ = dense_ ? static_cast<long>(ny) : 0;
        if (dense_) heads_.assign(static_cast<std::size_t>(nx_ * ny_), -1);
    }

    long ix(double x) const { return static_cast<long>(std::floor((x - x0_) * inv_)); }
    long iy(double y) const { return static_cast<long>(std::floor((y - y0_) * inv_)); }

    // First point of bucket (i, j), -1 when none or outside.
    int head(long i, long j) const {
        if (dense_) {
            if (i < 0 || j < 0 || i >= nx_ || j >= ny_) return -1;
            return heads_[static_cast<std::size_t>(j * nx_ + i)];
        }
        const auto it = sparse_.find(key(i, j));
        return it == sparse_.end() ? -1 : it->second;
    }
    // Makes `p` the first point of the bucket of (x, y); returns the one it displaces.
    int push(double x, double y, int p) {
        const long i = ix(x), j = iy(y);
        if (dense_) {
            if (i < 0 || j < 0 || i >= nx_ || j >= ny_) return -1;
            return std::exchange(heads_[static_cast<std::size_t>(j * nx_ + i)], p);
        }
        const auto [it, fresh] = sparse_.try_emplace(key(i, j), p);
        return fresh ? -1 : std::exchange(it->second, p);
    }

    // Edges: listed once with `list`, then read back per bucket.
    void list(long i, long j, int edge) { pairs_.emplace_back(key(i, j), edge); }
    void sortEdges() {
        std::sort(pairs_.begin(), pairs_.end());
        pairs_.erase(std::unique(pairs_.begin(), pairs_.end()), pairs_.end());
    }
    template <typename Fn>
    void edgesAt(long i, long j, Fn fn) const {
        const std::uint64_t k = key(i, j);
        auto it = std::lower_bound(pairs_.begin(), pairs_.end(), std::make_pair(k, -1));
        for (; it != pairs_.end() && it->first == k; ++it)
            fn(it->second);
    }

  private:
    static std::uint64_t key(long i, long j) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(i)) << 32) |
               static_cast<std::uint32_t>(j);
    }

    double x0_, y0_, inv_;
    bool dense_ = true;
    long nx_ = 0, ny_ = 0;
    std::vector<int> heads_;
    std::unordered_map<std::uint64_t, int> sparse_;
    std::vector<std::pair<std::uint64_t, int>> pairs_;
};

class Lattice {
  public:
    Lattice(const Boundary& b, const SizeField& f, double expected)
        : b_(b), f_(f), rows_(b, bandsFor(b)) {
        const Extent e = extentOf(b);
        x0_ = e.x0, y0_ = e.y0;
        const double w = e.x1 - e.x0, h = e.y1 - e.y0;
        top_ = kSpacing * f.largest();
        ratio_ = std::cbrt(2.0);
        // Cells for the levels: about two points a cell where the size is typical.
        const double cells = std::clamp(0.5 * expected, 4096.0, 2097152.0);
        cell_ = std::max({std::sqrt(w * h / cells), w / 8192, h / 8192, 1e-300});
        nx_ = static_cast<int>(w / cell_) + 1;
        ny_ = static_cast<int>(h / cell_) + 1;
        levels();
    }

    int deepest() const { return deepest_; }

    // Adds the points of one level; false when `keepGoing` said stop.
    bool add(int level, const std::function<bool(double)>& keepGoing, double done, double share) {
        // The cells this level may use, and its buckets over them.
        int j0 = ny_, j1 = -1, i0 = nx_, i1 = -1;
        for (int j = 0; j < ny_; ++j)
            for (const Run& r : runs_[j])
                if (r.lo <= level && level <= r.hi) {
                    j0 = std::min(j0, j), j1 = std::max(j1, j);
                    i0 = std::min(i0, r.i0), i1 = std::max(i1, r.i1);
                }
        if (j1 < 0) return true;
        const double s = spacing(level), dy = s * std::sqrt(3.0) / 2;
        const double bx0 = x0_ + i0 * cell_ - s, bx1 = x0_ + (i1 + 1) * cell_ + s;
        const double by0 = y0_ + j0 * cell_ - s, by1 = y0_ + (j1 + 1) * cell_ + s;
        Buckets buckets(bx0, by0, bx1, by1, s);
        next_.resize(points_.size());
        for (std::size_t q = 0; q < points_.size(); ++q) {
            const geometry::Point& p = points_[q];
            if (p.x >= bx0 && p.x <= bx1 && p.y >= by0 && p.y <= by1)
                next_[q] = buckets.push(p.x, p.y, static_cast<int>(q));
        }
        walls(level, s, buckets, bx0, by0, bx1, by1);

        std::vector<double> xs;
        const long jFirst = static_cast<long>(std::floor((by0 - y0_) / dy));
        const long jLast = static_cast<long>(std::ceil((by1 - y0_) / dy));
        for (long j = jFirst; j <= jLast; ++j) {
            if (((j - jFirst) & 1023) == 0 && keepGoing &&
                !keepGoing(done + share * (j - jFirst) / (jLast - jFirst + 1.0)))
                return false;
            const double y = y0_ + j * dy;
            const int band = static_cast<int>(std::floor((y - y0_) / cell_));
            if (band < 0 || band >= ny_) continue;
            const std::vector<Run>& runs = runs_[band];
            bool any = false;
            for (const Run& r : runs)
                any = any || (r.lo <= level && level <= r.hi);
            if (!any) continue;
            rows_.at(y, xs);
            const double off = (j & 1) ? 0.5 : 0.0;
            for (const Run& r : runs) {
                if (level < r.lo || level > r.hi) continue;
                const double ra = x0_ + r.i0 * cell_, rb = x0_ + (r.i1 + 1) * cell_;
                for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
                    const double xa = std::max(ra, xs[k] + kWall * s);
                    const double xb = std::min(rb, xs[k + 1] - kWall * s);
                    if (!(xa < xb)) continue;
                    for (double i = std::ceil((xa - x0_) / s - off); x0_ + (i + off) * s < xb;
                         ++i) {
                        const geometry::Point p{x0_ + (i + off) * s, y};
                        if (r.lo != r.hi && levelOf(f_.at(p.x, p.y)) != level) continue;
                        if (!clearOfPoints(p, s, buckets) || !clearOfWalls(p, s, buckets)) continue;
                        next_.push_back(buckets.push(p.x, p.y, static_cast<int>(points_.size())));
                        points_.push_back(p);
                    }
                }
            }
        }
        return true;
    }

    std::vector<geometry::Point> take() { return std::move(points_); }

  private:
    static int bandsFor(const Boundary& b) {
        return static_cast<int>(std::clamp<std::size_t>(b.edges.size() / 4, 1, 1 << 20));
    }

    double spacing(int level) const { return top_ * std::pow(ratio_, -level); }

    int levelOf(double h) const {
        const double k = std::ceil(std::log(top_ / (kSpacing * h)) / std::log(ratio_) - 1e-9);
        return static_cast<int>(std::clamp(k, 0.0, static_cast<double>(kMaxLevel)));
    }

    bool active(int i, int j, int level) const {
        if (i < 0 || j < 0 || i >= nx_ || j >= ny_) return false;
        for (const Run& r : runs_[j])
            if (i >= r.i0 && i <= r.i1) return r.lo <= level && level <= r.hi;
        return false;
    }

    // The levels each cell spans (h is bilinear: its extremes are at the corners), as runs
    // along each band.
    void levels() {
        runs_.resize(ny_);
        std::vector<int> below(nx_ + 1, 0), above(nx_ + 1, 0);
        auto corners = [&](int j, std::vector<int>& row) {
            for (int i = 0; i <= nx_; ++i)
                row[i] = f_.uniform() ? 0 : levelOf(f_.at(x0_ + i * cell_, y0_ + j * cell_));
        };
        corners(0, below);
        for (int j = 0; j < ny_; ++j) {
            corners(j + 1, above);
            std::vector<Run>& runs = runs_[j];
            for (int i = 0; i < nx_; ++i) {
                const int lo = std::min({below[i], below[i + 1], above[i], above[i + 1]});
                const int hi = std::max({below[i], below[i + 1], above[i], above[i + 1]});
                deepest_ = std::max(deepest_, hi);
                if (!runs.empty() && runs.back().lo == lo && runs.back().hi == hi)
                    runs.back().i1 = i;
                else
                    runs.push_back({lo, hi, i, i});
            }
            std::swap(below, above);
        }
    }

    // Each edge near the level's cells listed in every bucket from which a point could be
    // too near it or inside its diametral circle, so that a point looks in its own bucket.
    void walls(int level, double s, Buckets& buckets, double bx0, double by0, double bx1,
               double by1) const {
        for (std::size_t e = 0; e < b_.edges.size(); ++e) {
            const geometry::Point& a = b_.points[b_.edges[e][0]];
            const geometry::Point& c = b_.points[b_.edges[e][1]];
            const double mx = 0.5 * (a.x + c.x), my = 0.5 * (a.y + c.y);
            // Around the midpoint: the diametral circle, and the points near the edge.
            const double r = 0.5 * kEncroach * std::hypot(c.x - a.x, c.y - a.y) + kWall * s;
            const double ex0 = std::max(mx - r, bx0), ex1 = std::min(mx + r, bx1);
            const double ey0 = std::max(my - r, by0), ey1 = std::min(my + r, by1);
            if (!(ex0 <= ex1 && ey0 <= ey1)) continue;
            // Only where the level's cells are.
            const int ci0 = static_cast<int>(std::floor((ex0 - x0_) / cell_));
            const int ci1 = static_cast<int>(std::floor((ex1 - x0_) / cell_));
            const int cj0 = static_cast<int>(std::floor((ey0 - y0_) / cell_));
            const int cj1 = static_cast<int>(std::floor((ey1 - y0_) / cell_));
            for (int cj = cj0; cj <= cj1; ++cj)
                for (int ci = ci0; ci <= ci1; ++ci) {
                    if (!active(ci, cj, level)) continue;
                    const double qx0 = std::max(ex0, x0_ + ci * cell_ - s);
                    const double qx1 = std::min(ex1, x0_ + (ci + 1) * cell_ + s);
                    const double qy0 = std::max(ey0, y0_ + cj * cell_ - s);
                    const double qy1 = std::min(ey1, y0_ + (cj + 1) * cell_ + s);
                    for (long j = buckets.iy(qy0), j1 = buckets.iy(qy1); j <= j1; ++j)
                        for (long i = buckets.ix(qx0), i1 = buckets.ix(qx1); i <= i1; ++i)
                            buckets.list(i, j, static_cast<int>(e));
                }
        }
        buckets.sortEdges();
    }

    bool clearOfWalls(const geometry::Point& p, double s, const Buckets& buckets) const {
        const double r2 = kWall * s * kWall * s;
        bool clear = true;
        buckets.edgesAt(buckets.ix(p.x), buckets.iy(p.y), [&](int e) {
            if (!clear) return;
            const geometry::Point& a = b_.points[b_.edges[e][0]];
            const geometry::Point& c = b_.points[b_.edges[e][1]];
            const double ex = c.x - a.x, ey = c.y - a.y;
            const double px = p.x - a.x, py = p.y - a.y;
            const double len2 = ex * ex + ey * ey;
            const double u = len2 > 0 ? std::clamp((px * ex + py * ey) / len2, 0.0, 1.0) : 0.0;
            const double qx = px - u * ex, qy = py - u * ey;
            const double mx = px - 0.5 * ex, my = py - 0.5 * ey;
            clear =
                qx * qx + qy * qy >= r2 && 4 * (mx * mx + my * my) >= kEncroach * kEncroach * len2;
        });
        return clear;
    }

    bool clearOfPoints(const geometry::Point& p, double s, const Buckets& buckets) const {
        const double r2 = kNear * s * kNear * s;
        const long bi = buckets.ix(p.x), bj = buckets.iy(p.y);
        for (long j = bj - 1; j <= bj + 1; ++j)
            for (long i = bi - 1; i <= bi + 1; ++i)
                for (int q = buckets.head(i, j); q >= 0; q = next_[q]) {
                    const double dx = points_[q].x - p.x, dy = points_[q].y - p.y;
                    if (dx * dx + dy * dy < r2) return false;
                }
        return true;
    }

    const Boundary& b_;
    const SizeField& f_;
    RowCrossings rows_;
    double x0_ = 0, y0_ = 0, cell_ = 1, top_ = 1, ratio_ = 2;
    int nx_ = 1, ny_ = 1, deepest_ = 0;
    std::vector<std::vector<Run>> runs_;
    std::vector<int> next_;
    std::vector<geometry::Point> points_;
};

}  // namespace

std::vector<geometry::Point> latticePoints(const Boundary& b, const SizeField& f, double expected,
                                           const std::function<bool(double)>& keepGoing,
                                           bool& cancelled) {
    cancelled = false;
    if (b.edges.empty()) return {};
    Lattice lattice(b, f, expected);
    const int levels = lattice.deepest() + 1;
    for (int level = lattice.deepest(); level >= 0; --level) {
        const double done = static_cast<double>(lattice.deepest() - level) / levels;
        if (!lattice.add(level, keepGoing, done, 1.0 / levels)) {
            cancelled = true;
            break;
        }
    }
    return lattice.take();
}

}  // namespace mesh
