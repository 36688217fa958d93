#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <filesystem>
#include <map>

#include "app/mainform.h"
#include "app/ref_list_page.h"
#include "app/up_down.h"
#include "app/upload_panel.h"
#include "comm/messages.h"
#include "model/curve_file.h"
#include "model/ref_list_editor.h"
#include "qlx50_sim.h"
#include "scripted_file_dialogs.h"
#include "support/settled_commands.h"
#include "support/temp_dir.h"
#include "support/upload_fixture.h"
#include "ui/dlg_sinkou.h"

namespace qlx {
namespace {

using qlxtest::ExpectedEmptySlot;
using qlxtest::ExpectedSlot;
using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::UploadTestCurve;

const std::string kStatus = "RSTT\x03";
constexpr int kUploadPage = 2;

// The status command, then the packets of each slot in turn.
std::vector<std::string> StatusThen(const std::vector<std::vector<std::string>>& packetsBySlot)
{
    std::vector<std::string> out{kStatus};
    for (const auto& slot : packetsBySlot)
        out.insert(out.end(), slot.begin(), slot.end());
    return out;
}

std::string Shown(const char* dialog, const std::string& text) { return std::string(dialog) + ": " + text; }

// What the grid shows, cell by cell.
std::vector<QString> GridTexts(const QTableWidget* grid)
{
    std::vector<QString> texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            texts.push_back(grid->item(r, c)->text());
    return texts;
}

// The main window on the upload page, connected to a simulated QLX-50 with
// empty reference slots. The pauses between packets are recorded, not
// slept. Every message dialog records "name: text" and is answered from
// `answers` (by its default button when nothing is scripted for it).
struct UploadFixture : ::testing::Test {
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 5, qlxsim::SimMemory{}, {}}};
    TempDir dir;
    qlxtest::ScriptedFileDialogs dialogs;
    Settings settings;
    std::unique_ptr<TMainForm> form;
    std::vector<std::string> shown;
    std::map<std::string, std::deque<MsgBtn>> answers;
    std::vector<int> pauses;
    bool questionDefaultsToNo = false;

    void SetUp() override
    {
        settings.ComPortName = sim.devicePath();
        form = std::make_unique<TMainForm>(settings, dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->Instrument.Pause = [this](int ms) { pauses.push_back(ms); };
        form->ui.PageControl->setCurrentIndex(kUploadPage);
        const std::pair<const char*, TExtendMsgDlg*> boxes[] = {
            {"Rs232cOpenErr", &form->MsgDlgs.Rs232cOpenErrMsgDlg},      {"Rs232cErr", &form->MsgDlgs.Rs232cErrMsgDlg},
            {"ImpFileNothingErr", &form->MsgDlgs.ImpFileNothingErrDlg}, {"UpLoad", &form->MsgDlgs.UpLoadDlg},
            {"UpDownloadEnd", &form->MsgDlgs.UpDownloadEndDlg},
        };
        for (const auto& [name, dlg] : boxes) {
            dlg->SetShowStep([this, name = std::string(name)](MsgBoxWindow& box) {
                shown.push_back(name + ": " + box.findChild<QLabel*>(QStringLiteral("Message"))->text().toStdString());
                if (name == "UpLoad")
                    questionDefaultsToNo = box.Button(MsgBtn::No) && box.Button(MsgBtn::No)->isDefault();
                std::deque<MsgBtn>& script = answers[name];
                if (!script.empty()) {
                    box.Button(script.front())->click();
                    script.pop_front();
                    return;
                }
                for (QPushButton* b : box.findChildren<QPushButton*>())
                    if (b->isDefault())
                        return b->click();
            });
        }
    }

    UploadPageUi& Page() { return form->ui.upload; }
    std::vector<std::string> Commands() { return qlxtest::SettledCommands(sim); }

    std::string CurveFile(const std::string& path, const CurveLines& curve)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_TRUE(WriteCurveFile(path, curve).ok);
        return path;
    }

