// The version base checks: a clean small base, and each rule broken once in a copy of
// it, reported at its line and nothing else.
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

struct BaseCase {
    const char* name;
    std::string base;
    std::size_t line;  // 0: no finding
    const char* says;  // a part of the message
};

void PrintTo(const BaseCase& c, std::ostream* os) { *os << c.name; }

const BaseCase kCases[] = {
    {"Clean", kClean, 0, ""},
    {"CleanLf", ToLf(kClean), 0, ""},
    {"HintMatchedInAnyLetterCase", With({{"A:X=x", "a:x=x"}}), 0, ""},
    {"KeyAtFileStart", With({{";b", "SUPPORT=9"}}), 1, "начинается со строки ключа SUPPORT"},
    {"NoDescriptions", Text("x⏎TARVEN=1⏎SUPPORT=1⏎[A]⏎"), 1, "нет раздела [DESCRIPTIONS]"},
    {"DescriptionsAfterMarker", Text("x⏎TARVEN=1⏎SUPPORT=1⏎[A]⏎+X=1⏎[DESCRIPTIONS]⏎A:X=h⏎"), 6,
     "после метки версии «1»"},
    {"DescriptionWithoutColon", With({{":Z=z⏎", ":Z=z⏎W=w⏎"}}), 6, "нет «:» перед «=»"},
    {"DescriptionWithoutEquals", With({{":Z=z⏎", ":Z=z⏎A:W⏎"}}), 6, "нет «=»"},
    {"BlankBesideColon", With({{":Z=z⏎", ":Z=z⏎A :W=w⏎"}}), 6, "пробел рядом с «:»"},
    {"SemicolonInHint", With({{"A:X=x", "A:X=x;y"}}), 3, "содержит «;»"},
    {"DescriptionAfterEmptyLine", With({{":Z=z⏎⏎", ":Z=z⏎⏎A:W=w⏎"}}), 7, "после строки 6"},
    {"GeneralTarvenLine", With({{":Z=z⏎", ":Z=z⏎:TARVEN=подсказка⏎"}}), 6,
     "появляется «подсказка»"},
    {"MarkerInOtherCase", With({{"TARVEN=2", "tarven=2"}}), 14, "записана не как"},
    {"MarkerAfterOneCharacter", With({{"TARVEN=2", " TARVEN=2"}}), 14, "не в начале строки"},
    {"EmptyNameHidesTheRest", With({{"TARVEN=2", "TARVEN=⏎TARVEN=2"}}), 14, "не видно версий «2»"},
    {"RepeatedMarker", With({{"TARVEN=2", "TARVEN=1"}}), 14, "(первая — строка 7)"},
    {"NameBeginsWithEarlierName", With({{"TARVEN=2", "TARVEN=12"}}), 14,
     "начинается с имени версии «1»"},
    {"ShorterNameAfterLonger", With({{"TARVEN=1", "TARVEN=21"}}), 14,
     "находит раньше «TARVEN=21» (строка 7)"},
    {"RecordBeginsWithNewGroup", With({{"SUPPORT=2.0⏎", "SUPPORT=2.0⏎[C]⏎"}}), 16,
     "группы [C] окно показывает"},
    {"RecordBorrowsSupport", With({{"SUPPORT=1.0⏎", ""}}), 7,
     "берёт список версии «2» (строка 14)"},
    {"NoSupportAtAll", With({{"SUPPORT=2.0⏎", ""}}), 14, "не распознаются"},
    {"SupportOfEarlierRecord", With({{"SUPPORT=2.0", "SUPPORT=2.0, 1.0"}}), 15, "сборка «1.0»"},
    {"HeaderWithoutBracket", With({{"[B]", "[B"}}), 12, "нет «]»"},
    {"SignLineBeforeFirstHeader", With({{";b", ";b⏎+Q=1"}}), 2, "до первого заголовка"},
    {"ParameterWithoutEquals", With({{"+Z=a", "+Z=a⏎+W"}}), 14, "в строке параметра нет «=»"},
    {"BlanksAroundKeyName", With({{"+Z=a", "+Z =a"}, {":Z=z", ":Z =z"}}), 13,
     "вокруг имени параметра «Z »"},
    {"KeyTwiceInGroup", With({{"+Z=a", "+Z=a⏎-z=b"}}), 14, "уже есть в этой группе (строка 13)"},
    {"SwitchDefaultNotZeroOrOne", With({{"-Y=!0", "-Y=!2"}}), 11, "по умолчанию «2»"},
    {"TwoDefaultMarks", With({{"+X=1,@2", "+X=@1,@2"}}), 10, "больше одной «@»"},
    {"BlanksAroundComma", With({{"+X=1,@2", "+X=1 ,@2"}}), 10, "пробелы у запятых"},
    {"EmptyValueSpec", With({{"+Z=a", "+Z= ;нет"}}), 13, "пустое описание значения"},
    {"NoHint", With({{"A:Y=y⏎", ""}}), 10, "нет ни строки «A:Y=», ни «:Y=»"},
    {"MixedLineEnds", With({{"TARVEN=2⏎", "TARVEN=2\n"}}), 14, "кончается на LF"},
};

class BaseChecksTable : public testing::TestWithParam<BaseCase> {};

TEST_P(BaseChecksTable, ReportsTheOneFinding) {
    const BaseCase& c = GetParam();
    const auto findings = CheckBase(c.base);
    if (c.line == 0) {
        EXPECT_TRUE(findings.empty()) << findings.front().line << ": " << findings.front().message;
        return;
    }
    ASSERT_EQ(findings.size(), 1u) << findings.front().line << ": " << findings.front().message;
    EXPECT_EQ(findings.front().line, c.line) << findings.front().message;
    EXPECT_NE(findings.front().message.find(c.says), std::string::npos) << findings.front().message;
}

INSTANTIATE_TEST_SUITE_P(BaseChecks, BaseChecksTable, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BaseChecks, ExampleBaseHasNoFinding) {
    std::ifstream in(RAVLET_EXAMPLES_DIR "/rvbase.txt", std::ios::binary);
    const std::string base{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(base.empty());
    for (const auto& f : CheckBase(base)) ADD_FAILURE() << f.line << ": " << f.message;
}

}  // namespace
