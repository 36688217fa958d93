#include "graph/indexed_bitmap.h"

#include <QHash>
#include <algorithm>
#include <vector>

#include "graph/graph_colours.h"

namespace qlx {

namespace {

constexpr QRgb kBlack = 0xFF000000;

QRgb Opaque(QRgb c) { return c | 0xFF000000; }

int Distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

uchar NearestIndex(QRgb colour, const QList<QRgb>& palette)
{
    int best = 0;
    int bestDistance = Distance(colour, palette[0]);
    for (int i = 1; i < palette.size() && bestDistance > 0; ++i) {
        const int d = Distance(colour, palette[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<uchar>(best);
}

}  // namespace

QList<QRgb> ExactExportColours(const QColor& background)
{
    QList<QRgb> colours;
    auto add = [&colours](QRgb c) {
        if (!colours.contains(Opaque(c)))
            colours.append(Opaque(c));
    };
    for (QRgb c : {kGridBackground, kGridBorder, kGridLine, kCaptionColour, kReferenceColour, kThresholdColour,
                   kNg2Colour, kNg1Colour, kCursorColour, kMeasuredButtonColour, kOffColour, kBlack})
        add(c);
    for (QRgb c : kChannelColours)
        add(c);
    for (QRgb c : kChannelSwatchColours)
        add(c);
    add(background.rgb());
    return colours;
}

QList<QRgb> ExportPalette(const QImage& image, const QList<QRgb>& exact)
{
    QList<QRgb> palette = exact.mid(0, kPaletteSize);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, qsizetype> counts;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            ++counts[Opaque(line[x])];
    }
    std::vector<std::pair<qsizetype, QRgb>> others;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (!palette.contains(it.key()))
            others.emplace_back(it.value(), it.key());
    // Most frequent first; equal counts by colour so that the table does not
    // depend on the hash's order.
    std::sort(others.begin(), others.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    for (const auto& [count, colour] : others) {
        if (palette.size() == kPaletteSize)
            break;
        palette.append(colour);
    }
    while (palette.size() < kPaletteSize)
        palette.append(kBlack);
    return palette;
}

QImage ToIndexed8(const QImage& image, const QList<QRgb>& palette)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    QHash<QRgb, uchar> indexOf;
    for (int i = palette.size() - 1; i >= 0; --i)
        indexOf[palette[i]] = static_cast<uchar>(i);  // the first entry of a repeated colour wins
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = Opaque(in[x]);
            auto it = indexOf.constFind(c);
            if (it == indexOf.cend())
                it = indexOf.insert(c, NearestIndex(c, palette));
            out[x] = *it;
        }
    }
    return indexed;
}

}  // namespace qlx
