#include <gtest/gtest.h>

#include <filesystem>

#include "model/ref_list.h"
#include "support/temp_dir.h"

namespace {

using qlx::RefList;
using qlx::RefListRow;
using qlxtest::TempDir;
using qlxtest::WriteAll;

std::string Repeat(const std::string& line, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += line;
    return out;
}

// A list file image of the given entries (name line, path line) with eol.
std::string ListFile(const std::vector<std::pair<std::string, std::string>>& entries, const std::string& eol)
{
    std::string out;
    for (const auto& [name, path] : entries)
        out += name + eol + path + eol;
    return out;
}

TEST(RefListFile, EmptyListIs128CommaLines)
{
    RefList list;
    EXPECT_EQ(qlx::RefListFileBytes(list), Repeat(",\r\n", 128));
    EXPECT_EQ(qlx::RefListFileBytes(list, "\n"), Repeat(",\n", 128));
}

TEST(RefListFile, NamesArePaddedInBytesAndReadBackWithTheirBlanks)
{
    TempDir dir;
    WriteAll(dir.file("abc.q5imp"), "x\n");
    RefList list;
    list.Row(1) = {"abc", "abc", dir.path().string(), false};
    list.Row(2) = {"\x83\x65\x83\x58", "abc", dir.path().string(), false};  // 2 Shift-JIS characters, 4 bytes
    const std::string bytes = qlx::RefListFileBytes(list);
    const std::string path = dir.path().string() + "/abc.q5imp";
    EXPECT_EQ(bytes.substr(0, 16 + path.size() + 2), "[abc         ]\r\n" + path + "\r\n");
    EXPECT_NE(bytes.find("[\x83\x65\x83\x58        ]\r\n"), std::string::npos);

    RefList back;
    qlx::ParseRefListBytes(bytes, "/nowhere", back);
    EXPECT_EQ(back.Row(1), (RefListRow{"abc         ", "abc", dir.path().string(), false}));
    EXPECT_EQ(back.Row(2).name, "\x83\x65\x83\x58        ");
    EXPECT_EQ(back.Row(3), RefListRow{});
}

TEST(RefListFile, LinesInMemoryAreTheFileLinesWithoutLineEnds)
{
    RefList list;
    list.Row(1) = {"abc", "abc", "/curves", false};
    list.Row(2) = {"", "lost", "/gone", true};             // missing files keep their path line
    list.Row(3) = {"only name", "", "", false};            // no folder: "," path line
    list.Row(64) = {"\x83\x65\x83\x58", "x", "/", false};  // padded in bytes; "/" not doubled
    const qlx::RefListLines lines = qlx::BuildRefListLines(list);
    EXPECT_EQ(lines[0], "[abc         ]");
    EXPECT_EQ(lines[1], "/curves/abc.q5imp");
    EXPECT_EQ(lines[2], ",");
    EXPECT_EQ(lines[3], "/gone/lost.q5imp");
    EXPECT_EQ(lines[4], "[only name   ]");
    EXPECT_EQ(lines[5], ",");
    for (int i = 6; i < 126; ++i)
        EXPECT_EQ(lines[static_cast<size_t>(i)], ",") << i;
    EXPECT_EQ(lines[126], "[\x83\x65\x83\x58        ]");
    EXPECT_EQ(lines[127], "/x.q5imp");

    std::string joined;
    for (const std::string& line : lines)
        joined += line + "\r\n";
    EXPECT_EQ(qlx::RefListFileBytes(list), joined);
    EXPECT_EQ(qlx::ListEntryText(","), "");
    EXPECT_EQ(qlx::ListEntryText(",,"), ",,");
    EXPECT_EQ(qlx::ListEntryText("/a.q5imp"), "/a.q5imp");
}

TEST(RefListFile, NameLongerThanTwelveBytesIsWrittenWhole)
{
    RefList list;
    list.Row(1).name = "ABCDEFGHIJKLMN";
    EXPECT_EQ(qlx::RefListFileBytes(list).substr(0, 19), "[ABCDEFGHIJKLMN]\r\n,");
}

TEST(RefListFile, NameWithoutFolderGivesACommaPathLineAndNoWarning)
{
    RefList list;
    list.Row(1) = {"abc         ", "abc", "", false};
    const std::string bytes = qlx::RefListFileBytes(list);
    EXPECT_EQ(bytes.substr(0, 19), "[abc         ]\r\n,\r\n");
    RefList back;
    qlx::ParseRefListBytes(bytes, "/nowhere", back);
    EXPECT_EQ(back.Row(1), (RefListRow{"abc         ", "", "", false}));
}

TEST(RefListFile, CurveMovedBesideTheListIsFoundThere)
{
    TempDir dir;
    WriteAll(dir.file("moved.q5imp"), "x\n");
    WriteAll(dir.file("\xE3\x83\x86\xE3\x82\xB9.q5imp"), "x\n");  // "テス" in UTF-8
    const std::string bytes = ListFile({{"[m1          ]", "/old/place/moved.q5imp"},
                                        {"[m2          ]", "C:\\Users\\me\\curves\\moved.q5imp"},
                                        {"[m3          ]", "D:\\\x83\x65\x83\x58.q5imp"}},  // "テス" in Shift-JIS
                                       "\r\n");
    RefList list;
    qlx::ParseRefListBytes(bytes, dir.path().string() + "/", list);
    for (int r : {1, 2}) {
        SCOPED_TRACE(r);
        EXPECT_EQ(list.Row(r).fileName, "moved");
        EXPECT_EQ(list.Row(r).folder, dir.path().string());
        EXPECT_FALSE(list.Row(r).missing);
    }
    EXPECT_EQ(list.Row(3).fileName, "\xE3\x83\x86\xE3\x82\xB9");
    EXPECT_EQ(list.Row(3).folder, dir.path().string());
    EXPECT_FALSE(list.Row(3).missing);
}

TEST(RefListFile, BackslashSeparatorsOfAnExistingFileAreReadAsFolders)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "sub");
    WriteAll(dir.file("sub/a.q5imp"), "x\n");
    RefList list;
    qlx::ParseRefListBytes(ListFile({{",", dir.path().string() + "\\sub\\a.q5imp"}}, "\n"), "/nowhere", list);
    EXPECT_EQ(list.Row(1), (RefListRow{"", "a", dir.path().string() + "/sub", false}));
}

