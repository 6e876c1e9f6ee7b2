#include "listing.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "solver/summary.h"

namespace listing {

namespace {

// Qt formats with the C locale whatever the process locale is. A negative value that prints
// as zero prints as the zero itself: no "-0.00".
QString num(const char* fmt, double v) {
    const QString s = QString::asprintf(fmt, v);
    if (!std::signbit(v) || !std::isfinite(v)) return s;
    const bool nonzero =
        std::any_of(s.begin(), s.end(), [](QChar c) { return c >= '1' && c <= '9'; });
    return nonzero ? s : QString::asprintf(fmt, 0.0);
}
QString num(int v) {
    return QString::number(v);
}

// A count of 0 leaves its arrays unallocated; any other count needs as many rows.
bool rowsFor(long rows, int count) {
    return count >= 0 && rows >= count;
}

}  // namespace

Table dane(const Model& m) {
    Table t;
    t.ruleEnd = 410;
    if (m.Pusty != 0) return t;
    const int E = m.ne, N = m.nn;
    // Arrays shorter than their counts would be read past their end: draw nothing then.
    if (!rowsFor(m.noc.rows(), E) || !rowsFor(m.x.rows(), N)) return t;

    auto at = [&t](int x, int y, QString s) { t.texts.push_back({QPoint(x, y), std::move(s)}); };
    at(5, 5, "Element");
    at(100, 5, "Węzeł 1");
    at(190, 5, "Węzeł 2");
    at(270, 5, "Węzeł 3");
    at(350, 5, "Nr");
    at(350, 25, "materiału");

    const int yw = E * 20 + 55;
    at(5, yw, "Węzeł");
    at(100, yw, "Wsp. X");
    at(200, yw, "Y");

    // The one material and the moment: the computation uses nothing else.
    const int ym = (N + E) * 20 + 125;
    at(5, ym, "Nr materiału");
    at(100, ym, "Moduł");
    at(100, ym + 15, "Kirchhoffa G");

    t.rules = {44, E * 20 + 73, ym + 35};

    for (int i = 1; i <= E; ++i) {
        const int y = i * 20 + 30;
        at(5, y, num(i));
        at(100, y, num(m.noc[i][1]));
        at(190, y, num(m.noc[i][2]));
        at(270, y, num(m.noc[i][3]));
    }
    for (int i = 1; i <= N; ++i) {
        const int y = E * 20 + i * 20 + 75;
        at(5, y, num(i));
        at(100, y, num("%8.3f", m.x[i][1]));
        at(200, y, num("%8.3f", m.x[i][2]));
    }
    at(5, ym + 45, num(1));
    at(100, ym + 45, num("%g", m.G));
    at(5, ym + 75, "Moment skręcający MS");
    at(200, ym + 75, num("%g", m.MS));
    return t;
}

Table wyniki(const Model& m, std::optional<double> J) {
    Table t;
    t.ruleEnd = 450;
    if (m.Pusty != 0) {
        t.pusty = true;
        return t;
    }
    const int E = m.ne, N = m.nn;
    auto at = [&t](int x, int y, QString s) { t.texts.push_back({QPoint(x, y), std::move(s)}); };
    at(5, 5, "Element");
    at(100, 5, "Naprężenie");
    at(100, 20, "tau xz");
    at(180, 5, "Naprężenie");
    at(180, 20, "tau yz");

    t.rules = {48, E * 20 + 108, (E + N) * 20 + 178};

    // After an edit napr may be resized without values until the next computation.
    const bool wartosci = m.obliczono == 1 && rowsFor(m.napr.rows(), E);
    for (int i = 1; i <= E; ++i) {
        const int y = i * 20 + 40;
        at(5, y, num(i));
        if (!wartosci) continue;
        at(100, y, num("%8.2f", m.napr[i][1]));
        at(180, y, num("%8.2f", m.napr[i][2]));
    }
    if (!wartosci) return t;

    // The summary fills the band between the second and the third rule.
    const int ys = E * 20 + 115;
    at(5, ys, "Stała skręcania J");
    // katob = MS / (G J); with MS = 0 it tells nothing of J.
    const double gk = static_cast<double>(m.G) * m.katob;
    if (!J && gk != 0.0) J = m.MS / gk;
    at(200, ys, J ? num("%g", *J) : QStringLiteral("—"));
    at(5, ys + 20, "Jednostkowy kąt skręcenia θ");
    at(200, ys + 20, num("%g", m.katob));
    if (const NodalPeak p = largestNodalStress(m); p.node != 0) {
        at(5, ys + 40, "Największe naprężenie τ");
        at(200, ys + 40, num("%g", p.tau));
        at(300, ys + 40, "w węźle " + num(p.node));
    }
    return t;
}

QSize daneRange(const Model& m) {
    return QSize(30, ((m.ne + m.nn) * 20 + 250) / 10);
}

QSize wynikiRange(const Model& m) {
    // At least down to the summary below the element rows.
    return QSize(30, std::max(m.ne * 40 + 80, m.ne * 20 + 180) / 10);
}

QColor background() {
    return QColor(192, 192, 192);
}

QFont font() {
    // A Windows font height counts the whole cell; Qt's pixel size is the em, which is smaller.
    QFont f(QStringLiteral("Arial"));
    for (int px = kFontHeight; px > 1; --px) {
        f.setPixelSize(px);
        if (QFontMetrics(f).height() <= kFontHeight) break;
    }
    return f;
}

void paint(QPainter& p, const Table& t, QSize size, QPoint offset) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.fillRect(QRect(QPoint(0, 0), size), background());
    p.translate(-offset);

    // A rule at y covers y - 1 .. y + 1.
    p.setPen(QPen(Qt::black, kRule, Qt::SolidLine, Qt::FlatCap));
    for (int y : t.rules)
        p.drawLine(QPointF(2, y + 0.5), QPointF(t.ruleEnd, y + 0.5));

    p.setFont(font());
    const int ascent = p.fontMetrics().ascent();
    const int height = p.fontMetrics().height();
    for (const Text& s : t.texts) {
        // Long tables: only the rows inside the window are worth drawing.
        if (s.at.y() + height < offset.y() || s.at.y() > offset.y() + size.height()) continue;
        p.drawText(s.at + QPoint(0, ascent), s.text);
    }
    p.restore();
}

}  // namespace listing
