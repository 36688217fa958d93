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

}  // namespace
}  // namespace qlx
