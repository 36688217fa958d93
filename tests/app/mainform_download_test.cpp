// Downloads from the download page into dated folders, against the
// simulator: everything or the selected rows, of both kinds, and the ends
// of a failed and a cancelled run.
#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <map>

#include "comm/messages.h"
#include "download_window_fixture.h"
#include "model/sjis.h"
#include "ui/dlg_sinkou.h"

namespace qlxtest {
namespace {

// Numbers of the simulator's stored references with their curve file names,
// and slot indexes of its measured curves with theirs.
const std::map<int, std::string> kRefFiles = {
    {1, "Ref_No1_WOOFER-16A.q5imp"},   {2, "Ref_No2_FULLRANGE 8.q5imp"},  {3, "Ref_No3_2WAY NL4.q5imp"},
    {4, "Ref_No4_ARRAY NL8.q5imp"},    {5, "Ref_No5_ウーファー18.q5imp"}, {6, "Ref_No6_MID-6.5.q5imp"},
    {10, "Ref_No10_WOOFER-16B.q5imp"}, {32, "Ref_No32_低音12_8Ω.q5imp"},
};
const std::map<int, std::string> kImpFiles = {
    {0, "WOOFER-16A_2024_1208_0900_00.q5imp"},    {1, "FULLRANGE 8_2024_1208_1007_13.q5imp"},
    {2, "2WAY NL4_2024_1208_1114_26.q5imp"},      {3, "ARRAY NL8_2024_1208_1221_39.q5imp"},
    {4, "ウーファー18_2024_1208_1328_52.q5imp"},  {5, "MID-6.5_2024_1208_1435_05.q5imp"},
    {6, "WOOFER-16A_2024_1209_1542_18.q5imp"},    {7, "FULLRANGE 8_2024_1209_1649_31.q5imp"},
    {8, "2WAY NL4_2024_1209_0956_44.q5imp"},      {9, "ARRAY NL8_2024_1209_1003_57.q5imp"},
    {10, "ウーファー18_2024_1209_1110_10.q5imp"}, {11, "MID-6.5_2024_1209_1217_23.q5imp"},
    {20, "WOOFER-16B_2024_1210_0830_15.q5imp"},   {21, "WOOFER-16B_2024_1210_0833_42.q5imp"},
    {22, "低音12_8Ω_2024_1210_0912_07.q5imp"},    {40, "WOOFER-16A_2024_1211_1409_58.q5imp"},
};

const std::string kRefEnd = std::string("UpDownloadEnd: ") + qlx::kRefDownloadEndText;
const std::string kImpEnd = std::string("UpDownloadEnd: ") + qlx::kImpDownloadEndText;
const std::string kLost = std::string("Rs232cErr: ") + qlx::kCannotCommunicateText;

// The four curve reads of a slot.
void AddCurveReads(std::vector<std::string>& commands, char kind, int slot)
{
    for (int b = 0; b < 4; ++b)
        commands.push_back(ReadCmd(kind, slot, b, 'A'));
}

// A download of everything: every slot's block 0, the other blocks of a
// stored one.
std::vector<std::string> AllCommands(char kind, const std::set<int>& storedSlots)
{
    std::vector<std::string> commands{StatusCmd()};
    for (int s = 0; s < 64; ++s) {
        if (storedSlots.count(s))
            AddCurveReads(commands, kind, s);
        else
            commands.push_back(ReadCmd(kind, s, 0, 'A'));
    }
    return commands;
}

std::set<int> RefSlots()
{
    std::set<int> indexes;
    for (const auto& [n, file] : kRefFiles)
        indexes.insert(n - 1);
    return indexes;
}

std::set<int> ImpSlots()
{
    std::set<int> indexes;
    for (const auto& [s, file] : kImpFiles)
        indexes.insert(s);
    return indexes;
}

// The list file's 128 lines for the given reference numbers: the first line
// of each as the instrument sent it and the curve file's full path, or ","
// and ",".
std::vector<std::string> ListLines(const std::string& runFolder, const qlxsim::SimMemory& memory,
                                   const std::set<int>& numbers)
{
    std::vector<std::string> lines;
    for (int n = 1; n <= 64; ++n) {
        if (numbers.count(n)) {
            lines.push_back(memory.ref[static_cast<size_t>(n - 1)][qlx::StampLine]);
            lines.push_back(runFolder + "/" + kRefFiles.at(n));
        } else {
            lines.insert(lines.end(), {",", ","});
        }
    }
    return lines;
}

std::set<std::string> Named(const std::map<int, std::string>& files, const std::set<int>& keys,
                            const std::set<std::string>& more = {})
{
    std::set<std::string> names = more;
    for (int k : keys)
        names.insert(files.at(k));
    return names;
}

TEST_F(DownloadWindow, AllReferencesGoIntoADatedFolderWithTheirListFile)
{
    const qlxsim::SimMemory memory = sim.Memory();
    const std::string documents =
        QFileInfo(QString::fromStdString(home + "/Documents")).canonicalFilePath().toStdString();
    const std::string canonicalDestination =
        QFileInfo(QString::fromStdString(destination)).canonicalFilePath().toStdString();
    folderAnswers.push_back(destination);
    Press(form->ui.download.AllRefNoDownLoadButton);

    ASSERT_EQ(browsers.size(), 1u);
    EXPECT_EQ(browsers[0].caption, qlx::kSaveFolderStatus);
    EXPECT_EQ(browsers[0].instruction, qlx::kRefFolderTitle);
    EXPECT_EQ(browsers[0].start, documents) << "no folder remembered yet";
    EXPECT_EQ(Commands(), AllCommands('R', RefSlots()));
    EXPECT_EQ(ProgressMaxima(), std::vector<int>{64});
    EXPECT_EQ(shown, std::vector<std::string>{kRefEnd});
    EXPECT_EQ(form->settings.RefDownloadDir, destination);

    const std::string name = RunFolderName("Ref_");
    const std::string run = destination + "/" + name;
    ASSERT_EQ(EntriesOf(destination), std::set<std::string>{name});
    std::set<int> numbers;
    for (const auto& [n, file] : kRefFiles)
        numbers.insert(n);
    EXPECT_EQ(EntriesOf(run), Named(kRefFiles, numbers, {name + ".q5lst"}));
    const std::string list = ReadAll(run + "/" + name + ".q5lst");
    EXPECT_EQ(LinesOf(list), ListLines(run, memory, numbers));
    EXPECT_EQ(LinesOf(list)[62], *qlx::Utf8ToSjis("[低音12/8Ω  ]")) << "the name line as the instrument sent it";
    for (const auto& [n, file] : kRefFiles)
        EXPECT_EQ(ReadAll(run + "/" + file), FileImage(memory.ref[static_cast<size_t>(n - 1)])) << file;

    // Later runs of the same day, by the menu item and its shortcut: the
    // browser opens at the folder chosen before, the folders get "_1", "_2".
    const std::function<void()> again[] = {
        [&] { form->ui.menus.RefDownloadMenu->trigger(); },
        [&] { QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier); },
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i + 1);
        browsers.clear();
        shown.clear();
        sim.ClearLog();
        folderAnswers.push_back(destination);
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        again[i]();
        ASSERT_EQ(browsers.size(), 1u);
        EXPECT_EQ(browsers[0].start, canonicalDestination);
        EXPECT_EQ(shown, std::vector<std::string>{kRefEnd});
        const std::string later = RunFolderName("Ref_", "_" + std::to_string(i + 1));
        EXPECT_EQ(EntriesOf(destination + "/" + later).size(), kRefFiles.size() + 1);
    }
    EXPECT_EQ(EntriesOf(destination).size(), 3u);
    EXPECT_FALSE(form->Rs232c.opened());
    EXPECT_EQ(qlx::TDlgSinkou::Instance(), nullptr);
}

