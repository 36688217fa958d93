#include "app/print_dialogs.h"

#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace qlx {

bool QtPrintDialogs::PrinterSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, parent_);
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
