// The listing windows through the main window's commands: flags, ownership, closing by the
// user, by model changes and with the main window, and scrolling.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <cstring>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "../scripted_ui.h"
#include "../test_models.h"
#include "../unsaved.h"
#include "app/okno.h"
#include "app/wirtor.h"
#include "view/listing.h"
#include "view/listing_window.h"

namespace {

constexpr int kDane = 1140, kWyniki = 1130;

const Prompt kPusty =
    ask("PUSTY jest 1 !", "Błąd wejścia do klasy WYNIKI", Buttons::YesNo, Icon::Question);

void deliverDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class Listings : public ::testing::Test {
  protected:
    ~Listings() override {
        okno.reset();
        deliverDeletes();
    }
    void withResults() {
        makeModel(m, 4, 2);
        m.napr[1][1] = 3.25f, m.napr[1][2] = -1.5f;
        m.napr[2][1] = 0.0f, m.napr[2][2] = 8.0f;
        m.obliczono = 1;
    }

    Model m;
    ScriptedUi ui;
    std::unique_ptr<_OKNO_> okno = std::make_unique<_OKNO_>(m, &ui);
};

TEST_F(Listings, NeitherOpensWithoutAModel) {
    okno->dispatch(kDane);
    okno->dispatch(kWyniki);
    EXPECT_EQ(m.id, 0);
    EXPECT_EQ(m.iw, 0);
    EXPECT_TRUE(okno->dd.isNull());
    EXPECT_TRUE(okno->oo.isNull());
}

TEST_F(Listings, ResultsListingOnlyWithResults) {
    makeModel(m, 4, 2);
    for (int obliczono : {0, 2}) {
        m.obliczono = obliczono;
        okno->dispatch(kWyniki);
        EXPECT_EQ(m.iw, 0) << obliczono;
        EXPECT_TRUE(okno->oo.isNull()) << obliczono;
    }
}

TEST_F(Listings, DataListingIsAnOwnedWindowWithItsFlagSet) {
    makeModel(m, 5, 3);
    okno->dispatch(kDane);
    EXPECT_EQ(m.id, 1);
    EXPECT_EQ(m.iw, 0);
    auto* w = qobject_cast<_DANE_*>(okno->dd.data());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Dane do obliczeń");
    EXPECT_TRUE(w->isWindow());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->parentWidget(), okno.get());
    EXPECT_EQ(ui.windowsShown, std::vector<QWidget*>{w});
    EXPECT_EQ(w->pos(), okno->mapToGlobal(QPoint(20, 20)));
    EXPECT_EQ(w->size(), QSize(450, 400));
    EXPECT_EQ(w->range(), QSize(30, 41));
    EXPECT_EQ(w->scrollOffset(), QPoint(0, 0));
}

TEST_F(Listings, ResultsListingIsATopLevelWindowWithItsFlagSet) {
    withResults();
    okno->dispatch(kWyniki);
    EXPECT_EQ(m.iw, 1);
    EXPECT_EQ(m.id, 0);
    auto* w = qobject_cast<_WYNIKI_*>(okno->oo.data());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Wyniki obliczeń");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->parentWidget(), nullptr);
    EXPECT_EQ(ui.windowsShown, std::vector<QWidget*>{w});
    EXPECT_EQ(w->pos(), okno->mapToGlobal(QPoint(20, 20)));
    EXPECT_EQ(w->size(), QSize(500, 400));
    EXPECT_EQ(w->range(), QSize(30, 22));
}

TEST_F(Listings, ClosingByTheCloseBoxClearsTheFlagAndDestroysTheWindow) {
    withResults();
    okno->dispatch(kDane);
    okno->dispatch(kWyniki);
    QPointer<QWidget> dd = okno->dd, oo = okno->oo;
    EXPECT_TRUE(oo->close());
    EXPECT_EQ(m.iw, 0);
    EXPECT_EQ(m.id, 1);
    EXPECT_TRUE(dd->close());
    EXPECT_EQ(m.id, 0);
    deliverDeletes();
    EXPECT_TRUE(dd.isNull());
    EXPECT_TRUE(oo.isNull());

    // With the flags clear, a later model change has nothing to close and asks nothing.
    okno->dispatch(1070);
    EXPECT_TRUE(ui.prompts.empty());
}