TEST_F(DownloadWindow, AllMeasuredCurvesGoIntoADatedFolderUnderTheirNamesAndStamps)
{
    const qlxsim::SimMemory memory = sim.Memory();
    folderAnswers.push_back(destination);
    Press(form->ui.download.AllImpDownLoadButton);

    ASSERT_EQ(browsers.size(), 1u);
    EXPECT_EQ(browsers[0].caption, qlx::kSaveFolderStatus);
    EXPECT_EQ(browsers[0].instruction, qlx::kImpFolderTitle);
    EXPECT_EQ(Commands(), AllCommands('M', ImpSlots()));
    EXPECT_EQ(ProgressMaxima(), std::vector<int>{64});
    EXPECT_EQ(shown, std::vector<std::string>{kImpEnd});
    EXPECT_EQ(form->settings.ImpDownloadDir, destination);
    EXPECT_TRUE(form->settings.RefDownloadDir.empty());

    const std::string name = RunFolderName("Imp_");
    const std::string run = destination + "/" + name;
    ASSERT_EQ(EntriesOf(destination), std::set<std::string>{name});
    EXPECT_EQ(EntriesOf(run), Named(kImpFiles, ImpSlots()));
    for (const auto& [s, file] : kImpFiles)
        EXPECT_EQ(ReadAll(run + "/" + file), FileImage(memory.meas[static_cast<size_t>(s)])) << file;

    browsers.clear();
    folderAnswers.push_back(destination);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(browsers.size(), 1u);
    EXPECT_EQ(browsers[0].start, QFileInfo(QString::fromStdString(destination)).canonicalFilePath().toStdString());
    EXPECT_EQ(EntriesOf(destination + "/" + RunFolderName("Imp_", "_1")), Named(kImpFiles, ImpSlots()));
}

