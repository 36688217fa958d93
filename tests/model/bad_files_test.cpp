// Files that are no curve and no list, opened as either: each loads (as far
// as its format can use it) or is refused, reading no more than a curve or a
// list can hold, so that the open returns at once and within a small memory
// limit whatever the file's size.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>

#include "model/curve_file.h"
#include "model/ref_list.h"
#include "support/memory_limit.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::TempDir;
using qlxtest::WriteAll;

constexpr std::uintmax_t kGigabyte = std::uintmax_t{1} << 30;
// More than a reader may take, less than any of the files below would need.
constexpr std::size_t kHeadroom = 32u << 20;

struct BadFile {
    const char* what;
    std::function<void(const std::string& path)> make;
    // What opening it as a curve (into a default curve) or as a list must
    // give; an empty text when it did.
    std::function<std::string(const IoResult&, const CurveLines&)> curveCheck;
    std::function<std::string(const IoResult&, int odd, const RefList&)> listCheck;
};

CurveLines DefaultCurve()
{
    CurveLines c{};
    FillDefaults(c);
    c[MemoSlot] = "memo before";
    return c;
}

// Nothing read may hold more than a line's worth, however long the file's lines.
std::string BoundedCurve(const CurveLines& c)
{
    for (int i = 0; i < MemoSlot; ++i)
        if (c[i].size() > kMaxLineBytes)
            return "slot " + std::to_string(i) + " holds " + std::to_string(c[i].size()) + " bytes";
    if (c[MemoSlot].size() > 20 * (kMaxLineBytes + 2))
        return "the memo holds " + std::to_string(c[MemoSlot].size()) + " bytes";
    return "";
}

std::string BoundedList(const RefList& list)
{
    for (const RefListRow& row : list.Rows)
        if (row.name.size() > kMaxLineBytes || row.fileName.size() > kMaxLineBytes || row.folder.size() > kMaxLineBytes)
            return "a row holds more than a line";
    return "";
}

bool RowsEmpty(const RefList& list)
{
    return std::all_of(list.Rows.begin(), list.Rows.end(), [](const RefListRow& r) { return r == RefListRow{}; });
}

// The curve's slots before `from` as the file gave them; the others as they were.
bool KeepsDefaultsFrom(const CurveLines& c, int from)
{
    const CurveLines d = DefaultCurve();
    for (int i = from; i < MemoSlot; ++i)
        if (c[i] != d[i])
            return false;
    return true;
}

std::vector<BadFile> BadFiles()
{
    return {
        {"binary garbage (1 MiB of every byte value)",
         [](const std::string& path) {
             std::mt19937 rng(42);
             std::string bytes(1 << 20, '\0');
             for (char& b : bytes)
                 b = static_cast<char>(rng() & 0xFF);
             WriteAll(path, bytes);
         },
         [](const IoResult& r, const CurveLines& c) { return r.ok ? BoundedCurve(c) : "refused: " + r.error; },
         [](const IoResult& r, int odd, const RefList& list) {
             if (!r.ok)
                 return "refused: " + r.error;
             return odd == 0 ? std::string("not warned as no sound list") : BoundedList(list);
         }},
        {"1 GB file (two lines, then a sparse hole)",
         [](const std::string& path) {
             WriteAll(path, "[HUGE        ]\nB\n");
             std::filesystem::resize_file(path, kGigabyte);
         },
         [](const IoResult& r, const CurveLines& c) {
             if (!r.ok)
                 return "refused: " + r.error;
             if (c[0] != "[HUGE        ]" || c[1] != "B" || !KeepsDefaultsFrom(c, 2) || !c[MemoSlot].empty())
                 return std::string("not its two lines over the curve as it was");
             return BoundedCurve(c);
         },
         [](const IoResult& r, int odd, const RefList& list) {
             if (!r.ok)
                 return "refused: " + r.error;
             if (list.Row(1).name != "HUGE        ")
                 return "row 1 is named \"" + list.Row(1).name + "\"";
             return odd == 0 ? std::string("not warned as no sound list") : BoundedList(list);
         }},
        {"one line of 48 MiB",
         [](const std::string& path) { WriteAll(path, std::string(48u << 20, 'A') + "\n[AFTER      ]\n"); },
         [](const IoResult& r, const CurveLines& c) {
             if (!r.ok)
                 return "refused: " + r.error;
             // The line keeps its first 4096 bytes; the file is not read past
             // what 512 lines can use, so the line after it is never reached.
             if (c[0] != std::string(kMaxLineBytes, 'A') || !KeepsDefaultsFrom(c, 1))
                 return std::string("not the line's first 4096 bytes over the curve as it was");
             return BoundedCurve(c);
         },
         [](const IoResult& r, int odd, const RefList& list) {
             if (!r.ok)
                 return "refused: " + r.error;
             if (!RowsEmpty(list))
                 return std::string("a row was filled from a line that is no entry");
             return odd == 0 ? std::string("not warned as no sound list") : std::string();
         }},
        {"only NUL bytes (256 MiB, sparse)",
         [](const std::string& path) {
             WriteAll(path, "");
             std::filesystem::resize_file(path, 256u << 20);
         },
         [](const IoResult& r, const CurveLines& c) {
             if (!r.ok)
                 return "refused: " + r.error;
             // NUL is a blank byte: no line at all, the memo cleared.
             if (!KeepsDefaultsFrom(c, 0) || !c[MemoSlot].empty())
                 return std::string("not the curve as it was with an empty memo");
             return std::string();
         },
         [](const IoResult& r, int odd, const RefList& list) {
             if (!r.ok)
                 return "refused: " + r.error;
             if (!RowsEmpty(list))
                 return std::string("a row was filled");
             return odd == 0 ? std::string("not warned as no sound list") : std::string();
         }},
    };
}

// Opens `path` as `kind` and returns what was wrong ("" when nothing).
std::string Open(const BadFile& file, bool asCurve, const std::string& path)
{
    if (asCurve) {
        CurveLines c = DefaultCurve();
        const IoResult r = ReadCurveFile(path, c);
        return file.curveCheck(r, c);
    }
    RefList list;
    list.Row(5) = {"BEFORE", "before", "/x", false};
    int odd = 0;
    const IoResult r = ReadRefListFile(path, "/nowhere", list, odd);
    return file.listCheck(r, odd, list);
}

TEST(BadFiles, EachLoadsOrIsRefusedWithinASmallMemoryLimit)
{
    TempDir dir;
    int n = 0;
    for (const BadFile& file : BadFiles()) {
        const std::string path = dir.file("bad" + std::to_string(++n));
        file.make(path);
        for (bool asCurve : {true, false}) {
            SCOPED_TRACE(std::string(file.what) + (asCurve ? " as a curve" : " as a list"));
            if (qlxtest::MemoryLimitUsable()) {
                const int status =
                    qlxtest::RunWithMemoryLimit(kHeadroom, [&] { return Open(file, asCurve, path).empty() ? 0 : 1; });
                ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0)
                                               << " within " << (kHeadroom >> 20) << " MiB more memory";
            }
            // It fits the limit, so it may run here to tell what went wrong.
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(Open(file, asCurve, path), "");
            const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            std::cout << "[ opened   ] " << file.what << (asCurve ? " as a curve: " : " as a list: ") << ms << " ms\n";
        }
        std::filesystem::remove(path);
    }
}

}  // namespace
}  // namespace qlx
