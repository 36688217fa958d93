#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "app/mainform.h"
#include "window_fixture.h"

namespace qlx {
namespace {

using qlxtest::WindowFixture;

QStringList Captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TEST_F(WindowFixture, CaptionPagesAndMenuBar)
{
    EXPECT_EQ(form->windowTitle(), "QLX-50 Manager Version 1.10");
    ASSERT_EQ(form->ui.PageControl->count(), 3);
    EXPECT_EQ(form->ui.PageControl->tabText(0), "インピーダンス");
    EXPECT_EQ(form->ui.PageControl->tabText(1), "ダウンロード");
    EXPECT_EQ(form->ui.PageControl->tabText(2), "アップロード");
    EXPECT_EQ(form->ui.PageControl->currentIndex(), 0);
    EXPECT_EQ(Captions(form->menuBar()->actions()),
              (QStringList{"ファイル(&F)", "編集(&E)", "表示", "ツール", "通信", "ヘルプ(&H)"}));
    QMenu* file = form->menuBar()->actions()[0]->menu();
    EXPECT_EQ(
        Captions(file->actions()),
        (QStringList{"リファレンス・リストを新規作成(&N)", "開く(&O)", "-", "上書き保存(&S)", "名前を付けて保存(&A)",
                     "-", "インピーダンス画面の画像を保存(&I)...", "グラフの画像を保存(&G)...", "-",
                     "測定カーブをCSV形式で保存(&M)...", "測定カーブをZMA形式で保存(&Z)...",
                     "リファレンス・リストをCSV形式で保存(&L)...", "-", "プリンタ設定(&U)...",
                     "インピーダンス画面を印刷(&P)...", "グラフを印刷(&Q)...", "-", "終了(&X)"}));
    QMenu* view = form->menuBar()->actions()[2]->menu();
    EXPECT_EQ(
        Captions(view->actions()),
        (QStringList{"インピーダンス画面(&I)", "ダウンロード画面(&D)", "アップロード画面(&U)", "-",
                     "チャンネル１選択(&A)", "チャンネル２選択(&B)", "チャンネル３選択(&C)", "チャンネル４選択(&D)",
                     "-", "測定カーブ表示(&M)", "リファレンス・カーブ表示(&R)", "スレッショルド・カーブ表示(&T)", "-",
                     "グラフ拡大(&P)", "グラフ縮小(&L)", "グラフ等倍(&N)"}));
}

TEST_F(WindowFixture, ShortcutsOfTheMenuItems)
{
    struct Case {
        QAction* action;
        const char* keys;
    } cases[] = {
        {form->ui.menus.FileNewItem, "Ctrl+N"},
        {form->ui.menus.ImpCurveOpenAction, "Ctrl+M"},
        {form->ui.menus.RefCurveOpenAction, "Ctrl+R"},
        {form->ui.menus.RefListFileOpenMenu, "Ctrl+L"},
        {form->ui.menus.ImpFileSaveMenu, "Ctrl+Alt+M"},
        {form->ui.menus.RefFileSaveMenu, "Ctrl+Alt+R"},
        {form->ui.menus.RefListFileSaveMenu, "Ctrl+Alt+L"},
        {form->ui.menus.ImpFileSaveAsMenu, "Ctrl+Shift+M"},
        {form->ui.menus.RefFileSaveAsMenu, "Ctrl+Shift+R"},
        {form->ui.menus.RefListFileSaveAsMenu, "Ctrl+Shift+L"},
        {form->ui.menus.PagePrintSetupItem, "Ctrl+Shift+P"},
        {form->ui.menus.FilePrintItem, "Ctrl+P"},
        {form->ui.menus.FileGraphPrintMenu, "Ctrl+G"},
        {form->ui.menus.EditUndoMenu, "Ctrl+Z"},
        {form->ui.menus.ShowPageMenu[0], "F1"},
        {form->ui.menus.ShowPageMenu[2], "F3"},
        {form->ui.menus.SelChMenu[3], "Ctrl+4"},
        {form->ui.menus.ThCurveShowMenu, "Ctrl+7"},
        {form->ui.menus.GraphZoomInMenu, "Ctrl+I"},
        {form->ui.menus.GraphZoomOutMenu, "Ctrl+O"},
        {form->ui.menus.GraphZoomResetMenu, "Ctrl+T"},
        {form->ui.menus.CursorOnMenu, "Ctrl+K"},
        {form->ui.menus.RemoteMeasureMenu, "F9"},
        {form->ui.menus.ImpDownloadMenu, "Ctrl+D"},
        {form->ui.menus.RefDownloadMenu, "Ctrl+Shift+D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.action->shortcut().toString(), QString::fromLatin1(c.keys)) << c.action->text().toStdString();
}

TEST_F(WindowFixture, InitialEnabledStates)
{
    for (QAction* a :
         {form->ui.menus.ImpFileSaveMenu, form->ui.menus.RefFileSaveMenu, form->ui.menus.RefListFileSaveMenu,
          form->ui.menus.ImpFileSaveAsMenu, form->ui.menus.RefFileSaveAsMenu, form->ui.menus.RefListFileSaveAsMenu,
          form->ui.menus.FileImpCsvSaveMenu, form->ui.menus.FileRefListCsvSaveMenu})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_FALSE(form->ui.menus.EditMenu->isEnabled());
    const bool printers = !QPrinterInfo::availablePrinters().isEmpty();
    for (QAction* a :
         {form->ui.menus.PagePrintSetupItem, form->ui.menus.FilePrintItem, form->ui.menus.FileGraphPrintMenu})
        EXPECT_EQ(a->isEnabled(), printers);
    EXPECT_EQ(form->ui.imp.ImpTerminalEdit->text(), "BINDING POST");
    EXPECT_EQ(form->ui.imp.CursorFreqEdit->text(), " 1.00kHz");
    EXPECT_FALSE(form->ui.imp.CursorImpEdit->isEnabled());
    EXPECT_FALSE(form->ui.upload.OpenRefCurveUploadButton->isEnabled());
    EXPECT_EQ(form->ui.upload.RefListStringGrid->rowCount(), 64);
    EXPECT_EQ(form->curves.ImpLines[PointSlot(3, 119)], "0");
}

TEST_F(WindowFixture, FunctionKeysSwitchPages)
{
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(form->ui.PageControl->currentIndex(), 1);
    QTest::keyClick(form.get(), Qt::Key_F3);
    EXPECT_EQ(form->ui.PageControl->currentIndex(), 2);
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(form->ui.PageControl->currentIndex(), 0);
}

TEST_F(WindowFixture, EditMenuFollowsFocusOfTheFourTextBoxes)
{
    form->activateWindow();
    for (QWidget* w : std::initializer_list<QWidget*>{form->ui.imp.ImpNameEdit, form->ui.imp.RefMemo}) {
        w->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(form->ui.menus.EditMenu->isEnabled());
        form->ui.imp.CursorOnButton->setFocus();
        QApplication::processEvents();
        EXPECT_FALSE(form->ui.menus.EditMenu->isEnabled());
    }
}

TEST_F(WindowFixture, NameAndMemoEditsWriteTheLines)
{
    form->ui.imp.ImpNameEdit->setText(QStringLiteral("AB"));
    EXPECT_EQ(form->curves.ImpLines[NameLine], "[AB          ]");
    form->ui.imp.RefNameEdit->setText(QStringLiteral("テスト"));
    EXPECT_EQ(form->curves.RefLines[NameLine], "[\x83\x65\x83\x58\x83\x67      ]");

    // Typing past 12 bytes is refused by the field.
    form->ui.imp.ImpNameEdit->setText(QString());
    form->ui.imp.ImpNameEdit->setFocus();
    QTest::keyClicks(form->ui.imp.ImpNameEdit, QStringLiteral("ABCDEFGHIJKLMN"));
    EXPECT_EQ(form->ui.imp.ImpNameEdit->text(), "ABCDEFGHIJKL");
    EXPECT_EQ(form->curves.ImpLines[NameLine], "[ABCDEFGHIJKL]");

    form->ui.imp.ImpMemo->setPlainText(QStringLiteral("a\n\nb"));
    EXPECT_EQ(form->curves.ImpLines[MemoSlot], "a\r\n\r\nb");
    // A change past 600 bytes is taken back.
    form->ui.imp.ImpMemo->setPlainText(QString(601, QLatin1Char('x')));
    EXPECT_EQ(form->ui.imp.ImpMemo->toPlainText(), "a\n\nb");
    EXPECT_EQ(form->curves.ImpLines[MemoSlot], "a\r\n\r\nb");
}

TEST_F(WindowFixture, ClickInNameEditTrimsTheName)
{
    form->ui.imp.ImpNameEdit->setText(QStringLiteral("  AB  "));
    QTest::mouseClick(form->ui.imp.ImpNameEdit, Qt::LeftButton);
    EXPECT_EQ(form->ui.imp.ImpNameEdit->text(), "AB");
    EXPECT_EQ(form->curves.ImpLines[NameLine], "[AB          ]");

    // Only the blank pads a name: an ideographic space (81 40) is the name's.
    form->ui.imp.ImpNameEdit->setText(QStringLiteral(" \u3000AB\u3000 "));
    QTest::mouseClick(form->ui.imp.ImpNameEdit, Qt::LeftButton);
    EXPECT_EQ(form->ui.imp.ImpNameEdit->text(), QStringLiteral("\u3000AB\u3000"));
    EXPECT_EQ(form->curves.ImpLines[NameLine],
              "[\x81\x40"
              "AB\x81\x40"
              "      ]");
}

}  // namespace
}  // namespace qlx
