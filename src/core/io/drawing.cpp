#include "io/drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>

#include "geometry/outline.h"

namespace io {

namespace {

using geometry::Point;
using geometry::Vertex;

constexpr std::size_t kMaxPlaced = 1'000'000;
constexpr std::size_t kMaxPoints = 10'000'000;
constexpr std::size_t kMaxCurvePoints = 1'000'000;
constexpr int kMaxDepth = 32;
constexpr const char* kTooMany = "Rysunek zawiera zbyt wiele elementów";

// DXF names compare without regard to case.
std::string folded(const std::string& s) {
    std::string f = s;
    for (char& c : f)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return f;
}

// A similarity (turn, mirror and equal scaling) maps circles to circles; `scale` its factor.
bool similar(const Affine& m, double& scale) {
    const double a2 = m.xx * m.xx + m.yx * m.yx, b2 = m.xy * m.xy + m.yy * m.yy;
    const double ab = m.xx * m.xy + m.yx * m.yy;
    const double tol = 1e-9 * (a2 + b2);
    scale = std::sqrt(std::abs(m.det()));
    return std::abs(a2 - b2) <= tol && std::abs(ab) <= tol;
}

EllipseArc mapped(const Affine& m, const EllipseArc& e) {
    return {m(e.c), m.linear(e.u), m.linear(e.v), e.t0, e.t1};
}

PlacedPath placedPath(const Path& p, const Affine& m) {
    PlacedPath out;
    double scale = 1;
    const bool keepArcs = similar(m, scale);
    const double sense = m.det() < 0 ? -1 : 1;
    const std::size_t n = p.v.size();
    out.path.closed = p.closed;
    out.path.v.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& a = p.v[i];
        const Point q = m({a.x, a.y});
        double r = 0;
        if (a.r != 0 && (i + 1 < n || p.closed)) {
            const Vertex& b = p.v[(i + 1) % n];
            if (keepArcs) {
                r = a.r * scale * sense;
            } else if (const auto arc = geometry::makeArc(a.x, a.y, b.x, b.y, a.r)) {
                // Under a stretch the arc becomes elliptic.
                const double t0 = std::atan2(a.y - arc->cy, a.x - arc->cx);
                const EllipseArc e{
                    {arc->cx, arc->cy}, {arc->radius, 0}, {0, arc->radius}, t0, t0 + arc->sweep};
                out.arcs.emplace_back(i, mapped(m, e));
            }
        }
        out.path.v.push_back({q.x, q.y, r});
    }
    return out;
}

PlacedPath placedEllipse(const EllipseArc& local, bool full, const Affine& m) {
    const EllipseArc e = mapped(m, local);
    PlacedPath out;
    auto at = [&e](double t) {
        const Point p = ellipsePoint(e, t);
        return Vertex{p.x, p.y, 0};
    };
    if (full) {
        const double half = e.t0 + std::numbers::pi;
        out.path.v = {at(e.t0), at(half)};
        out.path.closed = true;
        out.arcs = {{0, {e.c, e.u, e.v, e.t0, half}},
                    {1, {e.c, e.u, e.v, half, e.t0 + 2 * std::numbers::pi}}};
    } else {
        out.path.v = {at(e.t0), at(e.t1)};
        out.arcs = {{0, e}};
    }
    return out;
}

PlacedPath placedSpline(const Nurbs& local, const Affine& m) {
    PlacedPath out;
    out.spline = true;
    out.curve = local;
    for (Point& p : out.curve.points)
        p = m(p);
    return out;
}

struct Placer {
    const Drawing& d;
    int filter;
    Placed out;
    std::unordered_map<std::string, int> byName;
    std::vector<bool> open;
    std::size_t placed = 0, points = 0;

    bool fail(std::string message) {
        out.error = std::move(message);
        return false;
    }
    bool passes(int layer) const { return filter == -1 || layer == filter; }

