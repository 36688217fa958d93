#include <gtest/gtest.h>

#include "model/curve_csv.h"
#include "model/freq_table.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::ReadAll;
using qlxtest::TempDir;

const ChannelInts kFullRange{0, 0, 0, 0};
const ChannelInts kFullEnd{119, 119, 119, 119};

CurveLines DefaultCurve()
{
    CurveLines c{};
    FillDefaults(c);
    return c;
}

CurveLines CurveWithTerminal(const char* terminal)
{
    CurveLines c = DefaultCurve();
    c[TerminalLine] = terminal;
    return c;
}

// Row i of the table (without its CR LF); empty when the table is shorter.
std::string Row(const std::string& bytes, int i)
{
    size_t start = 0;
    for (int r = 0; r < i; ++r) {
        start = bytes.find("\r\n", start);
        if (start == std::string::npos)
            return {};
        start += 2;
    }
    const size_t end = bytes.find("\r\n", start);
    return end == std::string::npos ? std::string() : bytes.substr(start, end - start);
}

int RowCount(const std::string& bytes)
{
    int n = 0;
    for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
        ++n;
    return n;
}

TEST(PointInOhm, WritesTheTenthOfThePointInShortestForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"5", "0.5"},
        {"1230", "123"},
        {"-12", "-1.2"},
        {"1234", "123.4"},
        {"980", "98"},
        {"0", "0"},
        {"-0", "0"},
        {"+7", "0.7"},
        {"00120", "12"},
        {"12.34", "1.234"},
        {"1.23456", "0.1235"},
        {"1.23449", "0.1234"},
        {"-1.23456", "-0.1235"},
        {"-0.0004", "0"},
        {"9.", "0.9"},
        {".5", "0.05"},
        {"2147483647", "214748364.7"},
    };
    for (const auto& [point, ohm] : cases)
        EXPECT_EQ(PointInOhm(point), std::optional<std::string>(ohm)) << point;
}

TEST(PointInOhm, TextsThatAreNoDecimalNumberHaveNoValue)
{
    for (const char* text :
         {"", "abc", "12a", " 5", "5 ", "1.2.3", "-", "+", ".", "1e3", "0x10", "--1", "99999999999999999999"})
        EXPECT_EQ(PointInOhm(text), std::nullopt) << '"' << text << '"';
}

TEST(CurveCsv, ExampleRowsByTerminal)
{
    struct Case {
        const char* terminal;
        int index;
        std::array<const char*, 4> points;
        int minFreq0;
        const char* row;
    };
    const Case cases[] = {
        {"B", 0, {"1234", "987", "83", "80"}, 0, "20,123.4,,,"},
        {"E", 0, {"1234", "987", "83", "80"}, 0, "20,123.4,98.7,,"},
        {"C", 0, {"1234", "987", "83", "80"}, 0, "20,123.4,98.7,,"},
        {"F", 0, {"1234", "987", "83", "80"}, 0, "20,123.4,98.7,,"},
        {"G", 68, {"81", "79", "83", "80"}, 0, "1000,8.1,7.9,8.3,8"},
        {"B", 0, {"1234", "987", "83", "80"}, 1, "20,,,,"},
    };
    for (const Case& k : cases) {
        CurveLines c = CurveWithTerminal(k.terminal);
        for (int ch = 0; ch < 4; ++ch)
            c[PointSlot(ch, k.index)] = k.points[ch];
        ChannelInts minFreq = kFullRange;
        minFreq[0] = k.minFreq0;
        const CurveCsv csv = CurveCsvBytes(c, minFreq, kFullEnd);
        EXPECT_FALSE(csv.badPoint);
        EXPECT_EQ(RowCount(csv.bytes), 120);
        EXPECT_EQ(Row(csv.bytes, k.index), k.row) << k.terminal;
    }
}