TEST(RefListFile, FilesMissingEverywhereAreMarkedAndKeepTheirStoredFolder)
{
    TempDir dir;
    RefList list;
    qlx::ParseRefListBytes(
        ListFile({{"[a           ]", "/gone/a.q5imp"}, {",", ","}, {"[c           ]", "C:\\data\\c.q5imp"}}, "\r\n"),
        dir.path().string(), list);
    EXPECT_EQ(list.Row(1), (RefListRow{"a           ", "a", "/gone", true}));
    EXPECT_EQ(list.Row(2), RefListRow{});
    EXPECT_EQ(list.Row(3), (RefListRow{"c           ", "c", "C:\\data", true}));

    qlx::RefListControls controls;
    controls.SetAll(true);
    qlx::ApplyEnablingAfterOpen(list, controls);
    EXPECT_EQ(controls, qlx::RefListControls{});
}

TEST(RefListFile, BlankLinesAndLfOnlyReadTheSameAsPlainCrLf)
{
    TempDir dir;
    WriteAll(dir.file("a.q5imp"), "x\n");
    const std::string path = dir.file("a.q5imp");
    const std::string plain = ListFile({{"[a           ]", path}, {",", ","}, {"[b           ]", path}}, "\r\n");
    const std::string blanks =
        "\r\n\n  \n[a           ]\n" + path + "\n\n\t\r\n,\n,\n \n\n[b           ]\n" + path + "\n";
    RefList a, b;
    qlx::ParseRefListBytes(plain, "/nowhere", a);
    qlx::ParseRefListBytes(blanks, "/nowhere", b);
    EXPECT_EQ(a.Rows, b.Rows);
    EXPECT_EQ(b.Row(3).name, "b           ");
    EXPECT_EQ(b.Row(3).folder, dir.path().string());
}

TEST(RefListFile, ShortListEmptiesTheRowsAfterItsLastEntryAndExtraEntriesAreIgnored)
{
    RefList list;
    for (int r = 1; r <= 64; ++r)
        list.Row(r) = {"old", "old", "/old", true};
    qlx::ParseRefListBytes(ListFile({{"[one         ]", ","}}, "\r\n"), "/nowhere", list);
    EXPECT_EQ(list.Row(1).name, "one         ");
    for (int r = 2; r <= 64; ++r)
        EXPECT_EQ(list.Row(r), RefListRow{}) << r;

    std::vector<std::pair<std::string, std::string>> entries;
    for (int r = 1; r <= 65; ++r)
        entries.push_back({"[" + std::to_string(r) + "]", ","});
    qlx::ParseRefListBytes(ListFile(entries, "\n"), "/nowhere", list);
    EXPECT_EQ(list.Row(64).name, "64]");
}

