#include "geometry/section.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "geometry/arc.h"
#include "geometry/polygon_checks.h"

namespace geometry {

namespace {

// Points the self-crossing test may use for one loop; arcs get coarser chords beyond it.
constexpr double kMaxPoints = 2e6;

// Consecutive repeats dropped (the repeat's segment onwards is kept), and a last point equal
// to the first.
Outline cleaned(const Outline& in) {
    Outline o;
    o.v.reserve(in.v.size());
    for (const Vertex& v : in.v) {
        if (!o.v.empty() && o.v.back().x == v.x && o.v.back().y == v.y)
            o.v.back().r = v.r;
        else
            o.v.push_back(v);
    }
    while (o.v.size() > 1 && o.v.back().x == o.v.front().x && o.v.back().y == o.v.front().y)
        o.v.pop_back();
    return o;
}

// The outline moved and scaled by a power of two into [-1, 1]^2 (exact for binary
// fractions); radii too long to tell from straight become straight.
Outline normalised(const Outline& o) {
    double x0 = o.v[0].x, x1 = x0, y0 = o.v[0].y, y1 = y0;
    for (const Vertex& v : o.v) {
        x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
        y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
    }
    const double cx = 0.5 * x0 + 0.5 * x1, cy = 0.5 * y0 + 0.5 * y1;
    const double half = std::max(0.5 * x1 - 0.5 * x0, 0.5 * y1 - 0.5 * y0);
    int e = 0;
    std::frexp(half, &e);
    Outline n;
    n.v.reserve(o.v.size());
    for (const Vertex& v : o.v) {
        double r = std::ldexp(v.r, -e);
        if (!(std::abs(r) <= 1e12)) r = 0;
        n.v.push_back({std::ldexp(v.x - cx, -e), std::ldexp(v.y - cy, -e), r});
    }
    return n;
}

// Chords of the arcs with at most `sagitta` gap, growing when the points would be too many.
std::vector<Point> fineOutline(const Outline& o) {
    double sagitta = 1e-6;
    for (;;) {
        double points = static_cast<double>(o.v.size());
        for (std::size_t i = 0; i < o.v.size() && points <= kMaxPoints; ++i) {
            const Vertex& p = o.v[i];
            const Vertex& q = o.v[(i + 1) % o.v.size()];
            if (p.r == 0) continue;
            if (const std::optional<Arc> a = makeArc(p.x, p.y, q.x, q.y, p.r))
                points += chordCount(*a, 1.0, sagitta) - 1;
        }
        if (points <= kMaxPoints || sagitta >= 0.01) break;
        sagitta *= 4;
    }
    return polygonOf(
        o, [](double, double) { return 1.0; }, sagitta);
}

// The message for a loop that is not a proper closed curve; empty when it is.
std::string loopFault(const Outline& o) {
    for (const Vertex& v : o.v)
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.r))
            return "Współrzędne obrysu muszą być liczbami skończonymi";
    const bool anyArc =
        std::any_of(o.v.begin(), o.v.end(), [](const Vertex& v) { return v.r != 0; });
    if (o.v.size() < 2 || (o.v.size() == 2 && !anyArc))
        return "Obrys musi mieć co najmniej trzy punkty";
    const Outline n = normalised(o);
    for (std::size_t i = 0; i < n.v.size(); ++i) {
        const Vertex& p = n.v[i];
        const Vertex& q = n.v[(i + 1) % n.v.size()];
        if (p.r != 0 && !makeArc(p.x, p.y, q.x, q.y, p.r))
            return "Promień łuku jest mniejszy niż połowa odległości między punktami";
    }
    switch (polygonShape(fineOutline(n))) {
        case PolygonShape::Flat:
            return "Obrys ma zerowe pole";
        case PolygonShape::Crossing:
            return "Obrys przecina sam siebie";
        case PolygonShape::Simple:
            break;
    }
    if (!(std::abs(outlineArea(n)) > 1e-12)) return "Obrys ma zerowe pole";
    return {};
}

// Circles and profiles are simple curves by construction; only their numbers can fail them
// (a radius lost beside a huge coordinate).
std::string builtLoopFault(const Outline& o) {
    for (std::size_t i = 0; i < o.v.size(); ++i) {
        const Vertex& p = o.v[i];
        const Vertex& q = o.v[(i + 1) % o.v.size()];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.r))
            return "Współrzędne obrysu muszą być liczbami skończonymi";
        if (p.x == q.x && p.y == q.y) return "Obrys ma zerowe pole";
    }
    if (!(std::abs(outlineArea(o)) > 0)) return "Obrys ma zerowe pole";
    return {};
}

// The outlines a shape makes, or its message.
std::pair<std::vector<Outline>, std::string> shapeOutlines(const Shape& s) {
    switch (s.kind) {
        case Shape::Kind::Obrys:
            return {{cleaned(s.outline)}, {}};
        case Shape::Kind::Okrag: {
            const Circle& c = s.circle;
            if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.r))
                return {{}, "Współrzędne okręgu muszą być liczbami skończonymi"};
            if (!(c.r > 0)) return {{}, "Promień okręgu musi być dodatni"};
            return {{circleOutline(c)}, {}};
        }
        case Shape::Kind::Profil: {
            ProfileOutlines p = profileOutlines(s.profile);
            return {std::move(p.outlines), std::move(p.error)};
        }
        case Shape::Kind::Rysunek: {
            std::vector<Outline> out;
            out.reserve(s.drawing.outlines.size());
            for (const Outline& o : s.drawing.outlines)
                out.push_back(cleaned(o));
            if (out.empty()) return {{}, "Rysunek nie zawiera żadnego zamkniętego obrysu"};
            return {std::move(out), {}};
        }
    }
    return {{}, "Nieznany rodzaj kształtu"};
}

}  // namespace

Loops sectionLoops(const Section& s) {
    Loops out;
    for (std::size_t i = 0; i < s.shapes.size(); ++i) {
        const Shape& shape = s.shapes[i];
        auto [outlines, error] = shapeOutlines(shape);
        for (std::size_t k = 0; k < outlines.size() && error.empty(); ++k)
            error = shape.kind == Shape::Kind::Obrys || shape.kind == Shape::Kind::Rysunek
                        ? loopFault(outlines[k])
                        : builtLoopFault(outlines[k]);
        if (!error.empty()) return {{}, std::move(error), shape.line};
        for (Outline& o : outlines)
            out.loops.push_back({std::move(o), shape.otwor, static_cast<int>(i)});
    }
    return out;
}

}  // namespace geometry
