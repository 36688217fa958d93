// Reference list page of the main window: the grid and its commands, and
// the COM port and version dialogs.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "app/com_port_dialog.h"
#include "app/file_dialogs.h"
#include "app/local_path.h"
#include "app/mainform.h"
#include "app/missing_row_delegate.h"
#include "app/serial_devices.h"
#include "app/version_dialog.h"
#include "model/file_io.h"
#include "model/ref_list_editor.h"
#include "model/sjis.h"

namespace qlx {

namespace {

const char* const kRegisterTitle = "リファレンス・カーブを登録";

QString LocalFolder(const std::string& folder) { return folder.empty() ? QString() : FromLocal(folder); }

std::optional<std::string> Local(const std::optional<QString>& chosen)
{
    if (!chosen)
        return std::nullopt;
    return LocalPath(*chosen);
}

// The list editor's questions and dialogs, answered by the window's dialogs.
class WindowRefListUi : public RefListUi {
public:
    WindowRefListUi(MainMsgDlgs& msg, FileDialogs& files, std::function<void()> showUploadPage)
        : msg_(msg), files_(files), showUploadPage_(std::move(showUploadPage))
    {}

    SaveAnswer AskChangeSave() override
    {
        switch (msg_.ChangeSaveDlg.Execute()) {
        case mrYes: return SaveAnswer::Yes;
        case mrNo: return SaveAnswer::No;
        default: return SaveAnswer::Cancel;
        }
    }
    bool ConfirmRowInsert() override { return msg_.RefListRowInsertMsgDlg.Execute() == mrYes; }
    std::optional<std::string> ChooseListToOpen(const std::string& folder) override
    {
        return Local(files_.OpenFile({QStringLiteral("リファレンスリストを開く"),
                                      QStringLiteral("リファレンス・リスト ( *.q5lst )"), QString(),
                                      LocalFolder(folder), QString()}));
    }
    std::optional<std::string> ChooseListToSave(const std::string& folder, const std::string& name) override
    {
        // The list is written with ".q5lst" appended to a name typed without
        // it, so the dialog's questions must be about that name.
        FileDialogRequest request{QStringLiteral("リファレンス・リストに名前を付けて保存"),
                                  QStringLiteral("リファレンス・リスト(*.q5lst)"), QString(), LocalFolder(folder),
                                  FromLocal(name)};
        request.requiredExtension = QString::fromLatin1(kRefListExt);
        return Local(files_.SaveFile(request));
    }
    std::optional<std::string> ChooseCurveToRegister(const std::string& folder) override
    {
        return Local(
            files_.OpenFile({QString::fromUtf8(kRegisterTitle), QStringLiteral("インピーダンス・カーブ ( *.q5imp )"),
                             QString(), LocalFolder(folder), QString()}));
    }
    std::optional<std::string> ChooseCsvToSave(const std::string& name) override
    {
        return Local(files_.SaveFile({QStringLiteral("CSV形式を保存"), QStringLiteral("CSV (*.csv)"),
                                      QStringLiteral("csv"), QString(), FromLocal(name)}));
    }
    void FileError(const std::string& text) override { files_.Error(QString::fromStdString(text)); }
    void ShowUploadPage() override { showUploadPage_(); }

private:
    MainMsgDlgs& msg_;
    FileDialogs& files_;
    std::function<void()> showUploadPage_;
};

}  // namespace

void TMainForm::ConnectRefList()
{
    refListUi_ = std::make_unique<WindowRefListUi>(MsgDlgs, dialogs_, [this] { ShowPage(2); });
    ListEditor = std::make_unique<RefListEditor>(
        RefListEditor::Folders{settings.RefListDir, settings.RefCurveDir, settings.CsvDir}, *refListUi_);

    RefListStringGrid->setItemDelegate(new MissingRowDelegate(
        [this](int row) { return row >= 0 && row < kRefListRows && ListEditor->List.Rows[row].Missing; },
        RefListStringGrid));
    for (int r = 0; r < kRefListRows; ++r)
        for (int c = 0; c < 3; ++c)
            RefListStringGrid->setItem(r, c, new QTableWidgetItem);

    // A click on these buttons must give them the focus, which their
    // handlers check.
    for (QToolButton* b : {NewRefListButton, RefListSaveButton, RefListOpenButton})
        b->setFocusPolicy(Qt::StrongFocus);

    connect(RefListOpenButton, &QToolButton::clicked, this, [this] { RefListOpenButtonClick(false); });
    connect(RefListFileOpenMenu, &QAction::triggered, this, [this] { RefListOpenButtonClick(true); });
    connect(NewRefListButton, &QToolButton::clicked, this, &TMainForm::NewRefListButtonClick);
    connect(FileNewItem, &QAction::triggered, this, &TMainForm::NewRefListButtonClick);
    connect(RefListSaveButton, &QToolButton::clicked, this, &TMainForm::RefListSaveButtonClick);
    connect(RefListFileSaveMenu, &QAction::triggered, this, &TMainForm::RefListFileSaveMenuClick);
    connect(RefListFileSaveAsMenu, &QAction::triggered, this, &TMainForm::RefListFileSaveAsMenuClick);
    connect(RefListRowInsertButton, &QPushButton::clicked, this, &TMainForm::RefListRowInsertButtonClick);
    connect(RefListRowDeleteButton, &QPushButton::clicked, this, &TMainForm::RefListRowDeleteButtonClick);
    connect(RefListStringGrid, &QTableWidget::cellDoubleClicked, this, &TMainForm::RefListStringGridDblClick);
    connect(FileRefListCsvSaveMenu, &QAction::triggered, this, &TMainForm::FileRefListCsvSaveMenuClick);
    ShowRefList();
}

void TMainForm::CreateSideDialogs()
{
    ComPortNoDialog = new TComPortNoDialog(settings.ComPortName, ListSerialDevices("/"), this);
    VerDlg = new TVerDlg(this);
    connect(ComPortMenu, &QAction::triggered, ComPortNoDialog, [this] {
        ComPortNoDialog->RefreshDevices(ListSerialDevices("/"));
        ComPortNoDialog->ShowModeless();
    });
    connect(VersionMenu, &QAction::triggered, VerDlg, &TVerDlg::ShowModeless);
}

int TMainForm::RefListSelectedRow() const
{
    int top = -1;
    for (const QTableWidgetSelectionRange& range : RefListStringGrid->selectedRanges())
        if (top < 0 || range.topRow() < top)
            top = range.topRow();
    if (top < 0)
        top = RefListStringGrid->currentRow();
    return top + 1;
}

void TMainForm::ShowRefList()
{
    const RefListEditor& ed = *ListEditor;
    for (int r = 0; r < kRefListRows; ++r) {
        const RefListRow& row = ed.List.Rows[r];
        RefListStringGrid->item(r, 0)->setText(QString::fromStdString(SjisToUtf8(row.Name)));
        RefListStringGrid->item(r, 1)->setText(FromLocal(row.FileName));
        RefListStringGrid->item(r, 2)->setText(FromLocal(row.Folder));
    }
    RefListStringGrid->viewport()->update();
    RefListFileNameEdit->setText(FromLocal(ed.ShownFileName));
    RefListUploadButton->setEnabled(ed.Controls.UploadButton);
    RefListSaveButton->setEnabled(ed.Controls.SaveButton);
    RefListFileSaveMenu->setEnabled(ed.Controls.SaveMenu);
    RefListFileSaveAsMenu->setEnabled(ed.Controls.SaveAsMenu);
    FileRefListCsvSaveMenu->setEnabled(ed.Controls.CsvMenu);
}

void TMainForm::OpenRefListFromStart(const std::string& path)
{
    ListEditor->Open(path);
    ShowRefList();
}

void TMainForm::RefListOpenButtonClick(bool fromMenu)
{
    if (!fromMenu && !RefListOpenButton->hasFocus())
        return;
    ListEditor->Open();
    ShowRefList();
}

void TMainForm::NewRefListButtonClick()
{
    ListEditor->New();
    ShowRefList();
}

void TMainForm::RefListSaveButtonClick()
{
    if (!RefListSaveButton->hasFocus())
        return;
    ListEditor->Save(false);
    ShowRefList();
}

void TMainForm::RefListFileSaveMenuClick()
{
    ListEditor->Save(true);
    ShowRefList();
}

void TMainForm::RefListFileSaveAsMenuClick()
{
    ListEditor->SaveAsMenu();
    ShowRefList();
}

void TMainForm::RefListRowInsertButtonClick()
{
    if (!RefListRowInsertButton->hasFocus())
        return;
    if (ListEditor->InsertRow(RefListSelectedRow()))
        ShowRefList();
}

void TMainForm::RefListRowDeleteButtonClick()
{
    if (!RefListRowDeleteButton->hasFocus())
        return;
    if (ListEditor->DeleteRow(RefListSelectedRow()))
        ShowRefList();
}

void TMainForm::RefListStringGridDblClick()
{
    if (ListEditor->RegisterCurve(RefListSelectedRow()))
        ShowRefList();
}

void TMainForm::FileRefListCsvSaveMenuClick() { ListEditor->ExportCsv(); }

}  // namespace qlx
