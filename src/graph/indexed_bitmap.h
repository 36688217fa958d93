#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRgb>

namespace qlx {

constexpr int kPaletteSize = 256;

// Colours an 8-bit export must keep exactly: every colour of the graph
// (grid, captions, curves, markers, cursor, button and legend colours), the
// outline black and the window background of the margin.
QList<QRgb> ExactExportColours(const QColor& background);

// A 256-entry colour table for the image: first the exact colours, then the
// image's other colours. When they all fit the table holds every colour of
// the image and the conversion is lossless (a graph image); otherwise the
// free entries are the median cut of the other colours (a page with
// antialiased text and the style's gradients), so no colour lies far from an
// entry. Unused entries repeat black.
QList<QRgb> ExportPalette(const QImage& image, const QList<QRgb>& exact);

// The image in Format_Indexed8 with exactly that table; every pixel whose
// colour is in the table keeps it, the others take the nearest entry.
QImage ToIndexed8(const QImage& image, const QList<QRgb>& palette);

}  // namespace qlx
