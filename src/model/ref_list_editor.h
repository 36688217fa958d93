#pragma once

#include <optional>
#include <string>

#include "model/ref_list.h"

namespace qlx {

// What the list editor needs from the window: questions, file dialogs,
// error reports and the page switch. Paths are file-system bytes.
enum class SaveAnswer { Yes, No, Cancel };

class RefListUi {
public:
    virtual ~RefListUi() = default;
    // "内容が変更されています。変更を保存しますか？"
    virtual SaveAnswer AskChangeSave() = 0;
    // "リファレンス No.64が削除されます。行を挿入しますか？": true for Yes.
    virtual bool ConfirmRowInsert() = 0;
    // Open dialog of list files; initialFolder empty for none.
    virtual std::optional<std::string> ChooseListToOpen(const std::string& initialFolder) = 0;
    // Save dialog of list files (asks before overwriting and creating).
    virtual std::optional<std::string> ChooseListToSave(const std::string& initialFolder,
                                                        const std::string& fileName) = 0;
    // Open dialog of curve files titled for registering a curve in a row.
    virtual std::optional<std::string> ChooseCurveToRegister(const std::string& initialFolder) = 0;
    // CSV save dialog; fileName may carry a folder.
    virtual std::optional<std::string> ChooseCsvToSave(const std::string& fileName) = 0;
    // A file-layer failure or a file that is no sound list (UTF-8 text).
    virtual void FileError(const std::string& text) = 0;
    virtual void ShowUploadPage() = 0;
};

// The reference list editor: the 64 rows, the list file they came from, the
// modified flag and the enabling of the five list controls, with every
// command of the list page. Remembered folders are the window's settings.
class RefListEditor {
public:
    struct Folders {
        std::string& RefListDir;
        std::string& RefCurveDir;
        std::string& CsvDir;
    };

    RefListEditor(Folders folders, RefListUi& ui) : dirs_(folders), ui_(ui) {}

    RefList List;
    std::string RefListFilePath;
    bool RefListModified = false;
    RefListControls Controls;   // all five start disabled
    std::string ShownFileName;  // RefListFileNameEdit: display name of the list file

    // Open through the dialog (startPath empty) or the file named at start.
    void Open(const std::string& startPath = {});
    void New();
    // Save to the current file, or ask for a name when it does not exist.
    void Save(bool fromMenu);
    void SaveAsMenu();
    // Asks for a name (proposing `proposed`) and writes the list there.
    bool SaveRefListAs(const std::string& proposed);
    // Writes the list to `path` (".q5lst" appended unless present); false for
    // an empty path or a write failure.
    bool WriteRefListFile(const std::string& path);
    // Returns whether the list changed.
    bool InsertRow(int selectedRow);
    bool DeleteRow(int selectedRow);
    // Registers a curve file chosen by the user into the selected row.
    bool RegisterCurve(int selectedRow);
    void ExportCsv();

private:
    void ReadListFile();

    Folders dirs_;
    RefListUi& ui_;
};

// ".q5lst" appended unless the path ends in exactly that extension.
std::string WithRefListExtension(const std::string& path);

}  // namespace qlx
