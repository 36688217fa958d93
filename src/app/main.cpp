#include <unistd.h>
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_setup.h"
#include "app/command_line.h"
#include "app/program_run.h"
#include "app/settings.h"
#include "results/result_forwarder.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const qlx::CommandLineRequest request = qlx::ParseCommandLine(args);
    if (request.action != qlx::CommandLineAction::Run) {
        const std::string text = request.action == qlx::CommandLineAction::Help ? qlx::HelpText() : qlx::VersionText();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    // Settings come from the working directory at start, before any window.
    std::string cwd;
    if (char* dir = ::getcwd(nullptr, 0)) {
        cwd = dir;
        ::free(dir);
    }
    const std::string settingsPath = qlx::SettingsPathIn(cwd);

    QApplication app(argc, argv);
    qlx::SetUpApplication();
    const int rc = qlx::RunProgram(settingsPath, request.fileArgs);
    // A forwarder thread still held by the network (the log's end stops
    // waiting for it) must not meet the libraries' teardown at exit; the
    // settings and every record are saved by now.
    if (qlx::ResultForwarder::ThreadsRunning() > 0) {
        std::fflush(nullptr);
        std::_Exit(rc);
    }
    return rc;
}
