#pragma once

#include <QImage>
#include <QRect>
#include <optional>
#include <string>

namespace qlxtest {

// What poppler's pdfinfo says of a PDF's first page.
struct PdfFacts {
    std::string title;
    std::string pageSize;  // as pdfinfo writes it, "595 x 842 pts (A4)"
    int rotation = 0;
    int pages = 0;
};

// True when poppler-utils (pdfinfo, pdftoppm) are there to look at PDFs.
bool PopplerAvailable();
std::optional<PdfFacts> ReadPdfFacts(const std::string& pdf);
// The first page rendered by pdftoppm at dpi; a null image on failure.
QImage RenderPdfPage(const std::string& pdf, int dpi);
// Bounding box of the pixels whose every channel is below `limit`.
QRect DarkBounds(const QImage& image, int limit);
// Bounding box of the strongly red pixels.
QRect RedBounds(const QImage& image);

}  // namespace qlxtest
