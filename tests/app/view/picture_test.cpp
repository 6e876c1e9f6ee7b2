// Zoom and pan over the fit, labels that make room for each other, the exported picture and
// the batch tool's picture: each checked against what the window itself draws.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "../scripted_ui.h"
#include "app/okno.h"
#include "app/wsp.h"
#include "mesh/rectangle.h"
#include "model/model_file.h"
#include "solver/driver.h"
#include "view/label_grid.h"
#include "view/picture_file.h"
#include "view_test_util.h"

namespace {

// --- Mapping round trips at several zoom levels ---------------------------------------------

struct ZoomCase {
    const char* name;
    int steps;
    QPoint at;    // pixel zoomed around
    QPointF pan;  // pixels panned afterwards
    float zoom;   // expected zoom
};

class Zoomed : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(Zoomed, PixelsReadBackAndThePointerKeepsItsPoint) {
    const ZoomCase& c = GetParam();
    Model m;
    buildModel(m, {{-3.5f, 1.25f}, {7.75f, 1.25f}, {0.5f, 9.0f}}, {});
    ViewMapping v;
    v.fit(m, 640, 400);
    const float x0 = v.toModelX(static_cast<float>(c.at.x()));
    const float y0 = v.toModelY(static_cast<float>(c.at.y()));
    v.zoomAt(static_cast<float>(c.at.x()), static_cast<float>(c.at.y()), c.steps);
    EXPECT_NEAR(v.zoom, c.zoom, c.zoom * 1e-5f);
    // The model point under the pointer stays under it.
    EXPECT_NEAR(v.toWindowX(x0), c.at.x(), 0.01f);
    EXPECT_NEAR(v.toWindowY(y0), c.at.y(), 0.01f);
    v.pan(static_cast<float>(c.pan.x()), static_cast<float>(c.pan.y()));
    EXPECT_NEAR(v.toWindowX(x0), c.at.x() + c.pan.x(), 0.01f);
    EXPECT_NEAR(v.toWindowY(y0), c.at.y() + c.pan.y(), 0.01f);
    // A refit (another size) keeps zoom and pan; pixel <-> model stays exact.
    v.fit(m, 900, 700);
    for (int n = 1; n <= m.nn; ++n) {
        const float X = v.toWindowX(m.x[n][1]), Y = v.toWindowY(m.x[n][2]);
        EXPECT_NEAR(v.toModelX(X), m.x[n][1], 0.01f / v.scaleX());
        EXPECT_NEAR(v.toModelY(Y), m.x[n][2], 0.01f / v.scaleY());
        EXPECT_NEAR(v.toModelX(static_cast<float>(pixel(X))), m.x[n][1], 1.0f / v.scaleX());
    }
    releaseModel(m);
}

INSTANTIATE_TEST_SUITE_P(
    ViewMapping, Zoomed,
    ::testing::Values(ZoomCase{"fit", 0, {100, 100}, {0, 0}, 1.0f},
                      ZoomCase{"one notch in", 1, {300, 200}, {15, -7}, 1.25f},
                      ZoomCase{"five in at a corner", 5, {25, 360}, {-40, 30}, 3.0517578f},
                      ZoomCase{"three out", -3, {600, 20}, {5, 5}, 0.512f},
                      ZoomCase{"deepest", 17, {400, 100}, {100, 100}, 44.408921f},
                      ZoomCase{"past the deepest", 100, {400, 100}, {0, 0}, 44.408921f},
                      ZoomCase{"past the widest", -100, {10, 10}, {0, 0}, 0.0549756f}),
    [](const auto& info) {
        std::string s = std::to_string(info.index) + "_" + info.param.name;
        for (char& ch : s)
            if (ch == ' ') ch = '_';
        return s;
    });

TEST(ViewMapping, NoZoomOrPanLeavesPixelsOutOfRange) {
    Model m;
    buildModel(m, {{0, 0}, {1000, 0}, {0, 1}}, {});
    ViewMapping v;
    v.fit(m, static_cast<float>(kMaxPictureSide), static_cast<float>(kMaxPictureSide));
    v.zoomAt(8000, 8000, 1000);
    v.pan(1e30f, -1e30f);
    v.pan(INFINITY, NAN);
    for (int n = 1; n <= m.nn; ++n) {
        EXPECT_LT(std::fabs(v.toWindowX(m.x[n][1])), 1e6f);
        EXPECT_LT(std::fabs(v.toWindowY(m.x[n][2])), 1e6f);
    }
    v.reset();
    EXPECT_TRUE(v.fitted());
    EXPECT_EQ(pixel(v.toWindowX(0)), 25);
    releaseModel(m);
}

// --- Labels ---------------------------------------------------------------------------------

struct GridCase {
    const char* name;
    std::vector<QRect> boxes;
    std::vector<bool> taken;
};

class Labels : public ::testing::TestWithParam<GridCase> {};

TEST_P(Labels, TakeOnlyFreeRoomInsideTheArea) {
    LabelGrid g(200, 100);
    const GridCase& c = GetParam();
    for (size_t i = 0; i < c.boxes.size(); ++i)
        EXPECT_EQ(g.take(c.boxes[i]), c.taken[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    LabelGrid, Labels,
    ::testing::Values(
        GridCase{"apart", {{0, 0, 10, 12}, {10, 0, 10, 12}, {0, 12, 10, 12}}, {true, true, true}},
        GridCase{"one pixel over", {{0, 0, 10, 12}, {9, 11, 10, 12}}, {true, false}},
        // Boxes spanning cell borders are found from every cell they touch.
        GridCase{"across cells",
                 {{28, 28, 10, 10}, {36, 36, 4, 4}, {20, 36, 10, 2}},
                 {true, false, false}},
        GridCase{"outside",
                 {{-20, 0, 10, 12}, {200, 0, 10, 12}, {0, 100, 10, 5}},
                 {false, false, false}},
        GridCase{"reaching in", {{-5, -5, 10, 12}, {0, 0, 2, 2}}, {true, false}}),
    [](const auto& info) {
        std::string s = std::to_string(info.index) + "_" + info.param.name;
        for (char& ch : s)
            if (ch == ' ') ch = '_';
        return s;
    });

TEST(LabelsOnThePicture, ANumberThatWouldCoverAnotherIsLeftOutUntilZoomedApart) {
    Model m;
    // 10 x 10 in 300 x 300: 25 px per unit; node 3 lies 1 px right of node 1.
    buildModel(m, {{0, 0}, {10, 10}, {0.05f, 0}}, {});
    const QColor blue(0, 0, 255);
    ViewOptions o;
    o.p_wez = 0;
    ViewMapping v;
    QImage img = render(m, o, {300, 300}, &v);
    EXPECT_TRUE(textAt(img, 28, 265, "1", blue));
    v.zoomAt(25, 260, 15);
    img = render(m, o, {300, 300}, &v);
    for (int n : {1, 3}) {
        const int X = pixel(v.toWindowX(m.x[n][1])) + 3, Y = pixel(v.toWindowY(m.x[n][2])) + 5;
        EXPECT_TRUE(textAt(img, X, Y, std::to_string(n).c_str(), blue)) << n;
    }
    releaseModel(m);
}

// Node 3 stands on node 1's line, its number `extra` pixels beyond the end of "1": a number
// that would touch its neighbour's is left out, one that keeps about a digit apart is written.
class LabelGap : public ::testing::TestWithParam<std::pair<int, bool>> {};

TEST_P(LabelGap, NeighboursKeepADigitApart) {
    const auto [extra, written] = GetParam();
    Model m;
    buildModel(m, {{0, 0}, {10, 10}, {10, 0}}, {});
    ViewOptions o;
    o.p_wez = 0;
    ViewMapping v;
    render(m, o, {300, 300}, &v);
    const QFontMetrics fm(labelFont());
    const double scale = (v.toWindowX(10) - v.toWindowX(0)) / 10;
    m.x[3][1] = static_cast<float>((fm.horizontalAdvance('1') + extra) / scale);
    const QImage img = render(m, o, {300, 300}, &v);
    const int X = pixel(v.toWindowX(m.x[3][1])) + 3, Y = pixel(v.toWindowY(0)) + 5;
    EXPECT_TRUE(textAt(img, pixel(v.toWindowX(0)) + 3, Y, "1", QColor(0, 0, 255)));
    EXPECT_EQ(textAt(img, X, Y, "3", QColor(0, 0, 255)), written) << extra;
    releaseModel(m);
}

INSTANTIATE_TEST_SUITE_P(LabelsOnThePicture, LabelGap,
                         ::testing::Values(std::pair{1, false}, std::pair{3, false},
                                           std::pair{14, true}));

// --- The window: pointer zoom and pan, export -----------------------------------------------

class Window : public ::testing::Test {
  protected:
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
    QTemporaryDir dir;

    void SetUp() override {
        buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{1, 2, 3}, {1, 3, 4}});
        okno.p_n_ele = 1;
        okno.resize(300, 300);
        okno.wsp->hide();  // the read-out stands inside the window; only the picture counts
        shot();            // the mapping of the picture on the screen
    }
    QImage shot() { return okno.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    std::string readOut(QPoint p) {
        okno.EvMouseMove(p);
        return okno.wsp->readOut().toStdString();
    }
    std::string path(const char* name) { return dir.filePath(name).toStdString(); }
};

TEST_F(Window, WheelZoomsAroundThePointerMiddleDragPansDopasujFits) {
    // Node 2 at (275, 260) before and after zooming around it.
    okno.EvMouseWheel({275, 260}, 3);
    EXPECT_EQ(readOut({275, 260}), "x=10.00, y= 0.00, węz. 2");
    EXPECT_EQ(ui.repaints, 1);
    okno.EvMButtonDown({200, 200});
    okno.EvMouseMove({150, 180});
    okno.EvMButtonUp({150, 180});
    EXPECT_EQ(readOut({225, 240}), "x=10.00, y= 0.00, węz. 2");
    // A rubber band around the moved node takes it at this zoom.
    okno.EvLButtonDown({215, 230});
    okno.EvMouseMove({235, 250});
    okno.EvLButtonUp({235, 250});
    ASSERT_EQ(m.i_grp, 1);
    EXPECT_EQ(m.s_grp[1], 2);
    okno.dispatch(51706);
    EXPECT_TRUE(okno.mapping.fitted());
    EXPECT_EQ(readOut({275, 260}), "x=10.00, y= 0.00, węz. 2");
}

TEST_F(Window, SavedPictureAtTheWindowsSizeIsTheWindowsPicture) {
    okno.EvMouseWheel({100, 120}, 2);
    okno.invalidatePicture();  // what the program's own Ui does for the repaint asked for
    const QImage screen = shot();
    ui.dialogOk(3200, {}).choose(path("rys.png")).answer(Answer::Ok);
    okno.dispatch(51707);
    ui.verifyAllUsed();
    ASSERT_EQ(ui.dialogsRun, std::vector<int>{3200});
    EXPECT_EQ(ui.prompts.back(), ask("Plik zapisano poprawnie", "WIRTOR", Buttons::Ok, Icon::None));
    QImage saved(QString::fromStdString(path("rys.png")));
    ASSERT_FALSE(saved.isNull());
    EXPECT_TRUE(saved.convertToFormat(QImage::Format_RGB32) == screen);
}

TEST_F(Window, SavesSvgAndPngAtTheChosenSize) {
    ui.dialogOk(3200, {{8500, "2000"}, {8501, "1500"}}).choose(path("rys.svg")).answer(Answer::Ok);
    okno.dispatch(51707);
    QFile svg(QString::fromStdString(path("rys.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("viewBox=\"0 0 2000 1500\""));
    // Vector strokes, not a picture of pixels.
    EXPECT_TRUE(text.contains("<polyline"));
    EXPECT_FALSE(text.contains("<image"));

    ui.dialogOk(3200, {{8500, "2000"}, {8501, "1500"}}).choose(path("rys.png")).answer(Answer::Ok);
    okno.dispatch(51707);
    EXPECT_EQ(QImage(QString::fromStdString(path("rys.png"))).size(), QSize(2000, 1500));
    ui.verifyAllUsed();
}

struct RefusedSize {
    const char* w;
    const char* h;
};

class PictureSize : public Window, public ::testing::WithParamInterface<RefusedSize> {};

TEST_P(PictureSize, OutOfRangeIsRefusedBeforeAnyFileIsChosen) {
    ui.dialogOk(3200, {{8500, GetParam().w}, {8501, GetParam().h}}).answer(Answer::Ok);
    okno.dispatch(51707);
    ui.verifyAllUsed();
    EXPECT_TRUE(ui.choosers.empty());
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].caption, "Błąd danych");
    EXPECT_EQ(ui.prompts[0].icon, Icon::Stop);
}

INSTANTIATE_TEST_SUITE_P(Window, PictureSize,
                         ::testing::Values(RefusedSize{"150", "400"}, RefusedSize{"400", "8001"},
                                           RefusedSize{"0", "0"}, RefusedSize{"", "300"}));

// --- The batch tool -------------------------------------------------------------------------

struct CalcRun {
    int code;
    QString err;
};

CalcRun calc(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // No display and no platform named: the tool must manage by itself.
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.remove("XDG_RUNTIME_DIR");  // nor a runtime directory: still nothing on stderr
    p.setProcessEnvironment(env);
    p.start(WIRTOR_CALC_PATH, args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

TEST(CalcPicture, DrawsTheRequestedSizeAndMapWithTheWindowsRoutine) {
    QTemporaryDir dir;
    Model m;
    newProject(m);
    RectanglePatch patch;
    patch.dx = 2.0;
    patch.dy = 1.0;
    patch.ix = 8;
    patch.iy = 4;
    ASSERT_TRUE(appendRectangle(m, patch).ok());
    const QString model = dir.filePath("m.WT");
    ASSERT_TRUE(writeModelFile(model.toStdString(), m).ok());
    ASSERT_TRUE(Obliczenia(m).ok());

    struct Case {
        const char* map;
        int p_napr, p_rn;
    };
    for (const Case& c : {Case{"xz", 1, 1}, Case{"none", 0, 3}, Case{"tau", 1, 3}}) {
        const QString out = dir.filePath(QString("r_%1.png").arg(c.map));
        const CalcRun r = calc({model, "--picture", out, "--size", "420x310", "--map", c.map});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.err.toStdString(), "");
        const QImage got = QImage(out).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(got.size(), QSize(420, 310)) << c.map;
        ViewOptions o;
        o.p_napr = c.p_napr;
        o.p_rn = c.p_rn;
        EXPECT_TRUE(got == renderPicture({420, 310}, m, o, ViewMapping{})) << c.map;
    }
    releaseModel(m);
}

TEST(CalcPicture, RefusesWhatItDoesNotKnow) {
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{"m.WT", "--obraz", "a.png"}, "nieznana opcja: --obraz"},
        {{"m.WT", "--picture", "a.png", "--map", "sigma"}, "nieznana mapa naprężeń: sigma"},
        {{"m.WT", "--picture", "a.png", "--size", "100x100"}, "błędny rozmiar rysunku: 100x100"},
        {{"m.WT", "--picture"}, "brak wartości opcji --picture"},
    };
    for (const Case& c : cases) {
        const CalcRun r = calc(c.args);
        EXPECT_NE(r.code, 0) << c.says;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
}

}  // namespace
