#include "mesh_layers.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "solver/boundary.h"

namespace {

const QColor kBoundary(128, 128, 128);
const QColor kEdge(0, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kNodeMark(255, 128, 128);
const QColor kGroupMark(255, 128, 0);
const QColor kArrow(255, 0, 0);
const QColor kWhite(255, 255, 255);

/// A solid pen; wider pens get round ends, as wide lines always had on this program's screen.
QPen pen(const QColor& c, int width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pn(c);
    pn.setWidth(width);
    pn.setStyle(style);
    pn.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pn.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    return pn;
}

void line(QPainter& p, float x1, float y1, float x2, float y2) {
    p.drawLine(pixel(x1), pixel(y1), pixel(x2), pixel(y2));
}

bool isNode(const Model& m, int n) {
    return n >= 1 && n <= m.nn;
}

}  // namespace

QPointF MeshPaint::node(int n) const {
    return {map.toWindowX(m.x[n][1]), map.toWindowY(m.x[n][2])};
}

void MeshPaint::write(float x, float y, const char* s) const {
    const QPen kept = p.pen();
    p.setPen(text);
    p.drawText(QPoint(pixel(x), pixel(y) + ascent), QString::fromUtf8(s));
    p.setPen(kept);
}

void MeshPaint::measureFont() {
    const QFontMetrics fm(p.font());
    ascent = fm.ascent();
    height = fm.height();
    for (int d = 0; d < 10; ++d)
        digit[static_cast<size_t>(d)] = fm.horizontalAdvance(QChar('0' + d));
}

void MeshPaint::writeNumber(float x, float y, int n) const {
    if (labels) {
        // A box starting right of or below the area, or ending above it, is never taken: no
        // need to format the number.
        const int X = pixel(x), Y = pixel(y);
        if (X - digit[0] / 2 >= static_cast<int>(w) || Y >= static_cast<int>(h) || Y + height <= 0)
            return;
    }
    char sn[20];
    const int len = std::snprintf(sn, sizeof sn, "%d", n);
    if (labels) {
        int width = 0;
        for (int i = 0; i < len; ++i)
            width += sn[i] >= '0' && sn[i] <= '9' ? digit[static_cast<size_t>(sn[i] - '0')] : 0;
        // Half a digit of room on either side, so that neighbours never run into one number.
        const int gap = digit[0] / 2;
        if (!labels->take(QRect(pixel(x) - gap, pixel(y), std::max(width, 1) + 2 * gap, height)))
            return;
    }
    p.setPen(text);
    p.drawText(QPoint(pixel(x), pixel(y) + ascent), QString::fromLatin1(sn, len));
}

namespace {

struct Point {
    float x, y;
};

Point labelPoint(const Model& m, int e) {
    const float x1 = m.x[m.noc[e][1]][1], y1 = m.x[m.noc[e][1]][2];
    const float x2 = m.x[m.noc[e][2]][1], y2 = m.x[m.noc[e][2]][2];
    const float x3 = m.x[m.noc[e][3]][1], y3 = m.x[m.noc[e][3]][2];
    const float m12x = x1 + (x2 - x1) * 0.5f, m12y = y1 + (y2 - y1) * 0.5f;
    const float m23x = x2 + (x3 - x2) * 0.5f, m23y = y2 + (y3 - y2) * 0.5f;
    if (m23x - x1 == 0.0f) return {x1, m12y};
    const float a1 = (m23y - y1) / (m23x - x1);
    if (m12x - x3 == 0.0f) return {x3, m23y};
    const float a2 = (m12y - y3) / (m12x - x3);
    const Point mean{(x1 + x2 + x3) / 3.0f, (y1 + y2 + y3) / 3.0f};
    if (a1 == a2) return mean;
    const float b1 = y1 - a1 * x1, b2 = y3 - a2 * x3;
    const float x = (b2 - b1) / (a1 - a2);
    const float y = a1 * x + b1;
    if (!std::isfinite(x) || !std::isfinite(y)) return mean;
    return {x, y};
}

}  // namespace

float sciezx(const Model& m, int e) {
    return labelPoint(m, e).x;
}
float sciezy(const Model& m, int e) {
    return labelPoint(m, e).y;
}

void prepareWarp(MeshPaint& mp) {
    mp.fskala = 0.0f;
    mp.fmax = 0.0f;
    // f holds a solution only with results; without them it is never read.
    if (mp.o.p_n_pola != 1 || mp.m.obliczono != 1) return;
    for (int j = 1; j <= mp.m.nq; ++j)
        if (std::fabs(mp.m.f[j]) > mp.fmax) mp.fmax = std::fabs(mp.m.f[j]);
    if (mp.fmax > 0.0f) mp.fskala = -10.0f / mp.fmax;
}

namespace {

/// From this many elements the boundary is kept between paints: finding it takes longer than
/// the rest of a picture with the map.
constexpr int kKeptBoundaryFrom = 50000;

/// Fingerprint of the element table in order: the boundary depends on nothing else.
std::uint64_t elementPrint(const Model& m) {
    std::uint64_t h = 1469598103934665603ull ^ static_cast<std::uint64_t>(m.ne);
    for (int e = 1; e <= m.ne; ++e) {
        const int* n = m.noc[e];
        const std::uint64_t v =
            static_cast<std::uint32_t>(n[1]) +
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(n[2])) << 21) +
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(n[3])) << 42);
        h = (h ^ v) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    return h;
}

