#include "ui/print_page.h"

#include <cups/cups.h>

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace qlx {

namespace {

PrintResult Failure(const QString& what, const QString& detail)
{
    return {false, detail.isEmpty() ? what : what + "\n" + detail};
}

// Qt hands a finished job to CUPS when the document ends and ignores the
// answer, so a queue that refuses the job or a scheduler that went away would
// pass unnoticed. The submission was the last CUPS call of this thread: its
// status is still there to read.
bool CupsTookTheJob(const QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty())
        return true;
    return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

}  // namespace

PrintResult PrintPageImage(QPrinter& printer, const QImage& pageImage, PrintKind kind)
{
    printer.setDocName(QString::fromLatin1(PrintDocumentTitle(kind)));
    QPainter painter;
    if (!painter.begin(&printer))
        return Failure(QStringLiteral("印刷を開始できませんでした。"), printer.printerName());

    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    const PrintRect r =
        PrintTargetRect(kind, landscape, pageImage.width(), pageImage.height(), printer.width(), printer.height());
    painter.drawImage(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), pageImage);
    const bool drawn = printer.printerState() != QPrinter::Error;
    const bool ended = painter.end();

    if (!drawn || !ended || printer.printerState() == QPrinter::Error)
        return Failure(QStringLiteral("印刷できませんでした。"), printer.printerName());
    if (!CupsTookTheJob(printer))
        return Failure(QStringLiteral("印刷できませんでした。"), QString::fromUtf8(cupsLastErrorString()));
    return {};
}

}  // namespace qlx
