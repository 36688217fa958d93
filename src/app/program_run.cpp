#include "app/program_run.h"

#include <QApplication>
#include <memory>

#include "app/command_line.h"
#include "app/file_dialogs.h"
#include "app/mainform.h"
#include "app/settings.h"

namespace qlx {

int RunProgram(const std::string& settingsPath, const std::vector<std::string>& args, FileDialogs* dialogs,
               const std::function<void(TMainForm&)>& shown)
{
    Settings settings;
    LoadSettings(settingsPath, settings);
    int rc = 0;
    {
        std::unique_ptr<QtFileDialogs> ownDialogs;
        if (!dialogs) {
            ownDialogs = std::make_unique<QtFileDialogs>(nullptr);
            dialogs = ownDialogs.get();
        }
        TMainForm window(settings, *dialogs);
        if (ownDialogs)
            ownDialogs->SetParent(&window);
        const StartFile start = StartFileFromArgs(args);
        if (start.kind != StartFileKind::None)
            window.OpenStartFile(start.path, start.kind == StartFileKind::ReferenceList);
        window.show();
        if (shown)
            shown(window);
        rc = QApplication::exec();
        // Written before the window and what it owns (the results log and
        // its forwarder) are torn down, so nothing at teardown can lose them.
        SaveSettingsIfPresent(settingsPath, window.settings);
    }
    return rc;
}

}  // namespace qlx
