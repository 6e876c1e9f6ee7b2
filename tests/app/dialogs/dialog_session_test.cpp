#include "app/dialogs/dialog_session.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/dialogs/field_text.h"
#include "app/records.h"

namespace dialogs {
namespace {

// A record between guard bytes, so that a write past either end shows.
template <typename Record>
struct Guarded {
    char before[16];
    Record rec;
    char after[16];
    Guarded() {
        std::memset(this, 0x5A, sizeof *this);
        std::memset(&rec, 0, sizeof rec);
    }
    bool guardsIntact() const {
        for (char c : before)
            if (c != 0x5A) return false;
        for (char c : after)
            if (c != 0x5A) return false;
        return true;
    }
};

struct TypingCase {
    const char* current;
    const char* proposed;
    bool digits;
    bool accepted;
};
class TypingRule : public ::testing::TestWithParam<TypingCase> {};
TEST_P(TypingRule, DecidesLikeALimitedEdit) {
    const TypingCase& c = GetParam();
    EXPECT_EQ(acceptsTyping(c.current, c.proposed, 8, c.digits), c.accepted)
        << '"' << c.current << "\" -> \"" << c.proposed << '"';
}
INSTANTIATE_TEST_SUITE_P(
    Cases, TypingRule,
    ::testing::Values(TypingCase{"123456", "1234567", false, true},            // seventh character
                      TypingCase{"1234567", "12345678", false, false},         // eighth refused
                      TypingCase{"", "12345678", false, false},                // pasted too long
                      TypingCase{"80000.000000", "80000.00000", false, true},  // shortened
                      TypingCase{"80000.000000", "80000.0000001", false, false},
                      TypingCase{"80000.000000", "80000.000001", false, false},  // same length
                      TypingCase{"80000.000000", "5", false, true},              // all replaced
                      TypingCase{"80000.000000", "80000.000000", false, true},
                      TypingCase{"12", "12a", true, false}, TypingCase{"12", "1a", true, false},
                      TypingCase{"123", "x3", true, false}, TypingCase{"2", "12", true, true},
                      TypingCase{"-12", "-1", true, true},  // deleting keeps a pre-filled sign
                      TypingCase{"12", "1.5", false, true}));

TEST(DialogSession, OpensWithTheRecordTextsAndCheckStates) {
    d_dane_graf rec{};
    setFieldText(rec.iizo, "200");
    rec.ladne = 7;  // any non-zero int ticks the box
    rec.przelicz = 0;
    DialogSession s(3110, &rec);
    ASSERT_TRUE(s.valid());
    EXPECT_EQ(s.boundIds(), (std::vector<int>{8500, 8600, 8610}));
    EXPECT_EQ(s.text(8500), "200");
    EXPECT_TRUE(s.checked(8600));
    EXPECT_FALSE(s.checked(8610));
}

// Every writable edit of every dialog accepts a seventh character and refuses an eighth.
class EveryEdit : public ::testing::TestWithParam<int> {};
TEST_P(EveryEdit, RefusesAnEighthCharacter) {
    std::vector<char> record(recordSize(*findTemplate(GetParam())) + 1, 0);
    DialogSession s(GetParam(), record.data());
    for (const ControlSpec& c : s.dialog().controls) {
        if (c.kind != ControlKind::Edit) continue;
        if (c.flags & kReadOnly) {
            EXPECT_FALSE(s.type(c.id, "1")) << GetParam() << " " << c.id;
            continue;
        }
        EXPECT_TRUE(s.type(c.id, "1234567")) << GetParam() << " " << c.id;
        EXPECT_FALSE(s.type(c.id, "12345678")) << GetParam() << " " << c.id;
        EXPECT_EQ(s.text(c.id), "1234567");
    }
}
INSTANTIATE_TEST_SUITE_P(AllDialogs, EveryEdit,
                         ::testing::Values(3000, 3010, 3020, 3030, 3040, 3050, 3060, 3100, 3110,
                                           3120, 3130, 3140, 3150, 3160, 3170, 3190));

TEST(DialogSession, LongPrefilledTextIsShownWholeAndCanOnlyBeShortened) {
    Guarded<d_dane_pods> g;
    setFieldText(g.rec.ne, "2");
    setFieldText(g.rec.MS, formatText("%f", 1.0));
    setFieldText(g.rec.G, formatText("%f", 80000.0));
    DialogSession s(3000, &g.rec);
    EXPECT_EQ(s.text(3005), "1.000000");
    EXPECT_EQ(s.text(3006), "80000.000000");
    EXPECT_FALSE(s.type(3006, "80000.0000001"));
    EXPECT_TRUE(s.type(3006, "80000.00000"));
    EXPECT_FALSE(s.type(3006, "80000.000001"));  // not shorter than what it holds now
    EXPECT_TRUE(s.type(3006, "75000"));
    s.commit();
    EXPECT_STREQ(g.rec.ne, "2");
    EXPECT_STREQ(g.rec.MS, "1.00000");  // what fits of the unchanged text
    EXPECT_STREQ(g.rec.G, "75000");
    EXPECT_TRUE(g.guardsIntact());
    EXPECT_DOUBLE_EQ(fieldReal(g.rec.MS), 1.0);

    // The confirmed text is what the next opening shows.
    EXPECT_EQ(DialogSession(3000, &g.rec).text(3005), "1.000000");
}

struct OkCase {
    const char* prefilled;
    const char* typed;  // null: OK without editing
    double value;       // fieldReal afterwards
    const char* shown;  // by the next opening
};
class OkOverALongText : public ::testing::TestWithParam<OkCase> {};
TEST_P(OkOverALongText, GivesBackTheWholeTextShown) {
    const OkCase& c = GetParam();
    SCOPED_TRACE(c.prefilled + std::string(" typed ") + (c.typed ? c.typed : "nothing"));
    Guarded<d_dane_pods> g;
    setFieldText(g.rec.G, c.prefilled);
    DialogSession s(3000, &g.rec);
    EXPECT_TRUE(c.typed == nullptr || s.type(3006, c.typed));
    s.commit();
    EXPECT_TRUE(g.guardsIntact());
    EXPECT_DOUBLE_EQ(fieldReal(g.rec.G), c.value);
    EXPECT_EQ(DialogSession(3000, &g.rec).text(3006), c.shown);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, OkOverALongText,
    ::testing::Values(OkCase{"81000000.000000", nullptr, 81000000.0, "81000000.000000"},
                      OkCase{"80000.000000", nullptr, 80000.0, "80000.000000"},
                      OkCase{"1234567.250000", nullptr, 1234567.25, "1234567.250000"},
                      OkCase{"81000000.000000", "8100000.000000", 8100000.0, "8100000.000000"},
                      OkCase{"81000000.000000", "8100000", 8100000.0, "8100000"},
                      OkCase{"80000.000000", "2,5", 2.5, "2,5"}));

TEST(DialogSession, OkNeverWritesPastAFieldEvenForTheLastOne) {
    Guarded<d_sily> g;
    setFieldText(g.rec.MS, "-1234567.891");
    DialogSession s(3190, &g.rec);
    EXPECT_EQ(s.text(8500), "-1234567.891");
    s.commit();
    EXPECT_STREQ(g.rec.MS, "-123456");
    EXPECT_TRUE(g.guardsIntact());
    EXPECT_DOUBLE_EQ(fieldReal(g.rec.MS), -1234567.891);
}

TEST(DialogSession, CancelAfterEditingLeavesTheRecordAsItWas) {
    d_dane_kop rec{};
    setFieldText(rec.px, "0.00");
    setFieldText(rec.py, "0.00");
    rec.wezly = rec.elementy = rec.sily = rec.podpory = 1;
    d_dane_kop before;
    std::memcpy(&before, &rec, sizeof rec);
    {
        DialogSession s(3120, &rec);
        ASSERT_TRUE(s.type(8500, "5"));
        ASSERT_TRUE(s.setChecked(8600, false));
        ASSERT_TRUE(s.setChecked(102, false));
    }  // closed without commit
    EXPECT_EQ(std::memcmp(&rec, &before, sizeof rec), 0);
}

struct CheckCase {
    int held;
    bool ticked;
    int expected;
};
class CheckBoxOnOk : public ::testing::TestWithParam<CheckCase> {};
TEST_P(CheckBoxOnOk, GivesOneOrZeroWhateverTheIntHeld) {
    d_dane_mac rec{};
    rec.opt = GetParam().held;
    rec.p4 = GetParam().held;
    DialogSession s(3150, &rec);
    s.setChecked(8600, GetParam().ticked);
    s.setChecked(8610, !GetParam().ticked);
    s.commit();
    EXPECT_EQ(rec.opt, GetParam().expected);
    EXPECT_EQ(rec.p4, 1 - GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, CheckBoxOnOk,
                         ::testing::Values(CheckCase{0, true, 1}, CheckCase{1, false, 0},
                                           CheckCase{5, true, 1}, CheckCase{-1, false, 0},
                                           CheckCase{-1, true, 1}));

TEST(DialogSession, NumberPromptShowsThePromptAndReturnsOnlyTheNumber) {
    Guarded<d_nr> g;
    setFieldText(g.rec.i, "0");
    setFieldText(g.rec.nap, "Podaj numer węzła :");
    DialogSession s(3100, &g.rec);
    EXPECT_EQ(s.text(8700), "Podaj numer węzła :");
    EXPECT_FALSE(s.dialog().hasCancel);
    EXPECT_FALSE(s.type(8004, "1a"));  // digits only
    EXPECT_TRUE(s.type(8004, "12"));
    EXPECT_FALSE(s.type(8700, "x"));  // the prompt is no edit
    s.commit();
    EXPECT_EQ(fieldInt(g.rec.i), 12);
    EXPECT_STREQ(g.rec.nap, "Podaj numer węzła :");
    EXPECT_TRUE(g.guardsIntact());
}

TEST(DialogSession, PromptWithoutTerminatorShowsWhatFitsAndReadsNoFurther) {
    Guarded<d_nr> g;
    std::memset(g.rec.nap, 'a', sizeof g.rec.nap);
    DialogSession s(3100, &g.rec);
    EXPECT_EQ(s.text(8700), std::string(39, 'a'));
}

TEST(DialogSession, MaterialDialogLeavesTheUnboundNumberAlone) {
    d_mat rec;
    setFieldText(rec.i, "abc");
    setFieldText(rec.G, "80000");
    DialogSession s(3050, &rec);
    EXPECT_EQ(s.text(8500), "80000");
    ASSERT_TRUE(s.type(8500, "-5"));
    s.commit();
    EXPECT_STREQ(rec.i, "abc");
    EXPECT_STREQ(rec.G, "-5");
}

TEST(DialogSession, ReadOnlyEditKeepsItsText) {
    d_wsp rec{};
    setFieldText(rec.i, "3");
    DialogSession s(3020, &rec);
    EXPECT_FALSE(s.type(8004, "4"));
    s.commit();
    EXPECT_STREQ(rec.i, "3");
}

TEST(AnswerDialog, CommitsOnlyWhenTheUserAnswersOk) {
    d_sily rec{};
    setFieldText(rec.MS, "1.00000");
    const auto typeTwo = [](bool ok) {
        return [ok](DialogSession& s) { return s.type(8500, "2") && ok; };
    };
    EXPECT_FALSE(answerDialog(3190, &rec, typeTwo(false)));
    EXPECT_STREQ(rec.MS, "1.00000");
    EXPECT_TRUE(answerDialog(3190, &rec, typeTwo(true)));
    EXPECT_STREQ(rec.MS, "2");
    EXPECT_FALSE(answerDialog(4242, &rec, typeTwo(true)));
}

// The outline table: its text travels whole, up to its field; a choice keeps to its entries.
TEST(DialogSession, TableTextAndChoiceIndexTravelLikeTheOtherFields) {
    auto g = std::make_unique<Guarded<d_obrys>>();
    setFieldText(g->rec.punkty, "0 0\n1 0\n");
    DialogSession s(3300, &g->rec);
    EXPECT_EQ(s.text(8400), "0 0\n1 0\n");
    EXPECT_TRUE(s.type(8400, "0\t0\t\n4\t0\t2,5\n4\t4\t"));
    EXPECT_TRUE(s.type(8400, std::string(sizeof g->rec.punkty - 1, '1')));
    EXPECT_FALSE(s.type(8400, std::string(sizeof g->rec.punkty, '1')));
    EXPECT_TRUE(s.type(8400, "0\t0\t\n4\t0\t2,5\n4\t4\t"));
    EXPECT_TRUE(s.type(8500, "123456789012345"));  // the section edits take 15 characters
    EXPECT_FALSE(s.type(8500, "1234567890123456"));
    EXPECT_EQ(s.choice(8400), -1);
    s.commit();
    EXPECT_STREQ(g->rec.punkty, "0\t0\t\n4\t0\t2,5\n4\t4\t");
    EXPECT_STREQ(g->rec.siatka, "123456789012345");
    EXPECT_TRUE(g->guardsIntact());

    d_profil_rodzaj rodzaj{7};
    DialogSession c(3310, &rodzaj);
    EXPECT_EQ(c.choice(8900), 7);
    EXPECT_FALSE(c.choose(8900, 12));
    EXPECT_FALSE(c.choose(8900, -1));
    EXPECT_FALSE(c.type(8900, "3"));
    EXPECT_TRUE(c.choose(8900, 11));
    c.commit();
    EXPECT_EQ(rodzaj.rodzaj, 11);
    rodzaj.rodzaj = 40;  // outside the list: the first entry
    EXPECT_EQ(DialogSession(3310, &rodzaj).choice(8900), 0);
}

TEST(DialogSession, UnknownTemplateOrMissingRecordOpensNothing) {
    d_wsp rec{};
    EXPECT_FALSE(DialogSession(4242, &rec).valid());
    EXPECT_FALSE(DialogSession(3020, nullptr).valid());
    DialogSession recordless(3040, nullptr);
    ASSERT_TRUE(recordless.valid());
    EXPECT_TRUE(recordless.type(8500, "12"));
    recordless.commit();  // nothing to write to
}

}  // namespace
}  // namespace dialogs
