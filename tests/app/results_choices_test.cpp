#include <gtest/gtest.h>

#include <QDateTime>

#include "app/results_choices.h"
#include "app/yield_text.h"

namespace qlx {
namespace {

TEST(ResultsChoices, VerdictChoicesSelectTheirVerdictsOrOutcomes)
{
    struct Expected {
        const char* caption;
        std::vector<std::string> verdicts;
        std::vector<RunOutcome> outcomes;
    };
    const std::vector<Expected> expected = {
        {"すべて", {}, {}},
        {"OK", {"OK"}, {}},
        {"NG (すべて)", {"NG1H", "NG1L", "NG2H", "NG2L", "NG3H", "NG3L"}, {}},
        {"NG1H", {"NG1H"}, {}},
        {"NG1L", {"NG1L"}, {}},
        {"NG2H", {"NG2H"}, {}},
        {"NG2L", {"NG2L"}, {}},
        {"NG3H", {"NG3H"}, {}},
        {"NG3L", {"NG3L"}, {}},
        {"リファレンスなし", {"no reference"}, {}},
        {"中止", {}, {RunOutcome::Cancelled}},
        {"失敗", {}, {RunOutcome::Failed}},
    };
    ASSERT_EQ(VerdictChoices().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].caption);
        EXPECT_EQ(VerdictChoices()[i].caption, QString::fromUtf8(expected[i].caption));
        FilterChoice c;
        c.verdictIndex = static_cast<int>(i);
        const ResultFilter f = FilterOf(c);
        EXPECT_EQ(f.verdicts, expected[i].verdicts);
        EXPECT_EQ(f.outcomes, expected[i].outcomes);
        EXPECT_FALSE(f.fromMs || f.toMs || f.refName);
    }
}

TEST(ResultsChoices, APeriodHoldsItsWholeLocalDays)
{
    FilterChoice c;
    c.from = QDate(2025, 3, 10);
    c.to = QDate(2025, 3, 12);
    c.refName = "WOOFER-16A";
    const ResultFilter f = FilterOf(c);
    ASSERT_TRUE(f.fromMs && f.toMs);
    EXPECT_EQ(f.refName, "WOOFER-16A");
    struct Case {
        QDateTime at;
        bool inside;
    };
    const Case cases[] = {
        {QDateTime(QDate(2025, 3, 9), QTime(23, 59, 59, 999)), false},
        {QDateTime(QDate(2025, 3, 10), QTime(0, 0)), true},
        {QDateTime(QDate(2025, 3, 11), QTime(12, 0)), true},
        {QDateTime(QDate(2025, 3, 12), QTime(23, 59, 59, 999)), true},
        {QDateTime(QDate(2025, 3, 13), QTime(0, 0)), false},
    };
    for (const Case& k : cases) {
        const std::int64_t t = k.at.toMSecsSinceEpoch();
        EXPECT_EQ(t >= *f.fromMs && t < *f.toMs, k.inside) << k.at.toString().toStdString();
    }
}

TEST(YieldText, CountsAsTheWindowShowsThem)
{
    YieldCounts y;
    EXPECT_EQ(YieldText(y), QStringLiteral("判定された記録はありません　NG1H 0　NG1L 0　NG2H 0　NG2L 0　NG3H 0　NG3L 0"
                                           "　リファレンスなし 0　中止 0　失敗 0"));
    y.ok = 2;
    y.total = 3;
    y.ng = {0, 0, 0, 0, 0, 1};
    y.noReference = 4;
    y.cancelled = 5;
    y.failed = 6;
    EXPECT_EQ(YieldText(y), QStringLiteral("OK 2 / 3 台 (66.7%)　NG1H 0　NG1L 0　NG2H 0　NG2L 0　NG3H 0　NG3L 1"
                                           "　リファレンスなし 4　中止 5　失敗 6"));

    EXPECT_EQ(SinceResetHeading(std::nullopt), QStringLiteral("カウンター (リセットなし):"));
    const QDateTime at(QDate(2025, 3, 10), QTime(8, 30, 5));
    EXPECT_EQ(SinceResetHeading(at.toMSecsSinceEpoch()),
              QStringLiteral("カウンター (2025/03/10 08:30:05 にリセット):"));
}

}  // namespace
}  // namespace qlx
