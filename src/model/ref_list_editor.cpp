#include "model/ref_list_editor.h"

#include "model/curve_file.h"
#include "model/curve_lines.h"
#include "model/file_io.h"

namespace qlx {

namespace {

std::string ExistingDir(const std::string& folder) { return DirExists(folder) ? folder : std::string(); }

}  // namespace

std::string WithRefListExtension(const std::string& path)
{
    return ExtensionOf(path) == kRefListExt ? path : path + kRefListExt;
}

void RefListEditor::Open(const std::string& startPath)
{
    if (startPath.empty()) {
        std::optional<std::string> chosen = ui_.ChooseListToOpen(ExistingDir(dirs_.RefListDir));
        if (!chosen) {
            RefListFilePath.clear();
            return;
        }
        RefListFilePath = *chosen;
        dirs_.RefListDir = FolderWithoutSeparator(*chosen);
    } else {
        RefListFilePath = startPath;
    }
    ShownFileName = DisplayName(RefListFilePath);
    ui_.ShowUploadPage();
    ReadListFile();
}

void RefListEditor::ReadListFile()
{
    if (!FileExists(RefListFilePath))
        return;
    // A moved curve is looked for beside the list itself, wherever the list
    // was opened from.
    int odd = 0;
    if (IoResult r = ReadRefListFile(RefListFilePath, FolderWithoutSeparator(RefListFilePath), List, odd); !r) {
        ui_.FileError(r.error);
        return;
    }
    RefListModified = false;
    ApplyEnablingAfterOpen(List, Controls);
    if (odd > 0)
        ui_.FileError("リファレンス・リスト「" + ShownFileName +
                      "」には読めない行があります。ファイルの内容を確認してください。");
}

void RefListEditor::New()
{
    if (RefListModified) {
        const SaveAnswer answer = ui_.AskChangeSave();
        if (answer == SaveAnswer::Cancel)
            return;
        if (answer == SaveAnswer::Yes && !SaveRefListAs(RefListFilePath))
            return;
    }
    RefListModified = false;
    RefListFilePath.clear();
    List.Clear();
    Controls.SetAll(true);
    ShownFileName.clear();
    ui_.ShowUploadPage();
}

void RefListEditor::Save(bool fromMenu)
{
    const bool saved = FileExists(RefListFilePath) ? WriteRefListFile(RefListFilePath) : SaveRefListAs(RefListFilePath);
    if (!saved)
        return;
    Controls.SaveMenu = false;
    if (fromMenu)
        ui_.ShowUploadPage();
}

void RefListEditor::SaveAsMenu()
{
    if (!SaveRefListAs(RefListFilePath))
        return;
    Controls.SaveMenu = false;
    ui_.ShowUploadPage();
}

bool RefListEditor::SaveRefListAs(const std::string& proposed)
{
    const std::string name = proposed.empty() ? std::string("RefList") + kRefListExt : WithRefListExtension(proposed);
    const bool suggest = DirExists(dirs_.RefListDir);
    std::optional<std::string> chosen =
        ui_.ChooseListToSave(suggest ? dirs_.RefListDir : std::string(), suggest ? name : std::string());
    if (!chosen || !WriteRefListFile(*chosen))
        return false;
    dirs_.RefListDir = FolderWithoutSeparator(*chosen);
    // The name actually written, so that the next save goes to that file.
    RefListFilePath = WithRefListExtension(*chosen);
    ShownFileName = DisplayName(RefListFilePath);
    Controls.SaveMenu = false;
    return true;
}

bool RefListEditor::WriteRefListFile(const std::string& path)
{
    if (path.empty())
        return false;
    if (IoResult r = WriteFileBytes(WithRefListExtension(path), RefListFileBytes(List)); !r) {
        ui_.FileError(r.error);
        return false;
    }
    return true;
}

bool RefListEditor::InsertRow(int selectedRow)
{
    if (selectedRow < 1 || selectedRow > kRefListRows)
        return false;
    if (!List.Row(kRefListRows).fileName.empty() && !ui_.ConfirmRowInsert())
        return false;
    List.InsertRow(selectedRow);
    RefListModified = true;
    return true;
}

bool RefListEditor::DeleteRow(int selectedRow)
{
    if (!List.DeleteRow(selectedRow))
        return false;
    RefListModified = true;
    return true;
}

bool RefListEditor::RegisterCurve(int selectedRow)
{
    if (selectedRow < 1 || selectedRow > kRefListRows)
        return false;
    std::optional<std::string> chosen = ui_.ChooseCurveToRegister(ExistingDir(dirs_.RefCurveDir));
    if (!chosen)
        return false;
    dirs_.RefCurveDir = FolderWithoutSeparator(*chosen);
    if (FileExists(*chosen)) {
        std::vector<std::string> lines;
        if (IoResult r = ReadCurveFileLines(*chosen, lines); !r) {
            ui_.FileError(r.error);
            return false;
        }
        RefListRow& row = List.Row(selectedRow);
        row.name = lines.size() > NameLine ? BracketPayload(lines[NameLine]) : std::string();
        row.fileName = DisplayName(*chosen);
        row.folder = FolderWithoutSeparator(*chosen);
    }
    RefListModified = true;
    Controls.SetAll(true);
    return true;
}

void RefListEditor::ExportCsv()
{
    std::string proposal;
    if (DirExists(dirs_.CsvDir))
        proposal =
            JoinPath(dirs_.CsvDir, ShownFileName.empty() ? std::string("ReferenceList.csv") : ShownFileName + ".csv");
    std::optional<std::string> chosen = ui_.ChooseCsvToSave(proposal);
    if (!chosen)
        return;
    dirs_.CsvDir = FolderWithoutSeparator(*chosen);
    if (IoResult r = WriteFileBytes(*chosen, RefListCsvBytes(List)); !r)
        ui_.FileError(r.error);
}

}  // namespace qlx