TEST(CurveCsv, DefaultCurveGivesZeroInChannelOneOnEveryRow)
{
    std::string expected;
    for (int i = 0; i < kPointCount; ++i)
        expected += std::string(FreqHz[i]) + ",0,,,\r\n";
    const CurveCsv csv = CurveCsvBytes(DefaultCurve(), kFullRange, kFullEnd);
    EXPECT_EQ(csv.bytes, expected);
    EXPECT_EQ(Row(csv.bytes, 1), "21.2,0,,,");
    EXPECT_EQ(Row(csv.bytes, 119), "20000,0,,,");
}

TEST(CurveCsv, FieldsOutsideEachChannelsValidRangeOrOfEmptyPointsAreEmpty)
{
    CurveLines c = CurveWithTerminal("G");
    for (int ch = 0; ch < 4; ++ch)
        for (int i = 0; i < kPointCount; ++i)
            c[PointSlot(ch, i)] = std::to_string(100 + ch);
    c[PointSlot(2, 50)] = "";
    const ChannelInts minFreq{10, 0, 0, 0};
    const ChannelInts maxFreq{119, 119, 119, 100};
    const CurveCsv csv = CurveCsvBytes(c, minFreq, maxFreq);
    EXPECT_EQ(Row(csv.bytes, 0), "20,,10.1,10.2,10.3");
    EXPECT_EQ(Row(csv.bytes, 9), "33.5,,10.1,10.2,10.3");
    EXPECT_EQ(Row(csv.bytes, 10), "35.5,10,10.1,10.2,10.3");
    EXPECT_EQ(Row(csv.bytes, 50), "355,10,10.1,,10.3");
    EXPECT_EQ(Row(csv.bytes, 100), "6300,10,10.1,10.2,10.3");
    EXPECT_EQ(Row(csv.bytes, 101), "6700,10,10.1,10.2,");
}

TEST(CurveCsv, APointThatIsNoNumberEndsTheTableBeforeItsRow)
{
    CurveLines c = CurveWithTerminal("E");
    c[PointSlot(1, 5)] = "1x";
    const CurveCsv csv = CurveCsvBytes(c, kFullRange, kFullEnd);
    EXPECT_EQ(csv.badPoint, std::optional<std::string>("1x"));
    EXPECT_EQ(RowCount(csv.bytes), 5);
    EXPECT_EQ(Row(csv.bytes, 4), "25,0,0,,");
    EXPECT_EQ(csv.bytes.substr(csv.bytes.size() - 2), "\r\n") << "only complete rows";
}

TEST(CurveCsv, ChannelsTheTerminalDoesNotUseAreNotRead)
{
    CurveLines c = CurveWithTerminal("B");
    for (int i = 0; i < kPointCount; ++i)
        c[PointSlot(1, i)] = "junk";
    EXPECT_FALSE(CurveCsvBytes(c, kFullRange, kFullEnd).badPoint);
}

TEST(WriteCurveCsv, WritesTheTableAndReportsAConversionErrorAfterTheRowsBeforeIt)
{
    TempDir dir;
    CurveLines c = CurveWithTerminal("G");
    CsvExportResult ok = WriteCurveCsv(dir.file("a.csv"), c, kFullRange, kFullEnd);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadAll(dir.file("a.csv")), CurveCsvBytes(c, kFullRange, kFullEnd).bytes);

    c[PointSlot(3, 2)] = "\x82\x60\x82\x61";  // "ＡＢ" in Shift-JIS
    CsvExportResult bad = WriteCurveCsv(dir.file("b.csv"), c, kFullRange, kFullEnd);
    EXPECT_EQ(bad.status, CsvExportStatus::NotANumber);
    EXPECT_EQ(bad.error, "「ＡＢ」は数値に変換できません。");
    EXPECT_EQ(ReadAll(dir.file("b.csv")), "20,0,0,0,0\r\n21.2,0,0,0,0\r\n");
}

TEST(WriteCurveCsv, AFileLayerFailureGivesItsMessage)
{
    TempDir dir;
    const std::string path = dir.file("missing/x.csv");
    CsvExportResult r = WriteCurveCsv(path, DefaultCurve(), kFullRange, kFullEnd);
    EXPECT_EQ(r.status, CsvExportStatus::FileError);
    EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
    EXPECT_FALSE(r);
}

}  // namespace
}  // namespace qlx