TEST_F(Listings, EachUseOpensOneMoreAndTheFlagStaysWhileOneIsOpen) {
    makeModel(m, 3, 1);
    okno->dispatch(kDane);
    QPointer<QWidget> first = okno->dd;
    okno->dispatch(kDane);
    QPointer<QWidget> second = okno->dd;
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->isVisible());

    second->close();
    EXPECT_EQ(m.id, 1) << "the first listing is still open";
    first->close();
    EXPECT_EQ(m.id, 0);
}

TEST_F(Listings, NewProjectClosesEveryListingAndClearsTheFlags) {
    withResults();
    okno->dispatch(kDane);
    okno->dispatch(kDane);
    QPointer<QWidget> older = okno->dd;
    okno->dispatch(kDane);
    okno->dispatch(kWyniki);
    QPointer<QWidget> dd = okno->dd, oo = okno->oo;

    okno->dispatch(1070);
    EXPECT_TRUE(dd.isNull());
    EXPECT_TRUE(oo.isNull());
    EXPECT_TRUE(older.isNull()) << "an older listing is not left behind";
    EXPECT_EQ(m.id, 0);
    EXPECT_EQ(m.iw, 0);
    EXPECT_EQ(m.Pusty, 0);
}

TEST_F(Listings, NewProjectCancelledKeepsThem) {
    withResults();
    zmien(*okno);
    okno->dispatch(kDane);
    okno->dispatch(kWyniki);
    ui.answer(Answer::Cancel);
    okno->dispatch(1070);
    EXPECT_FALSE(okno->dd.isNull());
    EXPECT_FALSE(okno->oo.isNull());
    EXPECT_EQ(m.id, 1);
    EXPECT_EQ(m.iw, 1);
}

TEST_F(Listings, ClosingTheProjectClosesThem) {
    withResults();
    okno->dispatch(kWyniki);
    okno->dispatch(kDane);
    QPointer<QWidget> dd = okno->dd, oo = okno->oo;
    okno->dispatch(51703);
    EXPECT_TRUE(ui.prompts.empty()) << "nothing unsaved";
    EXPECT_TRUE(dd.isNull());
    EXPECT_TRUE(oo.isNull());
    EXPECT_EQ(m.id, 0);
    EXPECT_EQ(m.iw, 0);
}

TEST_F(Listings, TheMainWindowTakesItsListingsWithIt) {
    withResults();
    okno->dispatch(kDane);
    okno->dispatch(kWyniki);
    okno->dispatch(kWyniki);
    QPointer<QWidget> dd = okno->dd, oo = okno->oo;
    okno.reset();
    EXPECT_TRUE(dd.isNull());
    EXPECT_TRUE(oo.isNull());
    EXPECT_EQ(m.id, 0);
    EXPECT_EQ(m.iw, 0);
    EXPECT_EQ(m.Pusty, 1);
}

TEST_F(Listings, ScrollingMovesThePaintingByTenPixelUnits) {
    makeModel(m, 40, 30);
    okno->dispatch(kDane);
    auto* w = qobject_cast<_DANE_*>(okno->dd.data());
    ASSERT_NE(w, nullptr);
    const int page = w->viewport()->height() / listing::kUnit;
    EXPECT_EQ(w->range().height(), 165);
    EXPECT_EQ(w->verticalScrollBar()->maximum(), 165 - page);

    const QRgb black = qRgb(0, 0, 0);
    QImage img = w->viewport()->grab().toImage();
    EXPECT_EQ(img.pixel(300, 44), black);

    w->verticalScrollBar()->setValue(3);
    EXPECT_EQ(w->scrollOffset(), QPoint(0, 30));
    img = w->viewport()->grab().toImage();
    EXPECT_EQ(img.pixel(300, 14), black);
    EXPECT_NE(img.pixel(300, 44), black);

    // The bottom of the range shows the last rule, 90 pixels above the table's end.
    w->verticalScrollBar()->setValue(w->verticalScrollBar()->maximum());
    const int y = (30 + 40) * 20 + 160 - w->scrollOffset().y();
    ASSERT_LT(y, w->viewport()->height());
    img = w->viewport()->grab().toImage();
    EXPECT_EQ(img.pixel(300, y), black);
}

