// The coordinate read-out window: every line of any read-out shown whole, and the window kept
// inside the drawing area when that area shrinks or the window is dragged.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <cfloat>
#include <string>

#include <gtest/gtest.h>

#include "app/wsp.h"
#include "edit/selection.h"
#include "test_models.h"

namespace {

class ReadOut : public ::testing::Test {
  public:
    ReadOut() {
        parent.resize(800, 600);
        parent.show();
        QApplication::processEvents();
    }
    void resizeParent(QSize s) {
        parent.resize(s);
        QApplication::processEvents();
    }
    // Drags the caption strip by `by`.
    void drag(QPoint by) {
        const QPointF grip(20, 5);
        auto send = [&](QEvent::Type t, QPointF at, Qt::MouseButton b, Qt::MouseButtons bs) {
            QMouseEvent e(t, at, wsp->mapToGlobal(at), b, bs, Qt::NoModifier);
            QApplication::sendEvent(wsp, &e);
        };
        send(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, grip + by, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, grip + by, Qt::LeftButton, Qt::NoButton);
    }
    bool inside() const { return parent.rect().contains(wsp->geometry()); }

    QWidget parent;
    _WSP_* wsp = new _WSP_(&parent);
};

// Texts as readOutText gives them, up to the widest numbers a float holds.
std::vector<std::string> readOuts() {
    Model m;
    makeModel(m, 3, 1);
    m.obliczono = 1;
    m.ww[2][1] = -FLT_MAX;
    m.ww[2][3] = FLT_MAX;
    m.ww[3][2] = 5.0f;
    return {
        readOutText(m, 1.25f, -4.5f, 0, 0, 3),
        readOutText(m, -FLT_MAX, -FLT_MAX, 0, 0, 3),
        readOutText(m, -FLT_MAX, FLT_MAX, 2, 1, 3),            // n= with no decimals
        readOutText(m, -FLT_MAX, -FLT_MAX, 2, 1, 1),           // n= with four decimals
        readOutText(m, -1e-30f, 123456.789f, 3, 1, 2),         // a small stress
        readOutText(m, -FLT_MAX, -FLT_MAX, 2147483647, 0, 3),  // the node number
    };
}

TEST_F(ReadOut, EveryLineOfAnyReadOutFitsWhole) {
    const QFontMetrics fm(wsp->xx->font());
    for (const std::string& s : readOuts()) {
        const QString text = QString::fromStdString(s);
        wsp->setReadOut(text);
        EXPECT_EQ(wsp->readOut(), text);
        const QStringList lines = wsp->xx->text().split('\n');
        EXPECT_EQ(lines.join(' '), text) << "every part after a comma on a line of its own";
        for (const QString& line : lines)
            EXPECT_LE(fm.horizontalAdvance(line), wsp->xx->contentsRect().width()) << s;
        EXPECT_LE(lines.size() * fm.lineSpacing(), wsp->xx->contentsRect().height()) << s;
        EXPECT_TRUE(wsp->rect().contains(wsp->xx->geometry())) << s;
        EXPECT_TRUE(inside()) << s;
    }
}

TEST_F(ReadOut, GrowsForAWideTextAndKeepsItsSizeAfterwards) {
    const QSize small = wsp->size();
    wsp->setReadOut(QString::fromStdString(readOuts()[1]));
    const QSize wide = wsp->size();
    EXPECT_GT(wide.width(), small.width());
    wsp->setReadOut("x= 1.00, y= 2.00");
    EXPECT_EQ(wsp->size(), wide) << "no jumping back and forth while the pointer moves";
}

TEST_F(ReadOut, StaysInsideTheDrawingArea) {
    struct Step {
        const char* what;
        std::function<void(ReadOut&)> act;
        QPoint pos;  ///< expected top-left; (-1, -1): anywhere inside
    };
    const Step steps[] = {
        {"start", [](ReadOut&) {}, {400, 10}},
        {"area narrower",
         [](ReadOut& t) {
             t.resizeParent({300, 600});
         },
         {190, 10}},
        {"area lower",
         [](ReadOut& t) {
             t.resizeParent({300, 60});
         },
         {190, 0}},
        {"area back",
         [](ReadOut& t) {
             t.resizeParent({800, 600});
         },
         {400, 10}},
        {"area smaller than the window",
         [](ReadOut& t) {
             t.resizeParent({50, 40});
         },
         {0, 0}},
        {"area back again",
         [](ReadOut& t) {
             t.resizeParent({800, 600});
         },
         {400, 10}},
        {"dragged",
         [](ReadOut& t) {
             t.drag({-100, 50});
         },
         {300, 60}},
        {"dragged past the right",
         [](ReadOut& t) {
             t.drag({1000, 0});
         },
         {690, 60}},
        {"dragged past the top left",
         [](ReadOut& t) {
             t.drag({-2000, -500});
         },
         {0, 0}},
        {"dragged back",
         [](ReadOut& t) {
             t.drag({650, 450});
         },
         {650, 450}},
        {"area smaller",
         [](ReadOut& t) {
             t.resizeParent({500, 400});
         },
         {390, 300}},
        {"grown by a wide text",
         [](ReadOut& t) { t.wsp->setReadOut(QString::fromStdString(readOuts()[1])); },
         {-1, -1}},
    };
    for (const Step& s : steps) {
        s.act(*this);
        if (s.pos != QPoint(-1, -1)) {
            EXPECT_EQ(wsp->pos(), s.pos) << s.what;
        }
        if (wsp->width() <= parent.width() && wsp->height() <= parent.height()) {
            EXPECT_TRUE(inside()) << s.what;
        }
    }
}

}  // namespace
