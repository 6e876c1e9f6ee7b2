// The outline table's rows: numbers as typed, cells, and the shape or the faulty row.
#include "geometry/outline_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace geometry {
namespace {

TEST(OutlineRows, NumbersTakeAPointOrACommaAndNothingElse) {
    struct {
        const char* text;
        std::optional<double> value;
    } const cases[] = {
        {"2.5", 2.5}, {" 2,5 ", 2.5}, {"-1e3", -1000.0}, {"0", 0.0},    {"", std::nullopt},
        {"1 5", {}},  {"2,5,1", {}},  {"abc", {}},       {"1e999", {}}, {"inf", {}},
        {"nan", {}},  {"0x10", {}},   {"1.5x", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(OutlineRows, CellsSplitAtTabsKeepingEmptyOnesOrElseAtBlanks) {
    using V = std::vector<std::string>;
    EXPECT_EQ(rowCells("  1  2,5\t"), (V{"1  2,5", ""}));
    EXPECT_EQ(rowCells("\t5\t0"), (V{"", "5", "0"}));
    EXPECT_EQ(rowCells("  1   2,5  -3 \r"), (V{"1", "2,5", "-3"}));
    EXPECT_EQ(rowCells("   "), V{});
}

TEST(OutlineRows, RowsGiveTheVerticesInOrderWithAnEmptyRadiusStraight) {
    const OutlineRows r = outlineFromRows("0 0\n\n10\t0\t5\n10 10 -2,5\r\n\t\t\n0 10 0\n");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.shape.kind, Shape::Kind::Obrys);
    ASSERT_EQ(r.shape.outline.v.size(), 4u);
    const double expected[4][3] = {{0, 0, 0}, {10, 0, 5}, {10, 10, -2.5}, {0, 10, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(r.shape.outline.v[i].x, expected[i][0]) << i;
        EXPECT_EQ(r.shape.outline.v[i].y, expected[i][1]) << i;
        EXPECT_EQ(r.shape.outline.v[i].r, expected[i][2]) << i;
    }
}

TEST(OutlineRows, OneRowIsAWholeCircle) {
    const OutlineRows r = outlineFromRows("\n3 4 2,5\n");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.shape.kind, Shape::Kind::Okrag);
    EXPECT_EQ(r.shape.circle.x, 3.0);
    EXPECT_EQ(r.shape.circle.y, 4.0);
    EXPECT_EQ(r.shape.circle.r, 2.5);
}

TEST(OutlineRows, TheFirstFaultyRowIsNamed) {
    struct {
        const char* text;
        int row;
        const char* error;
    } const cases[] = {
        {"", 0, "Obrys nie ma żadnego punktu"},
        {" \n\t\t\n", 0, "Obrys nie ma żadnego punktu"},
        {"0 0\n1 0\n1 x\n", 3, "Niepoprawna liczba „x”"},
        {"0 0\n\t5\t0\n", 2, "Brak współrzędnej X"},
        {"0 0\n5\n", 2, "Brak współrzędnej Y"},
        {"0 0 0 7\n", 1, "Zbędna wartość „7”"},
        {"0 0\n1 0 1e400\n", 2, "Niepoprawna liczba „1e400”"},
        {"\n1 1\n", 2, "Promień okręgu R musi być dodatni"},
        {"1 1 -3\n", 1, "Promień okręgu R musi być dodatni"},
    };
    for (const auto& c : cases) {
        const OutlineRows r = outlineFromRows(c.text);
        EXPECT_EQ(r.error, c.error) << c.text;
        EXPECT_EQ(r.row, c.row) << c.text;
    }
}

}  // namespace
}  // namespace geometry
