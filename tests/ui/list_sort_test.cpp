#include <gtest/gtest.h>

#include "comm/downloads.h"
#include "model/sjis.h"
#include "qlx50_sim.h"
#include "support/scripted_ui.h"
#include "ui/list_sort.h"

namespace qlx {
namespace {

QStringList Row(std::initializer_list<const char*> texts)
{
    QStringList row;
    for (const char* t : texts)
        row << QString::fromUtf8(t);
    return row;
}

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

TEST(ListSort, CompareRulesOfNumbersAndNames)
{
    const QCollator japanese = ListCollator(QLocale(QLocale::Japanese, QLocale::Japan));
    const QCollator german = ListCollator(QLocale(QLocale::German, QLocale::Germany));
    struct Case {
        const char* what;
        QStringList a, b;
        int column;
        bool flag;
        const QCollator& collator;
        int sign;  // of the compare: < 0 means a comes first
    };
    const Case cases[] = {
        {"larger number first while the flag is false", Row({"2"}), Row({"10"}), 0, false, japanese, 1},
        {"smaller number first when it is true", Row({"2"}), Row({"10"}), 0, true, japanese, -1},
        {"numbers, not texts", Row({"9"}), Row({"10"}), 0, true, japanese, -1},
        {"equal numbers", Row({"7", "a"}), Row({"7", "b"}), 0, false, japanese, 0},
        {"a caption that is no number counts as 0", Row({"x"}), Row({"1"}), 0, true, japanese, -1},
        {"names ignore case", Row({"1", "WOOFER A"}), Row({"2", "woofer a"}), 1, true, japanese, 0},
        {"names ascending when true", Row({"1", "alpha"}), Row({"2", "Beta"}), 1, true, japanese, -1},
        {"names descending when false", Row({"1", "alpha"}), Row({"2", "Beta"}), 1, false, japanese, 1},
        {"the locale's order: Ä with A", Row({"1", "Äpfel"}), Row({"2", "Zebra"}), 1, true, german, -1},
        {"a missing sub-item is a blank", Row({"1"}), Row({"2", "a"}), 1, true, japanese, -1},
        {"a blank after an empty name", Row({"1"}), Row({"2", ""}), 1, true, japanese, 1},
        {"third column of the measured list", Row({"1", "2024/12/08 15:30:12", "B"}),
         Row({"2", "2024/12/08 15:30:12", "a"}), 2, true, japanese, 1},
        {"dates as texts", Row({"1", "2024/12/09 08:00:00"}), Row({"2", "2024/12/10 07:00:00"}), 1, false, japanese, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sign(CompareListRows(c.a, c.b, c.column, c.flag, c.collator)), c.sign) << c.what;
}

std::vector<int> Numbers(const std::vector<QStringList>& rows)
{
    std::vector<int> out;
    for (const QStringList& r : rows)
        out.push_back(r.at(0).toInt());
    return out;
}

TEST(ListSort, EachColumnsFlagFlipsAfterItsSort)
{
    const QCollator collator = ListCollator(QLocale(QLocale::Japanese, QLocale::Japan));
    std::vector<QStringList> rows{Row({"1", "b"}), Row({"2", "A"}), Row({"3", ""}), Row({"4", "c"})};
    ListSortState state(2);
    EXPECT_EQ(state.column(), 0);
    EXPECT_FALSE(state.flag(0));
    EXPECT_FALSE(state.flag(1));

    state.Click(0, rows, collator);  // first click: descending
    EXPECT_EQ(Numbers(rows), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_TRUE(state.flag(0));
    state.Click(0, rows, collator);  // then ascending
    EXPECT_EQ(Numbers(rows), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(state.flag(0));

    state.Click(1, rows, collator);  // its own flag: descending first
    EXPECT_EQ(state.column(), 1);
    EXPECT_EQ(Numbers(rows), (std::vector<int>{4, 1, 2, 3}));
    state.Click(1, rows, collator);
    EXPECT_EQ(Numbers(rows), (std::vector<int>{3, 2, 1, 4}));
    EXPECT_FALSE(state.flag(0)) << "a column's flag is its own";
}

TEST(ListSort, AListingOfTheSimulatedInstrumentSortsByDateAndName)
{
    qlxsim::Qlx50Sim sim;  // the default memory: measured curves of a few shifts
    Trs232c port;
    ConfigureInstrumentPort(port);
    qlxtest::ScriptedUi ui;
    InstrumentSession session(port, ui);
    session.ComPortName = sim.devicePath();
    const OpResult<ImpEntries> entries = ListMeasured(session);
    ASSERT_TRUE(entries.done());

    // The rows as the list view shows them.
    std::vector<QStringList> rows;
    for (int n = 1; n <= 64; ++n) {
        const int e = ImpRowStampEntry(n);
        rows.push_back({QString::number(n), QString::fromStdString(SjisToUtf8(StampDateText(entries.value()[e]))),
                        QString::fromStdString(SjisToUtf8(entries.value()[e + 1]))});
    }
    const QCollator collator = ListCollator(QLocale(QLocale::Japanese, QLocale::Japan));
    ListSortState state(3);
    state.Click(1, rows, collator);
    // Latest first: the later shift's last unit in slot 40, then slot 22.
    EXPECT_EQ(rows[0], Row({"40", "2024/12/11 14:09:58", "WOOFER-16A  "}));
    EXPECT_EQ(rows[1].at(0), "22");
    EXPECT_EQ(rows[1].at(2), QString::fromUtf8("低音12/8Ω  "));
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [&](const QStringList& a, const QStringList& b) {
        return CompareListRows(a, b, 1, false, collator) < 0;
    }));
    EXPECT_TRUE(rows.back().at(1).isEmpty()) << "empty slots last";

    state.Click(2, rows, collator);  // names descending
    EXPECT_EQ(rows[0].at(2), QString::fromUtf8("低音12/8Ω  "));
    state.Click(2, rows, collator);  // ascending: empty names first
    EXPECT_TRUE(rows[0].at(2).isEmpty());
    EXPECT_EQ(rows.back().at(2), QString::fromUtf8("低音12/8Ω  "));
}

}  // namespace
}  // namespace qlx
