#include "cli/commands.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "operations/shared_messages.hpp"
#include "operations/transfer.hpp"
#include "support/text.hpp"

namespace {

using namespace ravlet::cli;
using ravlet::test::Text;

const std::string kBase = Text(
    ";base⏎[DESCRIPTIONS]⏎A:X=скорость⏎:Y=режим⏎⏎"
    "TARVEN=v1⏎SUPPORT=1.0,1.1⏎[A]⏎+X=1,@2⏎-Y=!1⏎[B]⏎+Z=a, b⏎"
    "TARVEN=v2⏎SUPPORT=2.0⏎[A]⏎+X=1,2,@3⏎[Б]⏎+Ж=да,@нет⏎");

// A command run on a settings text it may change: its status, what it printed and
// the text it left.
struct Outcome {
    int status;
    std::string out;
    std::string err;
    std::string text;
};

using Command = std::function<int(std::string& text, Streams io)>;

Outcome RunCommand(const Command& command, std::string text) {
    std::ostringstream out, err;
    const int status = command(text, {out, err});
    return {status, out.str(), err.str(), std::move(text)};
}

struct CommandCase {
    const char* name;
    std::string text;
    Command command;
    int status;
    std::string out;
    std::string err;
    std::optional<std::string> textAfter;  // nullopt: unchanged
};

const std::string kNotRecognisedLine = std::string(ravlet::kVersionNotRecognised) + "\n";

const CommandCase kCases[] = {
    {"VersionsInMarkerOrder",
     "",
     [](auto&, Streams io) { return VersionsCommand(kBase, io); },
     kDone,
     "v1\nv2\n",
     "",
     {}},
    {"DetectFindsSupportingVersion",
     Text(";ini⏎TARVEN=2.0⏎"),
     [](auto& t, Streams io) { return DetectCommand(kBase, t, io); },
     kDone,
     "v2\n",
     "",
     {}},
    {"DetectFindsFirstVersion",
     Text(";ini⏎TARVEN=1.1⏎"),
     [](auto& t, Streams io) { return DetectCommand(kBase, t, io); },
     kDone,
     "v1\n",
     "",
     {}},
    {"DetectUnrecognisedFallsBackToLast",
     Text(";ini⏎TARVEN=9.9⏎"),
     [](auto& t, Streams io) { return DetectCommand(kBase, t, io); },
     kNotFound,
     "v2\n",
     kNotRecognisedLine,
     {}},
    {"DetectWithoutVersionsNamesNone",
     Text(";ini⏎TARVEN=2.0⏎"),
     [](auto& t, Streams io) { return DetectCommand(Text(";empty⏎"), t, io); },
     kNotFound,
     "",
     kNotRecognisedLine,
     {}},
    {"GroupsStopAtNextRecord",
     "",
     [](auto&, Streams io) { return GroupsCommand(kBase, "v1", io); },
     kDone,
     "[A]\n[B]\n",
     "",
     {}},
    {"GroupsPrintCyrillicAsUtf8",
     "",
     [](auto&, Streams io) { return GroupsCommand(kBase, "v2", io); },
     kDone,
     "[A]\n[Б]\n",
     "",
     {}},
    {"GroupsRejectMarkerPrefix",
     "",
     [](auto&, Streams io) { return GroupsCommand(kBase, "v", io); },
     kNotFound,
     "",
     "Версия \"v\" не найдена в базе версий\n",
     {}},
    {"ParamsShortList",
     "",
     [](auto&, Streams io) { return ParamsCommand(kBase, "v1", "[A]", false, io); },
     kDone,
     "X\n",
     "",
     {}},
    {"ParamsFullList",
     "",
     [](auto&, Streams io) { return ParamsCommand(kBase, "v1", "[A]", true, io); },
     kDone,
     "X\nY\n",
     "",
     {}},
    {"ParamsRejectGroupOfAnotherVersion",
     "",
     [](auto&, Streams io) { return ParamsCommand(kBase, "v2", "[B]", false, io); },
     kNotFound,
     "",
     "Группа \"[B]\" не найдена в версии \"v2\"\n",
     {}},
    {"ValuesMarkCurrent",
     Text("[A]⏎X=2⏎"),
     [](auto& t, Streams io) { return ValuesCommand(kBase, t, "v1", "[A]", "X", io); },
     kDone,
     "  1\n* 2\n",
     "",
     {}},
    {"ValuesOfSwitch",
     Text("[A]⏎Y=0⏎"),
     [](auto& t, Streams io) { return ValuesCommand(kBase, t, "v1", "[A]", "Y", io); },
     kDone,
     "* OFF\n  ON\n",
     "",
     {}},
    {"ValuesKeepItemsUntrimmed",
     Text("[B]⏎Z=b⏎"),
     [](auto& t, Streams io) { return ValuesCommand(kBase, t, "v1", "[B]", "Z", io); },
     kDone,
     "* b\n",
     "",
     {}},
    {"ValuesCyrillic",
     Text("[Б]⏎Ж=нет⏎"),
     [](auto& t, Streams io) { return ValuesCommand(kBase, t, "v2", Text("[Б]"), Text("Ж"), io); },
     kDone,
     "  да\n* нет\n",
     "",
     {}},
    {"ValuesRejectKeyOfAnotherGroup",
     "",
     [](auto& t, Streams io) { return ValuesCommand(kBase, t, "v1", "[A]", "Z", io); },
     kNotFound,
     "",
     "Параметр \"Z\" не найден в группе \"[A]\" версии \"v1\"\n",
     {}},
    {"HintOfGroup",
     "",
     [](auto&, Streams io) { return HintCommand(kBase, "[A]", "X", io); },
     kDone,
     "скорость\n",
     "",
     {}},
    {"HintFallsBackToGeneral",
     "",
     [](auto&, Streams io) { return HintCommand(kBase, "[B]", "Y", io); },
     kDone,
     "режим\n",
     "",
     {}},
    {"HintNonePrintsEmptyLine",
     "",
     [](auto&, Streams io) { return HintCommand(kBase, "[B]", "Z", io); },
     kDone,
     "\n",
     "",
     {}},
    {"GetInGroup",
     Text("[A]⏎K=1⏎[B]⏎K= 2 ;c⏎"),
     [](auto& t, Streams io) { return GetCommand(t, "K", "[B]", "", io); },
     kDone,
     "2\n",
     "",
     {}},
    {"GetWithinVersion",
     "",
     [](auto&, Streams io) { return GetCommand(kBase, "X", "[A]", "v2", io); },
     kDone,
     "1,2,@3\n",
     "",
     {}},
    {"GetEmptyValuePrintsEmptyLine",
     Text("[A]⏎K=⏎"),
     [](auto& t, Streams io) { return GetCommand(t, "K", "", "", io); },
     kDone,
     "\n",
     "",
     {}},
    {"GetMissingKey",
     Text("[A]⏎K=1⏎"),
     [](auto& t, Streams io) { return GetCommand(t, "Q", "[A]", "", io); },
     kNotFound,
     "",
     "Параметр \"Q\" не найден в группе \"[A]\"\n",
     {}},
    {"SetOnlyInGivenGroup", Text("[A]⏎X=0⏎[B]⏎X=0   ;c⏎"),
     [](auto& t, Streams io) { return SetCommand(t, "[B]", "X", "ON", io); }, kDone, "", "",
     Text("[A]⏎X=0⏎[B]⏎X=1 ;c⏎")},
    {"SetCyrillicValue", Text("[Б]⏎Ж=да⏎"),
     [](auto& t, Streams io) { return SetCommand(t, Text("[Б]"), Text("Ж"), Text("нет"), io); },
     kDone, "", "", Text("[Б]⏎Ж=нет ⏎")},
    {"SetAbsentKeyChangesNothing",
     Text(";i⏎[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return SetCommand(t, "[B]", "X", "5", io); },
     kNotFound,
     "",
     "Параметр \"X\" не найден в группе \"[B]\", файл не изменён\n",
     {}},
    {"SetControlCharacterIsUsageError",
     Text("[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return SetCommand(t, "[A]", "X", "1\r\nY=2", io); },
     kUsage,
     "",
     "Символ «U+000D» нельзя записать в файл настроек: это управляющий символ\n",
     {}},
    {"DefaultsOfDetectedVersionIncludeFullList", Text(";i⏎TARVEN=1.1⏎[A]⏎X=1⏎Y=0⏎[B]⏎Z=q⏎"),
     [](auto& t, Streams io) { return DefaultsCommand(kBase, t, std::nullopt, io); }, kDone, "", "",
     Text(";i⏎TARVEN=1.1⏎[A]⏎X=2 ⏎Y=1 ⏎[B]⏎Z=a ⏎")},
    {"DefaultsOfGivenVersion", Text(";i⏎TARVEN=1.1⏎[A]⏎X=1⏎Y=0⏎"),
     [](auto& t, Streams io) { return DefaultsCommand(kBase, t, "v2", io); }, kDone, "", "",
     Text(";i⏎TARVEN=1.1⏎[A]⏎X=3 ⏎Y=0⏎")},
    {"DefaultsUnrecognisedChangesNothing",
     Text(";i⏎TARVEN=9⏎[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return DefaultsCommand(kBase, t, std::nullopt, io); },
     kNotFound,
     "",
     kNotRecognisedLine,
     {}},
    {"DefaultsUnknownVersion",
     Text(";i⏎TARVEN=1.1⏎[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return DefaultsCommand(kBase, t, "v3", io); },
     kNotFound,
     "",
     "Версия \"v3\" не найдена в базе версий\n",
     {}},
    // Real-world files: comments, LF line ends, absent groups and versions.
    {"ValuesReadLineStartKeyNotCommentedCopy",
     Text("[A]⏎;X=1⏎X=2⏎"),
     [](auto& t, Streams io) { return ValuesCommand(kBase, t, "v1", "[A]", "X", io); },
     kDone,
     "  1\n* 2\n",
     "",
     {}},
    {"SetIgnoresHeaderNamedInComment",
     Text("[B]⏎; see also [A]⏎X=0⏎[A]⏎Y=0⏎"),
     [](auto& t, Streams io) { return SetCommand(t, "[A]", "X", "1", io); },
     kNotFound,
     "",
     "Параметр \"X\" не найден в группе \"[A]\", файл не изменён\n",
     {}},
    {"SetAbsentGroupLeavesTopLevelKey",
     Text("X=0⏎[A]⏎Y=0⏎"),
     [](auto& t, Streams io) { return SetCommand(t, "[Z]", "X", "1", io); },
     kNotFound,
     "",
     "Параметр \"X\" не найден в группе \"[Z]\", файл не изменён\n",
     {}},
    {"SetSemicolonIsUsageError",
     Text("[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return SetCommand(t, "[A]", "X", "a;b", io); },
     kUsage,
     "",
     "Символ «;» нельзя записать в файл настроек: с него начинается комментарий\n",
     {}},
    {"SetInLfFile", "[A]\nX=1\n[B]\nX=1\n",
     [](auto& t, Streams io) { return SetCommand(t, "[B]", "X", "2", io); }, kDone, "", "",
     "[A]\nX=1\n[B]\nX=2 \n"},
    {"GetSettingsFileSkipsCommentedKey",
     Text("[A]⏎;K=1⏎+K=2⏎K=3⏎"),
     [](auto& t, Streams io) { return GetCommand(t, "K", "[A]", "", io); },
     kDone,
     "3\n",
     "",
     {}},
    {"DetectLfFile",
     ";ini\nTARVEN=2.0\n",
     [](auto& t, Streams io) { return DetectCommand(kBase, t, io); },
     kDone,
     "v2\n",
     "",
     {}},
    {"DetectWithoutTarvenNotRecognised",
     Text(";ini⏎;TARVEN=1.0⏎[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return DetectCommand(kBase, t, io); },
     kNotFound,
     "v2\n",
     kNotRecognisedLine,
     {}},
    {"DefaultsWithEmptyTarvenChangesNothing",
     Text(";i⏎TARVEN=⏎[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return DefaultsCommand(kBase, t, std::nullopt, io); },
     kNotFound,
     "",
     kNotRecognisedLine,
     {}},
    {"TransferCarriesAndReports", Text(";new⏎[A]⏎X=1⏎Y=1⏎"),
     [](auto& t, Streams io) { return TransferCommand(kBase, Text(";old⏎[A]⏎X=5⏎Y=OFF⏎"), t, io); },
     kDone, "Список перенесенных параметров:\n[A]X=5\nY=0\n", "", Text(";new⏎[A]⏎X=5 ⏎Y=0 ⏎")},
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class CommandTable : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandTable, PrintsItemsAndLeavesText) {
    const CommandCase& c = GetParam();
    const Outcome got = RunCommand(c.command, c.text);
    EXPECT_EQ(got.status, c.status);
    EXPECT_EQ(got.out, c.out);
    EXPECT_EQ(got.err, c.err);
    EXPECT_EQ(got.text, c.textAfter.value_or(c.text));
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandTable, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliTransfer, StoppedWalkLeavesTextAndPrintsCause) {
    const std::string base = Text(";b⏎[DESCRIPTIONS]⏎A:X=h⏎[B]⏎+K=1⏎");
    const std::string old = Text("[A]⏎X=5⏎");
    const std::string ini = Text("[A]⏎X=1⏎");
    std::string scratch = ini;
    const auto failure = ravlet::TransferValues(base, old, scratch).failure;
    ASSERT_TRUE(failure.has_value());

    const Outcome got =
        RunCommand([&](auto& t, Streams io) { return TransferCommand(base, old, t, io); }, ini);
    EXPECT_EQ(got.status, kNotFound);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, ravlet::TransferStopMessage(*failure) + "\n");
    EXPECT_EQ(got.text, ini);
}

}  // namespace
