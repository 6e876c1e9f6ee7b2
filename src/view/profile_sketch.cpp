#include "profile_sketch.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/arc.h"

namespace {

using geometry::ProfileKind;

/// How a dimension is drawn.
enum class Style {
    Outside,  ///< between extension lines, outside the shape's box on the side `dir`
    Across,   ///< straight between the two points, arrows pointing at them
    Leader,   ///< a line from the point `a` in the direction `dir`, the name at its end
    Name,     ///< the name alone, centred on `a`
};

/// One dimension of a sketch, in model coordinates (y up).
struct Dimension {
    Style style;
    QPointF a, b;
    QPointF dir;  ///< unit direction (model axes); for Outside one of the four axis directions
    const char* name;
};

constexpr double kS = 0.70710678118654752;  // sin 45°

/// Proportions the sketches use: thin parts thicker than in rolled sections, so they show.
std::vector<double> sketchDimensions(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::I:
            return {200, 130, 20, 24, 14};
        case ProfileKind::U:
            return {200, 100, 20, 24, 14};
        case ProfileKind::L:
            return {160, 120, 26, 18, 10};
        case ProfileKind::T:
            return {160, 160, 26, 28, 14};
        case ProfileKind::RHS:
            return {140, 100, 16, 28};
        case ProfileKind::CHS:
            return {100, 18};
        case ProfileKind::Kolo:
            return {100};
        case ProfileKind::Elipsa:
            return {70, 40};
        case ProfileKind::Wielokat:
            return {6, 100};
        case ProfileKind::Trojkat:
            return {100};
        case ProfileKind::Prostokat:
            return {140, 90};
        case ProfileKind::Wal:
            return {100, 40, 14};
    }
    return {};
}

/// The dimensions of a sketch, placed on its outline of dimensions `d` and box `box`.
std::vector<Dimension> dimensionsOf(ProfileKind kind, const std::vector<double>& d,
                                    const geometry::Box& box) {
    const double L = box.x0, R = box.x1, B = box.y0, T = box.y1;
    const double cx = 0.5 * (L + R), cy = 0.5 * (B + T);
    const QPointF left(-1, 0), right(1, 0), up(0, 1), down(0, -1), none(0, 0);
    const auto at = [](double x, double y) { return QPointF(x, y); };
    switch (kind) {
        case ProfileKind::I:
        case ProfileKind::U:
        case ProfileKind::T: {
            const double h = d[0], tw = d[2], tf = d[3], r = d[4];
            // The web's right face: centred in I and T, on the left in U.
            const double web = kind == ProfileKind::U ? L + tw : cx + 0.5 * tw;
            const double webY = kind == ProfileKind::T ? B + 0.3 * h : cy;
            const QPointF fillet(web + r - r * kS, T - tf - r + r * kS);
            return {{Style::Outside, at(L, B), at(L, T), left, "h"},
                    {Style::Outside, at(L, T), at(R, T), up, "b"},
                    {Style::Across, at(web - tw, webY), at(web, webY), right, "tw"},
                    {Style::Outside, at(R, T - tf), at(R, T), right, "tf"},
                    {Style::Leader, fillet, {}, QPointF(kS, -kS), "r"}};
        }
        case ProfileKind::L: {
            const double h = d[0], t = d[2], r1 = d[3], r2 = d[4];
            const QPointF root(L + t + r1 - r1 * kS, B + t + r1 - r1 * kS);
            const QPointF toe(L + t - r2 + r2 * kS, T - r2 + r2 * kS);
            return {{Style::Outside, at(L, B), at(L, T), left, "h"},
                    {Style::Outside, at(L, B), at(R, B), down, "b"},
                    {Style::Across, at(L, B + 0.55 * h), at(L + t, B + 0.55 * h), right, "t"},
                    {Style::Leader, root, {}, QPointF(kS, kS), "r1"},
                    {Style::Leader, toe, {}, QPointF(kS, kS), "r2"}};
        }
        case ProfileKind::RHS: {
            const double t = d[2], r = d[3];
            const QPointF corner(R - r + r * kS, T - r + r * kS);
            return {{Style::Outside, at(L, B), at(L, T), left, "h"},
                    {Style::Outside, at(L, T), at(R, T), up, "b"},
                    {Style::Across, at(R - t, cy), at(R, cy), right, "t"},
                    {Style::Leader, corner, {}, QPointF(kS, kS), "r"}};
        }
        case ProfileKind::CHS:
            return {{Style::Outside, at(L, cy), at(R, cy), down, "d"},
                    {Style::Across, at(R - d[1], cy), at(R, cy), right, "t"}};
        case ProfileKind::Kolo:
            return {{Style::Outside, at(L, cy), at(R, cy), down, "d"}};
        case ProfileKind::Elipsa:
            return {{Style::Across, at(cx, cy), at(R, cy), up, "a"},
                    {Style::Across, at(cx, cy), at(cx, T), left, "b"}};
        case ProfileKind::Wielokat: {
            const double s = d[1];
            const double side = s * std::tan(std::numbers::pi / d[0]);
            return {
                {Style::Outside, at(cx + 0.5 * side, B), at(cx + 0.5 * side, B + s), right, "s"},
                {Style::Name, at(cx, cy), {}, none, "n"}};
        }
        case ProfileKind::Trojkat:
            return {{Style::Outside, at(L, B), at(R, B), down, "a"}};
        case ProfileKind::Prostokat:
            return {{Style::Outside, at(L, B), at(R, B), down, "b"},
                    {Style::Outside, at(L, B), at(L, T), left, "h"}};
        case ProfileKind::Wal: {
            const double r = 0.5 * d[0], b = d[1], t = d[2];
            const double centre = B + r;
            return {{Style::Outside, at(L, centre), at(R, centre), down, "d"},
                    {Style::Outside, at(cx - 0.5 * b, T), at(cx + 0.5 * b, T), up, "b"},
                    {Style::Across, at(cx, centre + r - t), at(cx, centre + r), right, "t"}};
        }
    }
    return {};
}

