#include "mesh/chords.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <tuple>

namespace mesh {

namespace {

using geometry::Point;

constexpr double kPi = std::numbers::pi;
constexpr double kSagitta = 1.0 / 40;     // gap between arc and chord, over h
constexpr double kMaxTurn = kPi / 6;      // widest angle of a chord
constexpr double kCoarseTurn = kPi / 60;  // chords before any size is known
constexpr int kSectors = 12;              // a circle is divided sector by sector
constexpr double kSector = 2 * kPi / kSectors;
constexpr double kSame = 1e-9;    // circles this close are one
constexpr double kPinGap = 0.3;   // division points this near an arc end give way
constexpr double kGapMax = 2e-5;  // of the frame (-1, 1): thin walls stay apart

double wrap(double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

// Interior points of a curve u -> at(u), u in [0, 1], of length `len`, in pieces no longer
// than `limit` at their place: equally spaced in the integral of 1 / limit.
template <typename At, typename Limit>
void spread(double len, bool constant, const At& at, const Limit& limit, std::vector<Point>& out) {
    if (!(len > 0)) return;
    if (constant) {
        const double n = std::ceil(len / limit(at(0.0)) - 1e-9);
        for (double k = 1; k < n; ++k)
            out.push_back(at(k / n));
        return;
    }
    std::vector<double> us{0}, sums{0};
    double u = 0, total = 0;
    while (u < 1) {
        const double du = std::min(1 - u, 0.25 * limit(at(u)) / len);
        total += du * len / limit(at(u + 0.5 * du));
        u += du;
        us.push_back(u);
        sums.push_back(total);
    }
    const double n = std::max(1.0, std::ceil(total - 1e-6));
    std::size_t s = 1;
    for (double k = 1; k < n; ++k) {
        const double want = total * k / n;
        while (s + 1 < sums.size() && sums[s] < want)
            ++s;
        const double w = (want - sums[s - 1]) / (sums[s] - sums[s - 1]);
        out.push_back(at(us[s - 1] + w * (us[s] - us[s - 1])));
    }
}

// A circle some arcs lie on, the ends of those arcs pinned on it.
struct Circle {
    double cx, cy, r;
    std::vector<std::pair<double, Point>> pins;  // angle, the end itself; sorted
    std::map<int, int> pieces;                   // sector -> pieces, for the current size
};

class Circles {
  public:
    int find(const geometry::Arc& a) {
        const double tol = kSame * std::max(1.0, a.radius);
        const double q = 1 / (1e3 * tol);
        const double kx = std::round(a.cx * q), ky = std::round(a.cy * q);
        if (std::abs(kx) < 1e15 && std::abs(ky) < 1e15) {
            for (double dx = -1; dx <= 1; ++dx)
                for (double dy = -1; dy <= 1; ++dy) {
                    const auto it = index_.find({kx + dx, ky + dy});
                    if (it == index_.end()) continue;
                    for (int c : it->second) {
                        const Circle& o = list_[c];
                        if (std::abs(o.cx - a.cx) <= tol && std::abs(o.cy - a.cy) <= tol &&
                            std::abs(o.r - a.radius) <= tol)
                            return c;
                    }
                }
            index_[{kx, ky}].push_back(static_cast<int>(list_.size()));
        }
        list_.push_back({a.cx, a.cy, a.radius, {}, {}});
        return static_cast<int>(list_.size()) - 1;
    }
    Circle& operator[](int c) { return list_[c]; }
    std::vector<Circle>& all() { return list_; }

  private:
    std::vector<Circle> list_;
    std::map<std::pair<double, double>, std::vector<int>> index_;
};

// One arc edge, divided from its lower end.
struct ArcEdge {
    int circle;
    Point a, b;       // lower end first
    double a0, span;  // angle of `a` on the circle, |sweep|
    bool ccw;         // from a to b counter-clockwise
};

// Largest piece along a circle of radius r where the size is h.
double arcLimit(double r, double h, bool tight) {
    const double gap = tight ? std::min(kSagitta * h, kGapMax) : kSagitta * h;
    const double turn = gap < r ? 2 * std::acos(1 - gap / r) : kPi;
    return std::min({h, r * turn, r * kMaxTurn});
}

// Pieces of sector s of circle c: from the smallest limit along it.
int sectorPieces(Circle& c, int s, const SizeField* f, bool tight) {
    const auto it = c.pieces.find(s);
    if (it != c.pieces.end()) return it->second;
    double limit = std::min(c.r * kCoarseTurn, arcLimit(c.r, 1e300, true));
    if (f) {
        limit = c.r * kMaxTurn;
        for (int k = 0; k <= 4; ++k) {
            const double t = (s + 0.25 * k) * kSector;
            limit = std::min(
                limit,
                arcLimit(c.r, f->at(c.cx + c.r * std::cos(t), c.cy + c.r * std::sin(t)), tight));
        }
    }
    const double n = std::clamp(std::ceil(c.r * kSector / limit - 1e-9), 1.0, 1e9);
    return c.pieces[s] = static_cast<int>(n);
}

// The interior points of an arc edge, from a towards b; false when they would be too many.
bool arcPoints(const ArcEdge& e, Circle& c, const SizeField* f, bool tight, double budget,
               std::vector<Point>& out, double& gap) {
    const double lo = e.ccw ? e.a0 : e.a0 - e.span;  // unwrapped, counter-clockwise range
    const double hi = lo + e.span;
    std::vector<std::pair<double, Point>> pts;
    for (const auto& [angle, p] : c.pins) {
        if ((p.x == e.a.x && p.y == e.a.y) || (p.x == e.b.x && p.y == e.b.y)) continue;
        double u = lo + wrap(angle - lo);
        if (u > lo && u < hi) pts.emplace_back(u, p);
    }
    const double first = std::floor(lo / kSector), last = std::floor(hi / kSector);
    for (double j = first; j <= last; ++j) {
        const int s = static_cast<int>(((static_cast<long>(j) % kSectors) + kSectors) % kSectors);
        const int m = sectorPieces(c, s, f, tight);
        const double step = kSector / m;
        const double base = j * kSector;
        // A pinned end may stretch a neighbouring piece by its give-way share.
        gap = std::max(gap, c.r * (1 - std::cos(0.5 * (1 + kPinGap) * std::min(step, e.span))));
        const double k0 = std::max(0.0, std::floor((lo - base) / step));
        const double k1 = std::min(static_cast<double>(m - 1), std::ceil((hi - base) / step));
        if (k1 - k0 > budget) return false;
        for (double k = k0; k <= k1; ++k) {
            const double u = base + k * step;
            if (!(u > lo && u < hi)) continue;
            // Give way to a pinned end nearby, on this arc or another of the circle.
            const double t = s * kSector + k * step;
            auto near = std::lower_bound(
                c.pins.begin(), c.pins.end(), t - kPinGap * step,
                [](const std::pair<double, Point>& p, double v) { return p.first < v; });
            bool pinned = near != c.pins.end() && near->first <= t + kPinGap * step;
            if (!c.pins.empty()) {
                pinned = pinned || wrap(c.pins.front().first - t) <= kPinGap * step ||
                         wrap(t - c.pins.back().first) <= kPinGap * step;
            }
            if (pinned) continue;
            pts.emplace_back(u, Point{c.cx + c.r * std::cos(t), c.cy + c.r * std::sin(t)});
        }
    }
    std::sort(pts.begin(), pts.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
    if (!e.ccw) std::reverse(pts.begin(), pts.end());
    for (const auto& p : pts)
        out.push_back(p.second);
    return true;
}

}  // namespace

Polygons loopPolygons(const std::vector<geometry::Outline>& outlines, const SizeField* f,
                      bool tight, double maxPoints) {
    Polygons out;
    // Every arc on its circle first, so that each circle knows all its pinned ends.
    Circles circles;
    std::vector<std::vector<std::optional<ArcEdge>>> arcs(outlines.size());
    for (std::size_t l = 0; l < outlines.size(); ++l) {
        const std::vector<geometry::Vertex>& v = outlines[l].v;
        arcs[l].resize(v.size());
        for (std::size_t i = 0; i < v.size(); ++i) {
            const geometry::Vertex& p = v[i];
            const geometry::Vertex& q = v[(i + 1) % v.size()];
            if (p.r == 0) continue;
            const bool flip = q.x < p.x || (q.x == p.x && q.y < p.y);
            const Point a = flip ? Point{q.x, q.y} : Point{p.x, p.y};
            const Point b = flip ? Point{p.x, p.y} : Point{q.x, q.y};
            const std::optional<geometry::Arc> arc =
                geometry::makeArc(a.x, a.y, b.x, b.y, flip ? -p.r : p.r);
            if (!arc) {
                out.noArc = true;
                return out;
            }
            const int c = circles.find(*arc);
            Circle& circle = circles[c];
            const double a0 = wrap(std::atan2(a.y - circle.cy, a.x - circle.cx));
            const double b0 = wrap(std::atan2(b.y - circle.cy, b.x - circle.cx));
            circle.pins.emplace_back(a0, a);
            circle.pins.emplace_back(b0, b);
            arcs[l][i] = ArcEdge{c, a, b, a0, std::abs(arc->sweep), arc->sweep > 0};
        }
    }
    for (Circle& c : circles.all()) {
        std::sort(c.pins.begin(), c.pins.end(), [](const auto& x, const auto& y) {
            return std::tie(x.first, x.second.x, x.second.y) <
                   std::tie(y.first, y.second.x, y.second.y);
        });
        c.pins.erase(std::unique(c.pins.begin(), c.pins.end(),
                                 [](const auto& x, const auto& y) {
                                     return x.second.x == y.second.x && x.second.y == y.second.y;
                                 }),
                     c.pins.end());
    }

    double total = 0;
    std::vector<Point> mid;
    for (std::size_t l = 0; l < outlines.size(); ++l) {
        const std::vector<geometry::Vertex>& v = outlines[l].v;
        std::vector<Point>& poly = out.loops.emplace_back();
        double& gap = out.gaps.emplace_back(0);
        for (std::size_t i = 0; i < v.size(); ++i) {
            const geometry::Vertex& p = v[i];
            const geometry::Vertex& q = v[(i + 1) % v.size()];
            poly.push_back({p.x, p.y});
            const bool flip = q.x < p.x || (q.x == p.x && q.y < p.y);
            mid.clear();
            if (arcs[l][i]) {
                const ArcEdge& e = *arcs[l][i];
                if (!arcPoints(e, circles[e.circle], f, tight, maxPoints - total, mid, gap)) {
                    out.tooMany = true;
                    return out;
                }
            } else if (f) {
                const Point a = flip ? Point{q.x, q.y} : Point{p.x, p.y};
                const Point b = flip ? Point{p.x, p.y} : Point{q.x, q.y};
                const double len = std::hypot(b.x - a.x, b.y - a.y);
                if (len / f->smallest() > maxPoints - total) {
                    out.tooMany = true;
                    return out;
                }
                auto at = [&](double u) {
                    return Point{a.x + u * (b.x - a.x), a.y + u * (b.y - a.y)};
                };
                auto limit = [&](const Point& x) { return f->at(x.x, x.y); };
                spread(len, f->uniform(), at, limit, mid);
            }
            if (flip) std::reverse(mid.begin(), mid.end());
            poly.insert(poly.end(), mid.begin(), mid.end());
            total += 1 + static_cast<double>(mid.size());
            if (total > maxPoints) {
                out.tooMany = true;
                return out;
            }
        }
    }
    return out;
}

}  // namespace mesh
