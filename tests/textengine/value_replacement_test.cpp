#include "textengine/value_replacement.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "support/table.hpp"
#include "support/text.hpp"
#include "textengine/value_rule.hpp"

namespace {

using ravlet::InvalidValue;
using ravlet::PutParamVal;
using ravlet::test::Filler;
using ravlet::test::Text;

// A settings text with what real files carry: Cyrillic, comments, odd spacing, an
// LF-only line, a stray control byte, the unassigned 0x98, no final line end.
const std::string kSettings =
    Text("; Настройки Tarven Pimlow⏎TARVEN=0.35⏎⏎[Экран]⏎Width=640   ;ширина⏎Height=480⏎") +
    "lf only\nMode=1\x01x\x98\r\n" + Text("[Звук]⏎Volume=7 ; громкость⏎Mode=0⏎Name=Тест");

TEST(ValueReplacement, EditsInSequenceTouchOnlyTheirValues) {
    std::string text = kSettings;
    std::string width = "800";
    std::string name = Text("Проверка");
    std::string volume = "10";
    EXPECT_TRUE(PutParamVal(text, Text("[Экран]"), "Width", width));
    EXPECT_TRUE(PutParamVal(text, Text("[Звук]"), "Name", name));
    EXPECT_TRUE(PutParamVal(text, Text("[Звук]"), "Volume", volume));
    EXPECT_EQ(text, Text("; Настройки Tarven Pimlow⏎TARVEN=0.35⏎⏎[Экран]⏎Width=800 ;ширина⏎"
                         "Height=480⏎") +
                        "lf only\nMode=1\x01x\x98\r\n" +
                        Text("[Звук]⏎Volume=10 ; громкость⏎Mode=0⏎Name=Проверка "));
}

struct ReplaceCase {
    const char* name;
    std::string text;
    std::string group;
    std::string key;
    std::string value;
    std::string expected;  // the whole text afterwards
    bool written;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

const std::string kLongHead = Text("x⏎") + Filler(120000) + Text("[A]⏎") + Filler(50000);

const ReplaceCase kReplaceCases[] = {
    {"KeyOfAnotherGroupLeavesRealFileByteForByte", kSettings, Text("[Звук]"), "Width", "9",
     kSettings, false},
    {"AbsentGroupLeavesRealFileByteForByte", kSettings, "[Nowhere]", "Volume", "9", kSettings,
     false},
    {"AbsentKeyLeavesRealFileByteForByte", kSettings, "", "Missing", "9", kSettings, false},
    {"EditChangesOnlyThatValueOfRealFile", kSettings, Text("[Звук]"), "Mode", "1",
     Text("; Настройки Tarven Pimlow⏎TARVEN=0.35⏎⏎[Экран]⏎Width=640   ;ширина⏎Height=480⏎") +
         "lf only\nMode=1\x01x\x98\r\n" + Text("[Звук]⏎Volume=7 ; громкость⏎Mode=1 ⏎Name=Тест"),
     true},
    {"ValueGetsOneSpaceAfterIt", Text("[A]⏎KEY=5⏎"), "[A]", "KEY", "7", Text("[A]⏎KEY=7 ⏎"), true},
    {"SpacesBeforeCommentDropped", Text("x⏎KEY=5   ;speed⏎"), "", "KEY", "7",
     Text("x⏎KEY=7 ;speed⏎"), true},
    {"ValueAtTextEnd", Text("x⏎KEY=5"), "", "KEY", "7", Text("x⏎KEY=7 "), true},
    {"OnStoredAsOne", Text("x⏎KEY=0⏎"), "", "KEY", "ON", Text("x⏎KEY=1 ⏎"), true},
    {"OffStoredAsZero", Text("x⏎KEY=1⏎"), "", "KEY", "OFF", Text("x⏎KEY=0 ⏎"), true},
    {"MixedCaseOnStoredAsWritten", Text("x⏎KEY=0⏎"), "", "KEY", "On", Text("x⏎KEY=On ⏎"), true},
    {"LowerCaseOffStoredAsWritten", Text("x⏎KEY=0⏎"), "", "KEY", "off", Text("x⏎KEY=off ⏎"), true},
    {"OnlyGivenGroupChanges", Text("[A]⏎KEY=1⏎[B]⏎KEY=2⏎"), "[B]", "KEY", "9",
     Text("[A]⏎KEY=1⏎[B]⏎KEY=9 ⏎"), true},
    {"FirstGroupChanges", Text("[A]⏎KEY=1⏎[B]⏎KEY=2⏎"), "[A]", "KEY", "9",
     Text("[A]⏎KEY=9 ⏎[B]⏎KEY=2⏎"), true},
    {"KeyOnlyInOtherGroupUntouched", Text("[A]⏎X=1⏎[B]⏎KEY=2⏎"), "[A]", "KEY", "9",
     Text("[A]⏎X=1⏎[B]⏎KEY=2⏎"), false},
    {"CommentedKeyUntouched", Text("x⏎;KEY=5⏎"), "", "KEY", "9", Text("x⏎;KEY=5⏎"), false},
    {"KeyAfterSpaceUntouched", Text("x⏎ KEY=5⏎"), "", "KEY", "9", Text("x⏎ KEY=5⏎"), false},
    {"KeyAfterOneLetterUntouched", Text("x⏎XKEY=5⏎"), "", "KEY", "9", Text("x⏎XKEY=5⏎"), false},
    {"CyrillicLetterBeforeKeyUntouched", Text("x⏎ЖKEY=5⏎"), "", "KEY", "9", Text("x⏎ЖKEY=5⏎"),
     false},
    {"EmptyGroupTakesFirstLineStartKeyAnywhere", Text("x⏎;KEY=1⏎[A]⏎KEY=2⏎"), "", "KEY", "9",
     Text("x⏎;KEY=1⏎[A]⏎KEY=9 ⏎"), true},
    {"GroupInsideLineSkippedForHeaderLine", Text("x⏎;see [a] here⏎KEY=1⏎[a]⏎KEY=2⏎"), "[A]", "KEY",
     "9", Text("x⏎;see [a] here⏎KEY=1⏎[a]⏎KEY=9 ⏎"), true},
    {"AbsentGroupChangesNothing", Text("x⏎KEY=1⏎[A]⏎KEY=2⏎"), "[Z]", "KEY", "9",
     Text("x⏎KEY=1⏎[A]⏎KEY=2⏎"), false},
    {"AbsentGroupMissesKeysInGroups", Text("x⏎[A]⏎KEY=2⏎"), "[Z]", "KEY", "9", Text("x⏎[A]⏎KEY=2⏎"),
     false},
    {"LastGroupRunsToTextEnd", Text("[A]⏎X=1⏎[B]⏎Y=1⏎⏎;c⏎KEY=2"), "[B]", "KEY", "9",
     Text("[A]⏎X=1⏎[B]⏎Y=1⏎⏎;c⏎KEY=9 "), true},
    {"GroupEndsOnlyAtLineStartingWithBracket", Text("[A]⏎X=1⏎ [B]⏎KEY=2⏎"), "[A]", "KEY", "9",
     Text("[A]⏎X=1⏎ [B]⏎KEY=9 ⏎"), true},
    {"KeyNameIgnoresCaseAndKeepsSpelling", Text("x⏎key=5⏎"), "", "KEY", "9", Text("x⏎key=9 ⏎"),
     true},
    {"LongerKeyNotTaken", Text("x⏎KEYS=1⏎KEY=2⏎"), "", "KEY", "9", Text("x⏎KEYS=1⏎KEY=9 ⏎"), true},
    {"SpaceBeforeEqualsNotAKey", Text("x⏎KEY =1⏎"), "", "KEY", "9", Text("x⏎KEY =1⏎"), false},
    {"KeyAtTextStartWithoutGroup", Text("KEY=5⏎;a longer second line⏎"), "", "KEY", "9",
     Text("KEY=9 ⏎;a longer second line⏎"), true},
    {"KeyAtTextStartWithAbsentGroupUntouched", Text("KEY=5⏎[A]⏎;a longer line⏎"), "[Z]", "KEY", "9",
     Text("KEY=5⏎[A]⏎;a longer line⏎"), false},
    {"GroupEndsAtLfBracket", "[A]\nX=1\n[B]\nKEY=2\n", "[A]", "KEY", "9", "[A]\nX=1\n[B]\nKEY=2\n",
     false},
    {"EmptyValueWritten", Text("x⏎KEY=5⏎"), "", "KEY", "", Text("x⏎KEY= ⏎"), true},
    {"EmptyOldValueReplaced", Text("x⏎KEY=⏎"), "", "KEY", "9", Text("x⏎KEY=9 ⏎"), true},
    {"OldValueWithEqualsReplacedWhole", Text("x⏎KEY=a=b ;c⏎"), "", "KEY", "9", Text("x⏎KEY=9 ;c⏎"),
     true},
    {"CyrillicOldValueReplacedWhole", Text("x⏎KEY=Медленно ;с⏎"), "", "KEY", "9",
     Text("x⏎KEY=9 ;с⏎"), true},
    {"CyrillicGroupKeyAndValue", Text("[ЭКРАН]⏎РЕЖИМ=1⏎"), Text("[экран]"), Text("режим"),
     Text("Быстрый"), Text("[ЭКРАН]⏎РЕЖИМ=Быстрый ⏎"), true},
    {"LfOnlyLineEnd", "x\nKEY=5\nY=1\n", "", "KEY", "9", "x\nKEY=9 \nY=1\n", true},
    {"ValueMayHoldHighBytes", Text("x⏎KEY=5⏎"), "", "KEY", "a\x97\x99\xff",
     Text("x⏎KEY=") + "a\x97\x99\xff" + Text(" ⏎"), true},
    // Positions past 65,535 and texts far longer than the old 32,767-character limit.
    {"BeyondOldSixteenBitLimit", kLongHead + Text("KEY=5 ;c⏎[B]⏎KEY=6⏎"), "[A]", "KEY", "7",
     kLongHead + Text("KEY=7 ;c⏎[B]⏎KEY=6⏎"), true},
    {"KeyAtStartOfLongText", Text("KEY=5⏎") + Filler(120000), "", "KEY", "7",
     Text("KEY=7 ⏎") + Filler(120000), true},
};

using ValueReplacementTable = ravlet::test::Table<ReplaceCase>;

TEST_P(ValueReplacementTable, RewritesText) {
    const ReplaceCase& c = GetParam();
    std::string text = c.text;
    std::string value = c.value;
    EXPECT_EQ(PutParamVal(text, c.group, c.key, value), c.written);
    EXPECT_EQ(text, c.expected);
}

RAVLET_TABLE(ValueReplacement, ValueReplacementTable, kReplaceCases);

TEST(ValueReplacement, SameValueTwiceLeavesTextAsAfterFirst) {
    std::string text = Text("[A]⏎KEY=5   ;c⏎Y=1⏎");
    std::string value = "7";
    ASSERT_TRUE(PutParamVal(text, "[A]", "KEY", value));
    const std::string afterFirst = text;
    EXPECT_TRUE(PutParamVal(text, "[A]", "KEY", value));
    EXPECT_EQ(text, afterFirst);
    EXPECT_EQ(text, Text("[A]⏎KEY=7 ;c⏎Y=1⏎"));
}

TEST(ValueReplacement, SwitchWordsTranslatedInCallersVariable) {
    std::string text = Text("x⏎A=1⏎B=0⏎C=0⏎");
    std::string on = "ON";
    std::string off = "OFF";
    std::string mixed = "On";
    PutParamVal(text, "", "A", off);
    PutParamVal(text, "", "B", on);
    PutParamVal(text, "", "C", mixed);
    EXPECT_EQ(off, "0");
    EXPECT_EQ(on, "1");
    EXPECT_EQ(mixed, "On");
    EXPECT_EQ(text, Text("x⏎A=0 ⏎B=1 ⏎C=On ⏎"));
}

TEST(ValueReplacement, SwitchWordTranslatedEvenWhenKeyMissing) {
    std::string text = Text("x⏎A=1⏎");
    std::string on = "ON";
    EXPECT_FALSE(PutParamVal(text, "", "Missing", on));
    EXPECT_EQ(on, "1");
    EXPECT_EQ(text, Text("x⏎A=1⏎"));
}

// The value rule's refusal names the first character it refuses and why.
TEST(ValueReplacement, RefusedValueThrowsItsFirstRefusedCharacterAndLeavesText) {
    const std::string original = Text("x⏎KEY=5⏎");
    using ravlet::ValueFault;
    const struct {
        std::string value;
        ValueFault fault;
        char32_t character;
    } rows[] = {
        {"a\tb", ValueFault::ControlCharacter, U'\t'},
        {"a\r\nb", ValueFault::ControlCharacter, U'\r'},
        {"\x1f", ValueFault::ControlCharacter, 0x1F},
        {std::string("a\0b", 3), ValueFault::ControlCharacter, 0},
        {"a\x7f", ValueFault::ControlCharacter, 0x7F},  // DEL
        {"\xE0\x98", ValueFault::ControlCharacter,
         0x98},  // unassigned in the code page: a C1 control
        {"a;b", ValueFault::Semicolon, U';'},
        {";\x01", ValueFault::Semicolon, U';'},
    };
    for (const auto& row : rows) {
        std::string text = original;
        std::string value = row.value;
        try {
            PutParamVal(text, "", "KEY", value);
            ADD_FAILURE() << "taken: " << row.value;
        } catch (const InvalidValue& e) {
            EXPECT_EQ(e.Refused(), (ravlet::RefusedCharacter{row.fault, row.character}))
                << row.value;
        }
        EXPECT_EQ(text, original);
        EXPECT_EQ(value, row.value);
    }
}

// What the windows check as the user types: the value rule over wide characters, where
// the C1 controls U+0080-U+009F can occur (in Windows-1251 only 0x98 stands for one).
TEST(ValueRule, WideTextRefusedAtItsFirstRefusedCharacter) {
    using ravlet::RefusedCharacter;
    using ravlet::ValueFault;
    const struct {
        const char* name;
        std::u32string text;
        std::optional<RefusedCharacter> refused;
    } rows[] = {
        {"accepted", U"a\u00A0\u0416\u2116", std::nullopt},
        {"first C1 control", U"a\u0080", RefusedCharacter{ValueFault::ControlCharacter, 0x80}},
        {"last C1 control", U"a\u009F", RefusedCharacter{ValueFault::ControlCharacter, 0x9F}},
        {"first of several", U"\u00E4;", RefusedCharacter{ValueFault::OutsideCodePage, 0xE4}},
        {"semicolon", U"a;\t", RefusedCharacter{ValueFault::Semicolon, U';'}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ravlet::FirstRefused(std::u32string_view(row.text)), row.refused) << row.name;
    }
}

}  // namespace
