#include "app/wsp.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

_WSP_::_WSP_(QWidget* parent) : QWidget(parent) {
    setObjectName("_WSP_");
    setWindowTitle(QStringLiteral("Współrzędne"));
    setGeometry(400, 10, 110, 100);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);

    // Static text positions are relative to the client area below the caption strip.
    xx = new QLabel(QStringLiteral("x=0,       y=0"), this);
    xx->setObjectName("xx");
    xx->setGeometry(kBorder + 5, kBorder + kCaption + 5, 60, 60);
    xx->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    xx->setWordWrap(true);
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
    if (dragging_) move(mapToParent(event->position().toPoint() - dragFrom_));
}

void _WSP_::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}
