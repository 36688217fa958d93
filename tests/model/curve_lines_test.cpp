#include <gtest/gtest.h>

#include "model/curve_lines.h"

namespace qlx {
namespace {

TEST(CurveLines, DefaultsFillHeadersPointsAndReserved)
{
    CurveLines c{};
    FillDefaults(c);
    EXPECT_EQ(c[StampLine], "[            ]");
    EXPECT_EQ(c[TerminalLine], "B");
    EXPECT_EQ(c[FlagsLine], "@");
    for (int block = 1; block < 4; ++block) {
        EXPECT_EQ(c[kBlockSize * block], "[            ]");
        EXPECT_EQ(c[kBlockSize * block + 1], "@");
        EXPECT_EQ(c[kBlockSize * block + 2], "@");
    }
    for (int ch = 0; ch < 4; ++ch)
        for (int j = 0; j < 120; ++j)
            ASSERT_EQ(c[PointSlot(ch, j)], "0") << ch << "/" << j;
    EXPECT_EQ(c[MemoSlot], "");
}

TEST(CurveLines, DefaultsKeepWhatIsAlreadyThere)
{
    CurveLines c{};
    c[TerminalLine] = "G";
    c[PointSlot(2, 5)] = "123";
    c[MemoSlot] = "memo";
    FillDefaults(c);
    EXPECT_EQ(c[TerminalLine], "G");
    EXPECT_EQ(c[PointSlot(2, 5)], "123");
    EXPECT_EQ(c[MemoSlot], "memo");
}

TEST(CurveLines, PointSlotsOfEachChannel)
{
    EXPECT_EQ(PointSlot(0, 0), 3);
    EXPECT_EQ(PointSlot(0, 119), 122);
    EXPECT_EQ(PointSlot(1, 0), 126);
    EXPECT_EQ(PointSlot(2, 0), 249);
    EXPECT_EQ(PointSlot(3, 119), 491);
}

TEST(CurveLines, CodeCharactersAboveAsciiAreSingleRawBytes)
{
    EXPECT_EQ(CodeChar(99), '\xA3');
    EXPECT_EQ(CodeValue('\xA3'), 99);
    EXPECT_EQ(CodeValue('\xB7'), 119);
    std::string line = "[            ]";
    SetCodeAt(line, 13, 119);
    EXPECT_EQ(line, std::string("[           \xB7]"));
    EXPECT_EQ(CodeAt(line, 13, -1), 119);
}

TEST(CurveLines, ShortFieldYieldsFallbackAndIsWidenedOnWrite)
{
    std::string shortField = "[AB";
    EXPECT_EQ(CodeAt(shortField, 2, 7), 1);
    EXPECT_EQ(CodeAt(shortField, 9, 7), 7);
    EXPECT_EQ(CodeAt("", 1, 3), 3);
    SetCodeAt(shortField, 6, 2);
    EXPECT_EQ(shortField, "[AB  B");
}

TEST(CurveLines, TerminalTable)
{
    struct Case {
        const char* code;
        int index;
        const char* caption;
        int channels;
    } cases[] = {{"B", 0, "BINDING POST", 1}, {"C", 1, "NL 4", 2}, {"E", 1, "NL 4", 2}, {"F", 1, "NL 4", 2},
                 {"G", 2, "NL 8", 4},         {"D", 2, "NL 8", 4}, {"", 2, "NL 8", 4},  {"BB", 2, "NL 8", 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(TerminalIndex(c.code), c.index) << c.code;
        EXPECT_STREQ(TerminalCaption(c.code), c.caption) << c.code;
        EXPECT_EQ(ChannelsWithData(c.code), c.channels) << c.code;
    }
    EXPECT_STREQ(TerminalCodeForIndex(0), "B");
    EXPECT_STREQ(TerminalCodeForIndex(1), "E");
    EXPECT_STREQ(TerminalCodeForIndex(2), "G");
}

TEST(CurveLines, NameLinePadsInBytes)
{
    EXPECT_EQ(NameLineFor("AB"), "[AB          ]");
    EXPECT_EQ(NameLineFor("ABCDEFGHIJKL"), "[ABCDEFGHIJKL]");
    // Two double-byte characters (4 bytes) leave 8 blanks.
    const std::string kana = "\x83\x65\x83\x58";  // テス in Shift-JIS
    EXPECT_EQ(NameLineFor(kana), "[" + kana + "        ]");
    EXPECT_EQ(BracketPayload("[AB          ]"), "AB          ");
    EXPECT_EQ(BracketPayload("[AB"), "AB");
}

TEST(CurveLines, PointParsing)
{
    EXPECT_EQ(ParsePoint("123"), 123);
    EXPECT_EQ(ParsePoint("0"), 0);
    EXPECT_EQ(ParsePoint("-5"), -5);
    EXPECT_EQ(ParsePoint("+7"), 7);
    for (const char* bad : {"", "12a", "1.5", " ", "abc", "99999999999", "+", "-"})
        EXPECT_FALSE(ParsePoint(bad).has_value()) << bad;
}

}  // namespace
}  // namespace qlx
