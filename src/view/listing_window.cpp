#include "listing_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Every listing still open, oldest first. All live on the GUI thread.
std::vector<ListingWindow*>& otwarte() {
    static std::vector<ListingWindow*> v;
    return v;
}

}  // namespace

ListingWindow::ListingWindow(Model& model, int Model::*flag, QSize range, const QString& title,
                             QSize size, QWidget* owner)
    : QAbstractScrollArea(owner), m(model), flag_(flag), range_(range) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    resize(size);
    updateBars();
    m.*flag_ = 1;
    otwarte().push_back(this);
}

ListingWindow::~ListingWindow() {
    forget();
}

void ListingWindow::forget() {
    if (!registered_) return;
    registered_ = false;
    auto& v = otwarte();
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

bool ListingWindow::CanClose() {
    forget();
    const bool inna = std::any_of(otwarte().begin(), otwarte().end(), [this](ListingWindow* w) {
        return &w->m == &m && w->flag_ == flag_;
    });
    if (!inna) m.*flag_ = 0;
    return true;
}

QPoint ListingWindow::scrollOffset() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()) * listing::kUnit;
}

void ListingWindow::updateBars() {
    // The range is the whole table in units; the bars stop when its end reaches the window.
    const QSize page = viewport()->size() / listing::kUnit;
    horizontalScrollBar()->setRange(0, std::max(0, range_.width() - page.width()));
    horizontalScrollBar()->setPageStep(std::max(1, page.width()));
    verticalScrollBar()->setRange(0, std::max(0, range_.height() - page.height()));
    verticalScrollBar()->setPageStep(std::max(1, page.height()));
    // An arrow, on the keyboard or the bar, moves one row.
    horizontalScrollBar()->setSingleStep(listing::kRow / listing::kUnit);
    verticalScrollBar()->setSingleStep(listing::kRow / listing::kUnit);
}

void ListingWindow::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    listing::paint(p, table(), viewport()->size(), scrollOffset());
}

void ListingWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateBars();
}

void ListingWindow::wheelEvent(QWheelEvent* event) {
    // One notch (120 eighths of a degree) scrolls three rows, whatever the desktop's setting;
    // finer wheels add up to whole notches. Scrolling down shows later rows.
    wheel_ += event->angleDelta();
    constexpr int kNotch = 120;
    constexpr int kStep = 3 * listing::kRow / listing::kUnit;
    const QPoint notches(wheel_.x() / kNotch, wheel_.y() / kNotch);  // whole notches only
    wheel_ -= notches * kNotch;
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    v->setValue(v->value() - notches.y() * kStep);
    h->setValue(h->value() - notches.x() * kStep);
    event->accept();
}

void ListingWindow::keyPressEvent(QKeyEvent* event) {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    switch (event->key()) {
        case Qt::Key_Home:
            v->setValue(v->minimum());
            break;
        case Qt::Key_End:
            v->setValue(v->maximum());
            break;
        case Qt::Key_PageUp:
            v->triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case Qt::Key_PageDown:
            v->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case Qt::Key_Up:
            v->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Down:
            v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_Left:
            h->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Right:
            h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

void ListingWindow::closeEvent(QCloseEvent* event) {
    if (CanClose())
        event->accept();
    else
        event->ignore();
}

_DANE_::_DANE_(Model& m, QWidget* owner)
    : ListingWindow(m, &Model::id, listing::daneRange(m), QStringLiteral("Dane do obliczeń"),
                    QSize(450, 400), owner) {}

_WYNIKI_::_WYNIKI_(Model& m, WynikiHooks hooks)
    : ListingWindow(m, &Model::iw, listing::wynikiRange(m), QStringLiteral("Wyniki obliczeń"),
                    QSize(500, 400), nullptr),
      hooks_(std::move(hooks)) {}

listing::Table _WYNIKI_::table() const {
    return listing::wyniki(m, hooks_.J ? hooks_.J() : std::nullopt);
}

void _WYNIKI_::paintEvent(QPaintEvent* event) {
    ListingWindow::paintEvent(event);
    // Asked once per window: the box uncovers the listing, and asking at every repaint
    // would never let the user out. A modal loop has no place inside a paint event, so the
    // box follows it.
    if (m.Pusty != 0 && !zgloszono_) {
        zgloszono_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hooks_.emptyModel) hooks_.emptyModel();
            },
            Qt::QueuedConnection);
    }
}

void zamknijListy(Model& m) {
    // Results first, then data, as the main window always closed them.
    for (int Model::*flag : {&Model::iw, &Model::id}) {
        std::vector<ListingWindow*> v;
        for (ListingWindow* w : otwarte())
            if (&w->m == &m && w->flag_ == flag) v.push_back(w);
        for (ListingWindow* w : v)
            delete w;
    }
    m.iw = m.id = 0;
}

void odswiezListy(const Model& m) {
    for (ListingWindow* w : otwarte())
        if (&w->m == &m) w->viewport()->update();
}
