#include "view_test_util.h"

#include <QFontMetrics>
#include <QPainter>

void buildModel(Model& m, const std::vector<std::pair<float, float>>& nodes,
                const std::vector<std::array<int, 3>>& elements) {
    const int nn = static_cast<int>(nodes.size()), ne = static_cast<int>(elements.size());
    allocateModel(m, nn, ne);
    int i = 1;
    for (const auto& [x, y] : nodes) {
        m.x[i][1] = x;
        m.x[i][2] = y;
        m.si[i] = m.f[i] = 0.0f;
        for (int k = 1; k <= 3; ++k)
            m.ww[i][k] = 0.0f;
        ++i;
    }
    int e = 1;
    for (const auto& el : elements) {
        int k = 1;
        for (int n : el)
            m.noc[e][k++] = n;
        for (k = 1; k <= 3; ++k)
            m.napr[e][k] = 0.0f;
        ++e;
    }
    m.Pusty = 0;
    m.obliczono = 0;
    m.j_grupa = 0;
}

QImage render(const Model& m, const ViewOptions& o, QSize size, ViewMapping* mapping,
              QColor under) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(under);
    ViewMapping local;
    QPainter p(&img);
    paintModel(p, size, m, o, mapping ? *mapping : local);
    return img;
}

std::string rgb(int r, int g, int b) {
    return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
}

std::string rgbAt(const QImage& img, int x, int y) {
    if (!img.valid(x, y)) return "outside";
    const QRgb c = img.pixel(x, y);
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

int countColour(const QImage& img, QColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == c.rgb()) ++n;
    return n;
}

bool textAt(const QImage& img, int x, int y, const char* s, QColor c) {
    const QFont f = labelFont();
    const QFontMetrics fm(f);
    const QString text = QString::fromUtf8(s);
    const int w = fm.horizontalAdvance(text), h = fm.height();
    QImage ref(w, h, QImage::Format_RGB32);
    ref.fill(Qt::gray);
    {
        QPainter p(&ref);
        p.setBackgroundMode(Qt::OpaqueMode);
        p.setBackground(Qt::white);
        p.setFont(f);
        p.setPen(c);
        p.drawText(QPoint(0, fm.ascent()), text);
    }
    int glyph = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (ref.pixel(i, j) == QColor(Qt::gray).rgb()) continue;
            if (!img.valid(x + i, y + j) || img.pixel(x + i, y + j) != ref.pixel(i, j))
                return false;
            if (ref.pixel(i, j) == c.rgb()) ++glyph;
        }
    return glyph > 0;
}
