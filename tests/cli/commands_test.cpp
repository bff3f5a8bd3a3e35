// The commands as the command line words them: one row per status and message, and
// the arguments they pass on. What they look up, list and write is decided, and
// tested, in the layers below.
#include "cli/commands.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "operations/shared_messages.hpp"
#include "operations/transfer.hpp"
#include "support/table.hpp"
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

// Control characters in a base's headers and values (a value ends at one below 32, not at
// DEL): the terminal is shown them escaped.
const std::string kEscapeBase =
    Text(";b⏎[DESCRIPTIONS]⏎A:K=k⏎⏎TARVEN=v⏎SUPPORT=1⏎[A]⏎+K=a\x7F,b⏎[B\x1B[2J]⏎+L=!1⏎");

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
    {"SetSemicolonIsUsageError",
     Text("[A]⏎X=1⏎"),
     [](auto& t, Streams io) { return SetCommand(t, "[A]", "X", "a;b", io); },
     kUsage,
     "",
     "Символ «;» нельзя записать в файл настроек: с него начинается комментарий\n",
     {}},
    {"GetSettingsFileSkipsCommentedKey",
     Text("[A]⏎;K=1⏎+K=2⏎K=3⏎"),
     [](auto& t, Streams io) { return GetCommand(t, "K", "[A]", "", io); },
     kDone,
     "3\n",
     "",
     {}},
    {"GroupsEscapeControlCharacters",
     "",
     [](auto&, Streams io) { return GroupsCommand(kEscapeBase, "v", io); },
     kDone,
     "[A]\n[B\\x1B[2J]\n",
     "",
     {}},
    {"ValuesEscapeControlCharacters",
     "",
     [](auto&, Streams io) {
         return ValuesCommand(kEscapeBase, Text("[A]⏎K=b⏎"), "v", "[A]", "K", io);
     },
     kDone,
     "  a\\x7F\n* b\n",
     "",
     {}},
    {"CheckBaseEscapesControlCharacters",
     "",
     [](auto&, Streams io) { return CheckBaseCommand("b\x1B.txt", kEscapeBase, io); },
     kNotFound,
     "b\\x1B.txt:10: у параметра «L» группы [B\\x1B[2J] нет подсказки: в [DESCRIPTIONS] нет ни "
     "строки «B\\x1B[2J:L=», ни «:L=»; окно показывает пустую подсказку\n",
     "",
     {}},
    {"TransferCarriesAndReports", Text(";new⏎[A]⏎X=1⏎Y=1⏎"),
     [](auto& t, Streams io) { return TransferCommand(kBase, Text(";old⏎[A]⏎X=5⏎Y=OFF⏎"), t, io); },
     kDone, "Список перенесенных параметров:\n[A]X=5\nY=0\n", "", Text(";new⏎[A]⏎X=5 ⏎Y=0 ⏎")},
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

using CommandTable = ravlet::test::Table<CommandCase>;

TEST_P(CommandTable, PrintsItemsAndLeavesText) {
    const CommandCase& c = GetParam();
    const Outcome got = RunCommand(c.command, c.text);
    EXPECT_EQ(got.status, c.status);
    EXPECT_EQ(got.out, c.out);
    EXPECT_EQ(got.err, c.err);
    EXPECT_EQ(got.text, c.textAfter.value_or(c.text));
}

RAVLET_TABLE(Commands, CommandTable, kCases);

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