    // Opens `curve` from a file as the window's reference curve.
    void OpenReference(const CurveLines& curve)
    {
        const std::string path = CurveFile(dir.file("open/reference.q5imp"), curve);
        form->OpenCurve(CurveKind::Reference, path);
        ASSERT_TRUE(form->curves.RefLoaded);
    }

    // Types `text` into the reference-number edit in place of what it shows,
    // one key event per character.
    void TypeRefNo(const QString& text)
    {
        QLineEdit* edit = Page().UploadRefNoLabeledEdit;
        QTest::mouseClick(edit, Qt::LeftButton);
        ASSERT_TRUE(edit->hasFocus());
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
                continue;
            }
            // A character no key of the test's keyboard map produces.
            QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // The progress dialog of an operation was the active window; a desktop
    // gives the activation back to the main window when it goes.
    void ActivateWindowAgain()
    {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Opens a list file through the open button's menu item.
    void OpenList(const std::string& path)
    {
        dialogs.answers = {QString::fromStdString(path)};
        form->ui.menus.RefListFileOpenMenu->trigger();
        ASSERT_EQ(form->refListPage->Editor().RefListFilePath, path);
    }

    void ExpectEndedCleanly()
    {
        EXPECT_FALSE(form->Rs232c.opened());
        EXPECT_EQ(form->Instrument.CommState(), CommIdle);
        EXPECT_EQ(TDlgSinkou::Instance(), nullptr);
    }
};

// The pauses before the packets of packetsBySlot of so many blocks each: per block
// 100 ms before its header and 25 ms before each of its 15 point packets.
std::vector<int> PausesOf(const std::vector<int>& blocksPerSlot)
{
    std::vector<int> out;
    for (int blocks : blocksPerSlot)
        for (int b = 0; b < blocks; ++b) {
            out.push_back(100);
            out.insert(out.end(), 15, 25);
        }
    return out;
}

TEST_F(UploadFixture, SingleUploadSendsTheOpenCurveAsTheWindowHoldsItIntoTheTypedSlot)
{
    EXPECT_FALSE(Page().OpenRefCurveUploadButton->isEnabled());
    const CurveLines file = UploadTestCurve(7);
    OpenReference(file);
    EXPECT_TRUE(Page().OpenRefCurveUploadButton->isEnabled());
    // An unsaved edit of the name is what the instrument gets.
    form->ui.imp.RefNameEdit->setText(QStringLiteral("EDITED"));
    CurveLines expected = file;
    expected[NameLine] = "[EDITED      ]";
    const CurveLines held = form->curves.RefLines;
    const std::string refPath = form->curves.RefFilePath;
    const std::string fileBytes = ReadAll(refPath);

    const std::pair<const char*, char> cases[] = {{"64", 'o'}, {"1", '0'}, {"11", ':'}};
    for (const auto& [typed, slot] : cases) {
        SCOPED_TRACE(typed);
        sim.ClearLog();
        shown.clear();
        pauses.clear();
        answers["UpLoad"] = {MsgBtn::Yes};
        TypeRefNo(QString::fromLatin1(typed));
        // The click takes the focus from the edit, which applies the number.
        QTest::mouseClick(Page().OpenRefCurveUploadButton, Qt::LeftButton);

        EXPECT_EQ(Commands(), StatusThen({ExpectedSlot(slot, expected)}));
        EXPECT_EQ(pauses, PausesOf({4}));
        EXPECT_EQ(shown, (std::vector<std::string>{Shown("UpLoad", kUploadQuestionText),
                                                   Shown("UpDownloadEnd", kUploadEndText)}));
        EXPECT_EQ(Page().UploadRefNoLabeledEdit->text(), QString::fromLatin1(typed));
        ExpectEndedCleanly();
        ActivateWindowAgain();
    }
    EXPECT_TRUE(questionDefaultsToNo);
    EXPECT_EQ(form->curves.RefLines, held);
    EXPECT_EQ(form->curves.RefFilePath, refPath);
    EXPECT_EQ(ReadAll(refPath), fileBytes);
}

// A list of a few rows: a curve at its listed path, a row without a file, a
// curve moved beside the list after the list was opened, a row with a name
// but no folder, and a curve in a folder of its own.
struct ListRows {
    CurveLines first = UploadTestCurve(100);
    CurveLines moved = UploadTestCurve(300);
    CurveLines fifth = UploadTestCurve(500);
};

TEST_F(UploadFixture, ListUploadSendsEachRowsFileAndWritesTheOtherSlotsEmpty)
{
    const ListRows rows;
    const std::string listDir = dir.file("lists");
    const std::string firstPath = CurveFile(dir.file("curves/first.q5imp"), rows.first);
    const std::string movedFrom = CurveFile(dir.file("old/moved.q5imp"), rows.moved);
    const std::string fifthPath = CurveFile(dir.file("other/fifth.q5imp"), rows.fifth);
    std::filesystem::create_directories(listDir);
    const std::string listPath = listDir + "/line3.q5lst";
    qlxtest::WriteAll(listPath, "[FIRST       ]\r\n" + firstPath + "\r\n,\r\n,\r\n[MOVED       ]\r\n" + movedFrom +
                                    "\r\n[NAME ONLY   ]\r\n,\r\n[FIFTH       ]\r\n" + fifthPath + "\r\n");
    OpenList(listPath);
    std::filesystem::rename(movedFrom, listDir + "/moved.q5imp");
    OpenReference(UploadTestCurve(1));

    const RefList listBefore = form->refListPage->Editor().List;
    const std::vector<QString> gridBefore = GridTexts(Page().RefListStringGrid);
    const std::string listBytes = ReadAll(listPath);
    const CurveLines refBefore = form->curves.RefLines;
    ASSERT_TRUE(Page().RefListUploadButton->isEnabled());
    ASSERT_EQ(listBefore.Row(3).folder, dir.file("old"));

    answers["UpLoad"] = {MsgBtn::Yes};
    QTest::mouseClick(Page().RefListUploadButton, Qt::LeftButton);

    std::vector<std::vector<std::string>> packetsBySlot{ExpectedSlot('0', rows.first), ExpectedEmptySlot('1'),
                                                        ExpectedSlot('2', rows.moved), ExpectedEmptySlot('3'),
                                                        ExpectedSlot('4', rows.fifth)};
    for (int r = 6; r <= 64; ++r)
        packetsBySlot.push_back(ExpectedEmptySlot(static_cast<char>('0' + r - 1)));
    EXPECT_EQ(Commands(), StatusThen(packetsBySlot));
    EXPECT_EQ(shown,
              (std::vector<std::string>{Shown("UpLoad", kUploadQuestionText), Shown("UpDownloadEnd", kUploadEndText)}));
    ExpectEndedCleanly();

    // The grid, the list and its file, and the reference curve stay as they were.
    const RefListEditor& editor = form->refListPage->Editor();
    EXPECT_EQ(editor.List.Rows, listBefore.Rows);
    EXPECT_EQ(GridTexts(Page().RefListStringGrid), gridBefore);
    EXPECT_EQ(editor.RefListFilePath, listPath);
    EXPECT_FALSE(editor.RefListModified);
    EXPECT_EQ(ReadAll(listPath), listBytes);
    EXPECT_EQ(form->curves.RefLines, refBefore);
}

TEST_F(UploadFixture, ListUploadSendsTheGridsRowsAsTheyAreUnsaved)
{
    // A new list that was never saved, with one row.
    const CurveLines curve = UploadTestCurve(40);
    CurveFile(dir.file("c/late.q5imp"), curve);
    form->ui.menus.FileNewItem->trigger();
    form->refListPage->Editor().List.Row(2) = {"LATE        ", "late", dir.file("c"), false};
    form->refListPage->ShowRefList();

    answers["UpLoad"] = {MsgBtn::Yes};
    QTest::mouseClick(Page().RefListUploadButton, Qt::LeftButton);

    std::vector<std::vector<std::string>> packetsBySlot{ExpectedEmptySlot('0'), ExpectedSlot('1', curve)};
    for (int r = 3; r <= 64; ++r)
        packetsBySlot.push_back(ExpectedEmptySlot(static_cast<char>('0' + r - 1)));
    EXPECT_EQ(Commands(), StatusThen(packetsBySlot));
    std::vector<int> blocks(64, 1);
    blocks[1] = 4;
    EXPECT_EQ(pauses, PausesOf(blocks));
}

TEST_F(UploadFixture, ButtonsActOnlyWhileTheyHoldTheFocus)
{
    OpenReference(UploadTestCurve());
    form->ui.menus.FileNewItem->trigger();
    form->ui.PageControl->setCurrentIndex(kUploadPage);
    QLineEdit* edit = Page().UploadRefNoLabeledEdit;
    QTableWidget* grid = Page().RefListStringGrid;
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"single: clicked while the edit holds the focus",
         [&] {
             edit->setFocus();
             Page().OpenRefCurveUploadButton->click();
         }},
        {"list: clicked while the grid holds the focus",
         [&] {
             grid->setFocus();
             Page().RefListUploadButton->click();
         }},
        {"Enter in the number edit",
         [&] {
             edit->setFocus();
             QTest::keyClick(edit, Qt::Key_Return);
             QTest::keyClick(edit, Qt::Key_Enter);
         }},
        {"Enter in the grid",
         [&] {
             grid->setFocus();
             QTest::keyClick(grid, Qt::Key_Return);
         }},
        {"handlers called while another control holds the focus",
         [&] {
             edit->setFocus();
             form->uploadPanel->OpenRefCurveUploadButtonClick();
             form->uploadPanel->RefListUploadButtonClick();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        answers["UpLoad"] = {MsgBtn::Yes};
        c.act();
        EXPECT_TRUE(shown.empty());
        EXPECT_TRUE(Commands().empty());
    }

    // With the focus on the button the same handler asks.
    answers["UpLoad"] = {MsgBtn::No};
    Page().RefListUploadButton->setFocus();
    form->uploadPanel->RefListUploadButtonClick();
    EXPECT_EQ(shown, (std::vector<std::string>{Shown("UpLoad", kUploadQuestionText)}));
}

TEST_F(UploadFixture, SingleUploadNeedsAReferenceCurve)
{
    // The button enabled by hand: the handler still needs a loaded curve.
    Page().OpenRefCurveUploadButton->setEnabled(true);
    QTest::mouseClick(Page().OpenRefCurveUploadButton, Qt::LeftButton);
    ASSERT_TRUE(Page().OpenRefCurveUploadButton->hasFocus());
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(Commands().empty());
}

TEST_F(UploadFixture, QuestionAnsweredNoSendsNothing)
{
    OpenReference(UploadTestCurve());
    form->ui.menus.FileNewItem->trigger();
    form->ui.PageControl->setCurrentIndex(kUploadPage);
    struct Case {
        const char* what;
        std::deque<MsgBtn> answer;  // empty: the default button
        QPushButton* button;
    };
    const Case cases[] = {
        {"single, No", {MsgBtn::No}, Page().OpenRefCurveUploadButton},
        {"single, default button", {}, Page().OpenRefCurveUploadButton},
        {"list, No", {MsgBtn::No}, Page().RefListUploadButton},
        {"list, default button", {}, Page().RefListUploadButton},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        answers["UpLoad"] = c.answer;
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_EQ(shown, (std::vector<std::string>{Shown("UpLoad", kUploadQuestionText)}));
        EXPECT_TRUE(Commands().empty());
        EXPECT_FALSE(form->Rs232c.opened());
    }
    EXPECT_TRUE(questionDefaultsToNo);
}

TEST_F(UploadFixture, FailedUploadShowsTheMessageAndNoCompletion)
{
    OpenReference(UploadTestCurve());
    qlxsim::SimFaults nak;
    nak.wrongFirstByte = 0x15;
    nak.onlyReplyTo = 2;  // the first header packet
    sim.SetFaults(nak);
    answers["UpLoad"] = {MsgBtn::Yes};
    QTest::mouseClick(Page().OpenRefCurveUploadButton, Qt::LeftButton);

    const std::vector<std::string> slot = ExpectedSlot('0', form->curves.RefLines);
    EXPECT_EQ(Commands(), (std::vector<std::string>{kStatus, slot.front()}));
    EXPECT_EQ(shown, (std::vector<std::string>{Shown("UpLoad", kUploadQuestionText),
                                               Shown("Rs232cErr", kCannotCommunicateText)}));
    ExpectEndedCleanly();
}

TEST_F(UploadFixture, NumberEditTakesOneToSixtyFourWhenLeft)
{
    QLineEdit* edit = Page().UploadRefNoLabeledEdit;
    UpDown* upDown = Page().UploadRefNoUpDown;
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    EXPECT_EQ(upDown->Min(), 1);
    EXPECT_EQ(upDown->Max(), 64);
    EXPECT_EQ(upDown->Position(), 1);

    struct Case {
        const char* typed;
        const char* shownBeforeLeaving;  // what the key filter let in
        int position;                    // up-down position after leaving, from 20
    };
    const Case cases[] = {
        {"64", "64", 64}, {"7", "7", 7},     {"0", "0", 20},  {"65", "65", 20},
        {"", "", 20},     {"6x4", "64", 64}, {"abc", "", 20}, {"1.5", "15", 15},
        {"-3", "3", 3},   {"+9", "9", 9},    {"０", "", 20},  {"999999999999", "999999999999", 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        upDown->SetPosition(20);
        edit->setText(QStringLiteral("20"));
        TypeRefNo(QString::fromUtf8(c.typed));
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.shownBeforeLeaving));
        QTest::mouseClick(Page().RefListStringGrid->viewport(), Qt::LeftButton);  // leaves the edit
        ASSERT_FALSE(edit->hasFocus());
        EXPECT_EQ(upDown->Position(), c.position);
        EXPECT_EQ(edit->text(), QString::number(c.position));
    }

