// Level of detail of the picture: the decision from the mesh's spacing on the screen, the
// spacing measured over the visible part of the mesh, and fine meshes that show their stress
// map under the default switches until zoomed in.
#include <QPainter>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "mesh/rectangle.h"
#include "view/detail_level.h"
#include "view/paint_model.h"
#include "view/stress_layer.h"
#include "view_test_util.h"

namespace {

const QColor kCyan(0, 255, 255);
const QColor kNodeMark(255, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);
constexpr float kInf = std::numeric_limits<float>::infinity();

// Boxes of a 3-digit node number and a 4-digit element number with 7-pixel digits.
const LabelBox kNode{27, 12};
const LabelBox kElement{34, 12};

struct DecisionCase {
    float spacing;
    DetailLevel drawn;
};

class Decision : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(Decision, KeepsWhatStaysLegible) {
    const DecisionCase& c = GetParam();
    const DetailLevel d = detailLevel(c.spacing, kNode, kElement);
    EXPECT_EQ(d.edges, c.drawn.edges) << c.spacing;
    EXPECT_EQ(d.marks, c.drawn.marks) << c.spacing;
    EXPECT_EQ(d.nodeNumbers, c.drawn.nodeNumbers) << c.spacing;
    EXPECT_EQ(d.elementNumbers, c.drawn.elementNumbers) << c.spacing;
}

// Edges from 4 px, marks from 6 px, node numbers from max(12, 27 / 2) = 13.5 px, element
// numbers from sqrt(2) * max(12, 34 / 2) = 24.04 px.
INSTANTIATE_TEST_SUITE_P(Spacing, Decision,
                         ::testing::Values(DecisionCase{0.0f, {false, false, false, false}},
                                           DecisionCase{1.0f, {false, false, false, false}},
                                           DecisionCase{3.99f, {false, false, false, false}},
                                           DecisionCase{4.0f, {true, false, false, false}},
                                           DecisionCase{5.99f, {true, false, false, false}},
                                           DecisionCase{6.0f, {true, true, false, false}},
                                           DecisionCase{13.4f, {true, true, false, false}},
                                           DecisionCase{13.5f, {true, true, true, false}},
                                           DecisionCase{24.0f, {true, true, true, false}},
                                           DecisionCase{24.1f, {true, true, true, true}},
                                           DecisionCase{kInf, {true, true, true, true}},
                                           DecisionCase{std::nanf(""),
                                                        {false, false, false, false}}));

TEST(Decision, NumbersAlsoNeedTheirHeight) {
    // A one-digit box is narrow: its height decides.
    const LabelBox narrow{13, 12};
    EXPECT_FALSE(detailLevel(11.9f, narrow, narrow).nodeNumbers);
    EXPECT_TRUE(detailLevel(12.0f, narrow, narrow).nodeNumbers);
}

TEST(NumberBox, CountsDigitsAndKeepsHalfADigitEachSide) {
    EXPECT_EQ(numberBox(0, 7, 12).width, 13);
    EXPECT_EQ(numberBox(9, 7, 12).width, 13);
    EXPECT_EQ(numberBox(10, 7, 12).width, 20);
    EXPECT_EQ(numberBox(999, 7, 12).width, 27);
    EXPECT_EQ(numberBox(1000, 7, 12).width, 34);
    EXPECT_EQ(numberBox(2000000, 7, 12).width, 55);
    EXPECT_EQ(numberBox(5, 7, 12).height, 12);
}

/// Appends an ix x iy patch of two triangles per cell over [px, px + dx] x [0, dy].
void addPatch(Model& m, double px, double dx, double dy, int ix, int iy) {
    RectanglePatch p;
    p.px = px;
    p.dx = dx;
    p.dy = dy;
    p.ix = ix;
    p.iy = iy;
    ASSERT_TRUE(appendRectangle(m, p).ok());
}

/// Stresses of phi = x(1-x) y(1-y) over the unit square, written as current results.
void fillStresses(Model& m) {
    auto tau = [](float x, float y, float* t) {
        t[1] = x * (1 - x) * (1 - 2 * y);
        t[2] = -(1 - 2 * x) * y * (1 - y);
        t[3] = std::hypot(t[1], t[2]);
    };
    for (int n = 1; n <= m.nn; ++n)
        tau(m.x[n][1], m.x[n][2], m.ww[n]);
    for (int e = 1; e <= m.ne; ++e) {
        float cx = 0, cy = 0;
        for (int k = 1; k <= 3; ++k) {
            cx += m.x[m.noc[e][k]][1] / 3;
            cy += m.x[m.noc[e][k]][2] / 3;
        }
        tau(cx, cy, m.napr[e]);
    }
    m.obliczono = 1;
}

class Spacing : public ::testing::Test {
  protected:
    Model m;
    ViewMapping map;
    void SetUp() override { newProject(m); }
    void TearDown() override { releaseModel(m); }
};

TEST_F(Spacing, IsTheCellSideInPixels) {
    addPatch(m, 0, 1, 1, 10, 10);
    map.fit(m, 500, 400);  // 350 px per unit: cells of 35 px
    EXPECT_NEAR(meshSpacing(m, map, 500, 400), 35.0f, 0.01f);
    map.zoomAt(250, 200, 2);
    EXPECT_NEAR(meshSpacing(m, map, 500, 400), 35.0f * 1.5625f, 0.01f);
}

TEST_F(Spacing, SampledFromAFineMeshAndFromTheCornerItShowsZoomedIn) {
    addPatch(m, 0, 1, 1, 100, 100);  // 20 000 elements: sampled at steps
    map.fit(m, 500, 400);
    EXPECT_NEAR(meshSpacing(m, map, 500, 400), 3.5f, 0.01f);
    // 17 notches on the lower-left corner: a few dozen cells in view.
    map.zoomAt(25, 360, 17);
    EXPECT_NEAR(meshSpacing(m, map, 500, 400), 3.5f * map.zoom, 0.01f * map.zoom);
}

TEST_F(Spacing, CountsOnlyTheElementsInView) {
    addPatch(m, 0, 1, 1, 40, 40);  // fine left half: 3200 elements
    addPatch(m, 1, 1, 1, 4, 4);    // coarse right half: 32
    map.fit(m, 500, 400);          // 225 px per unit
    EXPECT_NEAR(meshSpacing(m, map, 500, 400), 225.0f / 40, 0.01f);
    // Zoomed on the right edge until the fine half lies left of the area.
    map.zoomAt(475, 200, 4);
    ASSERT_LT(map.toWindowX(1.0f), 0.0f);
    EXPECT_NEAR(meshSpacing(m, map, 500, 400), 225.0f / 4 * map.zoom, 0.01f);
}

TEST_F(Spacing, UnknownWithoutElementsOrWithNoneInView) {
    buildModel(m, {{0, 0}, {1, 0}}, {});
    map.fit(m, 500, 400);
    EXPECT_EQ(meshSpacing(m, map, 500, 400), kInf);
    addPatch(m, 0, 1, 1, 2, 2);
    map.fit(m, 500, 400);
    map.pan(-2000, 0);
    EXPECT_EQ(meshSpacing(m, map, 500, 400), kInf);
}

/// Share of the pixels of the section's inside (its fitted square, 3 px in from the boundary)
/// that have a colour of the stress palette.
double mapShare(const QImage& img, QRect inside) {
    std::set<QRgb> palette;
    for (const QColor& c : stressPalette(1))
        palette.insert(c.rgb());
    int hits = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (palette.count(img.pixel(x, y))) ++hits;
    return static_cast<double>(hits) / (inside.width() * inside.height());
}

// A unit square in 400 x 400: 350 px per unit, the section from (25, 10) to (375, 360).
class FineMesh : public ::testing::TestWithParam<int> {
  protected:
    Model m;
    const QRect inside{28, 13, 345, 345};
    void SetUp() override {
        newProject(m);
        addPatch(m, 0, 1, 1, GetParam(), GetParam());
        fillStresses(m);
    }
    void TearDown() override { releaseModel(m); }
    static ViewOptions mapOn() {
        ViewOptions o;  // default switches: edges, node marks, node numbers
        o.p_napr = 1;
        return o;
    }
};

TEST_P(FineMesh, ShowsTheMapUnderTheDefaultSwitches) {
    const QImage img = render(m, mapOn(), {400, 400});
    EXPECT_EQ(countColour(img, kCyan), 0);
    EXPECT_EQ(countColour(img, kNodeMark), 0);
    EXPECT_EQ(countColour(img, kBlue), 0);
    EXPECT_GT(mapShare(img, inside), 0.99);
    // The boundary stands in for the mesh.
    EXPECT_EQ(rgbAt(img, 200, 360), rgb(128, 128, 128));
    EXPECT_EQ(rgbAt(img, 25, 200), rgb(128, 128, 128));
}

TEST_P(FineMesh, ZoomedInShowsTheMeshAgain) {
    ViewMapping map;
    map.fit(m, 400, 400);
    map.zoomAt(200, 185, 14);  // x 22.7: cells of 27 to 64 px
    const QImage img = render(m, mapOn(), {400, 400}, &map);
    EXPECT_GT(countColour(img, kCyan), 400);
    EXPECT_GT(countColour(img, kNodeMark), 20);
    EXPECT_GT(countColour(img, kBlue), 20);
}

// 120 cells: spacing 2.9 px, elements filled; 250 cells: 1.4 px, coloured pixel by pixel.
INSTANTIATE_TEST_SUITE_P(Cells, FineMesh, ::testing::Values(120, 250));

TEST(FineMesh, PixelByPixelColoursMatchTheFills) {
    // The same picture drawn once 1:1 (tiny elements coloured pixel by pixel) and once shifted
    // by a whole pixel, where every element is filled; every pixel has a palette colour in both.
    for (int levels : {1, 3, 200}) {
        Model m;
        newProject(m);
        addPatch(m, 0, 1, 1, 250, 250);
        fillStresses(m);
        ViewOptions o;
        o.p_siatka = o.p_wez = o.p_n_wezl = 0;
        o.p_napr = 1;
        o.iizol = levels;
        const QImage direct = render(m, o, {400, 400});
        QImage shifted(401, 401, QImage::Format_RGB32);
        shifted.fill(Qt::white);
        {
            QPainter p(&shifted);
            p.translate(1, 1);
            ViewMapping map;
            paintModel(p, {400, 400}, m, o, map);
        }
        std::map<QRgb, int> index;
        const StressPalette k = stressPalette(1);
        for (int i = 0; i <= 200; ++i)
            index.emplace(k[static_cast<size_t>(i)].rgb(), i);
        long steps = 0, far = 0, differ = 0, count = 0;
        const QRect inside(28, 13, 345, 345);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const auto a = index.find(direct.pixel(x, y));
                const auto b = index.find(shifted.pixel(x + 1, y + 1));
                ASSERT_TRUE(a != index.end() && b != index.end()) << x << "," << y;
                const int d = std::abs(a->second - b->second);
                steps += d;
                differ += d > 0;
                far += d > 3;
                ++count;
            }
        // Neighbouring elements of this smooth field differ by a palette step or so: only
        // which of two elements takes a shared pixel is at stake (measured: a mean of 0.36
        // steps at three levels, 0.42 at 200), never a colour from elsewhere.
        EXPECT_LT(static_cast<double>(steps) / static_cast<double>(count), 0.6) << levels;
        EXPECT_LT(far, count / 1000) << levels;
        EXPECT_LT(differ, count / 2) << levels;
        releaseModel(m);
    }
}

TEST(FineMesh, BoundaryFollowsAnEditOfALargeMesh) {
    Model m;
    newProject(m);
    addPatch(m, 0, 1, 1, 200, 200);  // 80 000 elements: the boundary is kept between paints
    ViewOptions o;
    o.p_siatka = o.p_wez = o.p_n_wezl = 0;
    const int before = countColour(render(m, o, {400, 400}), kGrey);
    // Element 40 100 made a copy of its neighbour: both leave the mesh, a hole in the middle.
    const int e = 40100;
    for (int k = 1; k <= 3; ++k)
        m.noc[e][k] = m.noc[e + 1][k];
    const int after = countColour(render(m, o, {400, 400}), kGrey);
    EXPECT_GT(after, before);
    releaseModel(m);
}

}  // namespace
