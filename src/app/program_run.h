#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qlx {

class FileDialogs;
class TMainForm;

// The program's run once the application object exists and the settings
// have been read from `settingsPath` (before any window): the main window,
// the file named on the command line, the event loop, and as soon as it
// returns the settings written back (only when the file exists), before the
// window is torn down. `dialogs` shows the
// file dialogs (the real ones when null); `shown` runs once the window is on
// the screen. Returns the event loop's exit code.
int RunProgram(const std::string& settingsPath, const std::vector<std::string>& args, FileDialogs* dialogs = nullptr,
               const std::function<void(TMainForm&)>& shown = {});

}  // namespace qlx
