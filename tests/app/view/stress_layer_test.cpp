// The stress layer: both palettes, colours of the map at probed pixels, level bands, the
// colour bar with its labels, and the switches that leave it out.
#include <gtest/gtest.h>

#include "../scripted_ui.h"
#include "app/globals.h"
#include "app/okno.h"
#include "view/paint_model.h"
#include "view/stress_layer.h"
#include "view_test_util.h"

namespace {

struct PaletteCase {
    int p_skok, index, r, g, b;
};

class PaletteEntry : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(PaletteEntry, HasItsColour) {
    const PaletteCase c = GetParam();
    const QColor k = stressPalette(c.p_skok)[static_cast<size_t>(c.index)];
    EXPECT_EQ(rgb(k.red(), k.green(), k.blue()), rgb(c.r, c.g, c.b));
}

INSTANTIATE_TEST_SUITE_P(
    Both, PaletteEntry,
    ::testing::Values(PaletteCase{1, 0, 105, 0, 0}, PaletteCase{1, 49, 203, 0, 0},
                      PaletteCase{1, 50, 255, 107, 0}, PaletteCase{1, 99, 255, 205, 0},
                      PaletteCase{1, 100, 0, 107, 0}, PaletteCase{1, 149, 0, 205, 0},
                      PaletteCase{1, 150, 0, 100, 142}, PaletteCase{1, 200, 0, 150, 242},
                      PaletteCase{0, 0, 255, 0, 0}, PaletteCase{0, 32, 159, 0, 0},
                      PaletteCase{0, 33, 159, 4, 0}, PaletteCase{0, 64, 159, 128, 0},
                      PaletteCase{0, 115, 57, 128, 0}, PaletteCase{0, 160, 55, 128, 180},
                      PaletteCase{0, 161, 55, 125, 181}, PaletteCase{2, 200, 55, 8, 220}));

TEST(StressIndex, TruncatesAndClamps) {
    EXPECT_EQ(stressIndex(0.0f, 50.0f), 200);
    EXPECT_EQ(stressIndex(4.0f, 50.0f), 0);
    EXPECT_EQ(stressIndex(1.0f, 50.0f), 150);
    EXPECT_EQ(stressIndex(1.01f, 50.0f), 149);  // 149.5 truncated
    EXPECT_EQ(stressIndex(9.0f, 50.0f), 0);
    EXPECT_EQ(stressIndex(std::nanf(""), 50.0f), 0);
}

struct LabelCase {
    float maw;
    int j;
    const char* text;
};

class BarLabel : public ::testing::TestWithParam<LabelCase> {};

// The format follows the nominal value of the cell, also at j = 1 where the top is printed.
TEST_P(BarLabel, IsFormattedFromItsNominalValue) {
    const LabelCase c = GetParam();
    const float ss = 200.0f / c.maw;
    const float u = static_cast<float>(200 - c.j) / ss;
    EXPECT_EQ(stressBarLabel(u, c.j == 1 ? 200.0f / ss : u).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, BarLabel,
    ::testing::Values(LabelCase{4.0f, 1, "4.0000"}, LabelCase{4.0f, 25, "3.5000"},
                      LabelCase{4.0f, 200, "0.0000"}, LabelCase{120.0f, 1, "120.00"},
                      LabelCase{120.0f, 100, "60.00"}, LabelCase{120.0f, 175, "15.00"},
                      LabelCase{120.0f, 200, "0.0000"}, LabelCase{9.02f, 1, "9.0200"},
                      LabelCase{5000.0f, 1, "  5000"}, LabelCase{5000.0f, 150, "  1250"},
                      LabelCase{5000.0f, 175, "625.00"}, LabelCase{5000.0f, 200, "0.0000"}));

std::string name(QColor c) {
    return rgb(c.red(), c.green(), c.blue());
}

// One triangle, nodes (0,0), (10,0), (0,10), and an unused node 4 far off the scale.
class OneElement : public ::testing::Test {
  protected:
    Model m;
    ViewOptions o;
    ViewMapping map;
    StressPalette k = stressPalette(1);

    void SetUp() override {
        buildModel(m, {{0, 0}, {10, 0}, {0, 10}, {10, 10}}, {{1, 2, 3}});
        m.obliczono = 1;
        o.p_siatka = o.p_wez = o.p_n_wezl = 0;
        o.p_napr = 1;
        o.p_rn = 3;
        o.knapr = &k;
        setStress(3, -4.0f, 1.0f, 0.0f, 2.0f);
        m.ww[4][3] = 100.0f;
    }
    void setStress(int rn, float w1, float w2, float w3, float e) {
        m.ww[1][rn] = w1;
        m.ww[2][rn] = w2;
        m.ww[3][rn] = w3;
        m.napr[1][rn] = e;
    }
    QImage draw(QSize size = {500, 400}) { return render(m, o, size, &map); }
    std::string at(const QImage& img, float x, float y) {
        return rgbAt(img, pixel(map.toWindowX(x)), pixel(map.toWindowY(y)));
    }
    std::string colour(int i) { return name(k[static_cast<size_t>(i)]); }
};

TEST_F(OneElement, FourTrianglesTakeTheNodeAndElementColours) {
    o.iizol = 2;
    const QImage img = draw();
    // Top 4.0 from node 1's magnitude; the unused node 4 does not raise it.
    EXPECT_EQ(at(img, 1.0f, 1.0f), colour(0));
    EXPECT_EQ(at(img, 8.0f, 1.0f), colour(150));
    EXPECT_EQ(at(img, 1.0f, 8.0f), colour(200));
    EXPECT_EQ(at(img, 3.5f, 3.5f), colour(100));
    EXPECT_EQ(at(img, 8.0f, 8.0f), rgb(255, 255, 255));
}

TEST_F(OneElement, OneLevelIsOneFlatTriangle) {
    o.iizol = 1;
    const QImage img = draw();
    for (auto [x, y] : {std::pair{1.0f, 1.0f}, {8.0f, 1.0f}, {1.0f, 8.0f}, {3.5f, 3.5f}})
        EXPECT_EQ(at(img, x, y), colour(100)) << x << "," << y;
}

TEST_F(OneElement, EachStressColumnIsShownByItsMagnitude) {
    o.iizol = 2;
    setStress(1, 0.0f, -2.0f, 0.0f, 0.0f);
    o.p_rn = 1;
    const QImage img = draw();
    EXPECT_EQ(at(img, 1.0f, 1.0f), colour(200));
    EXPECT_EQ(at(img, 8.0f, 1.0f), colour(0));
}

TEST_F(OneElement, ZeroFieldIsDrawnOnAScaleOfOne) {
    o.iizol = 3;
    setStress(3, 0.0f, 0.0f, 0.0f, 0.0f);
    const QImage img = draw({1050, 400});
    EXPECT_EQ(at(img, 1.0f, 1.0f), colour(200));
    EXPECT_TRUE(textAt(img, 20, 378, "1.0000", Qt::black));
    EXPECT_TRUE(textAt(img, 1015, 378, "0.0000", Qt::black));
}

// Levels 0, 1, 2, 3 over node values 0, 3, 3: the lines run parallel to side 2-3 at a third
// and two thirds of the way from node 1, each band in its level's colour.
TEST_F(OneElement, BandsFillBetweenAcceptedLevelLines) {
    setStress(3, 0.0f, 3.0f, 3.0f, 0.5f);
    m.ww[4][3] = 0.0f;
    o.iizol = 4;
    QImage img = draw();
    EXPECT_EQ(at(img, 1.0f, 1.0f), colour(133));
    EXPECT_EQ(at(img, 2.0f, 2.5f), colour(66));
    EXPECT_EQ(at(img, 4.0f, 4.0f), colour(166));  // beyond the last line: centre triangle

    o.iizol = 3;  // no bands: the corner triangle of node 1 shows
    img = draw();
    EXPECT_EQ(at(img, 1.0f, 1.0f), colour(200));
    EXPECT_EQ(at(img, 2.0f, 2.5f), colour(200));
}

TEST_F(OneElement, ColourBarCellsLinesAndLabels) {
    o.iizol = 2;
    const QImage img = draw({1050, 400});
    // sp = 5: cell j spans x = 20 + 5j .. 25 + 5j, rows h - 9 .. h - 2.
    for (int j : {1, 2, 100, 150, 199, 200}) {
        EXPECT_EQ(rgbAt(img, 22 + 5 * j, 395), colour(j)) << j;
        EXPECT_EQ(rgbAt(img, 22 + 5 * j, 391), colour(j)) << j;
        EXPECT_EQ(rgbAt(img, 22 + 5 * j, 398), colour(j)) << j;
    }
    EXPECT_EQ(rgbAt(img, 25, 399), rgb(0, 0, 0));
    EXPECT_EQ(rgbAt(img, 1025, 390), rgb(0, 0, 0));
    EXPECT_EQ(rgbAt(img, 24, 399), rgb(255, 255, 255));
    const char* labels[] = {"4.0000", "3.5000", "3.0000", "2.5000", "2.0000",
                            "1.5000", "1.0000", "0.5000", "0.0000"};
    const int js[] = {1, 25, 50, 75, 100, 125, 150, 175, 200};
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(textAt(img, (js[i] - 1) * 5 + 20, 378, labels[i], Qt::black)) << js[i];
}

struct Off {
    int p_napr, obliczono, p_rn;
};

class StressLayerOff : public OneElement, public ::testing::WithParamInterface<Off> {};

TEST_P(StressLayerOff, DrawsNoStressPixels) {
    o.p_napr = GetParam().p_napr;
    m.obliczono = GetParam().obliczono;
    o.p_rn = GetParam().p_rn;
    const QImage img = draw({1050, 400});
    for (int i = 0; i <= 200; ++i)
        EXPECT_EQ(countColour(img, k[static_cast<size_t>(i)]), 0) << i;
    EXPECT_EQ(rgbAt(img, 25, 399), rgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(Switches, StressLayerOff,
                         ::testing::Values(Off{0, 1, 3}, Off{1, 0, 3}, Off{1, 1, 4}));

TEST(OknoPalette, BuiltAtStartAndByPasekKol) {
    Model m;
    ScriptedUi ui;
    _OKNO_ okno{m, &ui};
    EXPECT_EQ(okno.knapr, stressPalette(1));
    p_skok = 0;
    okno.Pasek_kol();
    EXPECT_EQ(okno.knapr, stressPalette(0));
    EXPECT_EQ(name(okno.knapr[0]), rgb(255, 0, 0));
    p_skok = 1;
}

}  // namespace
