// The picture of the drawing area probed pixel by pixel: the frame, every mesh layer at its
// exact position and colour, the layer order and the switches.
#include <QPainter>
#include <functional>

#include <gtest/gtest.h>

#include "view/mesh_layers.h"
#include "view/paint_model.h"
#include "view_test_util.h"

namespace {

const QColor kGrey(128, 128, 128);
const QColor kCyan(0, 255, 255);
const QColor kNodeMark(255, 128, 128);
const QColor kOrange(255, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const std::string kWhite = rgb(255, 255, 255);
/// What the image holds before painting: a colour no layer uses.
const QColor kUnder(1, 2, 3);

std::string name(QColor c) {
    return rgb(c.red(), c.green(), c.blue());
}

ViewOptions allOff() {
    ViewOptions o;
    o.p_siatka = o.p_wez = o.p_n_wezl = 0;
    return o;
}

// A 10 x 10 square of two triangles split along 1-3, in 500 x 400: 35 pixels per unit,
// node 1 at (25, 360), node 2 at (375, 360), node 3 at (375, 10), node 4 at (25, 10).
class Square : public ::testing::Test {
  protected:
    Model m;
    void SetUp() override {
        buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{1, 2, 3}, {1, 3, 4}});
    }
    QImage draw(const ViewOptions& o) { return render(m, o, {500, 400}); }
};

TEST_F(Square, BoundaryIsGreyAndTheSharedDiagonalIsNot) {
    const QImage img = draw(allOff());
    // Bottom, right, top and left sides: the 2-pixel pen covers the line's own pixel.
    EXPECT_EQ(rgbAt(img, 200, 360), name(kGrey));
    EXPECT_EQ(rgbAt(img, 375, 200), name(kGrey));
    EXPECT_EQ(rgbAt(img, 200, 10), name(kGrey));
    EXPECT_EQ(rgbAt(img, 25, 200), name(kGrey));
    EXPECT_EQ(rgbAt(img, 200, 362), kWhite);
    // The diagonal 1-3 belongs to both elements.
    EXPECT_EQ(rgbAt(img, 200, 185), kWhite);
    EXPECT_EQ(countColour(img, kCyan), 0);
}

TEST_F(Square, ElementEdgesAreCyanOverTheBoundary) {
    ViewOptions o = allOff();
    o.p_siatka = 1;
    const QImage img = draw(o);
    EXPECT_EQ(rgbAt(img, 200, 185), name(kCyan));  // diagonal, slope -1 through (200, 185)
    EXPECT_EQ(rgbAt(img, 300, 85), name(kCyan));
    // The 1-pixel edge lies over the 2-pixel boundary, which still shows beside it.
    EXPECT_EQ(rgbAt(img, 200, 360), name(kCyan));
    EXPECT_EQ(rgbAt(img, 200, 359), name(kGrey));
    EXPECT_EQ(rgbAt(img, 100, 300), kWhite);  // inside element 2
}

TEST_F(Square, NodeMarksAreSmallPlusSignsOverTheEdges) {
    ViewOptions o = allOff();
    o.p_siatka = o.p_wez = 1;
    const QImage img = draw(o);
    for (auto [X, Y] : {std::pair{25, 360}, {375, 360}, {375, 10}, {25, 10}}) {
        EXPECT_EQ(rgbAt(img, X, Y), name(kNodeMark)) << X << "," << Y;
        EXPECT_EQ(rgbAt(img, X + 1, Y), name(kNodeMark));
        EXPECT_EQ(rgbAt(img, X, Y - 1), name(kNodeMark));
    }
    // The arms reach 1 pixel and the 2-pixel pen one more at most.
    EXPECT_EQ(rgbAt(img, 200, 360), name(kCyan));
    EXPECT_NE(rgbAt(img, 29, 360), name(kNodeMark));
    EXPECT_NE(rgbAt(img, 25, 356), name(kNodeMark));
}

