#include "support/print_scheduler.h"

#include <cups/cups.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QProcessEnvironment>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace qlxtest {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kCupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kCupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
constexpr const char* kCupsPdfConfigFolder = "/etc/cups";

// Limits for waiting on the scheduler and the PDF filter chain (not timings
// under test: a busy two-core machine can take seconds per job).
constexpr auto kStartLimit = std::chrono::seconds(20);
constexpr auto kJobLimit = std::chrono::seconds(90);
constexpr auto kPoll = std::chrono::milliseconds(100);

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

std::string HomePdfFolder()
{
    const passwd* pw = ::getpwuid(::geteuid());
    return pw && pw->pw_dir ? std::string(pw->pw_dir) + "/PDF" : std::string();
}

}  // namespace

PrintScheduler::PrintScheduler()
{
    const fs::path root = dir_.path();
    socket_ = (root / "cups.sock").string();
    for (const std::string& tool : {std::string(kCupsd), std::string(kCupsPdfBackend)}) {
        if (!fs::exists(tool)) {
            reason_ = tool + " is missing (packages cups and printer-driver-cups-pdf)";
            return;
        }
    }
    if (::geteuid() != 0) {
        reason_ = "a scheduler of the test's own must start as root (it runs its filters as lp)";
        return;
    }
    for (const char* sub : {"conf", "etc", "spool", "cache", "state", "tmp", "log", "out", "pdfspool"})
        fs::create_directories(root / sub);
    // The filters run as lp and need a temporary folder they may write in.
    fs::permissions(root / "tmp", fs::perms::all | fs::perms::sticky_bit);
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);

    const std::string r = root.string();
    WriteText(root / "conf/cupsd.conf", "Listen " + socket_ +
                                            "\nBrowsing Off\nDefaultAuthType None\nLogLevel info\n"
                                            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                            "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n");
    WriteText(root / "conf/cups-files.conf",
              "ServerRoot " + r + "/conf\nRequestRoot " + r + "/spool\nCacheDir " + r + "/cache\nStateDir " + r +
                  "/state\nTempDir " + r + "/tmp\nErrorLog " + r + "/log/error_log\nAccessLog " + r +
                  "/log/access_log\nPageLog " + r + "/log/page_log\nPrintcap " + r +
                  "/printcap\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\n"
                  "SystemGroup root\n");
    WriteText(root / "etc/cups-pdf.conf", "Out " + r + "/out\nSpool " + r + "/pdfspool\nLog " + r + "/log\nGrp root\n");

    // This process talks only to its own scheduler.
    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
    cupsSetServer(socket_.c_str());

    if (!Start(true) && !Start(false))
        return;
    std::string output;
    if (!Run("lpadmin", {"-p", QString::fromStdString(queue_), "-E", "-v", "cups-pdf:/", "-P", kCupsPdfPpd}, &output) ||
        !Run("lpadmin", {"-d", QString::fromStdString(queue_)}, &output)) {
        reason_ = "the PDF queue could not be created: " + output + LogTail();
        Stop();
        return;
    }
    seen_ = PdfsNow();
    reason_.clear();
    ready_ = true;
}

PrintScheduler::~PrintScheduler()
{
    Stop();
    std::error_code ec;
    for (const std::string& pdf : ours_)
        fs::remove(pdf, ec);
    // cups-pdf made the folder for our jobs: it goes when they are gone.
    if (!ownOutput_ && !outFolderExisted_ && fs::is_empty(outFolder_, ec))
        fs::remove(outFolder_, ec);
}