/// A filled arrowhead with its tip at `tip`, pointing along the unit vector `u` (screen).
void arrowhead(QPainter& p, QPointF tip, QPointF u) {
    const QPointF n(-u.y(), u.x());
    const QPointF base = tip - 6 * u;
    p.drawPolygon(QPolygonF{{tip, base + 2.5 * n, base - 2.5 * n}});
}

QPointF unit(QPointF v) {
    const double len = std::hypot(v.x(), v.y());
    return len > 0 ? v / len : QPointF(1, 0);
}

/// Writes `name` with its centre at `centre`.
void label(QPainter& p, QPointF centre, const char* name) {
    const QString text = QString::fromUtf8(name);
    const QRectF box = p.fontMetrics().boundingRect(text);
    p.drawText(QRectF(centre.x() - 0.5 * box.width() - 1, centre.y() - 0.5 * box.height(),
                      box.width() + 2, box.height()),
               Qt::AlignCenter, text);
}

/// A dimension line from `a` to `b` (screen) with arrows at both ends pointing at them; short
/// ones have the arrows outside.
void dimensionLine(QPainter& p, QPointF a, QPointF b) {
    const QPointF u = unit(b - a);
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    if (length >= 18) {
        p.drawLine(a, b);
        arrowhead(p, a, -u);
        arrowhead(p, b, u);
    } else {
        p.drawLine(a - 10 * u, b + 10 * u);
        arrowhead(p, a, u);
        arrowhead(p, b, -u);
    }
}

}  // namespace

std::vector<double> typicalDimensions(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::I:
            return {200, 100, 5.6, 8.5, 12};
        case ProfileKind::U:
            return {200, 80, 6, 11, 13};
        case ProfileKind::L:
            return {100, 100, 10, 12, 6};
        case ProfileKind::T:
            return {100, 100, 11, 11, 11};
        case ProfileKind::RHS:
            return {120, 80, 5, 10};
        case ProfileKind::CHS:
            return {114.3, 5};
        case ProfileKind::Kolo:
            return {50};
        case ProfileKind::Elipsa:
            return {40, 20};
        case ProfileKind::Wielokat:
            return {6, 40};
        case ProfileKind::Trojkat:
            return {50};
        case ProfileKind::Prostokat:
            return {60, 40};
        case ProfileKind::Wal:
            return {50, 14, 5.5};
    }
    return {};
}