TEST_F(Square, GroupMarksAreWideOrangeOverNodeMarks) {
    ViewOptions o = allOff();
    o.p_wez = 1;
    m.s_grp.allocate(2);
    m.s_grp[1] = 2;
    m.s_grp[2] = 99;  // not a node (left over from an edit): skipped
    m.i_grp = 2;
    m.j_grupa = 1;
    const QImage img = draw(o);
    EXPECT_EQ(rgbAt(img, 375, 360), name(kOrange));
    EXPECT_EQ(rgbAt(img, 375 - 3, 360), name(kOrange));
    EXPECT_EQ(rgbAt(img, 375, 360 - 3), name(kOrange));
    EXPECT_EQ(rgbAt(img, 375, 360 + 1), name(kOrange));
    // Node 1 is not in the group.
    EXPECT_EQ(rgbAt(img, 25, 360), name(kNodeMark));
    EXPECT_EQ(rgbAt(img, 35, 360), name(kGrey));

    m.j_grupa = 0;  // no group selected: no marks even though s_grp is still filled
    EXPECT_EQ(countColour(draw(o), kOrange), 0);
}

TEST_F(Square, NodeNumbersAreBlueBelowRightOfTheNode) {
    ViewOptions o = allOff();
    o.p_n_wezl = 1;
    const QImage img = draw(o);
    EXPECT_TRUE(textAt(img, 28, 365, "1", kBlue));
    EXPECT_TRUE(textAt(img, 378, 365, "2", kBlue));
    EXPECT_TRUE(textAt(img, 378, 15, "3", kBlue));
    EXPECT_TRUE(textAt(img, 28, 15, "4", kBlue));
    EXPECT_FALSE(textAt(img, 29, 365, "1", kBlue));
    EXPECT_FALSE(textAt(img, 28, 364, "1", kBlue));
}

TEST_F(Square, ElementNumbersAreBlackAtTheCentroid) {
    ViewOptions o = allOff();
    o.p_n_ele = 1;
    const QImage img = draw(o);
    // Element 1: centroid (20/3, 10/3) -> (25 + 233.3, 360 - 116.7) = (258, 243).
    EXPECT_TRUE(textAt(img, 258, 243, "1", kBlack));
    // Element 2: centroid (10/3, 20/3) -> (141, 126).
    EXPECT_TRUE(textAt(img, 141, 126, "2", kBlack));
}

TEST_F(Square, EachElementDrawsItsEdgesThenItsNumberAndNodeMarksComeLater) {
    // Element "1 5 3" lies on the diagonal: labelled at the mean of its nodes, (5, 5), which
    // is drawn at (200, 185), the top-left pixel of its number box and a point of edge 1-3.
    ViewOptions o = allOff();
    o.p_siatka = o.p_n_ele = 1;
    buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}}, {{1, 5, 3}, {1, 3, 4}});
    QImage img = draw(o);
    EXPECT_FALSE(textAt(img, 200, 185, "1", kBlack));
    EXPECT_EQ(rgbAt(img, 200, 185), name(kCyan));  // the later element's edge crosses the box
    // As the later element it covers the diagonal with its box.
    buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}}, {{1, 3, 4}, {1, 5, 3}});
    img = draw(o);
    EXPECT_TRUE(textAt(img, 200, 185, "2", kBlack));
    // Node 5's mark is drawn after every element.
    o.p_wez = 1;
    img = draw(o);
    EXPECT_EQ(rgbAt(img, 200, 185), name(kNodeMark));
    EXPECT_EQ(rgbAt(img, 201, 185), name(kNodeMark));
}

TEST_F(Square, EveryLayerSwitchedOffLeavesOnlyTheBoundary) {
    const QImage img = draw(allOff());
    int other = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (c != qRgb(255, 255, 255) && c != kGrey.rgb()) ++other;
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(countColour(img, kGrey), 4 * 300);
}

// Each switch turned off removes exactly its layer's colour from the picture.
struct SwitchCase {
    const char* name;
    int ViewOptions::*sw;
    QColor colour;
};