bool PrintScheduler::Start(bool ownNamespace)
{
    const std::string conf = (dir_.path() / "conf/cupsd.conf").string();
    const std::string files = (dir_.path() / "conf/cups-files.conf").string();
    cupsd_ = std::make_unique<QProcess>();
    cupsd_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The scheduler must not outlive a test process that crashed.
    cupsd_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    if (ownNamespace) {
        // unshare and sh exec in turn, so the process is the scheduler itself.
        cupsd_->start("unshare", {"--mount", "--propagation", "private", "--", "/bin/sh", "-c",
                                  "mount --bind \"$1\" \"$2\" && exec \"$3\" -f -c \"$4\" -s \"$5\"", "sh",
                                  QString::fromStdString((dir_.path() / "etc").string()), kCupsPdfConfigFolder, kCupsd,
                                  QString::fromStdString(conf), QString::fromStdString(files)});
    } else {
        cupsd_->start(kCupsd, {"-f", "-c", QString::fromStdString(conf), "-s", QString::fromStdString(files)});
    }
    if (cupsd_->waitForStarted() && WaitUntilRunning()) {
        ownOutput_ = ownNamespace;
        outFolder_ = ownNamespace ? (dir_.path() / "out").string() : HomePdfFolder();
        outFolderExisted_ = fs::exists(outFolder_);
        return true;
    }
    reason_ = std::string("the scheduler did not start") + (ownNamespace ? " in a mount namespace" : "") + LogTail();
    Stop();
    return false;
}

bool PrintScheduler::WaitUntilRunning()
{
    const auto end = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < end) {
        if (cupsd_->state() == QProcess::NotRunning)
            return false;
        std::string output;
        if (fs::exists(socket_) && Run("lpstat", {"-r"}, &output) && output.find("not running") == std::string::npos)
            return true;
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

bool PrintScheduler::Run(const QString& program, const QStringList& args, std::string* output)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", QString::fromStdString(socket_));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool finished = p.waitForStarted() && p.waitForFinished(60000);
    if (output)
        *output = p.readAll().toStdString();
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

std::set<std::string> PrintScheduler::PdfsNow() const
{
    std::set<std::string> pdfs;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(outFolder_, ec))
        if (entry.path().extension() == ".pdf")
            pdfs.insert(entry.path().string());
    return pdfs;
}

std::optional<std::string> PrintScheduler::WaitForNewPdf()
{
    const auto end = std::chrono::steady_clock::now() + kJobLimit;
    while (std::chrono::steady_clock::now() < end) {
        std::string pending;
        const bool idle = Run("lpstat", {"-o", QString::fromStdString(queue_)}, &pending) && pending.empty();
        std::set<std::string> fresh;
        for (const std::string& pdf : PdfsNow())
            if (!seen_.count(pdf))
                fresh.insert(pdf);
        if (idle && !fresh.empty()) {
            seen_.insert(fresh.begin(), fresh.end());
            if (!ownOutput_)
                ours_.insert(fresh.begin(), fresh.end());
            if (fresh.size() == 1)
                return *fresh.begin();
            problem_ = std::to_string(fresh.size()) + " PDFs appeared for one job";
            return std::nullopt;
        }
        std::this_thread::sleep_for(kPoll);
    }
    std::string jobs;
    Run("lpstat", {"-l", "-p", QString::fromStdString(queue_), "-o"}, &jobs);
    problem_ = "no PDF in " + outFolder_ + "\n" + jobs + LogTail();
    return std::nullopt;
}

bool PrintScheduler::RejectJobs() { return Run("cupsreject", {QString::fromStdString(queue_)}); }
bool PrintScheduler::AcceptJobs() { return Run("cupsaccept", {QString::fromStdString(queue_)}); }

std::string PrintScheduler::LogTail() const
{
    std::ifstream in(dir_.path() / "log/error_log");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    constexpr size_t kTail = 2000;
    return text.empty() ? std::string()
                        : "\n--- error_log ---\n" + text.substr(text.size() > kTail ? text.size() - kTail : 0);
}

void PrintScheduler::Stop()
{
    if (!cupsd_)
        return;
    if (cupsd_->state() != QProcess::NotRunning) {
        cupsd_->terminate();
        if (!cupsd_->waitForFinished(30000)) {
            cupsd_->kill();
            cupsd_->waitForFinished(5000);
        }
    }
    cupsd_.reset();
}

NoPrintService::NoPrintService()
{
    if (const char* now = std::getenv("CUPS_SERVER"))
        previous_ = now;
    const std::string socket = dir_.file("nobody.sock");
    ::setenv("CUPS_SERVER", socket.c_str(), 1);
    cupsSetServer(socket.c_str());
}

NoPrintService::~NoPrintService()
{
    if (previous_) {
        ::setenv("CUPS_SERVER", previous_->c_str(), 1);
        cupsSetServer(previous_->c_str());
    } else {
        ::unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }
}

}  // namespace qlxtest
