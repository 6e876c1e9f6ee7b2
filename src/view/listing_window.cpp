#include "view/listing_window.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <vector>

#include "app/ui.h"

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
    move(20, 20);
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
}

void ListingWindow::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    listing::paint(p, table(), viewport()->size(), scrollOffset());
}

void ListingWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateBars();
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

_WYNIKI_::_WYNIKI_(Model& m, Ui& ui)
    : ListingWindow(m, &Model::iw, listing::wynikiRange(m), QStringLiteral("Wyniki obliczeń"),
                    QSize(500, 400), nullptr),
      ui_(ui) {}

listing::Table _WYNIKI_::table() const {
    return listing::wyniki(m);
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
                ui_.message("PUSTY jest 1 !", "Błąd wejścia do klasy WYNIKI", Buttons::YesNo,
                            Icon::Question);
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
