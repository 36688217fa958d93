#include <gtest/gtest.h>

#include "model/sjis.h"

namespace qlx {
namespace {

TEST(Sjis, RoundTripsCp932Extensions)
{
    // ASCII backslash and tilde stay ASCII; NEC/IBM extensions and half-width kana map.
    for (const char* text : {"C:\\dir~x", "テスト①㈱Ⅰ髙", "ｶﾀｶﾅ", "ＭＳ Ｐゴシック"}) {
        std::optional<std::string> sjis = Utf8ToSjis(text);
        ASSERT_TRUE(sjis.has_value()) << text;
        EXPECT_EQ(SjisToUtf8(*sjis), text);
    }
    EXPECT_EQ(*Utf8ToSjis("C:\\"), "C:\\");
    EXPECT_EQ(*Utf8ToSjis("テ"), "\x83\x65");
}

TEST(Sjis, ByteCountsAndUnmappableText)
{
    EXPECT_EQ(SjisByteCount("AB"), 2);
    EXPECT_EQ(SjisByteCount("テスト"), 6);
    EXPECT_EQ(SjisByteCount("ｶ"), 1);
    EXPECT_FALSE(Utf8ToSjis("😀").has_value());
    EXPECT_EQ(SjisByteCount("A😀"), 3);
}

TEST(Sjis, UndecodableBytesShowAsReplacementAndDecodingGoesOn)
{
    EXPECT_EQ(SjisToUtf8("A\x80"
                         "B"),
              "A\xEF\xBF\xBD"
              "B");
    // A lone lead byte at the end is not dropped silently.
    EXPECT_EQ(SjisToUtf8("A\x83"), "A\xEF\xBF\xBD");
}

TEST(Sjis, ReplacingEncoderMarksEachCharacterWithoutAForm)
{
    const std::pair<std::string, std::string> cases[] = {
        {"テスト①", "\x83\x65\x83\x58\x83\x67\x87\x40"},
        {"A😀B", "A?B"},  // four-byte character: one mark
        {"한", "?"},     // three-byte character with no CP932 form
        {"A\xff"
         "B",
         "A?B"},               // a byte that is no UTF-8
        {"A\xe3\x83", "A??"},  // a character cut short: each of its bytes
        {"\xc0\xaf", "??"},    // an overlong form is no character
        {"", ""},
    };
    for (const auto& [utf8, sjis] : cases)
        EXPECT_EQ(Utf8ToSjisReplacing(utf8), sjis) << utf8;
    EXPECT_EQ(Utf8ToSjisReplacing("한", '_'), "_");
}

TEST(Sjis, WellFormedText)
{
    EXPECT_TRUE(IsUtf8("テスト"));
    EXPECT_TRUE(IsUtf8(""));
    EXPECT_FALSE(IsUtf8("\x83\x65"));
    EXPECT_FALSE(IsUtf8("A\xe3\x83"));
    EXPECT_TRUE(
        IsSjis("\x83\x65\xb6"
               "A"));
    EXPECT_FALSE(IsSjis("A\x83"));  // a lead byte without its trail byte
    EXPECT_FALSE(IsSjis("\xff"));
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

// The editor's form of Shift-JIS bytes gives back exactly the bytes, also
// those without a text form; other characters without a Shift-JIS form are
// still refused.
TEST(SjisKeeping, EveryByteComesBackExactly)
{
    const std::string cases[] = {
        "ABC",
        "\x83\x65\x83\x58\x83\x67",  // テスト
        "AB\xFF",                    // no such byte in Shift-JIS
        "\x81",                      // a lead byte without its trail
        "x\x80y\xA0z\xFD",
        std::string("\x00\x1A", 2),
    };
    for (const std::string& bytes : cases) {
        const std::string text = SjisToUtf8Keeping(bytes);
        EXPECT_TRUE(IsUtf8(text));
        EXPECT_EQ(Utf8ToSjisKeeping(text), bytes) << text;
    }
    EXPECT_EQ(SjisToUtf8Keeping("AB\xFF"), "AB\xEF\x9F\xBF");     // U+F7FF
    EXPECT_FALSE(Utf8ToSjisKeeping("\xE2\x82\xAC").has_value());  // € has no Shift-JIS form
    EXPECT_FALSE(Utf8ToSjisKeeping("\xEF\xA0\x80").has_value());  // U+F800 is no kept byte
}

}  // namespace
}  // namespace qlx
