#include <gtest/gtest.h>

#include <deque>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "app/com_port_dialog.h"
#include "app/file_dialogs.h"
#include "app/mainform.h"
#include "app/ref_list_page.h"
#include "app/version_dialog.h"
#include "model/curve_file.h"
#include "model/ref_list_editor.h"
#include "support/temp_dir.h"

namespace {

using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::WriteAll;

// File dialogs answered from a script; every dialog shown is recorded.
struct ScriptedFileDialogs : qlx::FileDialogs {
    std::deque<std::optional<QString>> answers;
    std::vector<qlx::FileDialogRequest> shown;
    QStringList errors;

    std::optional<QString> Next(const qlx::FileDialogRequest& request)
    {
        shown.push_back(request);
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> OpenFile(const qlx::FileDialogRequest& request) override { return Next(request); }
    std::optional<QString> SaveFile(const qlx::FileDialogRequest& request) override { return Next(request); }
    void Error(const QString& text) override { errors << text; }
};

class MainFormRefList : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<qlx::TMainForm>(settings, files);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->ui.PageControl->setCurrentIndex(2);
    }

    std::string MakeCurve(const std::string& file, const std::string& name)
    {
        qlx::CurveLines lines{};
        qlx::FillDefaults(lines);
        lines[qlx::NameLine] = qlx::NameLineFor(name);
        EXPECT_TRUE(qlx::WriteCurveFile(dir.file(file), lines));
        return dir.file(file);
    }
    QString Cell(int row, int col) const { return window->ui.upload.RefListStringGrid->item(row - 1, col - 1)->text(); }
    void SelectRow(int row) { window->ui.upload.RefListStringGrid->selectRow(row - 1); }

    TempDir dir;
    qlx::Settings settings;
    ScriptedFileDialogs files;
    std::unique_ptr<qlx::TMainForm> window;
};

TEST_F(MainFormRefList, GridHasItsHeadingsWidthsRowHeightAndNoEditing)
{
    QTableWidget* grid = window->ui.upload.RefListStringGrid;
    ASSERT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("カーブ名"));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("ファイルの場所"));
    EXPECT_EQ(grid->verticalHeaderItem(63)->text(), QStringLiteral("64"));
    EXPECT_EQ(grid->verticalHeader()->width(), 25);
    EXPECT_EQ(grid->columnWidth(0), 133);
    EXPECT_EQ(grid->columnWidth(1), 229);
    EXPECT_EQ(grid->columnWidth(2), 655);
    for (int r : {0, 31, 63})
        EXPECT_EQ(grid->rowHeight(r), 15) << "row " << r + 1;
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(MainFormRefList, ListControlsStartDisabledAndNewEnablesThem)
{
    qlx::TMainForm& w = *window;
    for (bool enabled : {w.ui.upload.RefListUploadButton->isEnabled(), w.ui.upload.RefListSaveButton->isEnabled(),
                         w.ui.menus.RefListFileSaveMenu->isEnabled(), w.ui.menus.RefListFileSaveAsMenu->isEnabled(),
                         w.ui.menus.FileRefListCsvSaveMenu->isEnabled()})
        EXPECT_FALSE(enabled);
    w.ui.PageControl->setCurrentIndex(0);
    w.ui.menus.FileNewItem->trigger();
    EXPECT_EQ(w.ui.PageControl->currentIndex(), 2);
    for (bool enabled : {w.ui.upload.RefListUploadButton->isEnabled(), w.ui.upload.RefListSaveButton->isEnabled(),
                         w.ui.menus.RefListFileSaveMenu->isEnabled(), w.ui.menus.RefListFileSaveAsMenu->isEnabled(),
                         w.ui.menus.FileRefListCsvSaveMenu->isEnabled()})
        EXPECT_TRUE(enabled);
}

TEST_F(MainFormRefList, OpenFromTheMenuFillsTheGridAndPaintsMissingRows)
{
    const std::string curve = MakeCurve("spk.q5imp", "Woofer");
    WriteAll(dir.file("list.q5lst"), "[Woofer      ]\r\n" + curve + "\r\n[gone        ]\r\n/gone/x.q5imp\r\n");
    files.answers = {QString::fromStdString(dir.file("list.q5lst"))};
    window->ui.PageControl->setCurrentIndex(0);
    window->ui.menus.RefListFileOpenMenu->trigger();
    ASSERT_EQ(files.shown.size(), 1u);
    EXPECT_EQ(files.shown[0].title, QStringLiteral("リファレンスリストを開く"));
    EXPECT_EQ(window->ui.PageControl->currentIndex(), 2);
    EXPECT_EQ(window->ui.upload.RefListFileNameEdit->text(), QStringLiteral("list"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("Woofer      "));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("spk"));
    EXPECT_EQ(Cell(1, 3), QString::fromStdString(dir.path().string()));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("/gone"));
    EXPECT_TRUE(window->ui.upload.RefListUploadButton->isEnabled());
    EXPECT_FALSE(window->ui.menus.RefListFileSaveMenu->isEnabled());
    EXPECT_EQ(window->settings.RefListDir, dir.path().string());

    // Row 2 is painted yellow, row 1 keeps the grid's own white.
    QTableWidget* grid = window->ui.upload.RefListStringGrid;
    grid->clearSelection();
    const QImage shot = grid->viewport()->grab().toImage();
    const QRect missing = grid->visualItemRect(grid->item(1, 0));
    const QRect found = grid->visualItemRect(grid->item(0, 0));
    EXPECT_EQ(shot.pixelColor(missing.right() - 3, missing.center().y()), QColor(Qt::yellow));
    EXPECT_NE(shot.pixelColor(found.right() - 3, found.center().y()), QColor(Qt::yellow));
    grid->selectRow(1);
    const QImage selected = grid->viewport()->grab().toImage();
    EXPECT_EQ(selected.pixelColor(missing.right() - 3, missing.center().y()), QColor(Qt::red));
}

