#pragma once

#include <string>

#include "comm/downloads.h"
#include "model/output_file.h"

namespace qlx {

// What both downloads share once the status check has passed: the folder
// browser, the dated run folder, the files being written, and the two ends
// of a run besides completion (a file failure, a cancel).
class DownloadRun {
public:
    DownloadRun(InstrumentSession& session, DownloadRecord& record);

    // The folder browser at the remembered folder when it exists. Cancelled
    // (port closed, CommState 0, nothing shown) when the user cancels;
    // otherwise the folder is recorded and CommState is 4.
    StepResult ChooseParent(const char* title, const std::string& rememberedFolder);

    // Makes the folder prefix + date (+ "_1", "_2", ... while the name is
    // taken) in the chosen folder. Failed after FileFailure.
    StepResult MakeFolder(const std::string& prefix, const DownloadRequest& request);
    const std::string& folderName() const { return folderName_; }
    bool folderMade() const { return !record_.runFolder.empty(); }
    // Path of a file in the run folder.
    std::string PathOf(const std::string& fileName) const;
    // A name for a new file in the run folder that no entry there has yet.
    std::string FreeFileName(const std::string& wanted) const;

    // Creates a file in the run folder and records it. Failed after
    // FileFailure.
    StepResult Create(OutputFile& file, const std::string& path);
    StepResult Append(OutputFile& file, std::string_view bytes);
    StepResult Close(OutputFile& file);

    // A folder or file could not be made, written or renamed: the files are
    // closed (what they hold stays), the user is told the path and reason,
    // the port is closed and CommState is 0.
    StepResult FileFailure(const IoResult& io);
    // The user cancelled: the files are closed and the run folder goes to
    // the trash, or is deleted where the trash cannot take it.
    StepResult Cancel();
    // Every slot was processed: progress closed, the completion message.
    StepResult Complete(const char* text);

    OutputFile listFile;
    OutputFile curveFile;

private:
    InstrumentSession& session_;
    DownloadRecord& record_;
    std::string folderName_;
};

}  // namespace qlx
