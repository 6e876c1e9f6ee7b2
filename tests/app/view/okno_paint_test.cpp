// The main window's paint: a cached picture drawn afresh only when a repaint was requested or
// the size changed, and the mapping of the picture on the screen left for the pointer.
#include <QImage>

#include <gtest/gtest.h>

#include "../scripted_ui.h"
#include "app/globals.h"
#include "app/okno.h"
#include "app/wsp.h"
#include "view_test_util.h"

namespace {

const QColor kCyan(0, 255, 255);

class OknoPaint : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};

    void SetUp() override {
        // 10 x 10 square in 300 x 300: 25 px per unit, node 1 at (25, 260).
        buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{1, 2, 3}, {1, 3, 4}});
        okno.resize(300, 300);
    }
    QImage shot() { return okno.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(OknoPaint, ShowsThePictureAndLeavesItsMapping) {
    okno.mapping.ax = okno.mapping.aa = -99.0f;
    okno.mapping.hmax = 0;
    const QImage img = shot();
    EXPECT_EQ(rgbAt(img, 150, 260), rgb(0, 255, 255));  // bottom edge 1-2
    EXPECT_TRUE(textAt(img, 28, 265, "1", QColor(0, 0, 255)));
    EXPECT_EQ(okno.mapping.ax, 0.0f);
    EXPECT_EQ(okno.mapping.aa, 0.0f);
    EXPECT_FLOAT_EQ(okno.mapping.sx, 25.0f);
    EXPECT_FLOAT_EQ(okno.mapping.sa, 25.0f);
    EXPECT_EQ(okno.mapping.hmax, 300);
}

TEST_F(OknoPaint, PaintsCopyTheCachedPictureUntilARepaintIsRequested) {
    shot();
    const int builds = okno.pictureBuilds();
    EXPECT_GE(builds, 1);

    // The model changes without a repaint request: the screen keeps the picture it has.
    okno.p_siatka = 0;
    QImage img = shot();
    EXPECT_EQ(okno.pictureBuilds(), builds);
    EXPECT_GT(countColour(img, kCyan), 0);

    okno.invalidatePicture();
    img = shot();
    EXPECT_EQ(okno.pictureBuilds(), builds + 1);
    EXPECT_EQ(countColour(img, kCyan), 0);

    okno.resize(320, 300);
    img = shot();
    EXPECT_EQ(okno.pictureBuilds(), builds + 2);
    EXPECT_EQ(img.width(), 320);
}

TEST_F(OknoPaint, NoProjectLeavesTheWindowWhite) {
    m.Pusty = 1;
    okno.invalidatePicture();
    okno.wsp->hide();  // the read-out stands inside the window; only the picture counts here
    const QImage img = shot();
    EXPECT_EQ(countColour(img, Qt::white), 300 * 300);
    m.Pusty = 0;
}

TEST(OknoOwnUi, ARequestedRepaintDrawsThePictureAfresh) {
    Model m;
    _OKNO_ okno{m};
    buildModel(m, {{0, 0}, {10, 0}, {0, 10}}, {{1, 2, 3}});
    okno.resize(300, 300);
    okno.grab();
    const int builds = okno.pictureBuilds();
    okno.Cm_siatka();  // switches the edges off and asks for a repaint
    const QImage img = okno.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(okno.pictureBuilds(), builds + 1);
    EXPECT_EQ(countColour(img, kCyan), 0);
}

}  // namespace
