#pragma once

#include <QImage>
#include <QString>

#include "ui/print_target.h"

class QPrinter;

namespace qlx {

// Outcome of one print; `error` is the text the caller shows when the print
// service failed.
struct PrintResult {
    bool ok = true;
    QString error;
    explicit operator bool() const { return ok; }
};

// Prints one page: the document title by kind, the PageImage stretched into
// the target rectangle of the printer's page (its printable area in printer
// pixels; the screen print by the printer's orientation, the graph always by
// the portrait rule). The document is ended whatever happened; a job that the
// print service did not take is reported as a failure.
PrintResult PrintPageImage(QPrinter& printer, const QImage& pageImage, PrintKind kind);

}  // namespace qlx