    // Control characters are taken: backspace edits the number.
    TypeRefNo(QStringLiteral("42"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("4"));
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(upDown->Position(), 4);
}

// Only a focus that really moves on is an exit: another window becoming
// active or a menu opening keeps the number as typed.
TEST_F(UploadFixture, NumberIsTakenOnlyWhenTheFocusMovesOn)
{
    QLineEdit* edit = Page().UploadRefNoLabeledEdit;
    UpDown* upDown = Page().UploadRefNoUpDown;
    const struct {
        Qt::FocusReason reason;
        bool exits;
    } cases[] = {
        {Qt::MouseFocusReason, true}, {Qt::TabFocusReason, true},           {Qt::BacktabFocusReason, true},
        {Qt::OtherFocusReason, true}, {Qt::ActiveWindowFocusReason, false}, {Qt::PopupFocusReason, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        upDown->SetPosition(20);
        edit->setText(QStringLiteral("7"));
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(edit, &out);
        EXPECT_EQ(upDown->Position(), c.exits ? 7 : 20);
    }
}

TEST_F(UploadFixture, UpDownStepsFromTheNumberShownAndShowsItsPosition)
{
    QLineEdit* edit = Page().UploadRefNoLabeledEdit;
    UpDown* upDown = Page().UploadRefNoUpDown;
    const QList<QToolButton*> arrows = upDown->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    QToolButton* up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton* down = up == arrows[0] ? arrows[1] : arrows[0];

    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(upDown->Position(), 2);
    EXPECT_EQ(edit->text(), QStringLiteral("2"));

    // A number typed and not yet left is where the arrows step from.
    TypeRefNo(QStringLiteral("30"));
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(upDown->Position(), 31);
    EXPECT_EQ(edit->text(), QStringLiteral("31"));
    TypeRefNo(QStringLiteral("99"));  // not a reference number: steps from 31
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(upDown->Position(), 30);
    EXPECT_EQ(edit->text(), QStringLiteral("30"));

    upDown->SetPosition(64);
    edit->setText(QStringLiteral("64"));
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(upDown->Position(), 64);
    EXPECT_EQ(edit->text(), QStringLiteral("64"));
}

}  // namespace
}  // namespace qlx
