#include <gtest/gtest.h>

#include <set>

#include "comm/download_lists.h"
#include "comm/download_names.h"
#include "model/sjis.h"

namespace qlx {
namespace {

std::string Sjis(const char* utf8) { return *Utf8ToSjis(utf8); }

TEST(RunFolderDate, ShortFormatsWithoutSlashesAndDotsOrTheSortableFallback)
{
    struct Case {
        const char* format;  // as QLocale gives it for the locale named
        RunDate date;
        const char* expected;
    };
    const Case cases[] = {
        {"yyyy/MM/dd", {2024, 12, 8}, "20241208"},    // ja_JP
        {"yyyy-MM-dd", {2024, 12, 8}, "2024-12-08"},  // sv_SE: other separators stay
        {"yyyy. MM. dd.", {2024, 3, 5}, "20240305"},  // hu_HU: no blank to end a folder name
        {"yyyy.MM.dd", {987, 1, 2}, "09870102"},      // four digits for any year
        // No leading zeros or a two-digit year: two dates could share a name.
        {"M/d/yy", {2024, 1, 11}, "20240111"},      // en_US: 1/11/24 would be 11124 ...
        {"M/d/yy", {2024, 11, 1}, "20241101"},      // ... as 11/1/24 would
        {"d MMM yyyy", {2024, 12, 8}, "20241208"},  // C
        {"yyyy/M/d", {2024, 12, 8}, "20241208"},    // zh_CN
        {"dd.MM.yy", {2024, 12, 8}, "20241208"},    // de_DE
        {"yy. M. d.", {2024, 12, 8}, "20241208"},   // ko_KR
        // Day or month first would not sort by date.
        {"dd/MM/yyyy", {2024, 12, 8}, "20241208"},  // en_GB, fr_FR
        {"dd-MM-yyyy", {2024, 12, 8}, "20241208"},  // nl_NL
        {"'d'yyyy/MM/dd", {2024, 12, 8}, "20241208"},
        {"", {2024, 12, 8}, "20241208"},
        {"yyyy/MM/dd/dd", {2024, 12, 8}, "20241208"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunFolderDate(c.date, c.format), c.expected) << c.format;
}

TEST(RunFolderDate, FallbackNamesOfDifferentDatesDiffer)
{
    std::set<std::string> names;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 31; ++day)
            names.insert(RunFolderDate({2024, month, day}, "M/d/yy"));
    EXPECT_EQ(names.size(), 12u * 31u);
}

TEST(FirstFreeName, NumbersFromOneWhileTheNameIsTaken)
{
    struct Case {
        std::set<std::string> taken;
        const char* expected;
    };
    const Case cases[] = {
        {{}, "Ref_20241208"},
        {{"Ref_20241208"}, "Ref_20241208_1"},
        {{"Ref_20241208", "Ref_20241208_1"}, "Ref_20241208_2"},
        {{"Ref_20241208_1"}, "Ref_20241208"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstFreeName("Ref_20241208", "", [&](const std::string& n) { return c.taken.count(n) > 0; }),
                  c.expected);
    const std::set<std::string> files{"A_2024_1208_1530_12.q5imp", "A_2024_1208_1530_12_1.q5imp"};
    EXPECT_EQ(FirstFreeName("A_2024_1208_1530_12", ".q5imp", [&](const std::string& n) { return files.count(n) > 0; }),
              "A_2024_1208_1530_12_2.q5imp");
}

TEST(CurveFileNames, ReferenceNamesAreSafeUnicodeFileNames)
{
    struct Case {
        int number;
        std::string nameBytes;
        std::string expected;
    };
    const Case cases[] = {
        {7, "Woofer/A:1  ", "Ref_No7_Woofer_A_1.q5imp"},
        {1, "            ", "Ref_No1_.q5imp"},
        {3, "WOOFER-16A  ", "Ref_No3_WOOFER-16A.q5imp"},
        {12, "a\\b*c?d<e>f|", "Ref_No12_a_b_c_d_e_f_.q5imp"},
        {2, Sjis("低音") + "        ", "Ref_No2_低音.q5imp"},
        // Second bytes 0x5C and 0x7C of double-byte characters are no "\" or "|".
        {4, Sjis("ソフト表示"), "Ref_No4_ソフト表示.q5imp"},
        {5, std::string("AB\0\x01\x1f\x7f", 6), "Ref_No5_AB____.q5imp"},
        {6, "............", "Ref_No6_" + std::string(12, '.') + ".q5imp"},
        {8, "../../etc   ", "Ref_No8_.._.._etc.q5imp"},
        // Only blanks at the end go; inner and leading blanks stay.
        {9, " A B        ", "Ref_No9_ A B.q5imp"},
        // A byte that is no character, and a reply that brought only 3 bytes.
        {10, "X\x83", "Ref_No10_X\xEF\xBF\xBD.q5imp"},
        {64, "abc", "Ref_No64_abc.q5imp"},
        // A double quote, which FAT and NTFS media refuse in a name.
        {11, "12\" woofer ", "Ref_No11_12_ woofer.q5imp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RefCurveFileName(c.number, c.nameBytes), c.expected) << c.number;
}

TEST(CurveFileNames, MeasuredNamesFromStampAndName)
{
    struct Case {
        const char* what;
        std::string stampLine;
        std::string nameLine;
        std::string expected;
    };
    const Case cases[] = {
        {"the name and its stamp", "[241208153012]", "[Woofer A    ]", "Woofer A_2024_1208_1530_12.q5imp"},
        {"an all-blank name", "[241208153012]", "[            ]", "_2024_1208_1530_12.q5imp"},
        {"replaced characters", "[241208153012]", "[SP/1:L      ]", "SP_1_L_2024_1208_1530_12.q5imp"},
        {"a Shift-JIS name", "[241209080102]", "[" + Sjis("低音１８") + "    ]", "低音１８_2024_1209_0801_02.q5imp"},
        // A double-byte character cut at byte 12 must not swallow the "_".
        {"a cut double-byte character", "[241208153012]", "[ABCDEFGHIJK\x83]",
         "ABCDEFGHIJK\xEF\xBF\xBD_2024_1208_1530_12.q5imp"},
        {"slashes in the stamp", "[24/208/530/2]", "[A           ]", "A_2024__208__530__2.q5imp"},
        {"a name of dots is not hidden", "[241208153012]", "[............]", "_..........._2024_1208_1530_12.q5imp"},
        {"short lines give what they hold", "[2412]", "[A]", "A]_2024_12]__.q5imp"},
        {"no lines at all", "", "", "_20___.q5imp"},
        {"control bytes", std::string("[24\n208153012]"), std::string("[A\0B\rC       ]", 14),
         "A_B_C_2024__208_1530_12.q5imp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImpCurveFileName(c.stampLine, c.nameLine), c.expected) << c.what;
}

TEST(MeasuredList, RowsShowSlotsAndStampsAsDates)
{
    struct RowCase {
        int row;
        int slot;
        int stampEntry;
    };
    const RowCase rows[] = {{1, 1, 2}, {2, 2, 4}, {63, 63, 126}, {64, 0, 0}};
    for (const RowCase& r : rows) {
        EXPECT_EQ(ImpRowSlot(r.row), r.slot) << r.row;
        EXPECT_EQ(ImpRowStampEntry(r.row), r.stampEntry) << r.row;
        EXPECT_EQ(ImpRowStampEntry(r.row), 2 * ImpRowSlot(r.row)) << "a row's entries are its slot's";
    }

    struct DateCase {
        std::string entry;
        std::string text;
    };
    const DateCase dates[] = {
        {"241208153012", "2024/12/08 15:30:12"},
        {"991231235959", "2099/12/31 23:59:59"},
        {"", ""},
        {"            ", ""},
        {"2412", "2024/12/ ::"},
        {"24120815301299", "2024/12/08 15:30:12"},
    };
    for (const DateCase& d : dates)
        EXPECT_EQ(StampDateText(d.entry), d.text) << "[" << d.entry << "]";
}

}  // namespace
}  // namespace qlx
