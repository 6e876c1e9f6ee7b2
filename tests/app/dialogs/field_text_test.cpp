#include "app/dialogs/field_text.h"

#include <cmath>

#include <gtest/gtest.h>

#include "app/records.h"

namespace dialogs {
namespace {

struct IntCase {
    const char* text;
    int value;
};
class TextToInt : public ::testing::TestWithParam<IntCase> {};
TEST_P(TextToInt, ReadsLikeAtoi) {
    EXPECT_EQ(textToInt(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Cases, TextToInt,
                         ::testing::Values(IntCase{"12", 12}, IntCase{"  -5", -5}, IntCase{"+7", 7},
                                           IntCase{"12x", 12}, IntCase{"abc", 0}, IntCase{"", 0},
                                           IntCase{"-", 0}, IntCase{" \t42 3", 42},
                                           IntCase{"3.9", 3}, IntCase{"2,5", 2}, IntCase{"0x10", 0},
                                           IntCase{"99999999999", INT_MAX},
                                           IntCase{"-99999999999", INT_MIN}));

struct RealCase {
    const char* text;
    double value;
};
class TextToReal : public ::testing::TestWithParam<RealCase> {};
TEST_P(TextToReal, ReadsTheLongestDecimalPrefix) {
    EXPECT_DOUBLE_EQ(textToReal(GetParam().text), GetParam().value);
}
INSTANTIATE_TEST_SUITE_P(Cases, TextToReal,
                         ::testing::Values(RealCase{"80000.0", 80000.0}, RealCase{"1.00000", 1.0},
                                           RealCase{" -2.5", -2.5}, RealCase{"+.5", 0.5},
                                           RealCase{"5.", 5.0}, RealCase{"1e3", 1000.0},
                                           RealCase{"1E-2x", 0.01}, RealCase{"2e", 2.0},
                                           RealCase{"2e+", 2.0}, RealCase{"3,5", 3.5},
                                           RealCase{"abc", 0.0}, RealCase{".", 0.0},
                                           RealCase{"-", 0.0}, RealCase{"", 0.0},
                                           RealCase{"inf", 0.0}, RealCase{"nan", 0.0},
                                           RealCase{"0x1p3", 0.0}, RealCase{"1e-999", 0.0}));
// A comma is a decimal point as well; only the first point of either kind counts.
INSTANTIATE_TEST_SUITE_P(DecimalComma, TextToReal,
                         ::testing::Values(RealCase{"-0,75", -0.75}, RealCase{",5", 0.5},
                                           RealCase{"1,5e3", 1500.0}, RealCase{",", 0.0},
                                           RealCase{"1,2.3", 1.2}, RealCase{"1.2,3", 1.2},
                                           RealCase{"-99,5e307", -HUGE_VAL}));

TEST(TextToReal, OverflowGivesHugeValWithItsSign) {
    EXPECT_EQ(textToReal("1e999"), HUGE_VAL);
    EXPECT_EQ(textToReal("-1e999"), -HUGE_VAL);
}

TEST(FormatText, UsesPrintfFormatsWithAPointAndNoLengthLimit) {
    EXPECT_EQ(formatText("%f", 80000.0), "80000.000000");
    EXPECT_EQ(formatText("%3.4f", 0.0), "0.0000");
    EXPECT_EQ(formatText("%3.2f", -1.5), "-1.50");
    EXPECT_EQ(formatText("%d", 12345678), "12345678");
}

TEST(FieldText, LongTextFillsItsFieldOnlyAndIsKeptWhole) {
    d_dane_pods rec;
    std::memset(&rec, 'z', sizeof rec);
    setFieldText(rec.MS, formatText("%f", 80000.0));
    EXPECT_STREQ(rec.MS, "80000.0");
    EXPECT_EQ(std::string_view(rec.G, 8), "zzzzzzzz");  // neighbour untouched
    EXPECT_EQ(std::string_view(rec.nn, 8), "zzzzzzzz");
    EXPECT_EQ(keptFieldText(rec.MS, 8), "80000.000000");
    EXPECT_DOUBLE_EQ(fieldReal(rec.MS), 80000.0);
    setFieldText(rec.ne, "12345678");
    EXPECT_EQ(fieldInt(rec.ne), 12345678);  // numbers read the whole kept text

    setFieldText(rec.MS, "1");  // a short text drops the kept one
    EXPECT_STREQ(rec.MS, "1");
    EXPECT_FALSE(keptFieldText(rec.MS, 8).has_value());
}

TEST(FieldText, KeptTextIsDroppedOnceTheFieldIsSeenWrittenOtherwise) {
    d_wsp rec{};
    setFieldText(rec.x, "123.456789");
    std::strcpy(rec.x, "5");
    EXPECT_FALSE(keptFieldText(rec.x, 8).has_value());
    std::strcpy(rec.x, "123.456");  // its stored part again, as in a fresh record
    EXPECT_DOUBLE_EQ(fieldReal(rec.x), 123.456);
}

TEST(FieldText, ClearRecordForgetsTheKeptTextsOfThatRecordOnly) {
    struct {
        d_dane_pods rec;
        d_sily next;
    } memory;
    setFieldText(memory.rec.G, "81000000.000000");
    setFieldText(memory.next.MS, "1234567.25");
    clearRecord(memory.rec);
    std::strcpy(memory.rec.G, "8100000");
    EXPECT_DOUBLE_EQ(fieldReal(memory.rec.G), 8100000.0);
    EXPECT_DOUBLE_EQ(fieldReal(memory.next.MS), 1234567.25);
    forgetFieldText(memory.next.MS);
}

TEST(FieldText, CutsOnCharacterBoundaries) {
    EXPECT_EQ(cutText("ąęść", 7), "ąęś");  // 2-byte letters: 8 bytes cut to 6
    EXPECT_EQ(cutText("abc", 7), "abc");
    d_nr rec{};
    setFieldText(rec.nap, "Podaj numer węzła :");
    EXPECT_STREQ(rec.nap, "Podaj numer węzła :");
}

TEST(FieldText, ReadsAFieldWithoutTerminatorNoFurtherThanItsEnd) {
    struct {
        char field[8];
        char next[8];
    } rec;
    std::memcpy(rec.field, "12345678", 8);
    std::memcpy(rec.next, "9999999", 8);
    EXPECT_EQ(fieldInt(rec.field), 12345678);
    EXPECT_EQ(fieldText(rec.field).size(), 8u);
}

}  // namespace
}  // namespace dialogs
