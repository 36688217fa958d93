// The reference list of the upload page.
#include "app/ref_list_page.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "app/file_dialogs.h"
#include "app/local_path.h"
#include "app/missing_row_delegate.h"
#include "app/settings.h"
#include "model/file_io.h"
#include "model/ref_list_editor.h"
#include "model/sjis.h"
#include "ui/main_msg_dlgs.h"

namespace qlx {

namespace {

constexpr int kUploadPageIndex = 2;

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
    WindowRefListUi(MainMsgDlgs& msg, FileDialogs& files, QTabWidget* pages) : msg_(msg), files_(files), pages_(pages)
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
    void ShowUploadPage() override { pages_->setCurrentIndex(kUploadPageIndex); }

private:
    MainMsgDlgs& msg_;
    FileDialogs& files_;
    QTabWidget* pages_;
};

}  // namespace

RefListPage::RefListPage(QTabWidget* pages, UploadPageUi& page, MainMenus& menus, Settings& settings,
                         MainMsgDlgs& messages, FileDialogs& files, QObject* parent)
    : QObject(parent), page_(page), menus_(menus)
{
    ui_ = std::make_unique<WindowRefListUi>(messages, files, pages);
    editor_ = std::make_unique<RefListEditor>(
        RefListEditor::Folders{settings.RefListDir, settings.RefCurveDir, settings.CsvDir}, *ui_);

    QTableWidget* grid = page.RefListStringGrid;
    grid->setItemDelegate(new MissingRowDelegate(
        [this](int row) { return row >= 0 && row < kRefListRows && editor_->List.Rows[row].missing; }, grid));

    connect(page.RefListOpenButton, &QToolButton::clicked, this, [this] { RefListOpenButtonClick(false); });
    connect(menus.RefListFileOpenMenu, &QAction::triggered, this, [this] { RefListOpenButtonClick(true); });
    connect(page.NewRefListButton, &QToolButton::clicked, this, &RefListPage::NewRefListButtonClick);
    connect(menus.FileNewItem, &QAction::triggered, this, &RefListPage::NewRefListButtonClick);
    connect(page.RefListSaveButton, &QToolButton::clicked, this, &RefListPage::RefListSaveButtonClick);
    connect(menus.RefListFileSaveMenu, &QAction::triggered, this, &RefListPage::RefListFileSaveMenuClick);
    connect(menus.RefListFileSaveAsMenu, &QAction::triggered, this, &RefListPage::RefListFileSaveAsMenuClick);
    connect(page.RefListRowInsertButton, &QPushButton::clicked, this, &RefListPage::RefListRowInsertButtonClick);
    connect(page.RefListRowDeleteButton, &QPushButton::clicked, this, &RefListPage::RefListRowDeleteButtonClick);
    connect(grid, &QTableWidget::cellDoubleClicked, this, &RefListPage::RefListStringGridDblClick);
    connect(menus.FileRefListCsvSaveMenu, &QAction::triggered, this, &RefListPage::FileRefListCsvSaveMenuClick);
    ShowRefList();
}

RefListPage::~RefListPage() = default;

int RefListPage::RefListSelectedRow() const
{
    int top = -1;
    for (const QTableWidgetSelectionRange& range : page_.RefListStringGrid->selectedRanges())
        if (top < 0 || range.topRow() < top)
            top = range.topRow();
    if (top < 0)
        top = page_.RefListStringGrid->currentRow();
    return top + 1;
}

void RefListPage::ShowRefList()
{
    const RefListEditor& ed = *editor_;
    QTableWidget* grid = page_.RefListStringGrid;
    for (int r = 0; r < kRefListRows; ++r) {
        const RefListRow& row = ed.List.Rows[r];
        grid->item(r, 0)->setText(QString::fromStdString(SjisToUtf8(row.name)));
        grid->item(r, 1)->setText(FromLocal(row.fileName));
        grid->item(r, 2)->setText(FromLocal(row.folder));
    }
    grid->viewport()->update();
    page_.RefListFileNameEdit->setText(FromLocal(ed.ShownFileName));
    page_.RefListUploadButton->setEnabled(ed.Controls.UploadButton);
    page_.RefListSaveButton->setEnabled(ed.Controls.SaveButton);
    menus_.RefListFileSaveMenu->setEnabled(ed.Controls.SaveMenu);
    menus_.RefListFileSaveAsMenu->setEnabled(ed.Controls.SaveAsMenu);
    menus_.FileRefListCsvSaveMenu->setEnabled(ed.Controls.CsvMenu);
}

void RefListPage::OpenFromStart(const std::string& path)
{
    editor_->Open(path);
    ShowRefList();
}

void RefListPage::RefListOpenButtonClick(bool fromMenu)
{
    if (!fromMenu && !page_.RefListOpenButton->hasFocus())
        return;
    editor_->Open();
    ShowRefList();
}

void RefListPage::NewRefListButtonClick()
{
    editor_->New();
    ShowRefList();
}

void RefListPage::RefListSaveButtonClick()
{
    if (!page_.RefListSaveButton->hasFocus())
        return;
    editor_->Save(false);
    ShowRefList();
}

void RefListPage::RefListFileSaveMenuClick()
{
    editor_->Save(true);
    ShowRefList();
}

void RefListPage::RefListFileSaveAsMenuClick()
{
    editor_->SaveAsMenu();
    ShowRefList();
}

void RefListPage::RefListRowInsertButtonClick()
{
    if (!page_.RefListRowInsertButton->hasFocus())
        return;
    if (editor_->InsertRow(RefListSelectedRow()))
        ShowRefList();
}

void RefListPage::RefListRowDeleteButtonClick()
{
    if (!page_.RefListRowDeleteButton->hasFocus())
        return;
    if (editor_->DeleteRow(RefListSelectedRow()))
        ShowRefList();
}

void RefListPage::RefListStringGridDblClick()
{
    if (editor_->RegisterCurve(RefListSelectedRow()))
        ShowRefList();
}

void RefListPage::FileRefListCsvSaveMenuClick() { editor_->ExportCsv(); }

}  // namespace qlx