TEST_F(MainFormRefList, ButtonsActOnlyWhenTheyHoldTheFocus)
{
    window->ui.menus.FileNewItem->trigger();
    window->refListPage->Editor().List.Row(1) = {"a", "a", "/d", false};
    window->refListPage->ShowRefList();
    SelectRow(1);

    window->ui.upload.RefListRowInsertButton->click();  // no focus: ignored
    EXPECT_EQ(Cell(1, 2), QStringLiteral("a"));
    QTest::mouseClick(window->ui.upload.RefListRowInsertButton, Qt::LeftButton);
    EXPECT_EQ(Cell(1, 2), QString());
    EXPECT_EQ(Cell(2, 2), QStringLiteral("a"));
    EXPECT_TRUE(window->refListPage->Editor().RefListModified);

    SelectRow(1);
    QTest::mouseClick(window->ui.upload.RefListRowDeleteButton, Qt::LeftButton);
    EXPECT_EQ(Cell(1, 2), QStringLiteral("a"));

    window->ui.upload.RefListOpenButton->click();  // no focus: no dialog
    EXPECT_TRUE(files.shown.empty());
    QTest::mouseClick(window->ui.upload.RefListOpenButton, Qt::LeftButton);
    EXPECT_EQ(files.shown.size(), 1u);
}

TEST_F(MainFormRefList, InsertQuestionWhenRow64NamesAFile)
{
    window->ui.menus.FileNewItem->trigger();
    window->refListPage->Editor().List.Row(64) = {"z", "z", "/d", false};
    window->refListPage->ShowRefList();
    int asked = 0;
    window->MsgDlgs.RefListRowInsertMsgDlg.SetShowStep([&](qlx::MsgBoxWindow& box) {
        ++asked;
        EXPECT_EQ(box.windowTitle(), QStringLiteral("QLX-50 Manager"));
        box.Button(qlx::MsgBtn::No)->click();
    });
    SelectRow(3);
    QTest::mouseClick(window->ui.upload.RefListRowInsertButton, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Cell(64, 2), QStringLiteral("z"));
}

TEST_F(MainFormRefList, DoubleClickRegistersACurveAndSaveAsWritesTheList)
{
    settings.RefCurveDir.clear();
    const std::string curve = MakeCurve("tweeter.q5imp", "TW");
    files.answers = {QString::fromStdString(curve)};
    QTableWidget* grid = window->ui.upload.RefListStringGrid;
    const QRect cell = grid->visualItemRect(grid->item(4, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_FALSE(files.shown.empty());
    EXPECT_EQ(files.shown.back().title, QStringLiteral("リファレンス・カーブを登録"));
    EXPECT_EQ(Cell(5, 1), QStringLiteral("TW          "));
    EXPECT_EQ(Cell(5, 2), QStringLiteral("tweeter"));
    EXPECT_TRUE(window->ui.menus.RefListFileSaveAsMenu->isEnabled());

    window->settings.RefListDir = dir.path().string();
    files.answers = {QString::fromStdString(dir.file("saved"))};
    window->ui.menus.RefListFileSaveAsMenu->trigger();
    EXPECT_EQ(files.shown.back().requiredExtension, QStringLiteral(".q5lst"));
    const std::string written = ReadAll(dir.file("saved.q5lst"));
    EXPECT_NE(written.find("\r\n[TW          ]\r\n" + curve + "\r\n"), std::string::npos);
    EXPECT_EQ(window->ui.upload.RefListFileNameEdit->text(), QStringLiteral("saved"));
    EXPECT_FALSE(window->ui.menus.RefListFileSaveMenu->isEnabled());
}

TEST_F(MainFormRefList, ComPortAndVersionMenusShowTheirDialogs)
{
    ASSERT_NE(window->ComPortNoDialog, nullptr);
    ASSERT_NE(window->VerDlg, nullptr);
    EXPECT_FALSE(window->ComPortNoDialog->isVisible());
    window->ui.menus.ComPortMenu->trigger();
    EXPECT_TRUE(window->ComPortNoDialog->isVisible());
    window->ComPortNoDialog->ComNo->setCurrentIndex(6);
    QTest::mouseClick(window->ComPortNoDialog->OkButton, Qt::LeftButton);
    EXPECT_EQ(window->settings.ComPortName, "COM7");
    window->ui.menus.VersionMenu->trigger();
    EXPECT_TRUE(window->VerDlg->isVisible());
    EXPECT_TRUE(window->isEnabled());
}

}  // namespace