class Switch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(Switch, OffDrawsNothingOfItsLayer) {
    const SwitchCase& c = GetParam();
    Model m;
    buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{1, 2, 3}, {1, 3, 4}});
    m.si[3] = 1.0f;
    ViewOptions on;
    on.p_siatka = on.p_wez = on.p_n_wezl = on.p_n_ele = on.p_sily = on.p_sily_nr = 1;
    EXPECT_GT(countColour(render(m, on, {500, 400}), c.colour), 0);
    ViewOptions off = on;
    off.*c.sw = 0;
    EXPECT_EQ(countColour(render(m, off, {500, 400}), c.colour), 0);
}

INSTANTIATE_TEST_SUITE_P(Paint, Switch,
                         ::testing::Values(SwitchCase{"siatka", &ViewOptions::p_siatka, kCyan},
                                           SwitchCase{"wez", &ViewOptions::p_wez, kNodeMark},
                                           SwitchCase{"n_wezl", &ViewOptions::p_n_wezl, kBlue},
                                           SwitchCase{"n_ele", &ViewOptions::p_n_ele, kBlack},
                                           SwitchCase{"sily", &ViewOptions::p_sily, kRed}),
                         [](const auto& info) {
                             return std::to_string(info.index) + "_" + info.param.name;
                         });

TEST(Paint, NoProjectDrawsNothingAtAll) {
    Model m;
    buildModel(m, {{0, 0}, {10, 0}, {0, 10}}, {{1, 2, 3}});
    m.Pusty = 1;
    ViewOptions o;
    o.p_n_ele = o.p_sily = 1;
    const QImage img = render(m, o, {300, 300}, nullptr, kUnder);
    EXPECT_EQ(countColour(img, kUnder), 300 * 300);
}

TEST(Paint, ProjectWithoutNodesIsWhite) {
    Model m;
    newProject(m);
    const QImage img = render(m, ViewOptions{}, {300, 200}, nullptr, kUnder);
    EXPECT_EQ(countColour(img, Qt::white), 300 * 200);
}

struct SmallCase {
    QSize size;
    bool drawn;
};

class SmallWindow : public ::testing::TestWithParam<SmallCase> {};

TEST_P(SmallWindow, ShowsTheMessageInsteadOfTheModel) {
    const SmallCase& c = GetParam();
    Model m;
    buildModel(m, {{0, 0}, {10, 0}, {0, 10}}, {{1, 2, 3}});
    const QImage img = render(m, ViewOptions{}, c.size, nullptr, kUnder);
    EXPECT_EQ(countColour(img, kUnder), 0);  // the background is white everywhere
    EXPECT_EQ(countColour(img, kGrey) > 0, c.drawn);
    EXPECT_EQ(countColour(img, kCyan) > 0, c.drawn);

    // The message is written in the default font at (10, 10), black on its white box.
    QImage ref(c.size, QImage::Format_RGB32);
    ref.fill(Qt::white);
    {
        QPainter p(&ref);
        p.setBackgroundMode(Qt::OpaqueMode);
        QFont f = p.font();
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QPoint(10, 10 + p.fontMetrics().ascent()),
                   QString::fromUtf8("Zbyt małe okno aby wyświetlić projekt"));
    }
    EXPECT_EQ(img == ref, !c.drawn);
}

INSTANTIATE_TEST_SUITE_P(Paint, SmallWindow,
                         ::testing::Values(SmallCase{{150, 150}, false},
                                           SmallCase{{400, 150}, false},
                                           SmallCase{{150, 400}, false},
                                           SmallCase{{151, 151}, true},
                                           SmallCase{{151, 400}, true}));

TEST(Paint, OneElementHasAllThreeEdgesOnTheBoundary) {
    Model m;
    buildModel(m, {{0, 0}, {10, 0}, {0, 10}}, {{1, 2, 3}});
    const QImage img = render(m, allOff(), {400, 400});
    // 35 px/unit: nodes at (25, 360), (375, 360), (25, 10).
    EXPECT_EQ(rgbAt(img, 200, 360), name(kGrey));
    EXPECT_EQ(rgbAt(img, 25, 200), name(kGrey));
    EXPECT_EQ(rgbAt(img, 200, 185), name(kGrey));
}

