// CheckSettings, ChangedFromDefaults and DiffSettings over a small base with the cases
// that trip them: a switch holding ON or 10, a default spelled ON, an empty value spec,
// versions named as prefixes of each other, Cyrillic names in another letter case,
// groups and keys the version does not know, a key only in the full list, LF line ends.
#include "operations/settings_checks.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/table.hpp"
#include "support/text.hpp"

namespace ravlet::test {
namespace {

using Lines = std::vector<std::string>;

// "2.1" stands first; a lookup by version matches a marker by its beginning, so "2"
// reads the record of "2.1".
const std::string kBase = Text(
    ";b⏎[DESCRIPTIONS]⏎Видео:Режим=режим⏎⏎"
    "TARVEN=2.1⏎SUPPORT=2.1.5⏎[Видео]⏎+Режим=!1⏎+Масштаб=1,@2,3⏎-Скрытый=a,@b⏎+Любой=⏎+Свет=OFF,@"
    "ON⏎"
    "[B]⏎+K=x,y⏎"
    "TARVEN=2⏎SUPPORT=2.0.1⏎[Видео]⏎+Режим=!0⏎[B]⏎+K=x,@y⏎");

// Every parameter of 2.1 at its default, as the fill writes it (ON as 1).
const std::string kClean =
    Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=1⏎Масштаб=2⏎Скрытый=b⏎Любой=⏎Свет=1⏎[B]⏎K=x⏎");

// As kClean, with the value ON where the fill writes 1: a choice list allows its items
// as they are spelled.
const std::string kCheckClean =
    Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=1⏎Масштаб=2⏎Скрытый=b⏎Любой=⏎Свет=ON⏎[B]⏎K=x⏎");

// One line per finding, every field of it.
Lines Shown(const std::vector<CheckFinding>& findings) {
    Lines lines;
    for (const CheckFinding& f : findings) {
        std::string line;
        switch (f.kind) {
            case CheckFinding::Kind::MissingKey:
                line = "missing ";
                break;
            case CheckFinding::Kind::NotAllowed:
                line = "not allowed ";
                break;
            case CheckFinding::Kind::UnknownGroup:
                line = "unknown group ";
                break;
            case CheckFinding::Kind::UnknownKey:
                line = "unknown key ";
                break;
        }
        line += f.group + f.key + "=" + f.value + " (";
        for (const std::string& item : f.allowed) line += item + ",";
        lines.push_back(line + ")");
    }
    return lines;
}

struct CheckCase {
    const char* name;
    std::string version;
    std::string ini;
    Lines findings;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

const CheckCase kCheckCases[] = {
    {"CleanFileHasNone", "2.1", kCheckClean, {}},
    {"LfFileAlike", "2.1", ToLf(kCheckClean), {}},
    {"OtherLetterCaseMatches",
     "2.1",
     Text(";i⏎TARVEN=2.1.5⏎[видео]⏎РЕЖИМ=1⏎масштаб=2⏎скрытый=b⏎любой=⏎свет=ON⏎[b]⏎k=x⏎"),
     {}},
    {"SwitchAllowsOnlyZeroAndOne",
     "2",
     Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=ON⏎Масштаб=2⏎Скрытый=b⏎Любой=⏎Свет=ON⏎[B]⏎K=10⏎"),
     {Text("not allowed [Видео]Режим=ON (0,1,)"), Text("not allowed [B]K=10 (x,y,)")}},
    {"MissingKeysAlsoOfFullList",
     "2.1",
     Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=10⏎Любой=что угодно⏎"),
     {Text("not allowed [Видео]Режим=10 (0,1,)"), Text("missing [Видео]Масштаб= ()"),
      Text("missing [Видео]Скрытый= ()"), Text("missing [Видео]Свет= ()"),
      Text("missing [B]K= ()")}},
    {"UnknownGroupAndKeyInFileOrder",
     "2.1",
     Text(";i⏎TARVEN=2.1.5⏎Чужой=1⏎[Звук]⏎Громкость=5⏎[Видео]⏎Режим=1⏎;Лишний=1⏎Лишний=1⏎Масштаб="
          "2⏎Скрытый=b⏎"
          "Любой=⏎Свет=ON⏎[B]⏎K=x⏎[Звук]⏎"),
     {Text("unknown group [Звук]= ()"), Text("unknown key [Видео]Лишний= ()"),
      Text("unknown group [Звук]= ()")}},
};

using CheckSettingsTable = ravlet::test::Table<CheckCase>;
TEST_P(CheckSettingsTable, FindsEachBreak) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(Shown(CheckSettings(kBase, c.version, c.ini)), c.findings);
}
RAVLET_TABLE(SettingsChecks, CheckSettingsTable, kCheckCases);

struct ChangedCase {
    const char* name;
    std::string version;
    std::string ini;
    Lines changed;  // group, key and value
};

void PrintTo(const ChangedCase& c, std::ostream* os) { *os << c.name; }

const ChangedCase kChangedCases[] = {
    {"DefaultsOnlyHaveNone", "2.1", kClean, {}},
    {"ChangedValuesAsWritten",
     "2.1",
     Text(";i⏎TARVEN=2.1.5⏎[Видео]⏎Режим=ON⏎Масштаб=3⏎Скрытый=b⏎[B]⏎K=y⏎"),
     {Text("[Видео]Режим=ON"), Text("[Видео]Масштаб=3"), Text("[B]K=y")}},
    // A default spelled ON is written as 1: a file holding 1 has not changed it, one
    // holding ON has.
    {"DefaultOnIsOne", "2.1", Text(";i⏎[Видео]⏎Свет=1⏎"), {}},
    {"DefaultOnSpelledOn", "2.1", Text(";i⏎[Видео]⏎Свет=ON⏎"), {Text("[Видео]Свет=ON")}},
    {"PrefixNameReadsTheRecordItBegins", "2", ToLf(kClean), {}},
};

using ChangedTable = ravlet::test::Table<ChangedCase>;
TEST_P(ChangedTable, ListsValuesOtherThanTheDefault) {
    const ChangedCase& c = GetParam();
    Lines got;
    for (const ParameterValue& p : ChangedFromDefaults(kBase, c.version, c.ini)) {
        got.push_back(p.group + p.key + "=" + p.value);
    }
    EXPECT_EQ(got, c.changed);
}
RAVLET_TABLE(SettingsChecks, ChangedTable, kChangedCases);

// The older file of every diff row; the row's `ini` is the newer one.
const std::string kOld = Text(";old⏎TARVEN=2.1.5⏎[Видео]⏎Режим=0⏎Любой=⏎[B]⏎K=y⏎");

struct DiffCase {
    const char* name;
    std::string version;
    std::string ini;
    Lines differences;  // "(absent)" for a missing key
};

void PrintTo(const DiffCase& c, std::ostream* os) { *os << c.name; }

const DiffCase kDiffCases[] = {
    {"AbsentKeysCountAsAValue",
     "2.1",
     kClean,
     {Text("[Видео]Режим: 0 -> 1"), Text("[Видео]Масштаб: (absent) -> 2"),
      Text("[Видео]Скрытый: (absent) -> b"), Text("[Видео]Свет: (absent) -> 1"),
      Text("[B]K: y -> x")}},
    {"SameValuesHaveNone", "2.1", ToLf(kOld), {}},
    {"EmptyAndAbsentDiffer",
     "2.1",
     Text(";new⏎[Видео]⏎Режим=0⏎[B]⏎K=y⏎"),
     {Text("[Видео]Любой:  -> (absent)")}},
};

using DiffTable = ravlet::test::Table<DiffCase>;
TEST_P(DiffTable, ListsEveryDifference) {
    const DiffCase& c = GetParam();
    const auto shown = [](const std::optional<std::string>& v) {
        return v ? *v : std::string("(absent)");
    };
    Lines got;
    for (const ValueDifference& d : DiffSettings(kBase, c.version, kOld, c.ini)) {
        got.push_back(d.group + d.key + ": " + shown(d.before) + " -> " + shown(d.after));
    }
    EXPECT_EQ(got, c.differences);
}
RAVLET_TABLE(SettingsChecks, DiffTable, kDiffCases);

}  // namespace
}  // namespace ravlet::test
