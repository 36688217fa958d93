#pragma once

#include "app/window_ui.h"

// The parts of BuildMainWindow, one file each.
namespace qlx::build {

void BuildMenus(QMainWindow& window, MainMenus& m);
void BuildImpedancePage(QTabWidget* pages, ImpedancePageUi& p);
void BuildDownloadPage(QTabWidget* pages, DownloadPageUi& p);
void BuildUploadPage(QTabWidget* pages, UploadPageUi& p);

}  // namespace qlx::build