// What one input does to the vertical offset of a data listing of 30 elements and 40 nodes:
// rows of 20 pixels, pages of the window's height, both ends.
struct ScrollInput {
    const char* name;
    int startPx;
    std::function<void(_DANE_*)> send;
    std::function<int(int page, int max)> expectPx;
};

void key(QWidget* w, Qt::Key k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void wheel(QWidget* w, int angle) {
    const QPointF at(50, 50);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

TEST_F(Listings, KeysAndWheelScrollByRowsPagesAndEnds) {
    const ScrollInput inputs[] = {
        {"Down", 0, [](_DANE_* w) { key(w, Qt::Key_Down); }, [](int, int) { return 20; }},
        {"Up", 100, [](_DANE_* w) { key(w, Qt::Key_Up); }, [](int, int) { return 80; }},
        {"Up at the top", 0, [](_DANE_* w) { key(w, Qt::Key_Up); }, [](int, int) { return 0; }},
        {"PageDown", 0, [](_DANE_* w) { key(w, Qt::Key_PageDown); },
         [](int page, int) { return page; }},
        {"PageUp", 500, [](_DANE_* w) { key(w, Qt::Key_PageUp); },
         [](int page, int) { return 500 - page; }},
        {"End", 0, [](_DANE_* w) { key(w, Qt::Key_End); }, [](int, int max) { return max; }},
        {"Home", 500, [](_DANE_* w) { key(w, Qt::Key_Home); }, [](int, int) { return 0; }},
        {"wheel down", 0, [](_DANE_* w) { wheel(w->viewport(), -120); },
         [](int, int) { return 60; }},
        {"wheel up", 100, [](_DANE_* w) { wheel(w->viewport(), 120); },
         [](int, int) { return 40; }},
        {"two notches", 0, [](_DANE_* w) { wheel(w->viewport(), -240); },
         [](int, int) { return 120; }},
        {"half notches add up", 0,
         [](_DANE_* w) {
             wheel(w->viewport(), -60);
             wheel(w->viewport(), -60);
         },
         [](int, int) { return 60; }},
        {"half a notch", 0, [](_DANE_* w) { wheel(w->viewport(), -60); },
         [](int, int) { return 0; }},
    };
    makeModel(m, 40, 30);
    for (const ScrollInput& in : inputs) {
        okno->dispatch(kDane);
        auto* w = qobject_cast<_DANE_*>(okno->dd.data());
        ASSERT_NE(w, nullptr);
        QScrollBar* v = w->verticalScrollBar();
        const int page = v->pageStep() * listing::kUnit;
        const int max = v->maximum() * listing::kUnit;
        v->setValue(in.startPx / listing::kUnit);
        in.send(w);
        EXPECT_EQ(w->scrollOffset(), QPoint(0, in.expectPx(page, max))) << in.name;
        w->close();
    }
}

TEST_F(Listings, ResultsListingOfAnEmptyModelComplainsOnceAfterThePaint) {
    withResults();
    okno->dispatch(kWyniki);
    auto* w = qobject_cast<_WYNIKI_*>(okno->oo.data());
    ASSERT_NE(w, nullptr);
    m.Pusty = 1;  // as if a command painted mid-rebuild
    ui.answer(Answer::No);
    w->viewport()->grab();
    EXPECT_TRUE(ui.prompts.empty()) << "no modal box inside the paint";
    QCoreApplication::processEvents();
    w->viewport()->grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.prompts, std::vector<Prompt>{kPusty});
    m.Pusty = 0;
}

TEST_F(Listings, ResultsListingShowsTheStressesOfTheModel) {
    withResults();
    okno->dispatch(kWyniki);
    auto* w = qobject_cast<_WYNIKI_*>(okno->oo.data());
    ASSERT_NE(w, nullptr);
    const QImage img = w->viewport()->grab().toImage();
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(img.pixel(300, 48), black);
    EXPECT_EQ(img.pixel(300, 2 * 20 + 108), black);
    EXPECT_EQ(img.pixel(300, 6 * 20 + 178), black);
    EXPECT_EQ(img.pixel(1, 48), listing::background().rgb());
}

TEST_F(Listings, ResultsListingShowsTheTorsionConstantOfTheLastComputation) {
    makeSquare(m);
    m.MS = 0.0f;  // nothing twists: J no longer follows from the results
    okno->dispatch(1010);
    ASSERT_EQ(m.obliczono, 1);
    okno->dispatch(kWyniki);
    auto* w = qobject_cast<_WYNIKI_*>(okno->oo.data());
    ASSERT_NE(w, nullptr);
    // 8 elements: J stands at (200, 8 * 20 + 115), as the status line gives it.
    QString J;
    for (const listing::Text& t : w->table().texts)
        if (t.at == QPoint(200, 275)) J = t.text;
    ASSERT_FALSE(J.isEmpty());
    EXPECT_NE(J, "—");
    EXPECT_TRUE(okno->statusText().startsWith("J = " + J + " "))
        << okno->statusText().toStdString();
}

// Counts the paints a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(Listings, AComputationRepaintsTheOpenListings) {
    makeSquare(m);
    okno->dispatch(1010);
    ASSERT_EQ(m.obliczono, 1);
    okno->dispatch(kWyniki);
    okno->dispatch(kDane);
    QCoreApplication::processEvents();
    PaintCounter wyniki, dane;
    okno->oo->findChild<QWidget*>("qt_scrollarea_viewport")->installEventFilter(&wyniki);
    okno->dd->findChild<QWidget*>("qt_scrollarea_viewport")->installEventFilter(&dane);
    QCoreApplication::processEvents();
    wyniki.paints = dane.paints = 0;
    QCoreApplication::processEvents();
    ASSERT_EQ(wyniki.paints + dane.paints, 0) << "nothing else repaints them";
    okno->dispatch(1010);
    QCoreApplication::processEvents();
    EXPECT_GT(wyniki.paints, 0);
    EXPECT_GT(dane.paints, 0);
}

