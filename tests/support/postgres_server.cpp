#include "support/postgres_server.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qlxtest {

namespace fs = std::filesystem;

namespace {

// The newest installed /usr/lib/postgresql/<version>/bin.
std::string FindBinFolder()
{
    std::string best;
    int bestVersion = -1;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const std::string name = entry.path().filename().string();
        const int version = std::atoi(name.c_str());
        if (version > bestVersion && fs::exists(entry.path() / "bin" / "initdb")) {
            bestVersion = version;
            best = (entry.path() / "bin").string();
        }
    }
    return best;
}

}  // namespace

PostgresServer::PostgresServer()
{
    bin_ = FindBinFolder();
    if (bin_.empty()) {
        whyNot_ = "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb; Debian package postgresql)";
        return;
    }
    // Short: a Unix socket path has room for about 100 bytes.
    std::string pattern = "/tmp/qlxpg-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        whyNot_ = std::string("mkdtemp: ") + std::strerror(errno);
        return;
    }
    folder_ = pattern;
    asPostgres_ = geteuid() == 0;
    if (asPostgres_) {
        const passwd* pw = getpwnam("postgres");
        if (!pw || chown(folder_.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
            whyNot_ = "running as root, but there is no postgres user to run the server";
            return;
        }
    }
    if (Run({bin_ + "/initdb", "-D", folder_ + "/data", "-A", "trust", "-U", kUser, "-E", "UTF8", "--no-locale",
             "--no-sync"}) != 0) {
        whyNot_ = "initdb failed: " + LogTail();
        return;
    }
    if (!Start())
        whyNot_ = "the server did not start: " + LogTail();
}

PostgresServer::~PostgresServer()
{
    if (running_)
        Stop();
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
}

bool PostgresServer::Start()
{
    const std::string options = "-k " + folder_ + " -c listen_addresses='' -c fsync=off -p " + std::to_string(kPort);
    running_ = Run({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-o", options, "-l", folder_ + "/server.log", "-w",
                    "start"}) == 0;
    return running_;
}

bool PostgresServer::Stop()
{
    const bool stopped = Run({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-m", "fast", "-w", "stop"}) == 0;
    if (stopped)
        running_ = false;
    return stopped;
}

int PostgresServer::Run(std::vector<std::string> argv)
{
    if (asPostgres_)
        argv.insert(argv.begin(), {"runuser", "-u", "postgres", "--"});
    const std::string log = folder_ + "/commands.log";
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0) {
            dup2(fd, STDOUT_FILENO);
            dup2(fd, STDERR_FILENO);
        }
        std::vector<char*> args;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string PostgresServer::LogTail() const
{
    std::ifstream in(folder_ + "/commands.log");
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return text.size() > 600 ? text.substr(text.size() - 600) : text;
}

}  // namespace qlxtest