TEST(RefListFile, NameLineAtTheEndWithoutPathLineReadsAsEmptyPath)
{
    RefList list;
    qlx::ParseRefListBytes("[last        ]", "/nowhere", list);
    EXPECT_EQ(list.Row(1), (RefListRow{"last        ", "", "", false}));
}

// Files that are not reference lists (garbage, other text, absurd lines)
// are still read without harm, but their odd entries are counted so that the
// user can be told; every form a list is written in counts as sound.
TEST(RefListFile, EntriesNotInTheListFormAreCounted)
{
    const std::string huge(5000, 'A');
    const struct {
        const char* what;
        std::string bytes;
        int odd;
    } cases[] = {
        {"written list", ListFile({{"[a           ]", "/d/a.q5imp"}, {",", ","}}, "\r\n"), 0},
        {"download list", ListFile({{"[a           ]", "/d/a.q5imp"}}, "\n"), 0},
        {"blank lines", "\r\n\n[a           ]\n/d/a.q5imp\n\n,\n,\n", 0},
        {"name without path at the end", "[last        ]", 0},
        {"windows path", ListFile({{"[a           ]", "C:\\x\\a.q5imp"}}, "\r\n"), 0},
        {"empty file", "", 0},
        {"text that is no list", "hello\nworld\nthird\n", 2},
        {"nul byte in a path", ListFile({{"[a           ]", std::string("/d/a.q5imp\0zz", 13)}}, "\n"), 1},
        {"nul byte in a name", ListFile({{std::string("[a\0", 3), ","}}, "\n"), 1},
        {"path longer than any file name", ListFile({{"[a           ]", "/d/" + huge + ".q5imp"}, {",", ","}}, "\n"),
         1},
    };
    for (const auto& c : cases) {
        RefList list;
        EXPECT_EQ(qlx::ParseRefListBytes(c.bytes, "/nowhere", list), c.odd) << c.what;
    }
}

// A path cut short at a NUL byte must not find the file named by its front:
// the entry is no entry, and its row stays empty.
TEST(RefListFile, PathWithANulByteNamesNoFile)
{
    TempDir dir;
    WriteAll(dir.file("a.q5imp"), "x\n");
    RefList list;
    EXPECT_EQ(qlx::ParseRefListBytes("[a           ]\n" + dir.file("a.q5imp") + std::string("\0/b.q5imp\n", 10),
                                     "/nowhere", list),
              1);
    EXPECT_EQ(list.Row(1), RefListRow{});
}

// An entry that is no list entry is not taken apart: its row stays empty
// (no file name, folder or warning colour from it), and the entries after
// it are read as usual, however long its line.
TEST(RefListFile, AnEntryThatIsNoEntryLeavesItsRowEmpty)
{
    TempDir dir;
    WriteAll(dir.file("b.q5imp"), "x\n");
    const std::string good = dir.file("b.q5imp");
    const struct {
        const char* what;
        std::string name, path;
    } cases[] = {
        {"path longer than any path", "[a           ]", "/d/" + std::string(5000, 'p') + ".q5imp"},
        {"path longer than the line cap", ",", "/d/" + std::string(100000, 'p') + ".q5imp"},
        {"name line not bracketed", "note", good},
        {"name longer than the line cap", "[" + std::string(9000, 'n'), good},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RefList list;
        EXPECT_EQ(
            qlx::ParseRefListBytes(ListFile({{c.name, c.path}, {"[b           ]", good}}, "\r\n"), "/nowhere", list),
            1);
        EXPECT_EQ(list.Row(1), RefListRow{});
        EXPECT_EQ(list.Row(2), (RefListRow{"b           ", "b", dir.path().string(), false}));
    }
}

TEST(RefListRows, InsertAndDeleteMoveRowsWithTheirWarningFlags)
{
    RefList list;
    for (int r = 1; r <= 64; ++r)
        list.Row(r) = {"n" + std::to_string(r), "f" + std::to_string(r), "/d", r % 2 == 0};

    RefList inserted = list;
    ASSERT_TRUE(inserted.InsertRow(2));
    EXPECT_EQ(inserted.Row(1), list.Row(1));
    EXPECT_EQ(inserted.Row(2), RefListRow{});
    EXPECT_EQ(inserted.Row(3), list.Row(2));
    EXPECT_EQ(inserted.Row(64), list.Row(63));

    RefList atEnd = list;
    ASSERT_TRUE(atEnd.InsertRow(64));
    EXPECT_EQ(atEnd.Row(63), list.Row(63));
    EXPECT_EQ(atEnd.Row(64), RefListRow{});

    RefList deleted = list;
    ASSERT_TRUE(deleted.DeleteRow(1));
    for (int r = 1; r <= 63; ++r)
        EXPECT_EQ(deleted.Row(r), list.Row(r + 1)) << r;
    EXPECT_EQ(deleted.Row(64), RefListRow{});

    RefList untouched = list;
    EXPECT_FALSE(untouched.InsertRow(0));
    EXPECT_FALSE(untouched.DeleteRow(0));
    EXPECT_FALSE(untouched.DeleteRow(65));
    EXPECT_EQ(untouched.Rows, list.Rows);
}

