#include "operations/transfer.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using ravlet::TransferResult;
using ravlet::TransferStop;
using ravlet::TransferValues;
using ravlet::test::Filler;
using ravlet::test::Text;

const std::string kHeading = Text("Список перенесенных параметров:");

std::string Report(const std::vector<std::string>& lines) {
    std::string report = kHeading;
    for (const std::string& line : lines) report += "\r\n" + line;
    return report;
}

struct TransferCase {
    const char* name;
    std::string base;
    std::string oldText;
    std::string ini;
    std::string expectedIni;
    std::vector<std::string> reportLines;
    int carried;
};

void PrintTo(const TransferCase& c, std::ostream* os) { *os << c.name; }

// A descriptions section as the base holds it, followed by one record.
std::string Base(const std::string& section) {
    return Text("; база⏎[DESCRIPTIONS]⏎") + Text(section) + Text("⏎⏎TARVEN=1⏎[A]⏎+X=1⏎");
}

// Positions past 65,535 and texts far longer than the old 32,767-character limit.
const std::string kLongHead = Filler(150000) + Text("[A]⏎");

const TransferCase kTransferCases[] = {
    {"CarriesGroupAndUngroupedKeys",
     Base("A:X=speed⏎:Y=mode"),
     Text(";old⏎[A]⏎X=5⏎Y=OFF⏎"),
     Text(";new⏎[A]⏎X=1⏎Y=1⏎"),
     Text(";new⏎[A]⏎X=5 ⏎Y=0 ⏎"),
     {"[A]X=5", "Y=0"},
     2},
    {"EmptyOrMissingValuesNotCarried",
     Base("A:X=h⏎A:Y=h⏎A:Z=h⏎A:W=h"),
     Text(";old⏎[A]⏎X=⏎Y=2⏎W=4⏎"),
     Text(";new⏎[A]⏎X=1⏎Y=⏎Z=3⏎"),
     Text(";new⏎[A]⏎X=1⏎Y=⏎Z=3⏎"),
     {},
     0},
    {"OnlyDescribedGroupChanges",
     Base("B:X=h"),
     Text(";old⏎[A]⏎X=5⏎[B]⏎X=6⏎"),
     Text(";new⏎[A]⏎X=1⏎[B]⏎X=2⏎"),
     Text(";new⏎[A]⏎X=1⏎[B]⏎X=6 ⏎"),
     {"[B]X=6"},
     1},
    {"CommentedCurrentKeyIsAbsent",
     Base("A:X=h"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎;X=1⏎"),
     Text(";new⏎[A]⏎;X=1⏎"),
     {},
     0},
    {"CommentedOldKeyNotCarried",
     Base("A:X=h"),
     Text(";old⏎[A]⏎;X=5⏎X=6⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=6 ⏎"),
     {"[A]X=6"},
     1},
    {"FurtherColonsStayInName",
     Base("A:B:C=hint"),
     Text(";old⏎[A]⏎B:C=2⏎"),
     Text(";new⏎[A]⏎B:C=1⏎"),
     Text(";new⏎[A]⏎B:C=2 ⏎"),
     {"[A]B:C=2"},
     1},
    {"SameLineTwiceCarriedTwice",
     Base("A:X=h⏎A:X=h"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=5 ⏎"),
     {"[A]X=5", "[A]X=5"},
     2},
    {"CommentLineSkipped",
     Base(";A:X=h⏎A:Y=h"),
     Text(";old⏎[A]⏎X=5⏎Y=6⏎"),
     Text(";new⏎[A]⏎X=1⏎Y=1⏎"),
     Text(";new⏎[A]⏎X=1⏎Y=6 ⏎"),
     {"[A]Y=6"},
     1},
    {"CommentLineWithoutColonSkipped",
     Base(";old=unused⏎A:Y=h"),
     Text(";old⏎[A]⏎Y=6⏎"),
     Text(";new⏎[A]⏎Y=1⏎"),
     Text(";new⏎[A]⏎Y=6 ⏎"),
     {"[A]Y=6"},
     1},
    {"TabLineEndsWalk",
     Base("A:X=h⏎\tno colon here=x⏎:Y=h"),
     Text(";old⏎[A]⏎X=5⏎Y=6⏎"),
     Text(";new⏎[A]⏎X=1⏎Y=1⏎"),
     Text(";new⏎[A]⏎X=5 ⏎Y=1⏎"),
     {"[A]X=5"},
     1},
    {"LeadingSpaceStaysInGroup",
     Base(" A:X=h"),
     Text(";old⏎[ A]⏎X=5⏎"),
     Text(";new⏎[ A]⏎X=1⏎"),
     Text(";new⏎[ A]⏎X=5 ⏎"),
     {"[ A]X=5"},
     1},
    {"LeadingSpaceGroupMissesPlainGroup",
     Base(" A:X=h"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     {},
     0},
    {"ValueEqualToCurrentStillListed",
     Base("A:X=h"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=5 ⏎"),
     {"[A]X=5"},
     1},
    {"OnCarriedAsOne",
     Base(":Y=h"),
     Text(";old⏎Y=ON⏎"),
     Text(";new⏎Y=0⏎"),
     Text(";new⏎Y=1 ⏎"),
     {"Y=1"},
     1},
    {"CyrillicGroupKeyAndValue",
     Base("Экран:Режим=Режим экрана"),
     Text(";old⏎[ЭКРАН]⏎РЕЖИМ=Окно⏎"),
     Text(";new⏎[Экран]⏎Режим=Полный ;вид⏎"),
     Text(";new⏎[Экран]⏎Режим=Окно ;вид⏎"),
     {Text("[Экран]Режим=Окно")},
     1},
    {"LowerCaseHeaderFound",
     Text("x⏎[descriptions]⏎A:X=h⏎⏎"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=5 ⏎"),
     {"[A]X=5"},
     1},
    {"HeaderInsideEarlierLineIgnored",
     Text("x⏎; see [DESCRIPTIONS] below⏎A:X=h⏎⏎[DESCRIPTIONS]⏎B:X=h⏎"),
     Text(";old⏎[A]⏎X=5⏎[B]⏎X=6⏎"),
     Text(";new⏎[A]⏎X=1⏎[B]⏎X=2⏎"),
     Text(";new⏎[A]⏎X=1⏎[B]⏎X=6 ⏎"),
     {"[B]X=6"},
     1},
    {"LastLineWithoutLineEnd",
     Text("x⏎[DESCRIPTIONS]⏎A:X=h"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=5 ⏎"),
     {"[A]X=5"},
     1},
    {"SectionWithoutDescriptionLines",
     Text("x⏎[DESCRIPTIONS]⏎⏎A:X=h⏎"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     {},
     0},
    {"WalkEndsWhenNoFurtherEquals",
     Text("x⏎[DESCRIPTIONS]⏎A:X=h⏎the end⏎"),
     Text(";old⏎[A]⏎X=5⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=5 ⏎"),
     {"[A]X=5"},
     1},
    {"KeyOnlyInOldNotAdded",
     Base("A:X=h⏎A:Y=h"),
     Text(";old⏎[A]⏎X=5⏎Y=6⏎"),
     Text(";new⏎[A]⏎X=1⏎"),
     Text(";new⏎[A]⏎X=5 ⏎"),
     {"[A]X=5"},
     1},
    {"CarriesBetweenTextsBeyondOldSixteenBitLimit",
     Text("x⏎") + Filler(120000) + Text("[DESCRIPTIONS]⏎A:X=h⏎:Y=h⏎⏎TARVEN=1⏎[A]⏎+X=1⏎"),
     Filler(120000) + Text("[A]⏎X=5⏎Y=6⏎"),
     kLongHead + Text("X=1⏎Y=2⏎"),
     kLongHead + Text("X=5 ⏎Y=6 ⏎"),
     {"[A]X=5", "Y=6"},
     2},
};

using TransferTable = ravlet::test::Table<TransferCase>;

TEST_P(TransferTable, CarriesValues) {
    const TransferCase& c = GetParam();
    std::string ini = c.ini;
    const TransferResult result = TransferValues(c.base, c.oldText, ini);
    EXPECT_EQ(ini, c.expectedIni);
    EXPECT_EQ(result.report, Report(c.reportLines));
    EXPECT_EQ(result.carried, c.carried);
    EXPECT_EQ(result.failure, std::nullopt);
}

RAVLET_TABLE(Transfer, TransferTable, kTransferCases);

TEST(Transfer, NoDescriptionsSectionFailsCarryingNothing) {
    const std::string ini = Text(";new⏎[A]⏎X=1⏎");
    std::string text = ini;
    const TransferResult result =
        TransferValues(Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎"), Text(";old⏎[A]⏎X=5⏎"), text);
    EXPECT_TRUE(result.failure.has_value());
    EXPECT_EQ(result.carried, 0);
    EXPECT_EQ(text, ini);
}

TEST(Transfer, LineWithoutColonFailsKeepingWhatWasCarried) {
    std::string ini = Text(";new⏎[A]⏎X=1⏎Y=1⏎");
    const TransferResult result =
        TransferValues(Text("x⏎[DESCRIPTIONS]⏎A:X=h⏎A-Y=h⏎:Y=h⏎⏎"), Text(";old⏎[A]⏎X=5⏎Y=6⏎"), ini);
    EXPECT_EQ(result.failure, (TransferStop{TransferStop::Kind::LineWithoutColon, "A-Y=h"}));
    EXPECT_EQ(ini, Text(";new⏎[A]⏎X=5 ⏎Y=1⏎"));
    EXPECT_EQ(result.report, Report({"[A]X=5"}));
    EXPECT_EQ(result.carried, 1);
}

TEST(Transfer, GroupHeaderRightAfterSectionFails) {
    std::string ini = Text(";new⏎[A]⏎X=1⏎[X]⏎K=1⏎");
    const TransferResult result = TransferValues(Text("x⏎[DESCRIPTIONS]⏎A:X=h⏎[X]⏎+K=1⏎"),
                                                 Text(";old⏎[A]⏎X=5⏎[X]⏎K=2⏎"), ini);
    EXPECT_EQ(result.failure, (TransferStop{TransferStop::Kind::LineWithoutColon, "[X]"}));
    EXPECT_EQ(ini, Text(";new⏎[A]⏎X=5 ⏎[X]⏎K=1⏎"));
    EXPECT_EQ(result.report, Report({"[A]X=5"}));
    EXPECT_EQ(result.carried, 1);
}

// DEL and 0x98 are control characters to the value rule: such an old value stops the
// walk where it stands, as a broken description line does.
TEST(Transfer, OldValueWithControlCharacterStopsKeepingWhatWasCarried) {
    for (const char* bad : {"a\x7f", "\x98"}) {
        std::string ini = Text(";new⏎[A]⏎X=1⏎Y=1⏎");
        const TransferResult result = TransferValues(Text("x⏎[DESCRIPTIONS]⏎A:X=h⏎A:Y=h⏎⏎"),
                                                     Text(";old⏎[A]⏎X=5⏎Y=") + bad + "\r\n", ini);
        EXPECT_EQ(result.failure,
                  (TransferStop{TransferStop::Kind::ValueRefused, std::string("[A]Y=") + bad}));
        EXPECT_EQ(ini, Text(";new⏎[A]⏎X=5 ⏎Y=1⏎"));
        EXPECT_EQ(result.carried, 1);
    }
}

TEST(Transfer, LineStartingWithEqualsFails) {
    std::string ini = Text(";new⏎[A]⏎X=1⏎");
    const TransferResult result =
        TransferValues(Text("x⏎[DESCRIPTIONS]⏎A:X=h⏎=h⏎⏎"), Text(";old⏎[A]⏎X=5⏎"), ini);
    EXPECT_TRUE(result.failure.has_value());
    EXPECT_EQ(ini, Text(";new⏎[A]⏎X=5 ⏎"));
    EXPECT_EQ(result.report, Report({"[A]X=5"}));
}

}  // namespace
