#pragma once

#include <QProcess>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "support/temp_dir.h"

namespace qlxtest {

// A CUPS scheduler of the test's own with one cups-pdf queue, so that tests
// print for real without touching the machine's printing: its configuration,
// spool, logs and socket live in a temporary folder, it listens on no port,
// and CUPS_SERVER points this process at it. cups-pdf reads its settings
// only from /etc/cups; the scheduler runs in a mount namespace of its own in
// which the folder's cups-pdf.conf stands there, so the PDFs land in the
// folder too. Where that namespace cannot be made, the PDFs land where the
// machine's cups-pdf puts them (the user's ~/PDF) and the fixture picks up
// and removes the files that appeared while it ran. The scheduler is stopped
// when the object goes (and, by the kernel, when this process dies).
class PrintScheduler {
public:
    PrintScheduler();
    ~PrintScheduler();
    PrintScheduler(const PrintScheduler&) = delete;
    PrintScheduler& operator=(const PrintScheduler&) = delete;

    // False with the reason when no print service could be started.
    bool Ready() const { return ready_; }
    const std::string& Reason() const { return reason_; }
    const std::string& Queue() const { return queue_; }

    // Waits for the queue to finish its jobs and returns the one PDF that
    // appeared since the last call; no value (see LastProblem) otherwise.
    std::optional<std::string> WaitForNewPdf();
    // Makes the queue refuse or take jobs again.
    bool RejectJobs();
    bool AcceptJobs();
    // What went wrong last, with the end of the scheduler's log.
    const std::string& LastProblem() const { return problem_; }

private:
    bool Start(bool ownNamespace);
    bool WaitUntilRunning();
    bool Run(const QString& program, const QStringList& args, std::string* output = nullptr);
    std::set<std::string> PdfsNow() const;
    std::string LogTail() const;
    void Stop();

    TempDir dir_;
    std::string queue_ = "QlxTestPdf";
    std::string socket_;
    std::string outFolder_;
    std::set<std::string> seen_;
    std::set<std::string> ours_;  // PDFs this fixture made outside its folder
    bool ownOutput_ = false;
    bool outFolderExisted_ = true;
    std::unique_ptr<QProcess> cupsd_;
    bool ready_ = false;
    std::string reason_;
    std::string problem_;
};

// Points this process at a print service that is not there, so that it sees
// no printer whatever the machine runs; the previous choice comes back when
// the object goes.
class NoPrintService {
public:
    NoPrintService();
    ~NoPrintService();
    NoPrintService(const NoPrintService&) = delete;
    NoPrintService& operator=(const NoPrintService&) = delete;

private:
    TempDir dir_;
    std::optional<std::string> previous_;
};

}  // namespace qlxtest
