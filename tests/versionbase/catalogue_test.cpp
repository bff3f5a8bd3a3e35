#include "versionbase/catalogue.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using ravlet::ListGroups;
using ravlet::ListParameters;
using ravlet::test::Filler;
using ravlet::test::Text;
using Names = std::vector<std::string>;

struct GroupsCase {
    const char* name;
    std::string base;
    std::string version;
    Names expected;
};

void PrintTo(const GroupsCase& c, std::ostream* os) { *os << c.name; }

const std::string kTwoRecords = Text("TARVEN=1⏎[A]⏎+X=1⏎[B]⏎+Y=2⏎TARVEN=2⏎[A]⏎+X=1⏎");

// Positions past 65,535 and texts far longer than the old 32,767-character limit.
const std::string kLongRecords = Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎") + Filler(120000) +
                                 Text("TARVEN=2⏎[A]⏎") + Filler(120000) + Text("+Y=1⏎[B]⏎-Z=1⏎");

const GroupsCase kGroupsCases[] = {
    {"RecordEndsAtRepeatedHeader", kTwoRecords, "1", {"[A]", "[B]"}},
    {"LastRecord", kTwoRecords, "2", {"[A]"}},
    {"HeaderEndsAtLoneCr", Text("x⏎TARVEN=1⏎[A") + "\r]" + Text("⏎[B]⏎"), "1", {"[B]"}},
    {"RepeatInsideRecordEndsListing", Text("x⏎TARVEN=1⏎[A]⏎[B]⏎[A]⏎[C]⏎"), "1", {"[A]", "[B]"}},
    {"NewLeadingHeaderOfNextRecordTakenOver",
     Text("x⏎TARVEN=1⏎[A]⏎[B]⏎TARVEN=2⏎[C]⏎[A]⏎[B]⏎"),
     "1",
     {"[A]", "[B]", "[C]"}},
    {"HeadersCompareCaseSensitively", Text("x⏎TARVEN=1⏎[A]⏎[a]⏎"), "1", {"[A]", "[a]"}},
    {"HeaderKeepsInnerSpaces", Text("x⏎TARVEN=1⏎[ A ]⏎+X=1⏎"), "1", {"[ A ]"}},
    {"HeaderEndsAtFirstBracket", Text("x⏎TARVEN=1⏎[A] ;main]⏎[B]]⏎"), "1", {"[A]", "[B]"}},
    {"CyrillicHeader", Text("x⏎TARVEN=1⏎[Экран]⏎[Звук]⏎"), "1", {Text("[Экран]"), Text("[Звук]")}},
    {"HeaderIndentedIsNoHeader", Text("x⏎TARVEN=1⏎ [A]⏎[B]⏎"), "1", {"[B]"}},
    {"HeadersBeforeMarkerNotListed", Text("x⏎[DESCRIPTIONS]⏎:K=h⏎⏎TARVEN=1⏎[A]⏎"), "1", {"[A]"}},
    {"DescriptionsAfterLastRecordListed",
     Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎[DESCRIPTIONS]⏎A:X=h⏎"),
     "1",
     {"[A]", "[DESCRIPTIONS]"}},
    {"NoVersionTakesFirstMarker", kTwoRecords, "", {"[A]", "[B]"}},
    {"ShortNameUsesLongerMarkerFirstInText",
     Text("x⏎TARVEN=0.35⏎[P]⏎TARVEN=0.3⏎[Q]⏎[P]⏎"),
     "0.3",
     {"[P]", "[Q]"}},
    {"MarkerAbsentGivesNothing", kTwoRecords, "9", {}},
    {"LowerCaseMarkerIsNotTheMarker", Text("x⏎tarven=1⏎[A]⏎"), "1", {}},
    {"RecordWithoutGroups", Text("x⏎TARVEN=1⏎SUPPORT=1⏎"), "1", {}},
    {"HeaderWithoutClosingBracketSkipped", Text("x⏎TARVEN=1⏎[A⏎+X=1⏎[B]⏎"), "1", {"[B]"}},
    {"ClosingBracketOnlyOnLaterLineSkipped", Text("x⏎TARVEN=1⏎[A⏎+X]=1⏎[B]⏎"), "1", {"[B]"}},
    {"LastHeaderWithoutBracketAtTextEnd", Text("x⏎TARVEN=1⏎[A]⏎[B"), "1", {"[A]"}},
    {"BeyondOldSixteenBitLimit", kLongRecords, "2", {"[A]", "[B]"}},
};

using CatalogueGroupsTable = ravlet::test::Table<GroupsCase>;

TEST_P(CatalogueGroupsTable, ListsGroups) {
    EXPECT_EQ(ListGroups(GetParam().base, GetParam().version), GetParam().expected);
}