/// The boundary of the last large model painted, found again only when its elements change.
std::shared_ptr<const std::vector<BoundaryEdge>> keptBoundary(const Model& m) {
    static std::mutex guard;
    static std::shared_ptr<const std::vector<BoundaryEdge>> edges;
    static std::uint64_t print = 0;
    static int nn = -1, ne = -1;
    const std::uint64_t now = elementPrint(m);
    const std::lock_guard<std::mutex> lock(guard);
    if (!edges || now != print || nn != m.nn || ne != m.ne) {
        edges = std::make_shared<const std::vector<BoundaryEdge>>(boundaryEdges(m));
        print = now;
        nn = m.nn;
        ne = m.ne;
    }
    return edges;
}

}  // namespace

void drawBoundary(MeshPaint& mp) {
    mp.p.setPen(pen(kBoundary, 2));
    const std::shared_ptr<const std::vector<BoundaryEdge>> edges =
        mp.m.ne < kKeptBoundaryFrom
            ? std::make_shared<const std::vector<BoundaryEdge>>(boundaryEdges(mp.m))
            : keptBoundary(mp.m);
    for (const BoundaryEdge& b : *edges) {
        const QPointF a = mp.node(edgeFrom(mp.m, b)), c = mp.node(edgeTo(mp.m, b));
        line(mp.p, a.x(), a.y(), c.x(), c.y());
    }
}

void drawElements(MeshPaint& mp) {
    const Model& m = mp.m;
    const bool edges = mp.o.p_siatka == 1 && mp.detail.edges;
    const bool warp = mp.o.p_n_pola == 1 && m.obliczono == 1 && mp.detail.edges;
    const bool numbers = mp.o.p_n_ele == 1 && mp.detail.elementNumbers;
    if (!edges && !warp && !numbers) return;
    const QPen edge = pen(kEdge, 1), black = pen(kBlack, 1);
    // Strokes of an element that lies this far outside the area leave no pixel in it; warped
    // outlines move up to 10 pixels off the element.
    const float margin = warp ? 12.0f : 2.0f;
    const QPen* selected = nullptr;
    auto use = [&](const QPen& pn) {
        if (selected == &pn) return;
        mp.p.setPen(pn);
        selected = &pn;
    };
    for (int i = 1; i <= m.ne; ++i) {
        QPointF q[3];
        for (int k = 0; k < 3; ++k)
            q[k] = mp.node(m.noc[i][k + 1]);
        const bool inside = std::max({q[0].x(), q[1].x(), q[2].x()}) >= -margin &&
                            std::min({q[0].x(), q[1].x(), q[2].x()}) <= mp.w + margin &&
                            std::max({q[0].y(), q[1].y(), q[2].y()}) >= -margin &&
                            std::min({q[0].y(), q[1].y(), q[2].y()}) <= mp.h + margin;
        if (edges && inside) {
            use(edge);
            const QPoint poly[4] = {
                {pixel(static_cast<float>(q[0].x())), pixel(static_cast<float>(q[0].y()))},
                {pixel(static_cast<float>(q[1].x())), pixel(static_cast<float>(q[1].y()))},
                {pixel(static_cast<float>(q[2].x())), pixel(static_cast<float>(q[2].y()))},
                {pixel(static_cast<float>(q[0].x())), pixel(static_cast<float>(q[0].y()))}};
            mp.p.drawPolyline(poly, 4);
        }
        if (warp && inside) {
            use(black);
            QPoint poly[4];
            for (int k = 0; k < 4; ++k) {
                const int n = m.noc[i][k % 3 + 1];
                const float d = mp.fskala * m.f[n];
                poly[k] = QPoint(pixel(static_cast<float>(q[k % 3].x()) - d),
                                 pixel(static_cast<float>(q[k % 3].y()) + d));
            }
            mp.p.drawPolyline(poly, 4);
        }
        if (numbers) {
            mp.writeNumber(mp.map.toWindowX(sciezx(m, i)), mp.map.toWindowY(sciezy(m, i)), i);
            selected = nullptr;  // the number selected its own pen
        }
    }
}

namespace {

/// A cross of arms `arm` drawn with a round-capped pen: stroked once into a stamp, then copied
/// to every node. Truncation commutes with whole-pixel shifts for coordinates of 1 and more,
/// so the copies are the strokes pixel for pixel; nearer the left or top edge, and on vector
/// output, they are stroked.
class MarkStamp {
  public:
    MarkStamp(const QColor& c, int width, int arm) : pen_(pen(c, width)), arm_(arm) {
        const int r = arm + width + 2;
        origin_ = r;
        img_ = QImage(2 * r + 1, 2 * r + 1, QImage::Format_ARGB32_Premultiplied);
        img_.fill(Qt::transparent);
        QPainter s(&img_);
        s.setPen(pen_);
        stroke(s, static_cast<float>(r), static_cast<float>(r));
    }

