#include <gtest/gtest.h>

#include "db_fixture.h"
#include "model/freq_table.h"
#include "model/sjis.h"
#include "record_fixture.h"
#include "results/result_store.h"
#include "results/results_csv.h"

namespace qlx {
namespace {

using test::QueryRecord;
using test::RawSqlite;

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

class Csv : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResultRecord older = QueryRecord(1733648833123, "NG3L", "ウーファー18");
        older.utcOffsetS = 9 * 3600;
        older.refHash = std::string(64, 'a');
        older.ng1 = 30;
        older.judgeFirst = 10;
        older.judgeLast = 119;
        older.worstDeviationPct = -37;
        older.worstDeviationHz = 47.4;
        older.f0Hz = 52.5;
        older.points[0] = "1234";
        older.points[1] = "5";
        older.points[119] = "-12";
        older.operatorName = "José😀";  // neither has a Shift-JIS form
        ResultRecord newer = QueryRecord(1733648893123, "", "A,\"B\"", RunOutcome::Cancelled);
        records = {older, newer};
        ASSERT_TRUE(store.Append(records).written);
    }

    std::string Export(CsvEncoding encoding, const ResultFilter& filter = {})
    {
        const IoResult written = ExportResultsCsv(raw.db(), filter, out, encoding);
        EXPECT_TRUE(written.ok) << written.error;
        return qlxtest::ReadAll(out);
    }

    qlxtest::TempDir dir;
    std::string path = dir.file("results.sqlite");
    std::string out = dir.file("results.csv");
    ResultStore store{path};
    RawSqlite raw{path};
    std::vector<ResultRecord> records;
};

TEST_F(Csv, ShiftJisFileHasAHeadingAndALinePerRecordNewestFirst)
{
    const std::string bytes = Export(CsvEncoding::ShiftJis);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    // Every line break is CR LF.
    EXPECT_EQ(Split(bytes, "\n").size(), Split(bytes, "\r\n").size());
    const auto lines = Split(bytes.substr(0, bytes.size() - 2), "\r\n");
    ASSERT_EQ(lines.size(), 3u);

    const auto heading = Split(lines[0], ",");
    ASSERT_EQ(heading.size(), 27u + kPointCount);
    EXPECT_EQ(heading[0], "uuid");
    EXPECT_EQ(heading[13], "verdict");
    EXPECT_EQ(heading[27], "20");
    EXPECT_EQ(heading.back(), "20000");

    // The cancelled run is the newer record; its reference needs quoting.
    EXPECT_EQ(lines[1].rfind(records[1].uuid + ",", 0), 0u);
    EXPECT_NE(lines[1].find(",cancelled,\"A,\"\"B\"\"\","), std::string::npos) << lines[1];

    const auto f = Split(lines[2], ",");
    ASSERT_EQ(f.size(), heading.size());
    EXPECT_EQ(f[0], records[0].uuid);
    EXPECT_EQ(f[1], records[0].runUuid);
    EXPECT_EQ(f[2], "2024-12-08T09:07:13.123Z");
    EXPECT_EQ(f[3], "2024-12-08 18:07:13");
    EXPECT_EQ(f[4], "+09:00");
    EXPECT_EQ(f[6], "Jos??");
    EXPECT_EQ(f[7], "completed");
    EXPECT_EQ(f[8], *Utf8ToSjis("ウーファー18"));
    EXPECT_EQ(f[10], std::string(64, 'a'));
    EXPECT_EQ(f[12], "1");
    EXPECT_EQ(f[13], "NG3L");
    EXPECT_EQ(f[14], "30");
    EXPECT_EQ(f[15], "");
    EXPECT_EQ(f[17], "35.5");  // grid index 10
    EXPECT_EQ(f[18], "20000");
    EXPECT_EQ(f[19], "-37");
    EXPECT_EQ(f[20], "47.4");
    EXPECT_EQ(f[21], "52.5");
    EXPECT_EQ(f[27], "123.4");
    EXPECT_EQ(f[28], "0.5");
    EXPECT_EQ(f[29], "12.3");
    EXPECT_EQ(f.back(), "-1.2");
}

TEST_F(Csv, Utf8FileStartsWithAByteOrderMarkAndKeepsEveryCharacter)
{
    const std::string bytes = Export(CsvEncoding::Utf8);
    ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF"
                          "uuid,",
                          0),
              0u);
    EXPECT_NE(bytes.find(",José😀,completed,ウーファー18,"), std::string::npos);
}

TEST_F(Csv, OnlyTheFilteredRecordsAreWritten)
{
    ResultFilter filter;
    filter.outcomes = {RunOutcome::Cancelled};
    const std::string bytes = Export(CsvEncoding::ShiftJis, filter);
    EXPECT_EQ(Split(bytes, "\r\n").size(), 3u);  // heading, one record, nothing after the last CR LF
    EXPECT_NE(bytes.find(records[1].uuid), std::string::npos);
    EXPECT_EQ(bytes.find(records[0].uuid), std::string::npos);
}

TEST_F(Csv, AFileThatCannotBeWrittenIsNamedInTheError)
{
    const std::string target = dir.file("missing-folder/results.csv");
    const IoResult written = ExportResultsCsv(raw.db(), {}, target, CsvEncoding::ShiftJis);
    EXPECT_FALSE(written.ok);
    EXPECT_NE(written.error.find(target), std::string::npos);
}

TEST(CsvPoint, TenthsOfAnOhmInTheShortestForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1234", "123.4"}, {"980", "98"}, {"5", "0.5"}, {"0", "0"}, {"-12", "-1.2"}, {"-5", "-0.5"}, {"abc", "abc"},
    };
    for (const auto& [point, text] : cases)
        EXPECT_EQ(PointOhmText(point), text) << point;
}

}  // namespace
}  // namespace qlx
