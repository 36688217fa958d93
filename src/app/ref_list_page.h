#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "app/window_ui.h"

namespace qlx {

class FileDialogs;
class RefListEditor;
class RefListUi;
struct MainMsgDlgs;
struct Settings;

// The reference list of the upload page: the grid, its buttons and menu
// items, over the plain RefListEditor. The list's folders live in the
// window's settings.
class RefListPage : public QObject {
    Q_OBJECT
public:
    // `pages` is the window's page control: the list's commands show the
    // upload page.
    RefListPage(QTabWidget* pages, UploadPageUi& page, MainMenus& menus, Settings& settings, MainMsgDlgs& messages,
                FileDialogs& files, QObject* parent);
    ~RefListPage() override;

    // Rows, RefListFilePath, RefListModified, RowMissing and the commands.
    RefListEditor& Editor() { return *editor_; }

    // Opens the list named on the command line.
    void OpenFromStart(const std::string& path);

    // The button handlers act only while their button holds the focus; the
    // menu items call them with fromMenu.
    void RefListOpenButtonClick(bool fromMenu);
    void NewRefListButtonClick();
    void RefListSaveButtonClick();
    void RefListFileSaveMenuClick();
    void RefListFileSaveAsMenuClick();
    void RefListRowInsertButtonClick();
    void RefListRowDeleteButtonClick();
    void RefListStringGridDblClick();
    void FileRefListCsvSaveMenuClick();

    // Top row of the grid's selection (1..64), 0 when nothing is selected.
    int RefListSelectedRow() const;
    // Grid, file name and the five list controls from the editor's state.
    void ShowRefList();

private:
    UploadPageUi& page_;
    MainMenus& menus_;
    std::unique_ptr<RefListUi> ui_;
    std::unique_ptr<RefListEditor> editor_;
};

}  // namespace qlx