    bool place(int block, const Affine& m, int inherited, int depth) {
        open[block] = true;
        for (const Element& e : d.blocks[block].elements) {
            if (++placed > kMaxPlaced) return fail(kTooMany);
            const int layer = e.layer == 0 ? inherited : e.layer;
            switch (e.kind) {
                case Element::Kind::Unused:
                    if (passes(layer)) ++out.unused;
                    break;
                case Element::Kind::Path:
                case Element::Kind::Ellipse:
                case Element::Kind::Spline: {
                    out.layersDrawn[layer] = true;
                    if (!passes(layer)) break;
                    if (!(std::abs(m.det()) > 0) || !std::isfinite(m.det())) {
                        ++out.unused;
                        break;
                    }
                    if (e.kind == Element::Kind::Path)
                        out.paths.push_back(placedPath(e.path, m));
                    else if (e.kind == Element::Kind::Ellipse)
                        out.paths.push_back(placedEllipse(e.arc, e.full, m));
                    else
                        out.paths.push_back(placedSpline(e.spline, m));
                    points += out.paths.back().path.v.size() + out.paths.back().curve.points.size();
                    if (points > kMaxPoints) return fail(kTooMany);
                    break;
                }
                case Element::Kind::Insert: {
                    const auto it = byName.find(folded(e.block));
                    if (it == byName.end()) {
                        if (passes(layer)) ++out.unused;
                        break;
                    }
                    const int b = it->second;
                    if (open[b]) return fail("Blok „" + d.blocks[b].name + "” zawiera sam siebie");
                    if (depth >= kMaxDepth) return fail("Bloki są zagnieżdżone zbyt głęboko");
                    const Point base = d.blocks[b].base;
                    const Affine inner = scaling(e.sx, e.sy) * shift(-base.x, -base.y);
                    for (int r = 0; r < e.rows; ++r)
                        for (int c = 0; c < e.cols; ++c) {
                            if (++placed > kMaxPlaced) return fail(kTooMany);
                            const Affine copy =
                                m * e.outer * shift(c * e.colStep, r * e.rowStep) * inner;
                            if (!place(b, copy, layer, depth + 1)) return false;
                        }
                    break;
                }
            }
        }
        open[block] = false;
        return true;
    }
};

void take(geometry::Box& b, bool& any, double x0, double y0, double x1, double y1) {
    if (!any) {
        b = {x0, y0, x1, y1};
        any = true;
        return;
    }
    b.x0 = std::min(b.x0, x0), b.y0 = std::min(b.y0, y0);
    b.x1 = std::max(b.x1, x1), b.y1 = std::max(b.y1, y1);
}

geometry::Box hull(const std::vector<Point>& p) {
    geometry::Box b{p[0].x, p[0].y, p[0].x, p[0].y};
    for (const Point& q : p)
        b.x0 = std::min(b.x0, q.x), b.y0 = std::min(b.y0, q.y), b.x1 = std::max(b.x1, q.x),
        b.y1 = std::max(b.y1, q.y);
    return b;
}

}  // namespace

Point Affine::operator()(Point p) const {
    return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy};
}

Point Affine::linear(Point p) const {
    return {xx * p.x + xy * p.y, yx * p.x + yy * p.y};
}

Affine Affine::operator*(const Affine& in) const {
    return {xx * in.xx + xy * in.yx, xx * in.xy + xy * in.yy,      yx * in.xx + yy * in.yx,
            yx * in.xy + yy * in.yy, xx * in.dx + xy * in.dy + dx, yx * in.dx + yy * in.dy + dy};
}

Affine shift(double x, double y) {
    return {1, 0, 0, 1, x, y};
}

Affine turn(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, -s, s, c, 0, 0};
}

Affine scaling(double sx, double sy) {
    return {sx, 0, 0, sy, 0, 0};
}

Placed placeDrawing(const Drawing& d, int layer) {
    Placer p{d, layer, {}, {}, std::vector<bool>(d.blocks.size(), false)};
    p.out.layersDrawn.assign(d.layers.size(), false);
    for (std::size_t b = 1; b < d.blocks.size(); ++b)
        p.byName.emplace(folded(d.blocks[b].name), static_cast<int>(b));
    if (!p.place(0, Affine{}, 0, 0)) {
        Placed failed;
        failed.error = std::move(p.out.error);
        return failed;
    }
    return std::move(p.out);
}

geometry::Box placedBox(const Placed& p) {
    geometry::Box box;
    bool any = false;
    for (const PlacedPath& q : p.paths) {
        if (q.spline) {
            const geometry::Box b = hull(q.curve.points);
            take(box, any, b.x0, b.y0, b.x1, b.y1);
            continue;
        }
        const geometry::Box b = geometry::outlineBox(geometry::Outline{q.path.v});
        take(box, any, b.x0, b.y0, b.x1, b.y1);
        for (const auto& [segment, e] : q.arcs) {
            const double hx = std::hypot(e.u.x, e.v.x), hy = std::hypot(e.u.y, e.v.y);
            take(box, any, e.c.x - hx, e.c.y - hy, e.c.x + hx, e.c.y + hy);
        }
    }
    return box;
}

bool flatten(const Placed& p, double sagitta, std::vector<Path>& out) {
    out.clear();
    out.reserve(p.paths.size());
    std::size_t points = 0;
    for (const PlacedPath& q : p.paths) {
        Path path;
        path.closed = q.path.closed;
        if (q.spline) {
            const geometry::Box b = hull(q.curve.points);
            const double size = std::hypot(b.x1 - b.x0, b.y1 - b.y0);
            for (const Point& c :
                 nurbsChords(q.curve, std::min(sagitta, 1e-3 * size), kMaxCurvePoints))
                path.v.push_back({c.x, c.y, 0});
        } else {
            std::size_t next = 0;
            for (std::size_t i = 0; i < q.path.v.size(); ++i) {
                path.v.push_back(q.path.v[i]);
                if (next >= q.arcs.size() || q.arcs[next].first != i) continue;
                const EllipseArc& e = q.arcs[next++].second;
                const double size = std::hypot(std::hypot(e.u.x, e.u.y), std::hypot(e.v.x, e.v.y));
                const std::vector<Point> c =
                    ellipseChords(e, std::min(sagitta, 1e-3 * size), kMaxCurvePoints);
                path.v.back().r = 0;
                for (std::size_t k = 1; k + 1 < c.size(); ++k)
                    path.v.push_back({c[k].x, c[k].y, 0});
            }
        }
        points += path.v.size();
        if (points > kMaxPoints) return false;
        out.push_back(std::move(path));
    }
    return true;
}

}  // namespace io
