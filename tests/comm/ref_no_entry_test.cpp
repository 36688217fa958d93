#include <gtest/gtest.h>

#include "comm/ref_no_entry.h"

namespace qlx {
namespace {

TEST(RefNoEntry, OnlyDigitsAndControlKeysAreTyped)
{
    for (char32_t key : {U'0', U'5', U'9', U'\b', U'\r', U'\x1B', U'\x1F'})
        EXPECT_TRUE(RefNoKeyAccepted(key)) << static_cast<unsigned>(key);
    for (char32_t key : {U' ', U'a', U'-', U'+', U'/', U':', U'\x7F', U'５', U'一'})
        EXPECT_FALSE(RefNoKeyAccepted(key)) << static_cast<unsigned>(key);
}

TEST(RefNoEntry, LeavingTheEditTakesOneToSixtyFourAndRestoresAnythingElse)
{
    struct Case {
        const char* text;
        int position;
        int expected;
    };
    const Case cases[] = {
        {"64", 1, 64},
        {"1", 64, 1},
        {"07", 3, 7},
        {"0", 12, 12},
        {"65", 12, 12},
        {"", 12, 12},
        {"abc", 12, 12},
        {"1a", 12, 12},
        {"-5", 12, 12},
        {" 5", 12, 12},
        {"99999999999", 12, 12},
        {"4294967297", 12, 12},
        {"000064", 2, 64},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RefNoAfterEdit(c.text, c.position), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace qlx
