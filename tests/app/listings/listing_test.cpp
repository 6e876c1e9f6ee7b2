// The listing tables: every text at its place, the rules, the scroll ranges, and what the
// drawing leaves in an image.
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <clocale>
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
    const listing::Table t = listing::dane(m);
    // E = 1, N = 3: node headings at 75, material headings at 205.
    EXPECT_EQ(t.texts, texts({{5, 5, "Element"},
                              {100, 5, "Węzeł 1"},
                              {190, 5, "Węzeł 2"},
                              {270, 5, "Węzeł 3"},
                              {350, 5, "Nr"},
                              {350, 25, "materiału"},
                              {5, 75, "Węzeł"},
                              {100, 75, "Wsp. X"},
                              {200, 75, "Y"},
                              {5, 205, "Nr materiału"},
                              {100, 205, "Moduł"},
                              {100, 220, "Younga"},
                              {200, 205, "Wsp. Poissona"},
                              {5, 50, "1"},
                              {100, 50, "3"},
                              {190, 50, "1"},
                              {270, 50, "2"},
                              {5, 115, "1"},
                              {100, 115, " -12.346"},
                              {200, 115, "   0.000"},
                              {5, 135, "2"},
                              {100, 135, "   1.500"},
                              {200, 135, "123456.789"},
                              {5, 155, "3"},
                              {100, 155, "   0.001"},
                              {200, 155, "  -0.000"}}));
    EXPECT_EQ(t.rules, (std::vector<int>{44, 93, 240}));
    EXPECT_EQ(t.ruleEnd, 410);
}

struct Layout {
    int ne, nn;
    int lastElementY, nodeHeadingY, firstNodeY, rule2, rule3;
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
    // Element rows, node rows and 13 headings: nothing else.
    EXPECT_EQ(t.texts.size(), size_t(13 + 4 * l.ne + 3 * l.nn));
}

INSTANTIATE_TEST_SUITE_P(Counts, DataListingLayout,
                         ::testing::Values(Layout{3, 5, 90, 115, 155, 133, 320},
                                           Layout{0, 4, 0, 55, 95, 73, 240},
                                           Layout{0, 0, 0, 55, 0, 73, 160},
                                           Layout{1, 3, 50, 75, 115, 93, 240}));

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
                              {180, 80, "    0.00"}}));
    // E = 2, N = 4.
    EXPECT_EQ(t.rules, (std::vector<int>{48, 148, 298}));
    EXPECT_EQ(t.ruleEnd, 450);
}

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
    Model m;
    makeModel(m, 5, 3);
    EXPECT_EQ(listing::daneRange(m), QSize(30, 41));
    EXPECT_EQ(listing::wynikiRange(m), QSize(30, 20));
    makeModel(m, 0, 0);
    EXPECT_EQ(listing::daneRange(m), QSize(30, 25));
    EXPECT_EQ(listing::wynikiRange(m), QSize(30, 8));
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
    EXPECT_EQ(img.pixel(1, 44), grey);
    EXPECT_EQ(img.pixel(2, 44), black);
    EXPECT_EQ(img.pixel(409, 44), black);
    EXPECT_EQ(img.pixel(410, 44), grey);
    EXPECT_EQ(img.pixel(300, 133), black);
    EXPECT_EQ(img.pixel(300, 320), black);
    EXPECT_EQ(img.pixel(300, 45), grey);
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
