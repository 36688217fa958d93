#include "ui/print_target.h"

namespace qlx {

const char* PrintDocumentTitle(PrintKind kind) { return kind == PrintKind::Screen ? "Impedance" : "Graph"; }

PrintRect PrintTargetRect(PrintKind kind, bool landscape, int imageWidth, int imageHeight, int pageWidth,
                          int pageHeight)
{
    if (imageWidth <= 0 || imageHeight <= 0)
        return {};
    PrintRect r;
    if (landscape && kind == PrintKind::Screen) {
        r.top = pageHeight / 10;
        r.bottom = pageHeight * 9 / 10;
        const int width = (imageWidth * 100 / imageHeight) * (r.bottom - r.top) / 100;
        r.left = (pageWidth - width) / 2;
        r.right = r.left + width;
    } else {
        r.top = pageHeight * 15 / 100;
        r.left = pageWidth / 10;
        r.right = pageWidth * 9 / 10;
        r.bottom = r.top + (imageHeight * 100 / imageWidth) * (r.right - r.left) / 100;
    }
    return r;
}

}  // namespace qlx
