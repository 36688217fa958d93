#pragma once

#include <QObject>
#include <memory>

#include "app/page_capture.h"
#include "app/window_ui.h"
#include "ui/print_target.h"

class QPrinter;

namespace qlx {

class PrintDialogs;

// Printer set-up and the prints of the impedance page and of the graph on
// the printer the window keeps for its whole run.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    PrintCommands(const ImpedancePageUi& page, const MainMenus& menus, PrintDialogs& dialogs, QObject* parent);
    ~PrintCommands() override;

    // At window creation: with a printer installed the default one is
    // selected in landscape; with none the three print items are disabled.
    void CheckPrinters();

    void FilePrintSetup();
    // The page as shown, placed by the printer's orientation ("Impedance").
    void FilePrint();
    // The graph alone, always placed by the portrait rule ("Graph").
    void FileGraphPrintMenuClick();

    // The window's printer; none when no printer is installed.
    QPrinter* Printer() const { return printer_.get(); }

private:
    void PrintPart(PagePart part, PrintKind kind);

    const ImpedancePageUi& page_;
    const MainMenus& menus_;
    PrintDialogs& dialogs_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace qlx
