#include "stress_layer.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "paint_model.h"

StressPalette stressPalette(int p_skok) {
    StressPalette k;
    for (int i = 0; i <= 200; ++i) {
        if (p_skok == 1) {
            if (i < 50)
                k[i] = QColor(105 + 2 * i, 0, 0);
            else if (i < 100)
                k[i] = QColor(255, 2 * i + 7, 0);
            else if (i < 150)
                k[i] = QColor(0, 2 * i - 93, 0);
            else
                k[i] = QColor(0, i - 50, 2 * i - 158);
        } else {
            if (i < 33)
                k[i] = QColor(255 - 3 * i, 0, 0);
            else if (i < 65)
                k[i] = QColor(159, 4 * i - 128, 0);
            else if (i < 116)
                k[i] = QColor(287 - 2 * i, 128, 0);
            else if (i < 161)
                k[i] = QColor(55, 128, 4 * i - 460);
            else
                k[i] = QColor(55, 608 - 3 * i, i + 20);
        }
    }
    return k;
}

int stressIndex(float v, float ss) {
    const float f = 200.0f - v * ss;
    // NaN and far-off values land on a bound instead of an out-of-range conversion.
    if (!(f > 0.0f)) return 0;
    if (f >= 200.0f) return 200;
    return static_cast<int>(f);
}

QString stressBarLabel(float u, float shown) {
    char buf[64];
    const char* fmt = u > 999.0f ? "%6.0f" : u > 9.0f ? "%3.2f" : "%1.4f";
    std::snprintf(buf, sizeof buf, fmt, static_cast<double>(shown));
    return QString::fromLatin1(buf);
}

namespace {

struct StressPaint {
    QPainter& p;
    const Model& m;
    const ViewMapping& map;
    const StressPalette& k;
    int rn;
    float ss = 1.0f;
    const float* mag = nullptr;  ///< |ww| of column rn by node number

    int last = -1;  ///< palette index of the brush selected, -1 before the first

    int index(float v) const { return stressIndex(std::fabs(v), ss); }
    QColor colour(float v) const { return k[static_cast<size_t>(index(v))]; }

