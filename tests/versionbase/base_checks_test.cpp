// The version base checks: a clean small base, and each rule broken in a copy of it,
// reported at its line with its kind, and nothing else.
#include "versionbase/base_checks.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "support/text.hpp"

namespace {

using ravlet::CheckBase;
using ravlet::test::Text;
using ravlet::test::ToLf;

// Lines: 1 ;b  2 [DESCRIPTIONS]  3 A:X  4 A:Y  5 :Z  6 (empty)  7 TARVEN=1  8 SUPPORT  9 [A]
// 10 +X  11 -Y  12 [B]  13 +Z  14 TARVEN=2  15 SUPPORT  16 [A]  17 +X
const std::string kClean = Text(
    ";b⏎[DESCRIPTIONS]⏎A:X=x⏎A:Y=y⏎:Z=z⏎⏎TARVEN=1⏎SUPPORT=1.0⏎[A]⏎+X=1,@2⏎-Y=!0⏎[B]⏎+Z=a⏎"
    "TARVEN=2⏎SUPPORT=2.0⏎[A]⏎+X=!1⏎");

// kClean with each `from` replaced by `to` (first occurrence; "⏎" is CR LF in both).
std::string With(std::vector<std::pair<std::string, std::string>> edits) {
    std::string base = kClean;
    for (const auto& [from, to] : edits) {
        const std::string f = Text(from);
        base.replace(base.find(f), f.size(), Text(to));
    }
    return base;
}

using Kind = ravlet::BaseFinding::Kind;

// A finding as the table expects it: its line, its kind and a part of its wording (the
// names and lines it quotes).
struct Expected {
    std::size_t line;
    Kind kind;
    const char* says;
};

struct BaseCase {
    const char* name;
    std::string base;
    std::vector<Expected> findings;
};

void PrintTo(const BaseCase& c, std::ostream* os) { *os << c.name; }

const BaseCase kCases[] = {
    {"Clean", kClean, {}},
    {"CleanLf", ToLf(kClean), {}},
    {"HintMatchedInAnyLetterCase", With({{"A:X=x", "a:x=x"}}), {}},
    {"KeyAtFileStart",
     With({{";b", "SUPPORT=9"}}),
     {{1, Kind::KeyAtStart, "начинается со строки ключа SUPPORT"}}},
    {"KeyAtSecondPosition",
     With({{";b", "+SUPPORT=9"}}),
     {{1, Kind::KeyAtStart, "строки ключа SUPPORT"}, {1, Kind::SignLineBeforeHeader, ""}}},
    {"NoDescriptions",
     Text("x⏎TARVEN=1⏎SUPPORT=1⏎[A]⏎"),
     {{1, Kind::NoDescriptions, "нет раздела [DESCRIPTIONS]"}}},
    {"DescriptionsAfterMarker",
     Text("x⏎TARVEN=1⏎SUPPORT=1⏎[A]⏎+X=1⏎[DESCRIPTIONS]⏎A:X=h⏎"),
     {{6, Kind::DescriptionsAfterMarker, "после метки версии «1»"}}},
    {"DescriptionWithoutColon",
     With({{":Z=z⏎", ":Z=z⏎W=w⏎"}}),
     {{6, Kind::DescriptionWithoutColon, "нет «:» перед «=»"}}},
    {"DescriptionWithoutEquals",
     With({{":Z=z⏎", ":Z=z⏎A:W⏎"}}),
     {{6, Kind::DescriptionWithoutEquals, "нет «=»"}}},
    {"BlankBesideColon",
     With({{":Z=z⏎", ":Z=z⏎A :W=w⏎"}}),
     {{6, Kind::BlankBesideColon, "пробел рядом с «:»"}}},
    {"SemicolonInHint", With({{"A:X=x", "A:X=x;y"}}), {{3, Kind::SemicolonInHint, "«;»"}}},
    {"DescriptionAfterEmptyLine",
     With({{":Z=z⏎⏎", ":Z=z⏎⏎A:W=w⏎"}}),
     {{7, Kind::DescriptionAfterEnd, "после строки 6"}}},
    // Each finding an author would meet after mending the one before: the walk goes on
    // past the line that stops the transfer, to the other faults and the end.
    {"EveryFindingBehindAStop",
     With({{":Z=z⏎⏎", "W=w⏎:Z=z;z⏎V=v⏎⏎A:W=w⏎"}}),
     {{5, Kind::DescriptionWithoutColon, ""},
      {6, Kind::SemicolonInHint, ""},
      {7, Kind::DescriptionWithoutColon, ""},
      {9, Kind::DescriptionAfterEnd, "после строки 8"}}},
    {"GeneralTarvenLine",
     With({{":Z=z⏎", ":Z=z⏎:TARVEN=подсказка⏎"}}),
     {{6, Kind::GeneralTarvenLine, "появляется «подсказка»"}}},
    {"MarkerInOtherCase",
     With({{"TARVEN=2", "tarven=2"}}),
     {{14, Kind::MarkerNotExact, "«tarven=2» записана не как"}}},
    {"MarkerAfterOneCharacter",
     With({{"TARVEN=2", " TARVEN=2"}}),
     {{14, Kind::MarkerNotAtLineStart, "не в начале строки"}}},
    {"EmptyNameHidesTheRest",
     With({{"TARVEN=2", "TARVEN=⏎TARVEN=2"}}),
     {{14, Kind::EmptyVersionName, "не видно версий «2»"}}},
    {"RepeatedMarker",
     With({{"TARVEN=2", "TARVEN=1"}}),
     {{14, Kind::RepeatedMarker, "(первая — строка 7)"}}},
    {"NameBeginsWithEarlierName",
     With({{"TARVEN=2", "TARVEN=12"}}),
     {{14, Kind::NameBeginsWithEarlier, "«12» начинается с имени версии «1» (строка 7)"}}},
    {"ShorterNameAfterLonger",
     With({{"TARVEN=1", "TARVEN=21"}}),
     {{14, Kind::ShadowedMarker, "находит раньше «TARVEN=21» (строка 7)"}}},
    {"RecordBeginsWithNewGroup",
     With({{"SUPPORT=2.0⏎", "SUPPORT=2.0⏎[C]⏎"}}),
     {{16, Kind::RecordBeginsWithNewGroup, "нет в записи «1»: группы [C] окно показывает"}}},
    {"RecordBorrowsSupport",
     With({{"SUPPORT=1.0⏎", ""}}),
     {{7, Kind::BorrowedSupport, "берёт список версии «2» (строка 14)"}}},
    {"NoSupportAtAll",
     With({{"SUPPORT=2.0⏎", ""}}),
     {{14, Kind::NoSupport, "версии «2» нет строки SUPPORT"}}},
    {"SupportOfEarlierRecord",
     With({{"SUPPORT=2.0", "SUPPORT=2.0, 1.0"}}),
     {{15, Kind::SupportInEarlierList,
       "сборка «1.0» есть и в списке SUPPORT версии «1» (строка 8)"}}},
    {"HeaderWithoutBracket", With({{"[B]", "[B"}}), {{12, Kind::UnclosedHeader, "нет «]»"}}},
    {"SignLineBeforeFirstHeader",
     With({{";b", ";b⏎+Q=1"}}),
     {{2, Kind::SignLineBeforeHeader, "до первого заголовка"}}},
    {"ParameterWithoutEquals",
     With({{"+Z=a", "+Z=a⏎+W"}}),
     {{14, Kind::ParameterWithoutEquals, "в строке параметра нет «=»"}}},
    {"BlanksAroundKeyName",
     With({{"+Z=a", "+Z =a"}, {":Z=z", ":Z =z"}}),
     {{13, Kind::BlanksAroundKeyName, "вокруг имени параметра «Z »"}}},
    {"KeyTwiceInGroup",
     With({{"+Z=a", "+Z=a⏎-z=b"}}),
     {{14, Kind::RepeatedKey, "«z» уже есть в этой группе (строка 13)"}}},
    {"SwitchDefaultNotZeroOrOne",
     With({{"-Y=!0", "-Y=!2"}}),
     {{11, Kind::SwitchDefault, "«Y» значение по умолчанию «2»"}}},
    {"TwoDefaultMarks",
     With({{"+X=1,@2", "+X=@1,@2"}}),
     {{10, Kind::TwoDefaultMarks, "«X» больше одной «@»"}}},
    {"BlanksAroundComma",
     With({{"+X=1,@2", "+X=1 ,@2"}}),
     {{10, Kind::BlanksAroundComma, "«X» пробелы у запятых"}}},
    {"EmptyValueSpec", With({{"+Z=a", "+Z= ;нет"}}), {{13, Kind::EmptyValueSpec, "параметра «Z»"}}},
    {"NoHint",
     With({{"A:Y=y⏎", ""}}),
     {{10, Kind::MissingHint,
       "«Y» группы [A] нет подсказки: в [DESCRIPTIONS] нет ни строки «A:Y=», ни «:Y="}}},
    {"MixedLineEnds",
     With({{"TARVEN=2⏎", "TARVEN=2\n"}}),
     {{14, Kind::MixedLineEnds, "кончается на LF, а строки до неё — на CR LF"}}},
    {"MixedLineEndsOnTheLastLine",
     With({{"+X=!1⏎", "+X=!1\n"}}),
     {{17, Kind::MixedLineEnds, "кончается на LF"}}},
};

class BaseChecksTable : public testing::TestWithParam<BaseCase> {};

TEST_P(BaseChecksTable, ReportsEachFindingOfItsKind) {
    const BaseCase& c = GetParam();
    const auto findings = CheckBase(c.base);
    std::string got;
    for (const auto& f : findings)
        got += std::to_string(f.line) + ": " + ravlet::BaseFindingMessage(f) + "\n";
    ASSERT_EQ(findings.size(), c.findings.size()) << got;
    for (std::size_t i = 0; i < findings.size(); ++i) {
        EXPECT_EQ(findings[i].line, c.findings[i].line) << got;
        EXPECT_EQ(findings[i].kind, c.findings[i].kind) << got;
        EXPECT_NE(ravlet::BaseFindingMessage(findings[i]).find(c.findings[i].says),
                  std::string::npos)
            << got;
    }
}

INSTANTIATE_TEST_SUITE_P(BaseChecks, BaseChecksTable, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BaseChecks, ExampleBaseHasNoFinding) {
    std::ifstream in(RAVLET_EXAMPLES_DIR "/rvbase.txt", std::ios::binary);
    const std::string base{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(base.empty());
    for (const auto& f : CheckBase(base))
        ADD_FAILURE() << f.line << ": " << ravlet::BaseFindingMessage(f);
}

}  // namespace
