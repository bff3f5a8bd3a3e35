#include "operations/default_rule.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/table.hpp"
#include "support/text.hpp"

namespace {

using ravlet::DefaultOf;
using ravlet::test::Text;

struct DefaultCase {
    const char* name;
    std::string spec;
    std::string expected;
};

void PrintTo(const DefaultCase& c, std::ostream* os) { *os << c.name; }

const DefaultCase kDefaultCases[] = {
    {"SwitchOn", "!1", "1"},
    {"SwitchOff", "!0", "0"},
    {"SwitchWithoutDefault", "!", ""},
    {"SwitchTextTakenToComma", "!1,2", "1"},
    {"MarkedItem", "1,2,@4,8", "4"},
    {"MarkedFirstItem", "@1,2", "1"},
    {"NoMarkTakesFirstItem", "1,2", "1"},
    {"MarkInsideItem", "a@b,c", "b"},
    {"MarkOnEmptyLastItem", "1,@", ""},
    {"EmptySpec", "", ""},
    {"SingleItem", "abc", "abc"},
    {"FirstMarkCounts", "a,@b@c,@d", "b@c"},
    {"DoubleMarkKeepsSecond", "@@a,b", "@a"},
    {"ItemNotTrimmed", "1, 2,@ 4 ,8", " 4 "},
    {"EmptyFirstItem", ",2", ""},
    {"CyrillicItems", Text("Да,@Нет"), Text("Нет")},
    {"SwitchWordKeptForTranslationLater", "!ON", "ON"},
};

using DefaultRuleTable = ravlet::test::Table<DefaultCase>;

TEST_P(DefaultRuleTable, GivesDefault) {
    EXPECT_EQ(DefaultOf(GetParam().spec), GetParam().expected);
}

RAVLET_TABLE(DefaultRule, DefaultRuleTable, kDefaultCases);

}  // namespace
