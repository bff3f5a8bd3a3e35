// versions-diff over a small base: two records whose groups and parameters differ in
// every way the command reports, a value spec with a comment, and versions it does not know.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/commands.hpp"
#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using namespace ravlet::cli;
using ravlet::test::Text;

const std::string kBase = Text(
    ";b⏎[DESCRIPTIONS]⏎⏎"
    "TARVEN=1⏎SUPPORT=1⏎[A]⏎+X=1,@2⏎-Y=!0⏎+W=a⏎[B]⏎+Z=a⏎"
    "TARVEN=2⏎SUPPORT=2⏎[A]⏎+X=1,2,@3⏎+Y=!0⏎-W=a ;the same spec⏎+V=b⏎[C]⏎+Q=!1⏎");

struct DiffCase {
    const char* name;
    std::string from;
    std::string to;
    std::string out;
    int status;
    std::string err;
};

void PrintTo(const DiffCase& c, std::ostream* os) { *os << c.name; }

const DiffCase kCases[] = {
    {"SameVersion", "2", "2", "", kDone, ""},
    {"Forward", "1", "2",
     "[A]X: 1,@2 -> 1,2,@3\n[A]Y: - -> +\n[A]W: + -> -\n+[A]V=b\n+[C]\n+[C]Q=!1\n-[B]\n-[B]Z=a\n",
     kNotFound, ""},
    {"Backward", "2", "1",
     "[A]X: 1,2,@3 -> 1,@2\n[A]Y: + -> -\n[A]W: - -> +\n+[B]\n+[B]Z=a\n-[A]V=b\n-[C]\n-[C]Q=!1\n",
     kNotFound, ""},
    {"UnknownVersion", "1", "3", "", kNotFound, "Версия \"3\" не найдена в базе версий\n"},
};

using VersionsDiffTable = ravlet::test::Table<DiffCase>;

TEST_P(VersionsDiffTable, PrintsChanges) {
    const DiffCase& c = GetParam();
    std::ostringstream out, err;
    EXPECT_EQ(VersionsDiffCommand(kBase, c.from, c.to, {out, err}), c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
}

RAVLET_TABLE(VersionsDiff, VersionsDiffTable, kCases);

}  // namespace