// In the program's frame: both listings open 20 pixels into the drawing area, below the menu
// bar wherever the frame stands, and the data listing is owned by the frame's window.
TEST(ListingsInTheFrame, OpenInsideTheDrawingAreaAndTheDataListingIsOwned) {
    Model m;
    ScriptedUi ui;
    _WIRTOR_ app(m, &ui);
    std::strcpy(app._tytul_, "WIRTOR");
    app.InitMainWindow();
    Ramka* frame = app.frame();
    frame->showNormal();
    frame->move(130, 70);
    QApplication::processEvents();
    _OKNO_* okno = frame->client();
    makeModel(m, 3, 1);
    m.obliczono = 1;
    okno->dispatch(kDane);
    okno->dispatch(kWyniki);
    const QPoint corner = okno->mapToGlobal(QPoint(0, 0));
    const int menuBottom = frame->menuBar()->mapToGlobal(QPoint(0, frame->menuBar()->height())).y();
    ASSERT_GT(corner.x(), 0);
    ASSERT_GE(corner.y(), menuBottom);
    for (QWidget* w : {okno->dd.data(), okno->oo.data()}) {
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->pos(), corner + QPoint(20, 20)) << w->windowTitle().toStdString();
        EXPECT_GT(w->frameGeometry().top(), menuBottom);
    }
    ASSERT_NE(okno->dd->windowHandle(), nullptr);
    EXPECT_EQ(okno->dd->windowHandle()->transientParent(), frame->windowHandle());
    EXPECT_EQ(okno->oo->parentWidget(), nullptr);
}

// "Koniec" with both listings open: the program still ends, and neither listing outlives it.
TEST(ListingsAtExit, KoniecEndsTheProgramAndTakesBothListings) {
    Model m;
    ScriptedUi ui;
    _WIRTOR_ app(m, &ui);
    std::strcpy(app._tytul_, "WIRTOR");
    QPointer<QWidget> dd, oo;
    QTimer::singleShot(0, [&] {
        _OKNO_* okno = app.frame()->client();
        makeModel(m, 3, 1);
        m.obliczono = 1;
        okno->dispatch(kDane);
        okno->dispatch(kWyniki);
        dd = okno->dd;
        oo = okno->oo;
        ui.answer(Answer::Yes);
        okno->dispatch(1040);
    });
    QTimer guard;  // never hang the suite
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(99); });
    guard.start(20000);
    const int rc = app.Run();
    EXPECT_EQ(rc, 0) << "an open results listing does not keep the program running";
    deliverDeletes();
    EXPECT_TRUE(dd.isNull());
    EXPECT_TRUE(oo.isNull());
    EXPECT_EQ(m.id + m.iw, 0);
    EXPECT_EQ(m.Pusty, 1);
}

}  // namespace
