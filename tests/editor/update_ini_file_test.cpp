// The fill from base defaults, called directly and through its headless form.
#include <gtest/gtest.h>

#include "editor_fixture.hpp"
#include "operations/fill_defaults.hpp"

namespace ravlet::test {
namespace {

using Items = std::vector<std::string>;

const std::string kFillBase = Text(
    ";b⏎TARVEN=v⏎SUPPORT=s⏎[A]⏎+X=1,@2⏎-Y=!1⏎[B]⏎+Z=a,b⏎+Absent=q⏎"
    "TARVEN=w⏎SUPPORT=t⏎[B]⏎+Z=b,@a⏎[A]⏎+X=@9⏎");
const std::string kFillIni = Text(";s⏎TARVEN=s⏎[A]⏎X=1⏎Y=0⏎Z=b⏎[B]⏎Z=b⏎");

TEST_F(EditorFill, FillSetsDefaultsAndLeavesTheCursorOnTheLastParameter) {
    StartAndLoad(kFillBase, kFillIni);
    editor.UpdateIniFile();
    // Y is a full-list parameter; Z of [A] belongs to no parameter of [A]; Absent stays absent.
    EXPECT_EQ(editor.IniText, Text(";s⏎TARVEN=s⏎[A]⏎X=2 ⏎Y=1 ⏎Z=b⏎[B]⏎Z=a ⏎"));
    EXPECT_EQ(editor.Group.Items(), (Items{"[A]", "[B]"}));
    EXPECT_EQ(editor.Group.ListIndex(), 1);
    EXPECT_EQ(editor.Parameters.Items(), (Items{"Z", "Absent"}));
    EXPECT_EQ(editor.Parameters.ListIndex(), 1);
    EXPECT_EQ(std::vector<bool>({editor.Advanced.Enabled(), editor.Group.Enabled(),
                                 editor.Parameters.Enabled(), editor.Value.Enabled()}),
              std::vector<bool>(4, true));
}

TEST_F(EditorFill, FillCoversGroupsTakenOverFromTheNextRecord) {
    // v's record ends at [A]; the [C] that opens w's record is listed as v's too and
    // filled with the value spec found after v's marker.
    const std::string base =
        Text(";b⏎TARVEN=v⏎SUPPORT=s⏎[A]⏎+X=@1⏎TARVEN=w⏎SUPPORT=t⏎[C]⏎+K=@7⏎[A]⏎+X=@2⏎");
    StartAndLoad(base, Text(";s⏎TARVEN=s⏎[A]⏎X=0⏎[C]⏎K=0⏎"));
    editor.UpdateIniFile();
    EXPECT_EQ(editor.Group.Items(), (Items{"[A]", "[C]"}));
    EXPECT_EQ(editor.IniText, Text(";s⏎TARVEN=s⏎[A]⏎X=1 ⏎[C]⏎K=7 ⏎"));
}

// The headless form browses no list: nothing but the fill writes.
TEST(HeadlessFill, WritesOnlyTheVersionsDefaults) {
    EXPECT_EQ(FillFromDefaults(kFillBase, "w", kFillIni),
              Text(";s⏎TARVEN=s⏎[A]⏎X=9 ⏎Y=0⏎Z=b⏎[B]⏎Z=a ⏎"));
    EXPECT_EQ(FillFromDefaults(kFillBase, "nope", kFillIni), kFillIni);
}

}  // namespace
}  // namespace ravlet::test
