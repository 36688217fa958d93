// Saving and opening where the file system refuses: every save names the
// file and the system's reason, keeps what it saved from, leaves an old file
// as it was and no temporary file behind; every open names the file and the
// reason and leaves the curve or list as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <set>

#include "model/curve_csv.h"
#include "model/curve_file.h"
#include "model/ref_list_editor.h"
#include "support/bad_destinations.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace qlx {
namespace {

using qlxtest::BadPlace;

// What a save or an open reported, and whether what it worked on is as it was.
struct FileOutcome {
    bool ok = false;
    std::string message;
    bool memoryKept = false;
};

// Through the pipe of a child that ran as an ordinary user.
std::string Encode(const FileOutcome& o) { return std::string{o.ok ? '1' : '0', o.memoryKept ? '1' : '0'} + o.message; }
FileOutcome Decode(const std::string& s)
{
    if (s.size() < 2)
        return {false, "(no answer from the child)", false};
    return {s[0] == '1', s.substr(2), s[1] == '1'};
}

FileOutcome RunPossiblyAsOrdinaryUser(bool asOrdinaryUser, const std::function<FileOutcome()>& body)
{
    if (!asOrdinaryUser)
        return body();
    const auto answer = qlxtest::RunAsOrdinaryUser([&] { return Encode(body()); });
    return answer ? Decode(*answer) : FileOutcome{false, "(the child could not drop its privileges)", false};
}

class RecordingListUi : public RefListUi {
public:
    std::vector<std::string> errors;
    SaveAnswer AskChangeSave() override { return SaveAnswer::No; }
    bool ConfirmRowInsert() override { return false; }
    std::optional<std::string> ChooseListToOpen(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseListToSave(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> ChooseCurveToRegister(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseCsvToSave(const std::string&) override { return std::nullopt; }
    void FileError(const std::string& text) override { errors.push_back(text); }
    void ShowUploadPage() override {}
};

CurveLines SavedCurve()
{
    CurveLines c{};
    FillDefaults(c);
    c[NameLine] = "[SAVED CURVE ]";
    for (int j = 0; j < kPointCount; ++j)
        c[PointSlot(0, j)] = std::to_string(100 + j);
    c[MemoSlot] = "memo";
    return c;
}

RefList SavedList()
{
    RefList list;
    list.Row(1) = {"WOOFER", "woofer", "/curves", false};
    list.Row(64) = {"TWEETER", "tweeter", "/curves", true};
    return list;
}

// One saver the window calls: it writes to `path` and tells what it reported.
struct Saver {
    const char* what;
    const char* fileName;
    std::function<FileOutcome(const std::string& path)> save;
};

FileOutcome SaveCurveFile(const std::string& path)
{
    const CurveLines curve = SavedCurve();
    CurveLines held = curve;
    const IoResult r = WriteCurveFile(path, held);
    return {r.ok, r.error, held == curve};
}

FileOutcome SaveList(const std::string& path)
{
    std::string listDir = "/lists", curveDir = "/curves", csvDir = "/csv";
    RecordingListUi ui;
    RefListEditor editor({listDir, curveDir, csvDir}, ui);
    editor.List = SavedList();
    editor.RefListFilePath = "/lists/open.q5lst";
    editor.ShownFileName = "open";
    editor.RefListModified = true;
    const bool ok = editor.WriteRefListFile(path);
    // Nothing of the list, its file name or its unsaved state is lost.
    const bool kept = editor.List.Rows == SavedList().Rows && editor.RefListFilePath == "/lists/open.q5lst" &&
                      editor.ShownFileName == "open" && editor.RefListModified && listDir == "/lists";
    if (ui.errors.size() > 1)
        return {ok, "more than one message", false};
    return {ok, ui.errors.empty() ? std::string() : ui.errors.front(), kept};
}

FileOutcome SaveCsv(const std::string& path)
{
    const CurveLines curve = SavedCurve();
    CurveLines held = curve;
    const CsvExportResult r = WriteCurveCsv(path, held, {0, 0, 0, 0}, {119, 119, 119, 119});
    const bool fileError = r.status == CsvExportStatus::FileError;
    return {static_cast<bool>(r), fileError ? r.error : "status " + std::to_string(static_cast<int>(r.status)),
            held == curve};
}

std::set<std::string> Entries(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.insert(e.path().filename().string());
    return names;
}

bool StillOfKind(const std::string& path, BadPlace place)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    return place == BadPlace::FullDevice ? S_ISCHR(st.st_mode) : S_ISFIFO(st.st_mode);
}

TEST(SaveFaults, EverySaverNamesTheFileAndTheReasonAndLosesNothing)
{
    const Saver savers[] = {
        {"curve file (WriteCurveFile)", "curve.q5imp", SaveCurveFile},
        {"reference list (WriteRefListFile)", "list.q5lst", SaveList},
        {"curve CSV (WriteCurveCsv)", "curve.csv", SaveCsv},
    };
    qlxtest::TempDir dir;
    std::vector<std::string> unavailable;
    int cells = 0;
    for (BadPlace place : qlxtest::kBadPlaces)
        for (const Saver& saver : savers) {
            SCOPED_TRACE(std::string(saver.what) + " into a " + qlxtest::BadPlaceName(place));
            qlxtest::BadDestinations places(dir.path().string());
            std::string why;
            const auto d = places.Make(place, saver.fileName, why);
            if (!d) {
                unavailable.push_back(std::string(qlxtest::BadPlaceName(place)) + ": " + why);
                continue;
            }
            ++cells;
            const std::string folder = std::filesystem::path(d->path).parent_path().string();
            const std::set<std::string> before = Entries(folder);

            const FileOutcome o = RunPossiblyAsOrdinaryUser(d->asOrdinaryUser, [&] { return saver.save(d->path); });

            EXPECT_FALSE(o.ok);
            EXPECT_EQ(o.message, "ファイルを書き込めません。\n" + d->path + "\n" + d->reason);
            EXPECT_TRUE(o.memoryKept) << "what was saved from changed";
            if (d->oldBytes) {
                EXPECT_EQ(qlxtest::ReadAll(d->path), *d->oldBytes) << "the old file was touched";
            }
            EXPECT_EQ(Entries(folder), before) << "something was left in the folder";
            if (place == BadPlace::FullDevice || place == BadPlace::Pipe) {
                EXPECT_TRUE(StillOfKind(d->path, place)) << "the node was replaced by a file";
            }
        }
    for (const std::string& u : unavailable)
        std::cout << "[ skipped  ] " << u << "\n";
    if (cells == 0)
        GTEST_SKIP() << "no bad place could be made";
}

// The system refuses the read (root reads everything, so the open runs as an
// ordinary user in a child): the message names the file and the reason, and
// the curve or list stays as it was.
TEST(OpenFaults, AFileWithoutReadPermissionIsRefusedAndChangesNothing)
{
    qlxtest::TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string curvePath = dir.file("locked.q5imp");
    const std::string listPath = dir.file("locked.q5lst");
    ASSERT_TRUE(WriteCurveFile(curvePath, SavedCurve()));
    qlxtest::WriteAll(listPath, RefListFileBytes(SavedList()));
    ASSERT_EQ(::chmod(curvePath.c_str(), 0200), 0);
    ASSERT_EQ(::chmod(listPath.c_str(), 0200), 0);
    const std::string reason = std::strerror(EACCES);

    struct Opener {
        const char* what;
        std::string path;
        std::function<FileOutcome()> open;
    };
    const Opener openers[] = {
        {"curve (ReadCurveFile)", curvePath,
         [&] {
             CurveLines held{};
             FillDefaults(held);
             const CurveLines before = held;
             const IoResult r = ReadCurveFile(curvePath, held);
             return FileOutcome{r.ok, r.error, held == before};
         }},
        {"list (ReadRefListFile)", listPath,
         [&] {
             RefList held = SavedList();
             int odd = 7;
             const IoResult r = ReadRefListFile(listPath, dir.path().string(), held, odd);
             return FileOutcome{r.ok, r.error, held.Rows == SavedList().Rows && odd == 7};
         }},
        {"list through the editor (Open)", listPath,
         [&] {
             std::string listDir = "/lists", curveDir, csvDir;
             RecordingListUi ui;
             RefListEditor editor({listDir, curveDir, csvDir}, ui);
             editor.List = SavedList();
             editor.Open(listPath);
             // The rows stay (the open names the new file, as every open does).
             const bool kept = editor.List.Rows == SavedList().Rows;
             return FileOutcome{ui.errors.empty(), ui.errors.size() == 1 ? ui.errors[0] : "", kept};
         }},
    };
    for (const Opener& o : openers) {
        SCOPED_TRACE(o.what);
        const FileOutcome r = RunPossiblyAsOrdinaryUser(true, o.open);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, "ファイルを読み込めません。\n" + o.path + "\n" + reason);
        EXPECT_TRUE(r.memoryKept);
    }
}

}  // namespace
}  // namespace qlx