    // Polygons are filled without an outline. Their corners are whole pixels shared with their
    // neighbours, so the triangles tile each element and the mesh; stroking every polygon cost
    // more than filling it and changed only which of two neighbours a border pixel takes. The
    // mesh's outer edge lies under the boundary line.
    void select(int i) {
        if (i == last) return;
        last = i;
        p.setBrush(k[static_cast<size_t>(i)]);
    }
    void triangle(QPoint a, QPoint b, QPoint c, int i) {
        select(i);
        const QPoint t[3] = {a, b, c};
        p.drawConvexPolygon(t, 3);
    }
    void convex(const QPoint* pts, int n, int i) {
        select(i);
        p.drawConvexPolygon(pts, n);
    }
};

int cross(QPoint o, QPoint a, QPoint b) {
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

/// Convex hull of four points, counter-clockwise in pixel coordinates, without collinear
/// points; returns the number of corners (fewer than 3 when the points lie on one line).
int convexHull(std::array<QPoint, 4> pts, QPoint* hull) {
    std::sort(pts.begin(), pts.end(), [](QPoint a, QPoint b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    QPoint h[8];
    int k = 0;
    for (int i = 0; i < 4; ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    for (int i = 2, t = k + 1; i >= 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    const int n = k - 1;
    for (int i = 0; i < n; ++i)
        hull[i] = h[i];
    return n;
}

// The last accepted level line; it carries over from one element to the next.
struct Segment {
    QPoint s, e;
    bool any = false;
};

void drawBands(StressPaint& sp, int el, int i_izo, float maw, Segment& last) {
    const Model& m = sp.m;
    const float stp = maw / static_cast<float>(i_izo - 1);
    // A level crosses an edge only between the edge's end values: levels outside the range of
    // the three nodes find no crossing and change nothing, so they are skipped. The range is
    // widened by one level each way against the round-off of (k - 1) * stp.
    float lo = std::fabs(m.ww[m.noc[el][1]][sp.rn]), hi = lo;
    for (int n = 2; n <= 3; ++n) {
        const float v = std::fabs(m.ww[m.noc[el][n]][sp.rn]);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    if (!(hi > lo)) return;
    const float kLo = lo / stp, kHi = hi / stp + 2.0f;
    const int first = kLo > 1.0f ? static_cast<int>(kLo) : 1;
    const int end = kHi < static_cast<float>(i_izo) ? static_cast<int>(kHi) : i_izo;
    int pz = 0;
    for (int k = first; k <= end; ++k) {
        const float fi = static_cast<float>(k - 1) * stp;
        QPoint pts[2];
        int found = 0;
        for (int edge = 1; edge <= 3 && found < 2; ++edge) {
            const int a = m.noc[el][edge], b = m.noc[el][edge % 3 + 1];
            const float A = std::fabs(m.ww[a][sp.rn]), B = std::fabs(m.ww[b][sp.rn]);
            if (!((A > fi && B <= fi) || (A <= fi && B > fi))) continue;
            const float xi = (fi - A) / (B - A);
            const float x = (1.0f - xi) * m.x[a][1] + xi * m.x[b][1];
            const float y = (1.0f - xi) * m.x[a][2] + xi * m.x[b][2];
            pts[found++] = QPoint(pixel(sp.map.toWindowX(x)), pixel(sp.map.toWindowY(y)));
        }
        if (found < 2) continue;
        const QPoint S = pts[0], E = pts[1];
        if (last.any && k != 1) {
            const int d = std::abs(last.s.x() - S.x()) + std::abs(last.s.y() - S.y()) +
                          std::abs(last.e.x() - E.x()) + std::abs(last.e.y() - E.y());
            if (d <= 5) continue;
        }
        if (pz > 0) {
            const int c = sp.index(fi);
            // The band covers the hull of the two segments whichever way each one runs.
            QPoint hull[4];
            const int n = convexHull({S, E, last.e, last.s}, hull);
            if (n >= 3) sp.convex(hull, n, c);
        }
        last = {S, E, true};
        ++pz;
    }
}

/// Elements whose corners lie within this many pixels of each other along both axes are
/// coloured pixel by pixel: four fill calls for the one to nine pixels such an element covers
/// cost far more than setting them.
constexpr int kTinySpan = 2;

/// The tiny elements' own layer over the client area, in device pixels, composed over the
/// picture once at the end. Each pixel whose centre lies inside or on the element's triangle
/// (corners truncated as for the fills) takes the colour the fills would give that point: the
/// corner's nodal colour where its barycentric weight is at least 1/2, the element's colour in
/// the middle, and with four levels or more the band's colour between two level lines that
/// both cross the element.
class PixelLayer {
  public:
    /// A layer for a raster painter at a uniform scale without offset (the window's pixel
    /// ratio); none for vector output or any other transform, which keep the fills.
    static std::optional<PixelLayer> forPainter(QPainter& p, QSize client) {
        if (p.paintEngine() == nullptr || p.paintEngine()->type() != QPaintEngine::Raster)
            return std::nullopt;
        const QTransform t = p.deviceTransform();
        if (t.type() > QTransform::TxScale || t.m11() != t.m22() || !(t.m11() > 0.0) ||
            t.dx() != 0.0 || t.dy() != 0.0)
            return std::nullopt;
        return PixelLayer(client, static_cast<float>(t.m11()));
    }

    static bool tiny(const QPoint* c) {
        const int x0 = std::min({c[0].x(), c[1].x(), c[2].x()});
        const int x1 = std::max({c[0].x(), c[1].x(), c[2].x()});
        const int y0 = std::min({c[0].y(), c[1].y(), c[2].y()});
        const int y1 = std::max({c[0].y(), c[1].y(), c[2].y()});
        return x1 - x0 <= kTinySpan && y1 - y0 <= kTinySpan;
    }

    /// Colours element e with corners c (window pixels, nodes 1..3 of noc in order).
    void element(const StressPaint& sp, int e, const QPoint* c, int i_izo, float stp) {
        if (img_.isNull()) {
            img_ = QImage(size_, QImage::Format_ARGB32_Premultiplied);
            img_.setDevicePixelRatio(scale_);
            img_.fill(Qt::transparent);
            bits_ = img_.bits();
            stride_ = img_.bytesPerLine();
            for (size_t i = 0; i < rgb_.size(); ++i)
                rgb_[i] = sp.k[i].rgb();
        }
        const Model& m = sp.m;
        float v[3];
        for (int k = 0; k < 3; ++k)
            v[k] = sp.mag[m.noc[e][k + 1]];
        const float ax = static_cast<float>(c[0].x()), ay = static_cast<float>(c[0].y());
        const float bx = static_cast<float>(c[1].x()), by = static_cast<float>(c[1].y());
        const float cx = static_cast<float>(c[2].x()), cy = static_cast<float>(c[2].y());
        const float area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        if (area == 0.0f) return;  // covers no pixel centre; its neighbours do
        const QRgb middle = rgb_[static_cast<size_t>(sp.index(m.napr[e][sp.rn]))];
        const QRgb corner[3] = {rgb_[static_cast<size_t>(stressIndex(v[0], sp.ss))],
                                rgb_[static_cast<size_t>(stressIndex(v[1], sp.ss))],
                                rgb_[static_cast<size_t>(stressIndex(v[2], sp.ss))]};
        const float lo = std::min({v[0], v[1], v[2]}), hi = std::max({v[0], v[1], v[2]});
        const bool bands = i_izo >= 4 && hi > lo;

        // Pixels whose centres (X + 0.5) / scale lie within the corners' range.
        const float inv = 1.0f / area;
        const int X0 =
            std::max(0, static_cast<int>(std::ceil(std::min({ax, bx, cx}) * scale_ - 0.5f)));
        const int X1 =
            std::min(size_.width() - 1,
                     static_cast<int>(std::floor(std::max({ax, bx, cx}) * scale_ - 0.5f)));
        const int Y0 =
            std::max(0, static_cast<int>(std::ceil(std::min({ay, by, cy}) * scale_ - 0.5f)));
        const int Y1 =
            std::min(size_.height() - 1,
                     static_cast<int>(std::floor(std::max({ay, by, cy}) * scale_ - 0.5f)));
        for (int Y = Y0; Y <= Y1; ++Y) {
            QRgb* line = reinterpret_cast<QRgb*>(bits_ + static_cast<long>(Y) * stride_);
            const float py = (static_cast<float>(Y) + 0.5f) / scale_;
            for (int X = X0; X <= X1; ++X) {
                const float px = (static_cast<float>(X) + 0.5f) / scale_;
                // Barycentric weights of the pixel centre; all >= 0 inside and on the edges.
                const float la = ((bx - px) * (cy - py) - (by - py) * (cx - px)) * inv;
                const float lb = ((cx - px) * (ay - py) - (cy - py) * (ax - px)) * inv;
                const float lc = 1.0f - la - lb;
                if (la < 0.0f || lb < 0.0f || lc < 0.0f) continue;
                QRgb colour = i_izo == 1   ? middle
                              : la >= 0.5f ? corner[0]
                              : lb >= 0.5f ? corner[1]
                              : lc >= 0.5f ? corner[2]
                                           : middle;
                if (bands) {
                    const float at = la * v[0] + lb * v[1] + lc * v[2];
                    const float k = std::ceil(at / stp);
                    const float below = (k - 1.0f) * stp, above = k * stp;
                    if (k >= 1.0f && k <= static_cast<float>(i_izo - 1) && below >= lo &&
                        above < hi)
                        colour = rgb_[static_cast<size_t>(sp.index(above))];
                }
                line[X] = colour;
            }
        }
    }

    /// Draws what was coloured over the picture.
    void compose(QPainter& p) const {
        if (!img_.isNull()) p.drawImage(QPointF(0.0, 0.0), img_);
    }

  private:
    PixelLayer(QSize client, float scale)
        : size_(static_cast<int>(std::ceil(static_cast<float>(client.width()) * scale)),
                static_cast<int>(std::ceil(static_cast<float>(client.height()) * scale))),
          scale_(scale) {}

    QSize size_;
    float scale_;
    QImage img_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
    std::array<QRgb, 201> rgb_{};
};

/// True when no pixel of the client area lies inside the triangle of corners c: fills cover
/// pixel centres only, so corners truncated to -1 or less, or to the width or more, along one
/// axis leave nothing in the area.
bool outside(const QPoint* c, QSize client) {
    const int x0 = std::min({c[0].x(), c[1].x(), c[2].x()});
    const int x1 = std::max({c[0].x(), c[1].x(), c[2].x()});
    const int y0 = std::min({c[0].y(), c[1].y(), c[2].y()});
    const int y1 = std::max({c[0].y(), c[1].y(), c[2].y()});
    return x1 < 0 || y1 < 0 || x0 >= client.width() || y0 >= client.height();
}

}  // namespace

void paintStressLayer(QPainter& p, QSize client, const Model& m, const ViewOptions& o,
                      const ViewMapping& mapping, int i_izo) {
    // Only the three stress columns can be shown.
    if (o.p_rn < 1 || o.p_rn > 3) return;
    static const StressPalette stepped = stressPalette(1);
    StressPaint sp{p, m, mapping, o.knapr ? *o.knapr : stepped, o.p_rn};
    const int rn = o.p_rn;

    // Window pixels and magnitudes of the nodes, once per node instead of once per corner.
    std::vector<QPoint> at(static_cast<size_t>(m.nn) + 1);
    std::vector<float> mag(static_cast<size_t>(m.nn) + 1);
    for (int n = 1; n <= m.nn; ++n) {
        at[static_cast<size_t>(n)] =
            QPoint(pixel(mapping.toWindowX(m.x[n][1])), pixel(mapping.toWindowY(m.x[n][2])));
        mag[static_cast<size_t>(n)] = std::fabs(m.ww[n][rn]);
    }
    sp.mag = mag.data();

    float maw = std::fabs(m.ww[1][rn]);
    for (int e = 1; e <= m.ne; ++e) {
        maw = std::max(maw, std::fabs(m.napr[e][rn]));
        const int* c = m.noc[e];
        for (int k = 1; k <= 3; ++k)
            maw = std::max(maw, mag[static_cast<size_t>(c[k])]);
    }
    // A non-finite top would make every colour and label meaningless; show it like zero.
    if (maw == 0.0f || !std::isfinite(maw)) maw = 1.0f;
    sp.ss = 200.0f / maw;

    // Colour bar.
    const float w = static_cast<float>(client.width());
    const int h = client.height();
    const float cell = (w - 50.0f) * 0.005f;
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(25, h - 1, pixel(200.0f * cell + 25.0f), h - 1);
    p.drawLine(25, h - 10, pixel(200.0f * cell + 25.0f), h - 10);
    const int ascent = QFontMetrics(p.font()).ascent();
    for (int j = 1; j <= 200; ++j) {
        const QColor& c = sp.k[static_cast<size_t>(j)];
        const int x1 = pixel(static_cast<float>(j - 1) * cell + 25.0f);
        const int x2 = pixel(static_cast<float>(j) * cell + 25.0f);
        p.setPen(QPen(c, 1));
        p.setBrush(c);
        p.drawRect(x1, h - 9, x2 - x1, 7);
        if (j == 1 || j % 25 == 0) {
            const float u = static_cast<float>(200 - j) / sp.ss;
            p.setPen(Qt::black);
            p.drawText(QPoint(pixel(static_cast<float>(j - 1) * cell + 20.0f), h - 22 + ascent),
                       stressBarLabel(u, j == 1 ? 200.0f / sp.ss : u));
        }
    }

    sp.last = -1;  // the bar selected its own brushes
    p.setPen(Qt::NoPen);
    std::optional<PixelLayer> pixels = PixelLayer::forPainter(p, client);
    const float stp = i_izo > 1 ? maw / static_cast<float>(i_izo - 1) : maw;
    Segment last;
    for (int e = 1; e <= m.ne; ++e) {
        const int* c = m.noc[e];
        const QPoint corners[3] = {at[static_cast<size_t>(c[1])], at[static_cast<size_t>(c[2])],
                                   at[static_cast<size_t>(c[3])]};
        if (outside(corners, client)) continue;
        if (pixels && PixelLayer::tiny(corners)) {
            pixels->element(sp, e, corners, i_izo, stp);
            continue;
        }
        QPointF P[4];
        for (int k = 1; k <= 3; ++k) {
            const int n = c[k];
            P[k] = QPointF(mapping.toWindowX(m.x[n][1]), mapping.toWindowY(m.x[n][2]));
        }
        auto px = [](QPointF q) { return QPoint(pixel(float(q.x())), pixel(float(q.y()))); };
        auto mid = [&](int a, int b) { return px(P[a] + (P[b] - P[a]) * 0.5); };
        if (i_izo == 1) {
            sp.triangle(corners[2], corners[0], corners[1], sp.index(m.napr[e][rn]));
            continue;
        }
        const QPoint m12 = mid(1, 2), m23 = mid(2, 3), m13 = mid(1, 3);
        sp.triangle(m13, m23, m12, sp.index(m.napr[e][rn]));
        sp.triangle(m13, corners[0], m12, sp.index(m.ww[m.noc[e][1]][rn]));
        sp.triangle(m23, corners[1], m12, sp.index(m.ww[m.noc[e][2]][rn]));
        sp.triangle(m23, corners[2], m13, sp.index(m.ww[m.noc[e][3]][rn]));
        if (i_izo >= 4) drawBands(sp, e, i_izo, maw, last);
    }
    if (pixels) pixels->compose(p);
    p.setBrush(Qt::NoBrush);
}
