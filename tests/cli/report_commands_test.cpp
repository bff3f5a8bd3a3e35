// check, changed and diff as the command line words them: each kind of finding, the
// version given or detected, and the statuses. What they find is tested with
// CheckSettings, ChangedFromDefaults and DiffSettings in tests/operations.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "cli/commands.hpp"
#include "operations/shared_messages.hpp"
#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using namespace ravlet::cli;
using ravlet::test::Text;
using ravlet::test::ToLf;

// "2.1" stands first, so "2" (a prefix of it) is listed too; but a lookup by version
// matches a marker by its beginning, so "2" reads the record of "2.1".
const std::string kBase = Text(
    ";b⏎[DESCRIPTIONS]⏎Видео:Режим=режим⏎⏎"
    "TARVEN=2.1⏎SUPPORT=2.1.5⏎[Видео]⏎+Режим=!1⏎+Масштаб=1,@2,3⏎-Скрытый=a,@b⏎+Любой=⏎[B]⏎+K=x,y⏎"
    "TARVEN=2⏎SUPPORT=2.0.1⏎[Видео]⏎+Режим=!0⏎[B]⏎+K=x,@y⏎");

const std::string kClean =
    Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=1⏎Масштаб=2⏎Скрытый=b⏎Любой=⏎[B]⏎K=x⏎");

struct ReportCase {
    const char* name;
    std::string ini;
    std::optional<std::string> version;
    std::string out;
    int status;
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

template <typename Run>
void Expect(const ReportCase& c, Run run) {
    std::ostringstream out, err;
    const std::optional<std::string_view> version =
        c.version ? std::optional<std::string_view>(*c.version) : std::nullopt;
    EXPECT_EQ(run(c.ini, version, Streams{out, err}), c.status);
    EXPECT_EQ(out.str(), c.out);
    if (c.status == kNotFound && c.out.empty()) {
        EXPECT_EQ(err.str(), std::string(ravlet::kVersionNotRecognised) + "\n");
    }
}

const ReportCase kCheckCases[] = {
    {"CleanFilePrintsNothing", kClean, {}, "", kDone},
    {"SwitchAllowsOnlyZeroAndOne",
     Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=ON⏎Масштаб=2⏎Скрытый=b⏎Любой=⏎[B]⏎K=10⏎"), "2",
     "[Видео]Режим=ON: нет в списке допустимых (0, 1)\n[B]K=10: нет в списке допустимых (x, y)\n",
     kNotFound},
    {"MissingKeysAlsoOfFullList",
     Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=10⏎Любой=что угодно⏎"),
     {},
     "[Видео]Режим=10: нет в списке допустимых (0, 1)\n[Видео]Масштаб: нет в файле\n"
     "[Видео]Скрытый: нет в файле\n[B]K: нет в файле\n",
     kNotFound},
    {"UnknownGroupAndKeyInFileOrder",
     Text(";i⏎TARVEN=2.1.5⏎Чужой=1⏎[Звук]⏎Громкость=5⏎[Видео]⏎Режим=1⏎;Лишний=1⏎Лишний=1⏎Масштаб="
          "2⏎Скрытый=b⏎"
          "Любой=⏎[B]⏎K=x⏎[Звук]⏎"),
     {},
     "[Звук]: группа не знакома версии 2.1\n[Видео]Лишний: параметр не знаком версии 2.1\n"
     "[Звук]: группа не знакома версии 2.1\n",
     kNotFound},
    {"KeyWithControlCharactersEscaped",
     kClean + Text("\x1B]0;title\x07=1⏎"),
     {},
     "[B]\\x1B]0;title\\x07: параметр не знаком версии 2.1\n",
     kNotFound},
    {"NotRecognisedPrintsOnlyTheMessage", Text(";i⏎[Видео]⏎Режим=1⏎"), {}, "", kNotFound},
};

using CheckTable = ravlet::test::Table<ReportCase>;
TEST_P(CheckTable, PrintsFindings) {
    Expect(GetParam(), [](const std::string& ini, auto version, Streams io) {
        return CheckCommand(kBase, ini, version, io);
    });
}
RAVLET_TABLE(Check, CheckTable, kCheckCases);

const ReportCase kChangedCases[] = {
    {"DefaultsOnlyPrintNothing", kClean, {}, "", kDone},
    {"ChangedValuesInSetForm",
     Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=ON⏎Масштаб=3⏎Скрытый=b⏎[B]⏎K=y⏎"),
     {},
     "[Видео]Режим=ON\n[Видео]Масштаб=3\n[B]K=y\n",
     kDone},
    {"NotRecognised", Text(";i⏎TARVEN=9⏎"), {}, "", kNotFound},
};

using ChangedTable = ravlet::test::Table<ReportCase>;
TEST_P(ChangedTable, PrintsChangedValues) {
    Expect(GetParam(), [](const std::string& ini, auto version, Streams io) {
        return ChangedCommand(kBase, ini, version, io);
    });
}
RAVLET_TABLE(Changed, ChangedTable, kChangedCases);

// The older file of every diff row; the row's `ini` is the newer one, whose version counts.
const std::string kOld = Text(";old⏎TARVEN=2.1.5⏎[Видео]⏎Режим=0⏎Любой=⏎[B]⏎K=y⏎");

const ReportCase kDiffCases[] = {
    {"AbsentKeysCountAsAValue",
     kClean,
     {},
     "[Видео]Режим: 0 -> 1\n[Видео]Масштаб: (нет) -> 2\n"
     "[Видео]Скрытый: (нет) -> b\n[B]K: y -> x\n",
     kNotFound},
    {"SameValuesPrintNothing", ToLf(kOld), {}, "", kDone},
    {"EmptyAndAbsentDiffer", Text(";new⏎[Видео]⏎Режим=0⏎[B]⏎K=y⏎"), "2.1",
     "[Видео]Любой:  -> (нет)\n", kNotFound},
    {"NewerFileNotRecognised", Text(";new⏎[B]⏎K=x⏎"), {}, "", kNotFound},
};

using DiffTable = ravlet::test::Table<ReportCase>;
TEST_P(DiffTable, PrintsDifferences) {
    Expect(GetParam(), [](const std::string& ini, auto version, Streams io) {
        return DiffCommand(kBase, kOld, ini, version, io);
    });
}
RAVLET_TABLE(Diff, DiffTable, kDiffCases);

}  // namespace
