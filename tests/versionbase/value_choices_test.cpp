#include "versionbase/value_choices.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using ravlet::ChoicesOf;
using ravlet::ListValues;
using ravlet::ParameterHint;
using ravlet::ValueChoices;
using ravlet::test::Filler;
using ravlet::test::Text;
using Items = std::vector<std::string>;

struct ChoicesCase {
    const char* name;
    std::string spec;
    std::string current;
    Items items;
    int selected;
};

void PrintTo(const ChoicesCase& c, std::ostream* os) { *os << c.name; }

const ChoicesCase kChoicesCases[] = {
    {"DefaultMarkDropped", "1,2,@4,8", "4", {"1", "2", "4", "8"}, 2},
    {"DefaultMarkOnFirstItem", "@1,2", "2", {"1", "2"}, 1},
    {"DefaultMarkDoesNotSelect", "1,@2", "1", {"1", "2"}, 0},
    {"ItemsNotTrimmed", "1, 2", "2", {"2"}, 0},
    {"SpacedItemMatchesExactly", "1, 2", " 2", {"1", " 2"}, 1},
    {"EmptyMiddleItem", "a,,b", "b", {"a", "", "b"}, 2},
    {"EmptyLastItem", "a,b,", "b", {"a", "b", ""}, 1},
    {"OnlyOneAtDropped", "@@a,b", "@a", {"@a", "b"}, 0},
    {"AtInsideItemKept", "a@,b", "b", {"a@", "b"}, 1},
    {"CaseSensitiveMatch", "x,y", "X", {"X"}, 0},
    {"MissingKeyAgainstList", "1,2", "", {""}, 0},
    {"MissingKeyMatchesEmptyItem", "1,,2", "", {"1", "", "2"}, 1},
    {"EmptySpecEmptyCurrent", "", "", {""}, 0},
    {"EmptySpecWithCurrent", "", "5", {"5"}, 0},
    {"FirstEqualItemWins", "b,a,a", "a", {"b", "a", "a"}, 1},
    {"SingleItemSpec", "abc", "abc", {"abc"}, 0},
    {"CyrillicItems", Text("Да,@Нет"), Text("Нет"), {Text("Да"), Text("Нет")}, 1},
    {"CyrillicCaseSensitive", Text("да,нет"), Text("Да"), {Text("Да")}, 0},
    {"SwitchOff", "!1", "0", {"OFF", "ON"}, 0},
    {"SwitchOn", "!1", "1", {"OFF", "ON"}, 1},
    {"SwitchOnlyFirstCharacterCounts", "!0", "10", {"OFF", "ON"}, 1},
    {"SwitchRestOfSpecIgnored", "!x,y", "0", {"OFF", "ON"}, 0},
    {"SwitchEmptyCurrentShownAlone", "!1", "", {""}, 0},
    {"SwitchWordCurrentShownAlone", "!1", "ON", {"ON"}, 0},
    {"SwitchOtherDigitShownAlone", "!0", "7", {"7"}, 0},
};

using ValueChoicesTable = ravlet::test::Table<ChoicesCase>;

TEST_P(ValueChoicesTable, OffersItems) {
    const ChoicesCase& c = GetParam();
    const ValueChoices choices = ChoicesOf(c.spec, c.current);
    EXPECT_EQ(choices.items, c.items);
    EXPECT_EQ(choices.selected, c.selected);
}

RAVLET_TABLE(ValueChoices, ValueChoicesTable, kChoicesCases);

const std::string kBase = Text(
    "x⏎[DESCRIPTIONS]⏎A:X=hint X⏎⏎"
    "TARVEN=1⏎[A]⏎+X=1,@2⏎-Y=!1⏎+S= a,b ⏎[B]⏎+X=5,6⏎"
    "TARVEN=2⏎[A]⏎+X=7,8⏎[B]⏎+X=9⏎");

struct ListValuesCase {
    const char* name;
    std::string ini;
    std::string version;
    std::string group;
    std::string key;
    Items items;
    int selected;
};

void PrintTo(const ListValuesCase& c, std::ostream* os) { *os << c.name; }

