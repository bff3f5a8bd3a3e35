#include "versionbase/version_list.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using ravlet::DetectVersion;
using ravlet::ListVersions;
using ravlet::test::Filler;
using ravlet::test::Text;
using Names = std::vector<std::string>;

struct ListCase {
    const char* name;
    std::string base;
    Names expected;
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

const ListCase kListCases[] = {
    {"RepeatedMarkerListedOnce",
     Text(";versions⏎TARVEN=A⏎[G]⏎TARVEN=B⏎[G]⏎TARVEN=A⏎[G]⏎"),
     {"A", "B"}},
    {"CommentAfterName", Text("x⏎TARVEN=A ;comment⏎"), {"A"}},
    {"EmptyNameEndsList", Text("x⏎TARVEN=A⏎TARVEN=⏎TARVEN=B⏎"), {"A"}},
    {"BlankNameEndsList", Text("x⏎TARVEN=A⏎TARVEN=   ;none⏎TARVEN=B⏎"), {"A"}},
    {"LongerNameAfterPrefixNotListed", Text("x⏎TARVEN=0.3⏎TARVEN=0.35⏎"), {"0.3"}},
    {"LongerNameBeforePrefixListed", Text("x⏎TARVEN=0.35⏎TARVEN=0.3⏎"), {"0.35", "0.3"}},
    {"NoMarkers", Text("x⏎[A]⏎+K=1⏎"), {}},
    {"EmptyBase", "", {}},
    {"MarkerAtTextStart", Text("TARVEN=A⏎TARVEN=B⏎"), {"A", "B"}},
    {"MarkerAfterOneCharacter", Text("x⏎;TARVEN=A⏎TARVEN=B⏎"), {"A", "B"}},
    {"MarkerInsideLineIgnored", Text("x⏎see TARVEN=A⏎TARVEN=B⏎"), {"B"}},
    {"GeneralDescriptionLineCountsAsMarker",
     Text("x⏎[DESCRIPTIONS]⏎:TARVEN=Версия эмулятора⏎⏎TARVEN=A⏎[G]⏎"),
     {Text("Версия эмулятора"), "A"}},
    {"CyrillicName", Text("x⏎TARVEN=Бета⏎TARVEN=1.0⏎"), {Text("Бета"), "1.0"}},
    {"LowerCaseMarkerPassedOver", Text("x⏎tarven=A⏎TARVEN=B⏎"), {"B"}},
    {"LowerCaseMarkerAloneGivesNothing", Text("x⏎tarven=A⏎"), {}},
    {"BlankAfterEqualsPassedOver", Text("x⏎TARVEN= A⏎TARVEN=B⏎"), {"B"}},
    {"MarkerFormedByRemovalNotListed", Text("x⏎TARVEN=A⏎TARVTARVEN=AEN=B⏎"), {"A"}},
    {"MixedCaseMarkersBetweenExactOnes",
     Text("x⏎TARVEN=A⏎Tarven=C⏎TARVEN=B⏎tarven=D⏎"),
     {"A", "B"}},
    {"MarkersBeyondOldSixteenBitLimit",
     Text("x⏎TARVEN=A⏎[G]⏎") + Filler(120000) + Text("TARVEN=B⏎[G]⏎") + Filler(120000) +
         Text("TARVEN=C⏎[G]⏎"),
     {"A", "B", "C"}},
};

using VersionListTable = ravlet::test::Table<ListCase>;

TEST_P(VersionListTable, ListsNames) {
    EXPECT_EQ(ListVersions(GetParam().base), GetParam().expected);
}

RAVLET_TABLE(VersionList, VersionListTable, kListCases);

struct DetectCase {
    const char* name;
    std::string ini;
    std::string base;
    Names versions;
    int index;
    bool recognised;
};

void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.name; }

const std::string kTwoSupports = Text("x⏎TARVEN=1⏎SUPPORT=y⏎[G]⏎TARVEN=2⏎SUPPORT=w,x⏎[G]⏎");
const std::string kThreeSupports =
    Text("x⏎TARVEN=1⏎SUPPORT=a⏎TARVEN=2⏎SUPPORT=b⏎TARVEN=3⏎SUPPORT=c⏎");

const DetectCase kDetectCases[] = {
    {"MatchInSecondSupportList", Text(";ini⏎TARVEN=x⏎"), kTwoSupports, {"1", "2"}, 1, true},
    {"CaseMatters", Text(";ini⏎TARVEN=abc⏎"), Text("x⏎TARVEN=1⏎SUPPORT=ABC⏎"), {"1"}, 0, false},
    {"SubstringOfSupportValueMatches",
     Text(";ini⏎TARVEN=0.3⏎"),
     Text("x⏎TARVEN=1⏎SUPPORT=0.2⏎TARVEN=2⏎SUPPORT=0.31⏎"),
     {"1", "2"},
     1,
     true},
    {"NoTarvenKeyNotRecognised",
     Text(";ini⏎[A]⏎K=1⏎"),
     Text("x⏎TARVEN=1⏎SUPPORT=⏎TARVEN=2⏎SUPPORT=1.0⏎"),
     {"1", "2"},
     1,
     false},
    {"NoMatchFallsBackToLastVersion",
     Text(";ini⏎TARVEN=z⏎"),
     kThreeSupports,
     {"1", "2", "3"},
     2,
     false},
    {"EmptyVersionList", Text(";ini⏎TARVEN=z⏎"), kThreeSupports, {}, -1, false},
    {"FirstMatchWins",
     Text(";ini⏎TARVEN=b⏎"),
     Text("x⏎TARVEN=1⏎SUPPORT=ab⏎TARVEN=2⏎SUPPORT=b⏎"),
     {"1", "2"},
     0,
     true},
    {"RecordWithoutSupportBorrowsNext",
     Text(";ini⏎TARVEN=b⏎"),
     Text("x⏎TARVEN=1⏎[G]⏎TARVEN=2⏎SUPPORT=b⏎"),
     {"1", "2"},
     0,
     true},
    {"TarvenKeyInsideGroupCounts",
     Text(";ini⏎[Main]⏎TARVEN=x⏎"),
     kTwoSupports,
     {"1", "2"},
     1,
     true},
    {"TarvenValueTrimmedAndCommentCut",
     Text(";ini⏎TARVEN= x ;version⏎"),
     kTwoSupports,
     {"1", "2"},
     1,
     true},
    {"ShortNameUsesLongerMarkerFirstInText",
     Text(";ini⏎TARVEN=a⏎"),
     Text("x⏎TARVEN=0.35⏎SUPPORT=a⏎TARVEN=0.3⏎SUPPORT=b⏎"),
     {"0.3"},
     0,
     true},
    {"TarvenAtIniTextStart", Text("TARVEN=x⏎"), kTwoSupports, {"1", "2"}, 1, true},
    {"BeyondOldSixteenBitLimit",
     Filler(120000) + Text("TARVEN=1.0⏎"),
     Text("x⏎TARVEN=1⏎SUPPORT=a⏎") + Filler(120000) + Text("TARVEN=2⏎SUPPORT=0.9,1.0⏎"),
     {"1", "2"},
     1,
     true},
};

using VersionDetectTable = ravlet::test::Table<DetectCase>;

TEST_P(VersionDetectTable, PicksVersion) {
    const DetectCase& c = GetParam();
    const ravlet::Detection d = DetectVersion(c.ini, c.base, c.versions);
    EXPECT_EQ(d.index, c.index);
    EXPECT_EQ(d.recognised, c.recognised);
}

RAVLET_TABLE(VersionList, VersionDetectTable, kDetectCases);

}  // namespace