RAVLET_TABLE(Catalogue, CatalogueGroupsTable, kGroupsCases);

struct ParamsCase {
    const char* name;
    std::string base;
    std::string version;
    std::string group;
    bool full;
    Names expected;
};

void PrintTo(const ParamsCase& c, std::ostream* os) { *os << c.name; }

const std::string kMixedGroup = Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎;note⏎-Y=a,b⏎ +Z=1⏎+W=2⏎[B]⏎+V=1⏎");
const std::string kRecordsForParams =
    Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎[B]⏎+Y=1⏎TARVEN=2⏎+Q=9⏎-R=9⏎[B]⏎+Y2=1⏎[A]⏎+X2=1⏎[C]⏎+Z2=1⏎");

const ParamsCase kParamsCases[] = {
    {"ShortListSkipsMinusLines", kMixedGroup, "1", "[A]", false, {"X", "W"}},
    {"FullListHasMinusLines", kMixedGroup, "1", "[A]", true, {"X", "Y", "W"}},
    {"LastGroupRunsToTextEnd", kMixedGroup, "1", "[B]", true, {"V"}},
    {"KeyNameNotTrimmed", Text("x⏎TARVEN=1⏎[A]⏎+ X = 1⏎+=1⏎"), "1", "[A]", false, {" X ", ""}},
    {"SameKeyTwiceListedTwice", Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎+X=2⏎"), "1", "[A]", false, {"X", "X"}},
    {"MarkerLineDoesNotEndGroup",
     Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎[B]⏎+Y=1⏎TARVEN=2⏎+Z=1⏎[A]⏎+W=1⏎"),
     "1",
     "[B]",
     false,
     {"Y", "Z"}},
    {"AnyBracketLineEndsGroup",
     Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎[DESCRIPTIONS]⏎+Y=1⏎"),
     "1",
     "[A]",
     true,
     {"X"}},
    {"SkipsEmptyCommentAndSupportLines",
     Text("x⏎TARVEN=1⏎[A]⏎⏎;+C=1⏎SUPPORT=1⏎+X=a,@b⏎\t+T=1⏎-Y=!1⏎"),
     "1",
     "[A]",
     true,
     {"X", "Y"}},
    {"GroupOfSelectedRecord", kRecordsForParams, "2", "[A]", false, {"X2"}},
    {"GroupFoundInLaterRecord", kRecordsForParams, "1", "[C]", false, {"Z2"}},
    {"GroupHeaderMatchedExactly", kRecordsForParams, "1", "[a]", false, {}},
    {"GroupHeaderInsideLineSkipped",
     Text("x⏎TARVEN=1⏎;see [B]⏎+Q=1⏎[A]⏎+X=1⏎[B]⏎+Y=1⏎"),
     "1",
     "[B]",
     false,
     {"Y"}},
    {"MarkerAbsentGivesNothing", kRecordsForParams, "9", "[A]", false, {}},
    {"GroupAbsentGivesNothing", kRecordsForParams, "2", "[Z]", false, {}},
    {"NoWrapAroundAtTextEnd", Text("x⏎+Q=1⏎TARVEN=1⏎[A]⏎+X=1⏎"), "1", "[A]", false, {"X"}},
    {"LastLineWithoutLineEnd", Text("x⏎TARVEN=1⏎[A]⏎+X=1⏎-Y=2"), "1", "[A]", true, {"X", "Y"}},
    {"LineWithoutEqualsIsNoParameter", Text("x⏎TARVEN=1⏎[A]⏎+X⏎+Y=1⏎-Z⏎"), "1", "[A]", true, {"Y"}},
    {"CyrillicKeyNames",
     Text("x⏎TARVEN=1⏎[Экран]⏎+Ширина=640⏎-Режим=!0⏎"),
     "1",
     Text("[Экран]"),
     true,
     {Text("Ширина"), Text("Режим")}},
    {"EmptyGroup", Text("x⏎TARVEN=1⏎[A]⏎[B]⏎+X=1⏎"), "1", "[A]", true, {}},
    {"BeyondOldSixteenBitLimit", kLongRecords, "2", "[A]", false, {"Y"}},
    {"FullListBeyondOldSixteenBitLimit", kLongRecords, "2", "[B]", true, {"Z"}},
};

using CatalogueParametersTable = ravlet::test::Table<ParamsCase>;

TEST_P(CatalogueParametersTable, ListsParameters) {
    const ParamsCase& c = GetParam();
    EXPECT_EQ(ListParameters(c.base, c.version, c.group, c.full), c.expected);
}

RAVLET_TABLE(Catalogue, CatalogueParametersTable, kParamsCases);

}  // namespace