TEST(Paint, EdgeSharedInOppositeDirectionsIsNotBoundary) {
    // Elements 1 (1, 2, 5) and 2 (5, 2, 3) share 2-5 as 2->5 and 5->2.
    Model m;
    buildModel(m, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}}, {{1, 2, 5}, {5, 2, 3}});
    const QImage img = render(m, allOff(), {400, 400});
    // 2-5 runs from (375, 360) to (200, 185): its midpoint (287, 272) lies on it.
    EXPECT_EQ(rgbAt(img, 287, 272), kWhite);
    EXPECT_EQ(rgbAt(img, 200, 360), name(kGrey));  // 1-2
    EXPECT_EQ(rgbAt(img, 375, 200), name(kGrey));  // 2-3
    EXPECT_EQ(rgbAt(img, 112, 272), name(kGrey));  // 5-1
    EXPECT_EQ(rgbAt(img, 287, 97), name(kGrey));   // 3-5
}

TEST(Paint, NodeNumberBoxCoversTheEdgesUnderIt) {
    // Node 3 at (25, 10): the hypotenuse 2-3 runs through (30, 15), inside its number's box.
    Model m;
    buildModel(m, {{0, 0}, {10, 0}, {0, 10}}, {{1, 2, 3}});
    ViewOptions o;
    o.p_n_wezl = 0;
    EXPECT_EQ(rgbAt(render(m, o, {400, 400}), 30, 15), name(kCyan));
    o.p_n_wezl = 1;
    EXPECT_TRUE(textAt(render(m, o, {400, 400}), 28, 15, "3", kBlue));
}

TEST(Paint, UnusedNodeHasMarkAndNumberButNoEdge) {
    Model m;
    buildModel(m, {{0, 0}, {10, 0}, {0, 10}, {10, 10}}, {{1, 2, 3}});
    const QImage img = render(m, ViewOptions{}, {400, 400});
    EXPECT_EQ(rgbAt(img, 375, 10), name(kNodeMark));
    EXPECT_TRUE(textAt(img, 378, 15, "4", kBlue));
    EXPECT_EQ(rgbAt(img, 375, 30), kWhite);
    EXPECT_EQ(rgbAt(img, 355, 10), kWhite);
}