TEST_F(DownloadWindow, SelectedReferencesAreFetchedInNumberOrderAndTheSelectionIsCleared)
{
    const qlxsim::SimMemory memory = sim.Memory();
    qlx::DownloadPageUi& p = form->ui.download;
    Press(p.RefCurveListButton);
    sim.ClearLog();
    ProgressMaxima();

    Press(p.ListSelRefNoDownLoadButton);  // nothing selected: nothing starts
    EXPECT_EQ(Commands(), std::vector<std::string>{});
    EXPECT_TRUE(browsers.empty());

    CtrlClickRow(p.RefCurveListView, 5);
    CtrlClickRow(p.RefCurveListView, 2);
    folderAnswers.push_back(destination);
    Press(p.ListSelRefNoDownLoadButton);

    std::vector<std::string> commands{StatusCmd()};
    AddCurveReads(commands, 'R', 1);
    AddCurveReads(commands, 'R', 4);
    EXPECT_EQ(Commands(), commands);
    EXPECT_EQ(ProgressMaxima(), std::vector<int>{64});
    EXPECT_EQ(shown, std::vector<std::string>{kRefEnd});
    const std::string name = RunFolderName("Ref_");
    const std::string run = destination + "/" + name;
    EXPECT_EQ(EntriesOf(run), Named(kRefFiles, {2, 5}, {name + ".q5lst"}));
    EXPECT_EQ(LinesOf(ReadAll(run + "/" + name + ".q5lst")), ListLines(run, memory, {2, 5}));
    EXPECT_EQ(SelectedNumbers(p.RefCurveListView), std::vector<int>{});
    EXPECT_EQ(Numbers(p.RefCurveListView).size(), 64u);
}

