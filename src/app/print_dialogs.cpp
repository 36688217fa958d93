#include "app/print_dialogs.h"

#include <QMessageBox>
#include <QPrintDialog>

#include "app/printer_setup_dialog.h"

namespace qlx {

bool QtPrintDialogs::PrinterSetup(QPrinter& printer)
{
    PrinterSetupDialog dialog(printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrintDialogs::Print(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrintDialogs::Error(const QString& text)
{
    QMessageBox::warning(parent_, QStringLiteral("QLX-50 Manager"), text);
}

}  // namespace qlx
