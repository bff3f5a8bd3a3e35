// The edit between two texts, and swapping it back and forth.
#include "textengine/text_edit.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace ravlet {
namespace {

struct EditRow {
    const char* name;
    std::string before, after;
    std::size_t offset, length;
    std::string held;
};

const EditRow kEdits[] = {
    {"value lengthened", "A=1 \r\nB=2\r\n", "A=123 \r\nB=2\r\n", 3, 2, ""},
    {"value shortened", "A=123 \r\n", "A=1 \r\n", 3, 0, "23"},
    {"at the start", "X=1\r\n", "Y=1\r\n", 0, 1, "X"},
    {"at the end", "X=1", "X=12", 3, 1, ""},
    // The common end may not reach back into the common start.
    {"repeated bytes", "aaaa", "aaaaaa", 4, 2, ""},
    {"from empty", "", "K=v\r\n", 0, 5, ""},
    {"to empty", "K=v\r\n", "", 0, 0, "K=v\r\n"},
    {"two spans as one", "A=1\r\nB=2\r\n", "A=7\r\nB=8\r\n", 2, 6, "1\r\nB=2"},
};

TEST(TextEdit, TheEditBetweenTwoTextsSwapsOneIntoTheOther) {
    for (const EditRow& row : kEdits) {
        SCOPED_TRACE(row.name);
        const std::optional<TextEdit> edit = EditBetween(row.before, row.after);
        ASSERT_TRUE(edit.has_value());
        EXPECT_EQ(edit->offset, row.offset);
        EXPECT_EQ(edit->length, row.length);
        EXPECT_EQ(edit->held, row.held);
        std::string text = row.after;
        TextEdit swapped = *edit;
        swapped.Swap(text);
        EXPECT_EQ(text, row.before);
        swapped.Swap(text);
        EXPECT_EQ(text, row.after);
    }
    EXPECT_FALSE(EditBetween("same", "same").has_value());
}

TEST(TextEdit, ASpanPastTheEndChangesNothing) {
    std::string text = "abc";
    TextEdit edit{2, 2, "x"};
    EXPECT_THROW(edit.Swap(text), std::out_of_range);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(edit.held, "x");
}

}  // namespace
}  // namespace ravlet