TEST_F(DownloadWindow, SelectedMeasuredRowsAreFetchedInListOrderEachTheSlotItShows)
{
    const qlxsim::SimMemory memory = sim.Memory();
    qlx::DownloadPageUi& p = form->ui.download;
    Press(p.ImpCurveListButton);
    struct Case {
        const char* what;
        bool sortByNumber;  // one click on "No.": descending
        std::vector<int> clicks;
        std::vector<int> fetched;  // slots, in order
    };
    const Case cases[] = {
        {"rows 3 and 1 clicked in that order, list ascending", false, {3, 1}, {1, 3}},
        {"rows 3 and 1, list descending", true, {3, 1}, {3, 1}},
        {"row 64 shows slot 0", false, {64, 23}, {23, 0}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& k = cases[i];
        SCOPED_TRACE(k.what);
        if (k.sortByNumber)
            ClickHeader(p.ImpCurveListView, 0);
        for (int row : k.clicks)
            CtrlClickRow(p.ImpCurveListView, row);
        sim.ClearLog();
        ProgressMaxima();
        shown.clear();
        folderAnswers.push_back(destination);
        Press(p.ListSelImpDownLoadButton);

        std::vector<std::string> commands{StatusCmd()};
        std::set<int> stored;
        for (int s : k.fetched) {
            if (kImpFiles.count(s)) {
                AddCurveReads(commands, 'M', s);
                stored.insert(s);
            } else {
                commands.push_back(ReadCmd('M', s, 0, 'A'));
            }
        }
        EXPECT_EQ(Commands(), commands);
        EXPECT_EQ(ProgressMaxima(), std::vector<int>{static_cast<int>(k.fetched.size())});
        EXPECT_EQ(shown, std::vector<std::string>{kImpEnd});
        const std::string run = destination + "/" + RunFolderName("Imp_", i ? "_" + std::to_string(i) : "");
        EXPECT_EQ(EntriesOf(run), Named(kImpFiles, stored));
        for (int s : stored)
            EXPECT_EQ(ReadAll(run + "/" + kImpFiles.at(s)), FileImage(memory.meas[static_cast<size_t>(s)]));
        EXPECT_EQ(SelectedNumbers(p.ImpCurveListView), std::vector<int>{});
        if (k.sortByNumber)
            ClickHeader(p.ImpCurveListView, 0);  // back to ascending
    }
}

TEST_F(DownloadWindow, LineFailureInTheMiddleKeepsTheCompletedFilesAndTheView)
{
    const qlxsim::SimMemory memory = sim.Memory();
    qlx::DownloadPageUi& p = form->ui.download;
    struct Case {
        const char* what;
        QPushButton* list;
        QTreeWidget* view;
        QPushButton* all;
        int nakOnCommand;
        std::string runFolder;
        std::function<void(const std::string& run)> expectFiles;
        std::string* remembered;
    };
    const Case cases[] = {
        {"references: No. 3's first block", p.RefCurveListButton, p.RefCurveListView, p.AllRefNoDownLoadButton, 10,
         RunFolderName("Ref_"),
         [&](const std::string& run) {
             const std::string name = RunFolderName("Ref_");
             EXPECT_EQ(EntriesOf(run), Named(kRefFiles, {1, 2}, {name + ".q5lst"}));
             const std::vector<std::string> all = ListLines(run, memory, {1, 2});
             EXPECT_EQ(LinesOf(ReadAll(run + "/" + name + ".q5lst")),
                       (std::vector<std::string>(all.begin(), all.begin() + 4)));
             for (int n : {1, 2})
                 EXPECT_EQ(ReadAll(run + "/" + kRefFiles.at(n)), FileImage(memory.ref[static_cast<size_t>(n - 1)]));
         },
         &form->settings.RefDownloadDir},
        {"measured curves: slot 2's second block", p.ImpCurveListButton, p.ImpCurveListView, p.AllImpDownLoadButton, 11,
         RunFolderName("Imp_"),
         [&](const std::string& run) {
             EXPECT_EQ(EntriesOf(run), Named(kImpFiles, {0, 1}, {"temp.q5imp"}));
             for (int s : {0, 1})
                 EXPECT_EQ(ReadAll(run + "/" + kImpFiles.at(s)), FileImage(memory.meas[static_cast<size_t>(s)]));
             // The curve cut short keeps the block received before the failure.
             EXPECT_EQ(ReadAll(run + "/temp.q5imp"), FileImage(memory.meas[2], 1));
         },
         &form->settings.ImpDownloadDir},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Press(k.list);
        const std::vector<std::vector<std::string>> rows = Rows(k.view);
        qlxsim::SimFaults nak;
        nak.wrongFirstByte = 0x15;
        nak.onlyReplyTo = k.nakOnCommand;
        sim.SetFaults(nak);
        shown.clear();
        folderAnswers.push_back(destination);
        Press(k.all);
        sim.SetFaults({});

        EXPECT_EQ(shown, std::vector<std::string>{kLost});
        k.expectFiles(destination + "/" + k.runFolder);
        EXPECT_EQ(*k.remembered, destination) << "the confirmed folder is remembered";
        EXPECT_EQ(Rows(k.view), rows);
        EXPECT_FALSE(form->Rs232c.opened());
        EXPECT_EQ(qlx::TDlgSinkou::Instance(), nullptr);
    }
}

TEST_F(DownloadWindow, CancelDuringTheThirdSlotMovesTheRunFolderToTheTrash)
{
    qlx::DownloadPageUi& p = form->ui.download;
    struct Case {
        const char* what;
        QPushButton* all;
        std::string runFolder;
        std::string kept;  // a file the cancelled run had written
        std::string* remembered;
    };
    const Case cases[] = {
        {"references", p.AllRefNoDownLoadButton, RunFolderName("Ref_"), kRefFiles.at(2),
         &form->settings.RefDownloadDir},
        {"measured curves", p.AllImpDownLoadButton, RunFolderName("Imp_"), kImpFiles.at(1),
         &form->settings.ImpDownloadDir},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        shown.clear();
        folderAnswers.push_back(destination);
        CancelAtStep(3);
        Press(k.all);

        EXPECT_TRUE(shown.empty());
        EXPECT_EQ(EntriesOf(destination), std::set<std::string>{});
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(InTrash(k.runFolder) + "/" + k.kept)));
        EXPECT_EQ(*k.remembered, destination);
        EXPECT_FALSE(form->Rs232c.opened());
        EXPECT_EQ(qlx::TDlgSinkou::Instance(), nullptr);
    }
}

