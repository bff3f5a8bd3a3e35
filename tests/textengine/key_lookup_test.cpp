#include "textengine/key_lookup.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "support/table.hpp"
#include "support/text.hpp"
#include "textengine/key_search.hpp"

namespace {

using ravlet::FindKey;
using ravlet::FindVersionMarker;
using ravlet::GetParamVal;
using ravlet::test::Filler;
using ravlet::test::Text;

struct LookupCase {
    const char* name;
    std::string file;
    std::string version;
    std::string group;
    std::string key;
    std::string expected;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

// Two records; the [C] group exists only in the second one.
const std::string kTwoRecords =
    Text("x⏎TARVEN=1⏎[A]⏎+K=a1⏎[B]⏎+K=b1⏎TARVEN=2⏎[A]⏎+K=a2⏎[C]⏎+K=c2⏎");

const std::string kLongRecords = Text("x⏎TARVEN=1⏎[G]⏎+K=a⏎") + Filler(110000) +
                                 Text("TARVEN=2⏎[G]⏎") + Filler(110000) + Text("+K=b⏎[H]⏎+K=c⏎");

const LookupCase kLookupCases[] = {
    {"ValueTrimmedAndCommentCut", Text("x⏎KEY= value ;note⏎"), "", "", "KEY", "value"},
    {"KeyNameIgnoresCase", Text("x⏎key=1⏎"), "", "", "KEY", "1"},
    {"PlusSignSkipped", Text("x⏎+KEY=a,b⏎"), "", "", "KEY", "a,b"},
    {"MinusSignSkipped", Text("x⏎-KEY=a,b⏎"), "", "", "KEY", "a,b"},
    {"SemicolonSkipped", Text("x⏎;KEY=1⏎"), "", "", "KEY", "1"},
    {"TwoSignsRejected", Text("x⏎++KEY=1⏎"), "", "", "KEY", ""},
    {"OneExtraLetterAccepted", Text("x⏎XKEY=1⏎"), "", "", "KEY", "1"},
    {"TwoExtraLettersRejected", Text("x⏎XYKEY=1⏎"), "", "", "KEY", ""},
    {"MidLineRejected", Text("x⏎foo KEY=1⏎"), "", "", "KEY", ""},
    {"RejectedCandidateThenNextLine", Text("x⏎XYKEY=1⏎KEY=2⏎"), "", "", "KEY", "2"},
    {"EmptyValueAtTextEnd", Text("x⏎KEY="), "", "", "KEY", ""},
    {"EmptyValueBeforeLineEnd", Text("x⏎KEY=⏎y=1⏎"), "", "", "KEY", ""},
    {"ValueMayHoldEquals", Text("x⏎KEY=a=b⏎"), "", "", "KEY", "a=b"},
    {"ValueRunsToTextEnd", Text("x⏎KEY=abc"), "", "", "KEY", "abc"},
    {"ValueStopsAtTab", Text("x⏎KEY=a\tb⏎"), "", "", "KEY", "a"},
    {"OnlyOuterSpacesTrimmed", Text("x⏎KEY=  a b  ⏎"), "", "", "KEY", "a b"},
    {"EqualsMustFollowKey", Text("x⏎KEY =1⏎KEY=2⏎"), "", "", "KEY", "2"},
    {"LfOnlyLineStartFound", "ab\nKEY=1\n", "", "", "KEY", "1"},
    {"LfOnlyLineAfterEmptyLine", "ab\n\nKEY=1\n", "", "", "KEY", "1"},
    {"HeaderAfterLoneCr", "x\r[A]\nKEY=1\n", "", "[A]", "KEY", "1"},
    {"KeyAtTextStartFound", Text("KEY=1⏎;a second line, longer⏎"), "", "", "KEY", "1"},
    {"KeyAfterOneCharacterAtTextStartFound", Text("+KEY=1⏎;a second line, longer⏎"), "", "", "KEY",
     "1"},
    {"TwoCharactersAtTextStartRejected", Text("++KEY=1⏎;a second line, longer⏎"), "", "", "KEY",
     ""},
    {"KeyAtTextStartWithAbsentGroupNotFound", Text("KEY=1⏎[A]⏎;a longer line⏎"), "", "[Z]", "KEY",
     ""},
    {"GroupRestrictsToItsLines", Text("x⏎[A]⏎Y=1⏎[B]⏎KEY=2⏎"), "", "[A]", "KEY", ""},
    {"LastGroupRunsToTextEnd", Text("x⏎[A]⏎Y=1⏎[B]⏎⏎;c⏎KEY=2"), "", "[B]", "KEY", "2"},
    {"GroupFoundIgnoringCase", Text("x⏎[A]⏎KEY=1⏎"), "", "[a]", "KEY", "1"},
    {"GroupEndsOnlyAtLineStartingWithBracket", Text("x⏎[A]⏎Y=1⏎ [B]⏎KEY=2⏎"), "", "[A]", "KEY",
     "2"},
    {"GroupEndsAtLfBracket", "x\n[A]\nY=1\n[B]\n+KEY=2\n", "", "[A]", "KEY", ""},
    {"AbsentGroupFindsNothing", Text("x⏎KEY=0⏎[A]⏎KEY=1⏎"), "", "[Z]", "KEY", ""},
    {"AbsentGroupMissesKeysInGroups", Text("x⏎[A]⏎KEY=1⏎"), "", "[Z]", "KEY", ""},
    {"VersionAndGroup", kTwoRecords, "1", "[B]", "K", "b1"},
    {"SecondVersionAndGroup", kTwoRecords, "2", "[A]", "K", "a2"},
    {"GroupTakenFromLaterRecord", kTwoRecords, "1", "[C]", "K", "c2"},
    {"GroupMissingAfterMarkerSearchesTextStart", kTwoRecords, "2", "[B]", "K", ""},
    {"VersionWithoutGroupTakesNextKey", kTwoRecords, "2", "", "K", "a2"},
    {"FirstVersionWithoutGroup", kTwoRecords, "1", "", "K", "a1"},
    {"LowerCaseMarkerNotFound", Text("x⏎KEY=0⏎tarven=v⏎KEY=1⏎TARVEN=V⏎KEY=2⏎"), "v", "", "KEY",
     "0"},
    {"MarkerMatchedExactly", Text("x⏎KEY=0⏎tarven=v⏎KEY=1⏎TARVEN=V⏎KEY=2⏎"), "V", "", "KEY", "2"},
    {"ShortVersionMatchesLongerMarker", Text("x⏎TARVEN=0.35⏎K=a⏎TARVEN=0.3⏎K=b⏎"), "0.3", "", "K",
     "a"},
    {"MarkerMatchedInsideLine", Text("x⏎;see TARVEN=2 below⏎K=a⏎TARVEN=2⏎K=b⏎"), "2", "", "K", "a"},
    {"AbsentVersionSearchesWholeText", Text("x⏎K=a⏎TARVEN=1⏎K=b⏎"), "9", "", "K", "a"},
    {"DescriptionKeyWithColon", Text("x⏎[DESCRIPTIONS]⏎AB:KEY=hint one⏎"), "", "[DESCRIPTIONS]",
     "AB:KEY", "hint one"},
    {"CyrillicKeyIgnoresCase", Text("x⏎КЛЮЧ=1⏎"), "", "", Text("ключ"), "1"},
    {"CyrillicValueKeptWhole", Text("x⏎KEY=Привет мир ;с⏎"), "", "", "KEY", Text("Привет мир")},
    {"CyrillicLettersBeforeKeyRejected", Text("x⏎ЖЖKEY=1⏎"), "", "", "KEY", ""},
    {"CyrillicGroupIgnoresCase", Text("x⏎[ЭКРАН]⏎KEY=1⏎"), "", Text("[экран]"), "KEY", "1"},
    {"CapitalYoMatchesSmallYo", Text("x⏎ёлка=1⏎"), "", "", Text("ЁЛКА"), "1"},
    {"YoIsNotYe", Text("x⏎елка=1⏎"), "", "", Text("ЁЛКА"), ""},
    // Positions past 65,535 and texts far longer than the old 32,767-character limit.
    {"KeyBeyondOldSixteenBitLimit", Text("x⏎") + Filler(120000) + Text("KEY=end ;c⏎"), "", "",
     "KEY", "end"},
    {"KeyAtStartOfLongText", Text("KEY=1⏎") + Filler(120000), "", "", "KEY", "1"},
    {"VersionAndGroupFarIntoLongText", kLongRecords, "2", "[G]", "K", "b"},
    {"LastGroupFarIntoLongText", kLongRecords, "2", "[H]", "K", "c"},
    {"FirstRecordOfLongText", kLongRecords, "1", "[G]", "K", "a"},
};

TEST(KeySearch, VersionMarkerIsExactAndMayBePrefix) {
    const std::string base = Text("x⏎tarven=2⏎TARVEN=10⏎TARVEN=1⏎TARVEN=2⏎");
    EXPECT_EQ(FindVersionMarker(base, "2"), 35u);
    EXPECT_EQ(FindVersionMarker(base, "1"), 14u);  // the start of "TARVEN=10"
    EXPECT_EQ(FindVersionMarker(base, "3"), 0u);
    EXPECT_EQ(FindVersionMarker(base, ""), 14u);
}

using KeyLookupTable = ravlet::test::Table<LookupCase>;

TEST_P(KeyLookupTable, ReturnsValue) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(GetParamVal(c.file, c.version, c.group, c.key), c.expected);
}

RAVLET_TABLE(KeyLookup, KeyLookupTable, kLookupCases);

TEST(KeyLookup, TextStartIsLineStartAlsoInsideLargerBuffer) {
    // Nothing before the first character of the text may be looked at.
    const std::string buffer = Text("ZZ+KEY=1⏎ZZKEY=2⏎");
    const std::string_view text = std::string_view(buffer).substr(2);
    EXPECT_EQ(GetParamVal(text, "", "", "KEY"), "1");
    EXPECT_EQ(GetParamVal(std::string_view(buffer).substr(3), "", "", "KEY"), "1");
    EXPECT_EQ(GetParamVal(std::string_view(buffer).substr(1), "", "", "KEY"), "");
}

// Where FindKey places the key and its value: 1-based positions, the value ending at
// the ';', the line end or one past the text; {0, 0, 0} for no key.
struct ExtentCase {
    const char* name;
    std::string file;
    std::string group;
    std::size_t keyPos, valueStart, valueEnd;
};

const ExtentCase kExtentCases[] = {
    {"ValueEndsAtSemicolon", Text("x⏎KEY= v ;c"), "", 4, 8, 11},
    {"LeadingSignSkipped", Text("x⏎+KEY=1⏎"), "", 5, 9, 10},
    {"ValueEndOnePastTextEnd", "KEY=5", "", 1, 5, 6},
    {"NothingForTwoLettersBefore", Text("x⏎XYKEY=1⏎"), "", 0, 0, 0},
    {"NothingOutsideTheGroup", Text("x⏎[A]⏎Y=1⏎[B]⏎KEY=2⏎"), "[A]", 0, 0, 0},
};

using FindKeyTable = ravlet::test::Table<ExtentCase>;

TEST_P(FindKeyTable, GivesKeyAndValueExtent) {
    const ExtentCase& c = GetParam();
    const auto hit = FindKey(c.file, "", c.group, "KEY");
    const std::vector<std::size_t> extent =
        hit ? std::vector<std::size_t>{hit->keyPos, hit->valueStart, hit->valueEnd}
            : std::vector<std::size_t>{0, 0, 0};
    EXPECT_EQ(extent, (std::vector<std::size_t>{c.keyPos, c.valueStart, c.valueEnd}));
}

RAVLET_TABLE(KeyLookup, FindKeyTable, kExtentCases);

// In a settings text a key counts only where it starts its line, as the replacement
// writes it: a commented-out or signed copy above the real line is not its value.
const LookupCase kSettingsCases[] = {
    {"CommentedCopyAboveSkipped", Text("[V]⏎;Scale=2⏎Scale=3⏎"), "", "[V]", "Scale", "3"},
    {"SignedLineSkipped", Text("x⏎+KEY=1⏎"), "", "", "KEY", ""},
    {"LineStartFound", Text("x⏎KEY=1⏎"), "", "", "KEY", "1"},
    {"LfLineStartFound", "x\nKEY=1\n", "", "", "KEY", "1"},
    {"TextStartFound", Text("KEY=1⏎"), "", "", "KEY", "1"},
    {"SecondCharacterOfTextRejected", Text(";KEY=1⏎"), "", "", "KEY", ""},
    {"OnlyCommentedCopyGivesNothing", Text("[V]⏎;Scale=2⏎"), "", "[V]", "Scale", ""},
    {"HeaderInCommentNotTheGroup", Text("[V]⏎; see [I]⏎K=1⏎[I]⏎K=2⏎"), "", "[I]", "K", "2"},
    {"LfGroupEnds", "[A]\nX=1\n[B]\nK=2\n", "", "[A]", "K", ""},
};

using SettingsLookupTable = ravlet::test::Table<LookupCase>;

TEST_P(SettingsLookupTable, ReturnsValue) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(GetParamVal(c.file, c.version, c.group, c.key, ravlet::KeyRule::Settings),
              c.expected);
}

RAVLET_TABLE(KeyLookup, SettingsLookupTable, kSettingsCases);

struct TrimCase {
    const char* name;
    std::string input;
    std::string expected;
};

void PrintTo(const TrimCase& c, std::ostream* os) { *os << c.name; }

const TrimCase kTrimCases[] = {
    {"BothEnds", "  a b  ", "a b"},  {"NothingToTrim", "ab", "ab"},
    {"OnlySpaces", "   ", ""},       {"Empty", "", ""},
    {"TabsKept", "\ta\t ", "\ta\t"},
};

using TrimSpacesTable = ravlet::test::Table<TrimCase>;

TEST_P(TrimSpacesTable, RemovesOnlySpacesAtEnds) {
    EXPECT_EQ(std::string(ravlet::TrimSpaces(GetParam().input)), GetParam().expected);
}

RAVLET_TABLE(KeyLookup, TrimSpacesTable, kTrimCases);

}  // namespace