const ListValuesCase kListValuesCases[] = {
    {"CurrentValueSelected", Text(";ini⏎[A]⏎X=2⏎"), "1", "[A]", "X", {"1", "2"}, 1},
    {"SpecOfSelectedGroup", Text(";ini⏎[B]⏎X=6⏎"), "1", "[B]", "X", {"5", "6"}, 1},
    {"SpecOfSelectedVersion", Text(";ini⏎[A]⏎X=8⏎"), "2", "[A]", "X", {"7", "8"}, 1},
    {"FullListSwitch", Text(";ini⏎[A]⏎Y=0⏎"), "1", "[A]", "Y", {"OFF", "ON"}, 0},
    {"CurrentValueTrimmedAndCommentCut", Text(";ini⏎[A]⏎X= 1 ;c⏎"), "1", "[A]", "X", {"1", "2"}, 0},
    {"SpecTrimmedAtEndsOnly", Text(";ini⏎[A]⏎S=a⏎"), "1", "[A]", "S", {"a", "b"}, 0},
    {"KeyMissingFromIni", Text(";ini⏎[A]⏎Z=1⏎"), "1", "[A]", "X", {""}, 0},
    {"KeyOnlyInOtherIniGroup", Text(";ini⏎[A]⏎Z=1⏎[B]⏎X=1⏎"), "1", "[A]", "X", {""}, 0},
    {"ValueNotAmongChoicesShownAlone", Text(";ini⏎[A]⏎X=3⏎"), "1", "[A]", "X", {"3"}, 0},
    {"ParameterMissingFromBase", Text(";ini⏎[A]⏎Q=3⏎"), "1", "[A]", "Q", {"3"}, 0},
    {"CurrentValueBeyondOldSixteenBitLimit",
     Filler(120000) + Text("[A]⏎X=2⏎"),
     "1",
     "[A]",
     "X",
     {"1", "2"},
     1},
};

using ListValuesTable = ravlet::test::Table<ListValuesCase>;

TEST_P(ListValuesTable, ReadsSpecAndCurrentValue) {
    const ListValuesCase& c = GetParam();
    const ValueChoices choices = ListValues(kBase, c.ini, c.version, c.group, c.key);
    EXPECT_EQ(choices.items, c.items);
    EXPECT_EQ(choices.selected, c.selected);
}

RAVLET_TABLE(ValueChoices, ListValuesTable, kListValuesCases);

struct HintCase {
    const char* name;
    std::string base;
    std::string group;
    std::string key;
    std::string expected;
};

void PrintTo(const HintCase& c, std::ostream* os) { *os << c.name; }

const std::string kDescriptions =
    Text("x⏎[DESCRIPTIONS]⏎AB:KEY=first hint⏎:KEY=general hint⏎⏎TARVEN=1⏎[AB]⏎+KEY=1⏎");

const HintCase kHintCases[] = {
    {"GroupLine", kDescriptions, "[AB]", "KEY", "first hint"},
    {"GeneralLineForOtherGroup", kDescriptions, "[CD]", "KEY", "general hint"},
    {"NoLineGivesEmpty", kDescriptions, "[AB]", "OTHER", ""},
    {"MatchedRegardlessOfCase", Text("x⏎[DESCRIPTIONS]⏎ab:key=lower hint⏎"), "[AB]", "KEY",
     "lower hint"},
    {"HeaderFoundRegardlessOfCase", Text("x⏎[descriptions]⏎AB:KEY=hint⏎"), "[AB]", "KEY", "hint"},
    {"OneLetterGroupLineServesAsGeneral", Text("x⏎[DESCRIPTIONS]⏎X:KEY=x hint⏎:KEY=general hint⏎"),
     "[CD]", "KEY", "x hint"},
    {"SectionEndsAtNextBracketLine", Text("x⏎[DESCRIPTIONS]⏎:K=h⏎[A]⏎A:KEY=late⏎"), "[A]", "KEY",
     ""},
    {"HintTrimmedAndCommentCut", Text("x⏎[DESCRIPTIONS]⏎AB:KEY=  hint  ;note⏎"), "[AB]", "KEY",
     "hint"},
    {"GroupNameWithSpaces", Text("x⏎[DESCRIPTIONS]⏎A B:KEY=spaced⏎"), "[A B]", "KEY", "spaced"},
    {"CyrillicHint", Text("x⏎[DESCRIPTIONS]⏎ЭКРАН:ШИРИНА=Ширина окна⏎"), Text("[Экран]"),
     Text("Ширина"), Text("Ширина окна")},
    {"NoDescriptionsSection", Text("x⏎TARVEN=1⏎[AB]⏎+KEY=1⏎"), "[AB]", "KEY", ""},
    {"GroupLinePreferredOverEarlierGeneral",
     Text("x⏎[DESCRIPTIONS]⏎:KEY=general hint⏎AB:KEY=first hint⏎"), "[AB]", "KEY", "first hint"},
    {"BeyondOldSixteenBitLimit",
     Text("x⏎[DESCRIPTIONS]⏎") + Filler(100000) + Text("A:X=far hint⏎⏎TARVEN=1⏎") + Filler(100000),
     "[A]", "X", "far hint"},
};

using ParameterHintTable = ravlet::test::Table<HintCase>;

TEST_P(ParameterHintTable, FindsHint) {
    const HintCase& c = GetParam();
    EXPECT_EQ(ParameterHint(c.base, c.group, c.key), c.expected);
}

RAVLET_TABLE(ValueChoices, ParameterHintTable, kHintCases);

}  // namespace
