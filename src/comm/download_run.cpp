#include "comm/download_run.h"

#include "model/file_io.h"
#include "model/ref_list.h"

namespace qlx {

DownloadRun::DownloadRun(InstrumentSession& session, DownloadRecord& record) : session_(session), record_(record) {}

StepResult DownloadRun::ChooseParent(const char* title, const std::string& rememberedFolder)
{
    const std::string start = DirExists(rememberedFolder) ? rememberedFolder : std::string();
    const std::optional<std::string> chosen = session_.ui().ChooseFolder(title, kSaveFolderStatus, start);
    if (!chosen) {
        session_.port().close();
        session_.SetCommState(CommIdle);
        return Outcome::Cancelled;
    }
    record_.chosenFolder = *chosen;
    session_.SetCommState(CommConfirmed);
    return Outcome::Done;
}

StepResult DownloadRun::MakeFolder(const std::string& prefix, const DownloadRequest& request)
{
    const std::string parent = record_.chosenFolder;
    folderName_ = FirstFreeName(prefix + RunFolderDate(request.today, request.shortDateFormat), "",
                                [&](const std::string& name) { return EntryExists(JoinPath(parent, name)); });
    const std::string path = JoinPath(parent, folderName_);
    if (IoResult io = qlx::MakeFolder(path); !io)
        return FileFailure(io);
    record_.runFolder = path;
    return Outcome::Done;
}

std::string DownloadRun::PathOf(const std::string& fileName) const { return JoinPath(record_.runFolder, fileName); }

std::string DownloadRun::FreeFileName(const std::string& wanted) const
{
    const std::string extension = ExtensionOf(wanted);
    return FirstFreeName(wanted.substr(0, wanted.size() - extension.size()), extension,
                         [&](const std::string& name) { return EntryExists(PathOf(name)); });
}

StepResult DownloadRun::Create(OutputFile& file, const std::string& path)
{
    if (IoResult io = file.Create(path); !io)
        return FileFailure(io);
    record_.files.push_back(path);
    return Outcome::Done;
}

StepResult DownloadRun::Append(OutputFile& file, std::string_view bytes)
{
    if (IoResult io = file.Append(bytes); !io)
        return FileFailure(io);
    return Outcome::Done;
}

StepResult DownloadRun::Close(OutputFile& file)
{
    if (IoResult io = file.Close(); !io)
        return FileFailure(io);
    return Outcome::Done;
}

StepResult DownloadRun::FileFailure(const IoResult& io)
{
    (void)curveFile.Close();
    (void)listFile.Close();
    session_.ui().ProgressClose();
    session_.ui().ShowMessage(MsgDlg::Rs232cErr, std::string(kDownloadStoppedText) + "\n" + io.error);
    session_.port().close();
    session_.SetCommState(CommIdle);
    return Outcome::Failed;
}

StepResult DownloadRun::Cancel()
{
    (void)curveFile.Close();
    (void)listFile.Close();
    session_.ui().ProgressClose();
    if (folderMade()) {
        if (!session_.ui().MoveToTrash(record_.runFolder))
            (void)RemoveTree(record_.runFolder);
        record_.runFolderRemoved = !EntryExists(record_.runFolder);
        if (record_.runFolderRemoved)
            record_.files.clear();
    }
    return Outcome::Cancelled;
}

StepResult DownloadRun::Complete(const char* text)
{
    session_.ui().ProgressClose();
    session_.ui().ShowMessage(MsgDlg::UpDownloadEnd, text);
    return Outcome::Done;
}

}  // namespace qlx