void paintProfileSketch(QPainter& p, const QRectF& area, ProfileKind kind) {
    geometry::Profile profile;
    profile.kind = kind;
    profile.dims = sketchDimensions(kind);
    const geometry::ProfileOutlines shape = geometry::profileOutlines(profile);
    if (!shape.ok() || shape.outlines.empty()) return;
    const geometry::Box box = geometry::outlineBox(shape.outlines.front());
    const double w = box.x1 - box.x0, h = box.y1 - box.y0;
    if (!(w > 0) || !(h > 0)) return;

    // Room around the shape for the dimension lines and their names.
    constexpr double kMargin = 30;
    const double scale =
        std::min((area.width() - 2 * kMargin) / w, (area.height() - 2 * kMargin) / h);
    if (!(scale > 0)) return;
    const QPointF mid = area.center();
    const double mx = 0.5 * (box.x0 + box.x1), my = 0.5 * (box.y0 + box.y1);
    const auto screen = [&](QPointF q) {
        return QPointF(mid.x() + (q.x() - mx) * scale, mid.y() - (q.y() - my) * scale);
    };
    const auto screenDir = [](QPointF u) { return QPointF(u.x(), -u.y()); };

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    const double chord = std::max(w, h) / 80;
    for (const geometry::Outline& o : shape.outlines) {
        const std::vector<geometry::Point> points = geometry::polygonOf(
            o, [chord](double, double) { return chord; }, 0.05);
        QPolygonF polygon;
        for (const geometry::Point& q : points)
            polygon << screen(QPointF(q.x, q.y));
        if (!polygon.isEmpty()) polygon << polygon.front();
        path.addPolygon(polygon);
    }
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(QColor(190, 205, 225));
    p.drawPath(path);

    QFont font = p.font();
    font.setItalic(true);
    font.setPixelSize(13);
    p.setFont(font);
    const QColor ink(20, 60, 160);
    p.setPen(QPen(ink, 1));
    p.setBrush(ink);
    const QRectF shapeBox(screen(QPointF(box.x0, box.y1)), screen(QPointF(box.x1, box.y0)));
    for (const Dimension& dim : dimensionsOf(kind, profile.dims, box)) {
        const QPointF a = screen(dim.a), b = screen(dim.b), u = screenDir(dim.dir);
        switch (dim.style) {
            case Style::Outside: {
                // The dimension line stands 12 pixels beyond the shape's box.
                QPointF la = a, lb = b;
                if (u.x() < 0) la.setX(shapeBox.left() - 12), lb.setX(shapeBox.left() - 12);
                if (u.x() > 0) la.setX(shapeBox.right() + 12), lb.setX(shapeBox.right() + 12);
                if (u.y() < 0) la.setY(shapeBox.top() - 12), lb.setY(shapeBox.top() - 12);
                if (u.y() > 0) la.setY(shapeBox.bottom() + 12), lb.setY(shapeBox.bottom() + 12);
                p.setPen(QPen(ink, 0.8));
                p.drawLine(a + 2 * u, la + 4 * u);
                p.drawLine(b + 2 * u, lb + 4 * u);
                p.setPen(QPen(ink, 1));
                dimensionLine(p, la, lb);
                label(p, 0.5 * (la + lb) + 10 * u, dim.name);
                break;
            }
            case Style::Across: {
                dimensionLine(p, a, b);
                const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
                const QPointF along = unit(b - a);
                const bool across = std::abs(along.x() * u.x() + along.y() * u.y()) < 0.5;
                // Named beside its middle on the side `dir`, or beyond its end when `dir` runs
                // along it; a short line beyond its arrows.
                if (length >= 40 || across)
                    label(p, 0.5 * (a + b) + 10 * u, dim.name);
                else
                    label(p, b + (length >= 18 ? 10 : 22) * along, dim.name);
                break;
            }
            case Style::Leader: {
                const QPointF end = a + 22 * u;
                p.drawLine(a, end);
                arrowhead(p, a, -u);
                label(p, end + 8 * u, dim.name);
                break;
            }
            case Style::Name:
                label(p, a, dim.name);
                break;
        }
    }
    p.restore();
}
