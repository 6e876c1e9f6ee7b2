#include "view/listing.h"

#include <QPainter>

namespace listing {

namespace {

// Qt formats with the C locale whatever the process locale is.
QString num(const char* fmt, double v) {
    return QString::asprintf(fmt, v);
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

    const int ym = (N + E) * 20 + 125;
    at(5, ym, "Nr materiału");
    at(100, ym, "Moduł");
    at(100, (N + E) * 20 + 140, "Younga");
    at(200, ym, "Wsp. Poissona");

    t.rules = {44, E * 20 + 73, (N + E) * 20 + 160};

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
    return t;
}

Table wyniki(const Model& m) {
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
    return t;
}

QSize daneRange(const Model& m) {
    return QSize(30, ((m.ne + m.nn) * 20 + 250) / 10);
}

QSize wynikiRange(const Model& m) {
    return QSize(30, (m.ne * 40 + 80) / 10);
}

QColor background() {
    return QColor(192, 192, 192);
}

QFont font() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    return f;
}

void paint(QPainter& p, const Table& t, QSize size, QPoint offset) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.fillRect(QRect(QPoint(0, 0), size), background());
    p.translate(-offset);

    p.setPen(QPen(Qt::black, 0));
    for (int y : t.rules)
        p.drawLine(2, y, t.ruleEnd - 1, y);

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