TEST(RefListCsv, EmptyAndFullRows)
{
    RefList list;
    list.Row(1) = {"abc         ", "curve", "/data/curves", false};
    list.Row(2) = {"x\"y", "", "", false};
    const std::string csv = qlx::RefListCsvBytes(list);
    EXPECT_EQ(csv.substr(0, csv.find("3,")),
              "1,\"abc         \",\"curve.q5imp\",\"/data/curves\"\r\n"
              "2,\"x\"y\",\"\",\"\"\r\n");
    EXPECT_NE(csv.find("\r\n5,\"\",\"\",\"\"\r\n"), std::string::npos);
    EXPECT_TRUE(csv.ends_with("\r\n64,\"\",\"\",\"\"\r\n"));
}

// The curve name is Shift-JIS already; file name and folder are file-system
// bytes (UTF-8) and are converted, so that one viewer shows every column.
TEST(RefListCsv, FileNameAndFolderAreShiftJisLikeTheName)
{
    RefList list;
    list.Row(1) = {"\x83\x65\x83\x58        ", "スピーカー①", "/データ/ｶﾀｶﾅ~\\", false};
    // No Shift-JIS form: each such character becomes "?", as does each byte
    // that is no UTF-8 and no Shift-JIS text.
    list.Row(2) = {"n", "한국😀", "/d\xff/x", false};
    // Not UTF-8 but Shift-JIS: a path from a list written with Shift-JIS
    // names (its file missing here) is already in the CSV's encoding.
    list.Row(3) = {"n", "\x83\x65\x83\x58", "/\x83\x66", true};
    const std::string csv = qlx::RefListCsvBytes(list);
    const std::string expected =
        "1,\"\x83\x65\x83\x58        \","
        "\"\x83\x58\x83\x73\x81\x5b\x83\x4a\x81\x5b\x87\x40.q5imp\","
        "\"/\x83\x66\x81\x5b\x83\x5e/\xb6\xc0\xb6\xc5~\\\"\r\n"
        "2,\"n\",\"???.q5imp\",\"/d?/x\"\r\n"
        "3,\"n\",\"\x83\x65\x83\x58.q5imp\",\"/\x83\x66\"\r\n";
    EXPECT_EQ(csv.substr(0, expected.size()), expected);
}

TEST(RefListEnabling, FirstFoundRowEnablesAllButTheSaveMenu)
{
    struct Case {
        const char* name;
        std::vector<RefListRow> rows;  // rows 1.. in order
        bool saveMenuBefore;
        qlx::RefListControls expected;
    };
    const RefListRow good{"n", "f", "/d", false};
    const RefListRow missing{"n", "f", "/d", true};
    const RefListRow empty{};
    const Case cases[] = {
        {"first row found keeps the save menu", {good}, true, {true, true, true, true, true}},
        {"first row found, save menu off", {good}, false, {true, true, false, true, true}},
        {"missing first row turns the save menu off", {missing, good}, true, {true, true, false, true, true}},
        {"empty then found", {empty, empty, good, missing}, true, {true, true, false, true, true}},
        {"nothing found", {missing, empty}, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RefList list;
        for (size_t i = 0; i < c.rows.size(); ++i)
            list.Rows[i] = c.rows[i];
        qlx::RefListControls controls;
        controls.SetAll(true);
        controls.SaveMenu = c.saveMenuBefore;
        qlx::ApplyEnablingAfterOpen(list, controls);
        EXPECT_EQ(controls, c.expected);
    }
}

TEST(RefListPaths, FoldersAndJoins)
{
    EXPECT_EQ(qlx::FolderWithoutSeparator("/a/b/c.q5imp"), "/a/b");
    EXPECT_EQ(qlx::FolderWithoutSeparator("C:\\a\\c.q5imp"), "C:\\a");
    EXPECT_EQ(qlx::FolderWithoutSeparator("/c.q5imp"), "/");
    EXPECT_EQ(qlx::FolderWithoutSeparator("c.q5imp"), "");
    EXPECT_EQ(qlx::JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(qlx::JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(qlx::JoinPath("", "b"), "b");
    EXPECT_EQ(qlx::RowCurvePath({"", "x", "/", false}), "/x.q5imp");
}

}  // namespace
