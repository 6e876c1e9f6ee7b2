// The listing tables: every text at its place, the rules, the scroll ranges, and what the
// drawing leaves in an image.
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <clocale>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "../test_models.h"
#include "view/listing.h"

namespace {

using listing::Text;

std::vector<Text> texts(std::initializer_list<std::tuple<int, int, const char*>> l) {
    std::vector<Text> v;
    for (const auto& [x, y, s] : l)
        v.push_back({QPoint(x, y), QString::fromUtf8(s)});
    return v;
}

const Text* find(const listing::Table& t, int x, int y) {
    for (const Text& s : t.texts)
        if (s.at == QPoint(x, y)) return &s;
    return nullptr;
}

TEST(DataListing, OneElementThreeNodesInFull) {
    Model m;
    makeModel(m, 3, 1);
    m.noc[1][1] = 3, m.noc[1][2] = 1, m.noc[1][3] = 2;
    m.x[1][1] = -12.3456f, m.x[1][2] = 0.0f;
    m.x[2][1] = 1.5f, m.x[2][2] = 123456.789f;
    m.x[3][1] = 0.0005f, m.x[3][2] = -0.0004f;
    m.G = 81000.5f;
    m.MS = 2.5f;
    const listing::Table t = listing::dane(m);
    // E = 1, N = 3: node headings at 75, material headings at 205.
    EXPECT_EQ(t.texts, texts({
                           {5, 5, "Element"},      {100, 5, "Węzeł 1"},
                           {190, 5, "Węzeł 2"},    {270, 5, "Węzeł 3"},
                           {350, 5, "Nr"},         {350, 25, "materiału"},
                           {5, 75, "Węzeł"},       {100, 75, "Wsp. X"},
                           {200, 75, "Y"},         {5, 205, "Nr materiału"},
                           {100, 205, "Moduł"},    {100, 220, "Kirchhoffa G"},
                           {5, 50, "1"},           {100, 50, "3"},
                           {190, 50, "1"},         {270, 50, "2"},
                           {5, 115, "1"},          {100, 115, " -12.346"},
                           {200, 115, "   0.000"}, {5, 135, "2"},
                           {100, 135, "   1.500"}, {200, 135, "123456.789"},
                           {5, 155, "3"},          {100, 155, "   0.001"},
                           {200, 155, "   0.000"}, {5, 250, "1"},
                           {100, 250, "81000.5"},  {5, 280, "Moment skręcający MS"},
                           {200, 280, "2.5"},
                       }));
    EXPECT_EQ(t.rules, (std::vector<int>{44, 93, 240}));
    EXPECT_EQ(t.ruleEnd, 410);
}

struct Layout {
    int ne, nn;
    int lastElementY, nodeHeadingY, firstNodeY, rule2, rule3, materialY;
};

class DataListingLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(DataListingLayout, RowsHeadingsAndRulesFollowTheCounts) {
    const Layout l = GetParam();
    Model m;
    makeModel(m, l.nn, l.ne);
    const listing::Table t = listing::dane(m);
    if (l.ne > 0) {
        ASSERT_NE(find(t, 5, l.lastElementY), nullptr);
        EXPECT_EQ(find(t, 5, l.lastElementY)->text, QString::number(l.ne));
    }
    ASSERT_NE(find(t, 5, l.nodeHeadingY), nullptr);
    EXPECT_EQ(find(t, 5, l.nodeHeadingY)->text, "Węzeł");
    if (l.nn > 0) {
        ASSERT_NE(find(t, 5, l.firstNodeY), nullptr);
        EXPECT_EQ(find(t, 5, l.firstNodeY)->text, "1");
    }
    EXPECT_EQ(t.rules, (std::vector<int>{44, l.rule2, l.rule3}));
    // The material row and the moment below the third rule, inside the scroll range.
    ASSERT_NE(find(t, 5, l.materialY), nullptr);
    EXPECT_EQ(find(t, 5, l.materialY)->text, "1");
    ASSERT_NE(find(t, 100, l.materialY), nullptr);
    EXPECT_EQ(find(t, 100, l.materialY)->text, "80000");
    ASSERT_NE(find(t, 200, l.materialY + 30), nullptr);
    EXPECT_EQ(find(t, 200, l.materialY + 30)->text, "1");
    EXPECT_GT(l.materialY, l.rule3 + listing::kRule / 2);
    const int tableEnd = listing::daneRange(m).height() * listing::kUnit;
    EXPECT_LE(l.materialY + 30 + listing::kFontHeight, tableEnd);
    // Element rows, node rows, 12 headings and the 4 texts of material and moment.
    EXPECT_EQ(t.texts.size(), size_t(16 + 4 * l.ne + 3 * l.nn));
}

INSTANTIATE_TEST_SUITE_P(Counts, DataListingLayout,
                         ::testing::Values(Layout{3, 5, 90, 115, 155, 133, 320, 330},
                                           Layout{0, 4, 0, 55, 95, 73, 240, 250},
                                           Layout{0, 0, 0, 55, 0, 73, 160, 170},
                                           Layout{1, 3, 50, 75, 115, 93, 240, 250}));

// A negative value that prints as zero prints as the zero itself, in every format.
struct Zero {
    float value;
    const char* coordinate;  ///< "%8.3f"
    const char* stress;      ///< "%8.2f"
    const char* moment;      ///< "%g"
};

class NegativeZero : public ::testing::TestWithParam<Zero> {};

TEST_P(NegativeZero, PrintsWithoutItsSign) {
    const Zero z = GetParam();
    Model m;
    makeModel(m, 3, 1);
    m.x[1][1] = z.value;
    m.napr[1][1] = z.value;
    m.MS = z.value;
    m.obliczono = 1;
    const listing::Table d = listing::dane(m);
    const listing::Table w = listing::wyniki(m);
    // E = 1, N = 3: the first node row at 115, the moment at 280; the element row at 60.
    ASSERT_NE(find(d, 100, 115), nullptr);
    EXPECT_EQ(find(d, 100, 115)->text, z.coordinate);
    ASSERT_NE(find(d, 200, 280), nullptr);
    EXPECT_EQ(find(d, 200, 280)->text, z.moment);
    ASSERT_NE(find(w, 100, 60), nullptr);
    EXPECT_EQ(find(w, 100, 60)->text, z.stress);
}

INSTANTIATE_TEST_SUITE_P(Values, NegativeZero,
                         ::testing::Values(Zero{-0.0f, "   0.000", "    0.00", "0"},
                                           Zero{-0.0004f, "   0.000", "    0.00", "-0.0004"},
                                           Zero{-0.003f, "  -0.003", "    0.00", "-0.003"},
                                           Zero{-0.02f, "  -0.020", "   -0.02", "-0.02"},
                                           Zero{0.0f, "   0.000", "    0.00", "0"}));

TEST(DataListing, NothingButTheBackgroundWithoutAModel) {
    Model m;
    makeModel(m, 3, 1);
    m.Pusty = 1;
    const listing::Table t = listing::dane(m);
    EXPECT_TRUE(t.texts.empty());
    EXPECT_TRUE(t.rules.empty());
}

TEST(DataListing, ArraysShorterThanTheCountsAreNotRead) {
    Model m;
    makeModel(m, 3, 1);
    m.nn = 50;
    EXPECT_TRUE(listing::dane(m).texts.empty());
}

TEST(DataListing, NumbersIgnoreTheLocales) {
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    const QLocale oldQt;
    // A decimal comma where the system has one; Qt's default locale is Polish regardless.
    if (!std::setlocale(LC_NUMERIC, "pl_PL.UTF-8")) std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    Model m;
    makeModel(m, 3, 0);
    m.x[1][1] = 2.25f;
    const listing::Table t = listing::dane(m);
    std::setlocale(LC_NUMERIC, old.c_str());
    QLocale::setDefault(oldQt);
    ASSERT_NE(find(t, 100, 95), nullptr);
    EXPECT_EQ(find(t, 100, 95)->text, "   2.250");
}

TEST(ResultsListing, HeadingsRowsAndRules) {
    Model m;
    makeModel(m, 4, 2);
    m.napr[1][1] = 1.005f, m.napr[1][2] = -250.126f, m.napr[1][3] = 9.0f;
    m.napr[2][1] = 12345.678f, m.napr[2][2] = 0.0f;
    m.G = 80000.0f, m.MS = 1000.0f, m.katob = 0.0025f;
    m.ww[3][3] = 4.5f;
    m.obliczono = 1;
    const listing::Table t = listing::wyniki(m);
    EXPECT_FALSE(t.pusty);
    EXPECT_EQ(t.texts, texts({{5, 5, "Element"},
                              {100, 5, "Naprężenie"},
                              {100, 20, "tau xz"},
                              {180, 5, "Naprężenie"},
                              {180, 20, "tau yz"},
                              {5, 60, "1"},
                              {100, 60, "    1.00"},
                              {180, 60, " -250.13"},
                              {5, 80, "2"},
                              {100, 80, "12345.68"},
                              {180, 80, "    0.00"},
                              {5, 155, "Stała skręcania J"},
                              {200, 155, "5"},
                              {5, 175, "Jednostkowy kąt skręcenia θ"},
                              {200, 175, "0.0025"},
                              {5, 195, "Największe naprężenie τ"},
                              {200, 195, "4.5"},
                              {300, 195, "w węźle 3"}}));
    // E = 2, N = 4: the summary lies between the second and the third rule.
    EXPECT_EQ(t.rules, (std::vector<int>{48, 148, 298}));
    EXPECT_EQ(t.ruleEnd, 450);
}

struct Summary {
    int nn;
    float G, MS, katob;
    std::optional<double> knownJ;           ///< J of the last computation, when the caller gives it
    std::vector<float> tau;                 ///< ww[i][3] of nodes 1..nn
    const char *J, *theta, *tauMax, *node;  ///< node null: no stress line
};

class ResultsSummary : public ::testing::TestWithParam<Summary> {};

TEST_P(ResultsSummary, TorsionConstantTwistAndLargestNodalStress) {
    const Summary c = GetParam();
    Model m;
    makeModel(m, c.nn, 0);
    m.G = c.G, m.MS = c.MS, m.katob = c.katob;
    for (int i = 1; i <= c.nn; ++i)
        m.ww[i][3] = c.tau[i - 1];
    m.obliczono = 1;
    const listing::Table t = listing::wyniki(m, c.knownJ);
    // No elements: the band starts at 115, between the rules at 108 and nn * 20 + 178.
    std::vector<Text> want = texts({{5, 115, "Stała skręcania J"},
                                    {200, 115, c.J},
                                    {5, 135, "Jednostkowy kąt skręcenia θ"},
                                    {200, 135, c.theta}});
    if (c.node) {
        const auto more =
            texts({{5, 155, "Największe naprężenie τ"}, {200, 155, c.tauMax}, {300, 155, c.node}});
        want.insert(want.end(), more.begin(), more.end());
    }
    const std::vector<Text> got(t.texts.begin() + 5, t.texts.end());
    EXPECT_EQ(got, want);
    for (const Text& s : got) {
        EXPECT_GT(s.at.y(), t.rules[1] + listing::kRule / 2) << s.text.toStdString();
        EXPECT_LT(s.at.y() + listing::kFontHeight, t.rules[2] - listing::kRule / 2)
            << s.text.toStdString();
        EXPECT_LE(s.at.y() + listing::kFontHeight,
                  listing::wynikiRange(m).height() * listing::kUnit);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultsSummary,
    ::testing::Values(
        // J = MS / (G katob); ties go to the lowest node.
        Summary{4, 80000, 1000, 0.0025f, {}, {1, 9.5f, 3, 9.5f}, "5", "0.0025", "9.5", "w węźle 2"},
        Summary{3, 2, -3, -0.5f, {}, {0, 0, 12345.678f}, "3", "-0.5", "12345.7", "w węźle 3"},
        Summary{1, 80000, 1, 1e-9f, {}, {0.001f}, "12500", "1e-09", "0.001", "w węźle 1"},
        // A zero moment twists nothing and leaves J unknown, unless the caller knows it.
        Summary{3, 80000, 0, 0, {}, {0, 0, 0}, "—", "0", "0", "w węźle 1"},
        Summary{3, 80000, 0, 0, 2.25, {0, 0, 0}, "2.25", "0", "0", "w węźle 1"},
        Summary{3, 80000, 1000, 0.0025f, 4.75, {0, 1, 0}, "4.75", "0.0025", "1", "w węźle 2"},
        Summary{0, 80000, 1, 0.5f, {}, {}, "2.5e-05", "0.5", nullptr, nullptr}));

TEST(ResultsListing, StressesThatDoNotBelongToTheModelAreNotShown) {
    Model m;
    makeModel(m, 3, 2);
    m.napr[1][1] = 7.0f;
    m.obliczono = 0;
    const listing::Table t = listing::wyniki(m);
    ASSERT_NE(find(t, 5, 80), nullptr);
    EXPECT_EQ(find(t, 100, 60), nullptr);
    EXPECT_EQ(find(t, 180, 80), nullptr);
    EXPECT_EQ(t.texts.size(), 5u + 2u);
}

TEST(ResultsListing, AnEmptyModelIsFlaggedAndDrawsNothing) {
    Model m;
    makeModel(m, 3, 1);
    m.obliczono = 1;
    m.Pusty = 1;
    const listing::Table t = listing::wyniki(m);
    EXPECT_TRUE(t.pusty);
    EXPECT_TRUE(t.texts.empty());
    EXPECT_TRUE(t.rules.empty());
}

TEST(ListingRanges, TenPixelUnitsFromTheCounts) {
    struct {
        int nn, ne;
        QSize dane, wyniki;
    } const cases[] = {
        // The results reach at least their summary: 20 per element and 180 more.
        {5, 3, {30, 41}, {30, 24}},
        {0, 0, {30, 25}, {30, 18}},
        {4, 5, {30, 43}, {30, 28}},
        {20, 30, {30, 125}, {30, 128}},
    };
    for (const auto& c : cases) {
        Model m;
        makeModel(m, c.nn, c.ne);
        EXPECT_EQ(listing::daneRange(m), c.dane) << c.nn << " " << c.ne;
        EXPECT_EQ(listing::wynikiRange(m), c.wyniki) << c.nn << " " << c.ne;
    }
}

TEST(ListingFont, CellSixteenPixelsHigh) {
    const QFontMetrics fm(listing::font());
    EXPECT_LE(fm.height(), listing::kFontHeight);
    EXPECT_GE(fm.height(), listing::kFontHeight - 1);
    EXPECT_GT(listing::font().pixelSize(), 0) << "pixels, not points";
    // The results' headings at 100 and 180 stay apart.
    EXPECT_LT(fm.horizontalAdvance("Naprężenie"), 80);
}

// Drawing: the background, the rules' end pixels and the scroll offset.
class ListingPaint : public ::testing::Test {
  protected:
    QImage draw(const listing::Table& t, QPoint offset) {
        QImage img(450, 400, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        listing::paint(p, t, img.size(), offset);
        return img;
    }
    const QRgb grey = listing::background().rgb();
    const QRgb black = qRgb(0, 0, 0);
};

TEST_F(ListingPaint, RulesRunFromTwoToJustBeforeTheirEnd) {
    Model m;
    makeModel(m, 5, 3);
    const QImage img = draw(listing::dane(m), QPoint(0, 0));
    // Three pixels wide: y - 1 .. y + 1.
    for (int y : {43, 44, 45}) {
        EXPECT_EQ(img.pixel(1, y), grey) << y;
        EXPECT_EQ(img.pixel(2, y), black) << y;
        EXPECT_EQ(img.pixel(409, y), black) << y;
        EXPECT_EQ(img.pixel(410, y), grey) << y;
    }
    EXPECT_EQ(img.pixel(300, 42), grey);
    EXPECT_EQ(img.pixel(300, 46), grey);
    for (int y : {132, 133, 134, 319, 320, 321})
        EXPECT_EQ(img.pixel(300, y), black) << y;
    EXPECT_EQ(img.pixel(300, 131), grey);
    EXPECT_EQ(img.pixel(300, 322), grey);
    EXPECT_EQ(img.pixel(449, 399), grey);
}

TEST_F(ListingPaint, TextsAreDrawnBelowAndRightOfTheirCorner) {
    Model m;
    makeModel(m, 5, 3);
    const QImage img = draw(listing::dane(m), QPoint(0, 0));
    int dark = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool ink = qGray(img.pixel(x, y)) < 100;
            if (!ink) continue;
            ++dark;
            EXPECT_TRUE(x >= 5 && y >= 5) << x << "," << y;
        }
    EXPECT_GT(dark, 20) << "\"Element\" is drawn";
}

TEST_F(ListingPaint, TheOffsetScrollsTheTable) {
    Model m;
    makeModel(m, 5, 3);
    const QImage img = draw(listing::dane(m), QPoint(20, 30));
    EXPECT_EQ(img.pixel(300, 14), black);
    EXPECT_EQ(img.pixel(300, 44), grey);
    EXPECT_EQ(img.pixel(0, 14), black);
    EXPECT_EQ(img.pixel(389, 14), black);
    EXPECT_EQ(img.pixel(390, 14), grey);
    EXPECT_EQ(img.pixel(300, 103), black);
}

TEST_F(ListingPaint, AnEmptyTableIsPlainBackground) {
    Model m;
    const QImage img = draw(listing::wyniki(m), QPoint(0, 0));
    for (int y = 0; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); x += 7)
            ASSERT_EQ(img.pixel(x, y), grey) << x << "," << y;
}

}  // namespace
