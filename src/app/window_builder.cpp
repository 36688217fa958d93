#include <QMainWindow>
#include <QTabWidget>

#include "app/window_builder_parts.h"

namespace qlx {

MainWindowUi BuildMainWindow(QMainWindow& window)
{
    MainWindowUi ui;
    ui.PageControl = new QTabWidget(&window);
    window.setCentralWidget(ui.PageControl);
    build::BuildMenus(window, ui.menus);
    build::BuildImpedancePage(ui.PageControl, ui.imp);
    build::BuildDownloadPage(ui.PageControl, ui.download);
    build::BuildUploadPage(ui.PageControl, ui.upload);
    ui.PageControl->setCurrentIndex(0);
    return ui;
}

}  // namespace qlx
