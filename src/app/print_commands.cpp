// The File menu's printer set-up and prints.
#include "app/print_commands.h"

#include <QAction>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/print_dialogs.h"
#include "ui/print_page.h"

namespace qlx {

PrintCommands::PrintCommands(const ImpedancePageUi& page, const MainMenus& menus, PrintDialogs& dialogs,
                             QObject* parent)
    : QObject(parent), page_(page), menus_(menus), dialogs_(dialogs)
{
    connect(menus.PagePrintSetupItem, &QAction::triggered, this, &PrintCommands::FilePrintSetup);
    connect(menus.FilePrintItem, &QAction::triggered, this, &PrintCommands::FilePrint);
    connect(menus.FileGraphPrintMenu, &QAction::triggered, this, &PrintCommands::FileGraphPrintMenuClick);
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::CheckPrinters()
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        menus_.PagePrintSetupItem->setEnabled(false);
        menus_.FilePrintItem->setEnabled(false);
        menus_.FileGraphPrintMenu->setEnabled(false);
        return;
    }
    // The printer's own resolution: the page image is stretched by the
    // printer, never rendered again at its resolution.
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QString name = QPrinterInfo::defaultPrinterName();
    printer_->setPrinterName(name.isEmpty() ? printers.first().printerName() : name);
    printer_->setPageOrientation(QPageLayout::Landscape);
}

void PrintCommands::FilePrintSetup()
{
    if (printer_)
        dialogs_.PrinterSetup(*printer_);
}

void PrintCommands::FilePrint() { PrintPart(PagePart::WholePage, PrintKind::Screen); }

void PrintCommands::FileGraphPrintMenuClick() { PrintPart(PagePart::Graph, PrintKind::Graph); }

void PrintCommands::PrintPart(PagePart part, PrintKind kind)
{
    if (!printer_ || !dialogs_.Print(*printer_))
        return;
    // The document is ended also when the print failed.
    if (PrintResult r = PrintPageImage(*printer_, ImpPageImage(page_, part), kind); !r)
        dialogs_.Error(r.error);
}

}  // namespace qlx
