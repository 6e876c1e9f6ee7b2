// The pointer over the main window: the read-out line and the rubber-band group selection.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/okno.h"
#include "app/wsp.h"
#include "scripted_ui.h"
#include "view/view_test_util.h"

namespace {

class Pointer : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    void SetUp() override {
        // 10 x 10 square in 300 x 300: 25 px per unit; nodes 1..4 at (25, 260), (275, 260),
        // (275, 10), (25, 10).
        buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{1, 2, 3}, {1, 3, 4}});
        okno.resize(300, 300);
        shot();
    }
    QImage shot() { return okno.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    std::string readOut(int X, int Y) {
        okno.EvMouseMove({X, Y});
        return okno.wsp->readOut().toStdString();
    }
    std::vector<int> drag(QPoint from, QPoint to) {
        okno.EvLButtonDown(from);
        okno.EvMouseMove(to);
        okno.EvLButtonUp(to);
        std::vector<int> g;
        for (int k = 1; k <= m.i_grp; ++k)
            g.push_back(m.s_grp[k]);
        return g;
    }
    int blackInRow(const QImage& img, int y, int x0, int x1) {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            n += img.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    }
};

TEST_F(Pointer, ReadOutNamesTheNodeWithinFivePixels) {
    EXPECT_EQ(readOut(25, 260), "x= 0.00, y= 0.00, węz. 1");
    EXPECT_EQ(readOut(30, 255), "x= 0.20, y= 0.20, węz. 1");
    EXPECT_EQ(readOut(31, 260), "x= 0.24, y= 0.00");
    EXPECT_EQ(readOut(150, 135), "x= 5.00, y= 5.00");
    EXPECT_EQ(readOut(272, 13), "x= 9.88, y= 9.88, węz. 3");
}

TEST_F(Pointer, ReadOutShowsTheNodalStressOnlyWithTheColourMap) {
    m.obliczono = 1;
    m.ww[2][3] = 12.5f;
    m.ww[2][1] = 0.25f;
    EXPECT_EQ(readOut(275, 260), "x=10.00, y= 0.00, węz. 2");
    okno.p_napr = 1;
    p_rn = 3;
    EXPECT_EQ(readOut(275, 260), "x=10.00, y= 0.00, n=12.50");
    p_rn = 1;
    EXPECT_EQ(readOut(275, 260), "x=10.00, y= 0.00, n=0.2500");
    p_rn = 4;
    EXPECT_EQ(readOut(275, 260), "x=10.00, y= 0.00, węz. 2");
    p_rn = 3;
}

TEST_F(Pointer, NoProjectShowsTheMappedCoordinatesAndSelectsNothing) {
    releaseModel(m);
    okno.mapping = ViewMapping{0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 100};
    EXPECT_EQ(readOut(30, 50), "x= 5.00, y=10.00");
    EXPECT_TRUE(drag({0, 0}, {299, 299}).empty());
    EXPECT_EQ(m.j_grupa, 0);
}

TEST_F(Pointer, RectangleInAnyDirectionSelectsTheNodesInside) {
    EXPECT_EQ(drag({10, 250}, {290, 270}), (std::vector<int>{1, 2}));
    EXPECT_EQ(m.j_grupa, 1);
    EXPECT_EQ(m.i_grp, 2);
    EXPECT_EQ(drag({290, 270}, {10, 250}), (std::vector<int>{1, 2}));
    EXPECT_EQ(drag({290, 0}, {260, 299}), (std::vector<int>{2, 3}));
    EXPECT_EQ(drag({0, 0}, {299, 299}), (std::vector<int>{1, 2, 3, 4}));
    // A rectangle whose edge runs exactly through node 4's pixel still takes it.
    EXPECT_EQ(drag({25, 10}, {5, 0}), (std::vector<int>{4}));
}

TEST_F(Pointer, ClickOnANodeSelectsItAndElsewhereDeselects) {
    EXPECT_EQ(drag({275, 10}, {275, 10}), (std::vector<int>{3}));
    okno.EvLButtonDown({150, 150});
    okno.EvLButtonUp({150, 150});
    EXPECT_EQ(m.j_grupa, 0);
    EXPECT_EQ(m.i_grp, 0);
    EXPECT_FALSE(m.s_grp.allocated());
}

TEST_F(Pointer, DraggingDrawsTheBandOverThePictureWithoutRebuildingIt) {
    const int builds = okno.pictureBuilds();
    okno.EvLButtonDown({100, 100});
    for (int y = 110; y <= 150; y += 10)
        okno.EvMouseMove({200, y});
    QImage img = shot();
    EXPECT_EQ(okno.pictureBuilds(), builds);
    EXPECT_GT(blackInRow(img, 100, 100, 200), 20);  // top edge, dotted
    EXPECT_GT(blackInRow(img, 150, 100, 200), 20);  // bottom edge at the last position
    EXPECT_EQ(blackInRow(img, 120, 101, 199), 0);   // inside is left alone

    okno.EvLButtonUp({200, 150});  // nothing inside, nothing was selected
    img = shot();
    EXPECT_EQ(okno.pictureBuilds(), builds);
    EXPECT_EQ(blackInRow(img, 100, 100, 200), 0);

    // Plain moves (no button) only write the read-out.
    for (int x = 0; x < 300; x += 7)
        okno.EvMouseMove({x, 150});
    shot();
    EXPECT_EQ(okno.pictureBuilds(), builds);
}

TEST_F(Pointer, SelectionChangeRedrawsThePictureWithTheGroupMarks) {
    const QColor orange(255, 128, 0);
    const int builds = okno.pictureBuilds();
    drag({0, 0}, {299, 299});
    QImage img = shot();
    EXPECT_EQ(okno.pictureBuilds(), builds + 1);
    EXPECT_EQ(rgbAt(img, 27, 260), rgb(255, 128, 0));
    drag({150, 150}, {150, 150});  // deselects: the marks go
    img = shot();
    EXPECT_EQ(okno.pictureBuilds(), builds + 2);
    EXPECT_EQ(countColour(img, orange), 0);
}

TEST_F(Pointer, MouseEventsReachTheHandlers) {
    auto send = [&](QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons bs) {
        QMouseEvent ev(t, QPointF(p), okno.mapToGlobal(QPointF(p)), b, bs, Qt::NoModifier);
        QApplication::sendEvent(&okno, &ev);
    };
    send(QEvent::MouseButtonPress, {290, 0}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(w_grup, 1);
    send(QEvent::MouseMove, {260, 20}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(okno.wsp->readOut().toStdString(), "x= 9.40, y= 9.60");
    send(QEvent::MouseButtonRelease, {260, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(w_grup, 0);
    ASSERT_EQ(m.i_grp, 1);
    EXPECT_EQ(m.s_grp[1], 3);
}

}  // namespace
