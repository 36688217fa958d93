#pragma once

namespace qlx {

// What is printed: the impedance page as shown, or the graph alone.
enum class PrintKind { Screen, Graph };

// Document title of a print job: "Impedance" or "Graph".
const char* PrintDocumentTitle(PrintKind kind);

// A rectangle of the printed page in printer pixels; right and bottom are
// the first column and row past it.
struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PrintRect&) const = default;
};

// Where a W x H PageImage is stretched on a PW x PH page (integer
// arithmetic, division truncating). Portrait (and the graph in any
// orientation): 80 % of the page width from 15 % below the top edge.
// Landscape screen print: 80 % of the page height from 10 % below the top,
// centred across. The height or width follows the image's aspect ratio to
// an integer percentage. An image without pixels gets an empty rectangle.
PrintRect PrintTargetRect(PrintKind kind, bool landscape, int imageWidth, int imageHeight, int pageWidth,
                          int pageHeight);

}  // namespace qlx
