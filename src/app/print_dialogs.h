#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace qlx {

// The printing dialogs and the print service's failures. The program shows
// the platform's dialogs; tests answer from a script.
class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    // Printer set-up: the printer, its paper and the orientation, kept for
    // later prints. False when cancelled.
    virtual bool PrinterSetup(QPrinter& printer) = 0;
    // The print dialog for `printer`, print to file disabled; the printer and
    // its properties chosen there stay with it. False when cancelled.
    virtual bool Print(QPrinter& printer) = 0;
    // A print that failed (title "QLX-50 Manager").
    virtual void Error(const QString& text) = 0;
};

// The platform's dialogs (CUPS through Qt), parented to a window.
class QtPrintDialogs : public PrintDialogs {
public:
    explicit QtPrintDialogs(QWidget* parent) : parent_(parent) {}
    bool PrinterSetup(QPrinter& printer) override;
    bool Print(QPrinter& printer) override;
    void Error(const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace qlx