    void draw(MeshPaint& mp, QPointF q) const {
        const float X = static_cast<float>(q.x()), Y = static_cast<float>(q.y());
        // Marks far outside the area draw nothing visible.
        if (X < -origin_ || Y < -origin_ || X > mp.w + origin_ || Y > mp.h + origin_) return;
        // Vector output (SVG) keeps its strokes; only pixels are copied.
        const bool raster = mp.p.paintEngine()->type() == QPaintEngine::Raster;
        if (raster && X >= static_cast<float>(arm_) + 1.0f &&
            Y >= static_cast<float>(arm_) + 1.0f) {
            mp.p.drawImage(pixel(X) - origin_, pixel(Y) - origin_, img_);
        } else {
            mp.p.setPen(pen_);
            stroke(mp.p, X, Y);
        }
    }

  private:
    void stroke(QPainter& p, float X, float Y) const {
        const float a = static_cast<float>(arm_);
        line(p, X - a, Y, X + a, Y);
        line(p, X, Y - a, X, Y + a);
    }

    QPen pen_;
    int arm_;
    int origin_ = 0;
    QImage img_;
};

}  // namespace

void drawNodeMarks(MeshPaint& mp) {
    const MarkStamp mark(kNodeMark, 2, 1);
    for (int n = 1; n <= mp.m.nn; ++n)
        mark.draw(mp, mp.node(n));
}

void drawGroupMarks(MeshPaint& mp) {
    const Model& m = mp.m;
    if (m.nn <= 0 || !m.s_grp.allocated()) return;
    const MarkStamp mark(kGroupMark, 3, 3);
    for (int j = 1; j <= m.i_grp && j <= m.s_grp.size(); ++j) {
        const int n = m.s_grp[j];
        // A group left over from an edit that removed its node is skipped, not read outside x.
        if (!isNode(m, n)) continue;
        mark.draw(mp, mp.node(n));
    }
}

void drawNodeNumbers(MeshPaint& mp) {
    for (int n = 1; n <= mp.m.nn; ++n) {
        const QPointF q = mp.node(n);
        mp.writeNumber(static_cast<float>(q.x()) + 3, static_cast<float>(q.y()) + 5, n);
    }
}

void drawLoadArrows(MeshPaint& mp) {
    const Model& m = mp.m;
    if (m.nn <= 0) return;
    mp.p.setPen(pen(kArrow, 3));
    int count = 0;
    char sn[20];
    for (int k = 1; k <= m.nq; ++k) {
        const float s = m.si[k];
        if (s == 0.0f) continue;
        ++count;
        std::snprintf(sn, sizeof sn, "%d", count);
        const QPointF q = mp.node(k % 2 == 1 ? (k + 1) / 2 : k / 2);
        float X = static_cast<float>(q.x()), Y = static_cast<float>(q.y());
        if (k % 2 == 0 && s < 0) {
            if (Y + 25 >= mp.h) Y -= 25;
            line(mp.p, X, Y, X, Y + 25);
            line(mp.p, X, Y + 25, X - 4, Y + 19);
            line(mp.p, X, Y + 25, X + 4, Y + 19);
        } else if (k % 2 == 0) {
            if (Y - 25 <= 1) Y += 25;
            line(mp.p, X, Y, X, Y - 25);
            line(mp.p, X, Y - 25, X - 4, Y - 19);
            line(mp.p, X, Y - 25, X + 4, Y - 19);
        } else if (s > 0) {
            if (X + 25 >= mp.w) X -= 25;
            line(mp.p, X, Y, X + 25, Y);
            line(mp.p, X + 25, Y, X + 19, Y + 4);
            line(mp.p, X + 25, Y, X + 19, Y - 4);
        } else {
            if (X - 25 <= 1) X += 25;
            line(mp.p, X, Y, X - 25, Y);
            line(mp.p, X - 25, Y, X - 19, Y + 4);
            line(mp.p, X - 25, Y, X - 19, Y - 4);
        }
        if (mp.o.p_sily_nr == 1) mp.write(X, Y, sn);
    }
}

void drawWarpLegend(MeshPaint& mp) {
    char sn[20];
    // fskala is 0 only when every f is 0: the bar then stands for 0.
    const float value = mp.fskala != 0.0f ? std::fabs(10.0f / mp.fskala) : mp.fmax;
    std::snprintf(sn, sizeof sn, "%2.8f", value);
    mp.p.setPen(pen(kWhite, 2, Qt::DashLine));
    mp.p.setBrush(kWhite);
    mp.p.drawRect(0, 0, 40, 30);
    mp.p.setBrush(Qt::NoBrush);
    mp.p.setPen(pen(kBlack, 1));
    mp.p.drawLine(2, 10, 22, 10);
    mp.p.drawLine(2, 8, 2, 12);
    mp.p.drawLine(22, 8, 22, 12);
    mp.write(3, 14, sn);
}
