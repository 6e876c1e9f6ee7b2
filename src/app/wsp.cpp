#include "app/wsp.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Label and window at their smallest; the label stands 5 pixels into the client area.
constexpr QSize kLabel(60, 60);
constexpr QSize kWindow(110, 100);
constexpr int kMargin = 5;

}  // namespace

_WSP_::_WSP_(QWidget* parent) : QWidget(parent), wanted_(400, 10) {
    setObjectName("_WSP_");
    setWindowTitle(QStringLiteral("Współrzędne"));
    setGeometry(QRect(wanted_, kWindow));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);

    // Static text positions are relative to the client area below the caption strip.
    xx = new QLabel(this);
    xx->setObjectName("xx");
    xx->setGeometry(QRect(QPoint(kBorder + kMargin, kBorder + kCaption + kMargin), kLabel));
    xx->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setReadOut(QStringLiteral("x=0,       y=0"));

    parent->installEventFilter(this);
    keepInside();
}

void _WSP_::setReadOut(const QString& text) {
    readOut_ = text;
    static const QRegularExpression afterComma(QStringLiteral(",\\s+"));
    const QStringList lines = QString(text).replace(afterComma, QStringLiteral(",\n")).split('\n');
    xx->setText(lines.join('\n'));

    const QFontMetrics fm(xx->font());
    int wide = 0;
    for (const QString& line : lines)
        wide = std::max(wide, fm.horizontalAdvance(line));
    // One pixel for the rounding of glyph advances.
    const QSize need(wide + 1, static_cast<int>(lines.size()) * fm.lineSpacing());
    const QSize label = xx->size().expandedTo(need);
    if (label == xx->size()) return;
    xx->resize(label);
    // The window keeps the room it has right of and below the label.
    resize(kWindow + label - kLabel);
    keepInside();
}

void _WSP_::keepInside() {
    const QSize area = parentWidget()->size();
    const int x = std::clamp(wanted_.x(), 0, std::max(0, area.width() - width()));
    const int y = std::clamp(wanted_.y(), 0, std::max(0, area.height() - height()));
    move(x, y);
}

bool _WSP_::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) keepInside();
    return false;
}

void _WSP_::paintEvent(QPaintEvent*) {
    // A child window cannot get a real title bar, so the caption strip is drawn here.
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(frame);
    const QRect strip(kBorder, kBorder, width() - 2 * kBorder, kCaption);
    p.fillRect(strip, palette().color(QPalette::Highlight));
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(palette().color(QPalette::HighlightedText));
    p.drawText(strip.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
}

// The caption strip moves the window inside the drawing area, as a captioned child would.
void _WSP_::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < kBorder + kCaption) {
        dragging_ = true;
        dragFrom_ = event->position().toPoint();
    }
}

void _WSP_::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    wanted_ = mapToParent(event->position().toPoint() - dragFrom_);
    keepInside();
    // Dragged against an edge, the window stays where it stopped.
    wanted_ = pos();
}

void _WSP_::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}