TEST(LabelPoint, CentroidVerticalMedianAndDegenerate) {
    Model m;
    buildModel(m,
               {{0, 0},
                {2, 0},
                {0, 2},  // right triangle: centroid (2/3, 2/3)
                {1, 0},
                {0, 2},
                {2, 2},  // vertical median from node 1
                {0, 0},
                {1, 1},
                {3, 3}},  // all on one line
               {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_NEAR(sciezx(m, 1), 2.0f / 3, 1e-6f);
    EXPECT_NEAR(sciezy(m, 1), 2.0f / 3, 1e-6f);
    EXPECT_EQ(sciezx(m, 2), 1.0f);
    EXPECT_EQ(sciezy(m, 2), 1.0f);  // y of the midpoint of side 1-2
    EXPECT_NEAR(sciezx(m, 3), 4.0f / 3, 1e-6f);
    EXPECT_NEAR(sciezy(m, 3), 4.0f / 3, 1e-6f);
}

// A 10 x 1 strip in 500 x 400: 45 px per unit, node 1 at (25, 360), node 2 at (475, 360)
// on the right margin, node 3 at (475, 315), node 4 at (25, 315).
class Loads : public ::testing::Test {
  protected:
    Model m;
    ViewOptions o = allOff();
    void SetUp() override {
        buildModel(m, {{0, 0}, {10, 0}, {10, 1}, {0, 1}}, {{1, 2, 3}, {1, 3, 4}});
        o.p_sily = 1;
    }
    QImage draw() { return render(m, o, {500, 400}); }
};

TEST_F(Loads, PositiveXLoadAtTheRightEdgeEndsAtTheNode) {
    m.si[3] = 5.0f;  // X load of node 2
    o.p_sily_nr = 1;
    const QImage img = draw();
    EXPECT_EQ(rgbAt(img, 462, 360), name(kRed));
    EXPECT_EQ(rgbAt(img, 471, 363), name(kRed));  // lower barb towards (469, 364)
    EXPECT_EQ(rgbAt(img, 480, 360), kWhite);
    EXPECT_TRUE(textAt(img, 450, 360, "1", kRed));
}

TEST_F(Loads, LoadsAreNumberedInOrderAndPointTheirWay) {
    m.si[2] = -1.0f;  // Y load of node 1, down
    m.si[4] = 2.0f;   // Y load of node 2, up
    m.si[1] = -3.0f;  // X load of node 1, left; too close to the left edge: moved right
    o.p_sily_nr = 1;
    const QImage img = draw();
    EXPECT_EQ(rgbAt(img, 25, 380), name(kRed));   // down from (25, 360)
    EXPECT_EQ(rgbAt(img, 475, 340), name(kRed));  // up from (475, 360)
    EXPECT_EQ(rgbAt(img, 35, 360), name(kRed));   // left from (50, 360) to (25, 360)
    EXPECT_TRUE(textAt(img, 50, 360, "1", kRed));
    EXPECT_TRUE(textAt(img, 25, 360, "2", kRed));
    EXPECT_TRUE(textAt(img, 475, 360, "3", kRed));
}

TEST_F(Loads, NumbersOnlyWithTheirSwitch) {
    m.si[3] = 5.0f;
    const QImage img = draw();
    EXPECT_GT(countColour(img, kRed), 20);
    EXPECT_FALSE(textAt(img, 450, 360, "1", kRed));
}

TEST_F(Loads, WarpedOutlinesAndLegendNeedResults) {
    m.f[3] = -2.0f;  // largest |f|: node 3 moves 10 px left and down
    o.p_n_pola = 1;
    QImage img = draw();
    EXPECT_EQ(countColour(img, kBlack), 0);  // no results: neither outlines nor legend
    m.obliczono = 1;
    img = draw();
    // Element 1's warped edge 2-3' runs from (475, 360) to (465, 325).
    EXPECT_EQ(rgbAt(img, 465, 325), rgb(0, 0, 0));
    EXPECT_EQ(rgbAt(img, 475, 315), name(kGrey));  // node 3 itself, unwarped, is boundary only
    // Legend: a 20-pixel bar with end ticks and the value of the largest |f| in red.
    EXPECT_EQ(rgbAt(img, 12, 10), rgb(0, 0, 0));
    EXPECT_EQ(rgbAt(img, 2, 8), rgb(0, 0, 0));
    EXPECT_EQ(rgbAt(img, 22, 11), rgb(0, 0, 0));
    EXPECT_TRUE(textAt(img, 3, 14, "2.00000000", kRed));
}

TEST_F(Loads, LegendOfAFieldThatIsZeroEverywhere) {
    m.obliczono = 1;
    o.p_n_pola = 1;
    o.p_siatka = 1;
    const QImage img = draw();
    EXPECT_TRUE(textAt(img, 3, 14, "0.00000000", kRed));
    // The outlines lie on the edges: black over cyan.
    EXPECT_EQ(rgbAt(img, 250, 360), rgb(0, 0, 0));
}

}  // namespace

namespace {

TEST(Paint, SingleNodeSitsAtTheLowerLeftCorner) {
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {1000.0f, -5000.0f}}) {
        Model m;
        buildModel(m, {{x, y}}, {});
        const QImage img = render(m, ViewOptions{}, {300, 200});
        EXPECT_EQ(rgbAt(img, 25, 160), name(kNodeMark)) << x;
        EXPECT_TRUE(textAt(img, 28, 165, "1", kBlue)) << x;
    }
}

}  // namespace