TEST_F(DownloadWindow, RunFolderIsNamedInTheSystemsShortDateFormat)
{
    // The date as the run folder shows it, for a few systems' formats: "/"
    // and "." are left out, and a format that would not keep dates apart and
    // in order gives yyyyMMdd.
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    const std::map<QString, QString> shownAs = {
        {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-MM-dd")},  // sv_SE
        {QStringLiteral("yyyy/MM/dd"), QStringLiteral("yyyyMMdd")},    // ja_JP
        {QStringLiteral("d MMM yyyy"), QStringLiteral("yyyyMMdd")},    // C
        {QStringLiteral("M/d/yy"), QStringLiteral("yyyyMMdd")},        // en_US
        {QStringLiteral("dd.MM.yy"), QStringLiteral("yyyyMMdd")},      // de_DE
    };
    if (!shownAs.count(format))
        GTEST_SKIP() << "no expectation for the short date format " << format.toStdString();
    const QDate today = QDate::currentDate();
    sim.SetMemory(qlxsim::SimMemory{});
    folderAnswers.push_back(destination);
    Press(form->ui.download.AllRefNoDownLoadButton);
    if (QDate::currentDate() != today)
        GTEST_SKIP() << "the date changed during the run";
    const std::string name = "Ref_" + today.toString(shownAs.at(format)).toStdString();
    EXPECT_EQ(EntriesOf(destination), std::set<std::string>{name}) << "system format " << format.toStdString();
}

}  // namespace
}  // namespace qlxtest

namespace qlxtest {
namespace {

// The list views hold the designed columns at their widths (the last column
// does not take the rest of the view), select whole rows, several at once,
// and stay disabled until a listing fills them.
TEST_F(DownloadWindow, ListViewsHaveTheirColumnsAndSelection)
{
    struct View {
        QTreeWidget* view;
        QStringList headings;
        std::vector<int> widths;
    };
    const qlx::DownloadPageUi& p = form->ui.download;
    const View views[] = {
        {p.RefCurveListView, {"No.", "カーブ名"}, {35, 262}},
        {p.ImpCurveListView, {"No.", "測定日時", "カーブ名"}, {35, 132, 132}},
    };
    for (const View& v : views) {
        EXPECT_FALSE(v.view->isEnabled());
        ASSERT_EQ(v.view->columnCount(), static_cast<int>(v.widths.size()));
        for (int c = 0; c < v.view->columnCount(); ++c) {
            EXPECT_EQ(v.view->headerItem()->text(c), v.headings[c]);
            EXPECT_EQ(v.view->header()->sectionSize(c), v.widths[static_cast<std::size_t>(c)]) << c;
        }
        EXPECT_EQ(v.view->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_EQ(v.view->selectionBehavior(), QAbstractItemView::SelectRows);
    }
}

// A selected-rows download that cannot start because another operation
// holds the line keeps the user's selection for the next try.
TEST_F(DownloadWindow, ARefusedSelectedDownloadKeepsTheSelection)
{
    qlx::DownloadPageUi& p = form->ui.download;
    Press(p.RefCurveListButton);
    CtrlClickRow(p.RefCurveListView, 3);
    sim.ClearLog();
    {
        qlx::InstrumentSession::Operation running(form->Instrument);
        ASSERT_TRUE(running.started());
        Press(p.ListSelRefNoDownLoadButton);
    }
    EXPECT_EQ(SelectedNumbers(p.RefCurveListView), std::vector<int>{3});
    EXPECT_EQ(Commands(), std::vector<std::string>{});
    EXPECT_TRUE(browsers.empty());
}

}  // namespace
}  // namespace qlxtest
