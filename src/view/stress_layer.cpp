#include "stress_layer.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstdio>

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

    QColor colour(float v) const { return k[static_cast<size_t>(stressIndex(std::fabs(v), ss))]; }

    void fill(const QPolygon& poly, const QColor& c) {
        p.setPen(QPen(c, 1));
        p.setBrush(c);
        p.drawPolygon(poly);
    }
};

// The last accepted level line; it carries over from one element to the next.
struct Segment {
    QPoint s, e;
    bool any = false;
};

void drawBands(StressPaint& sp, int el, int i_izo, float maw, Segment& last) {
    const Model& m = sp.m;
    const float stp = maw / static_cast<float>(i_izo - 1);
    int pz = 0;
    for (int k = 1; k <= i_izo; ++k) {
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
            const QColor c = sp.colour(fi);
            const QPoint S1 = last.s, E1 = last.e;
            // Three vertex orders: together they cover the hull of the two segments
            // whichever way each one runs.
            sp.fill(QPolygon({S, E1, E, S1}), c);
            sp.fill(QPolygon({S, E, S1, E1}), c);
            sp.fill(QPolygon({S, E, E1, S1}), c);
        }
        last = {S, E, true};
        ++pz;
    }
}

}  // namespace

void paintStressLayer(QPainter& p, QSize client, const Model& m, const ViewOptions& o,
                      const ViewMapping& mapping, int i_izo) {
    // Only the three stress columns can be shown.
    if (o.p_rn < 1 || o.p_rn > 3) return;
    static const StressPalette stepped = stressPalette(1);
    StressPaint sp{p, m, mapping, o.knapr ? *o.knapr : stepped, o.p_rn};
    const int rn = o.p_rn;

    float maw = std::fabs(m.ww[1][rn]);
    for (int e = 1; e <= m.ne; ++e) {
        maw = std::max(maw, std::fabs(m.napr[e][rn]));
        for (int k = 1; k <= 3; ++k)
            maw = std::max(maw, std::fabs(m.ww[m.noc[e][k]][rn]));
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

    Segment last;
    for (int e = 1; e <= m.ne; ++e) {
        QPointF P[4];
        for (int k = 1; k <= 3; ++k) {
            const int n = m.noc[e][k];
            P[k] = QPointF(mapping.toWindowX(m.x[n][1]), mapping.toWindowY(m.x[n][2]));
        }
        auto px = [](QPointF q) { return QPoint(pixel(float(q.x())), pixel(float(q.y()))); };
        auto mid = [&](int a, int b) { return px(P[a] + (P[b] - P[a]) * 0.5); };
        if (i_izo == 1) {
            sp.fill(QPolygon({px(P[3]), px(P[1]), px(P[2])}), sp.colour(m.napr[e][rn]));
            continue;
        }
        const QPoint m12 = mid(1, 2), m23 = mid(2, 3), m13 = mid(1, 3);
        sp.fill(QPolygon({m13, m23, m12}), sp.colour(m.napr[e][rn]));
        sp.fill(QPolygon({m13, px(P[1]), m12}), sp.colour(m.ww[m.noc[e][1]][rn]));
        sp.fill(QPolygon({m23, px(P[2]), m12}), sp.colour(m.ww[m.noc[e][2]][rn]));
        sp.fill(QPolygon({m23, px(P[3]), m13}), sp.colour(m.ww[m.noc[e][3]][rn]));
        if (i_izo >= 4) drawBands(sp, e, i_izo, maw, last);
    }
    p.setBrush(Qt::NoBrush);
}
