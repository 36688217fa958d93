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

struct WeightedColour {
    QRgb colour;
    qsizetype count;
};

int Channel(QRgb c, int channel) { return channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c); }

struct Box {
    std::vector<WeightedColour> colours;
    int widestChannel = 0;
    int range = 0;  // of the widest channel

    void Measure()
    {
        range = -1;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 255, hi = 0;
            for (const WeightedColour& w : colours) {
                lo = std::min(lo, Channel(w.colour, ch));
                hi = std::max(hi, Channel(w.colour, ch));
            }
            if (hi - lo > range) {
                range = hi - lo;
                widestChannel = ch;
            }
        }
    }

    QRgb Mean() const
    {
        double sum[3] = {0, 0, 0};
        double total = 0;
        for (const WeightedColour& w : colours) {
            for (int ch = 0; ch < 3; ++ch)
                sum[ch] += static_cast<double>(Channel(w.colour, ch)) * static_cast<double>(w.count);
            total += static_cast<double>(w.count);
        }
        auto mean = [&](int ch) { return static_cast<int>(sum[ch] / total + 0.5); };
        return qRgb(mean(0), mean(1), mean(2));
    }
};

// `entries` colours for many: the colours are split into boxes, always the box
// with the widest spread at the pixel-weighted median of that spread, and
// each box gives its weighted mean. Smooth shades (gradients of the style,
// antialiased text) keep small errors everywhere instead of the frequent
// ones being exact and the rest far off.
std::vector<QRgb> MedianCut(std::vector<WeightedColour> colours, size_t entries)
{
    std::vector<Box> boxes(1);
    boxes[0].colours = std::move(colours);
    boxes[0].Measure();
    while (boxes.size() < entries) {
        size_t widest = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (boxes[i].range > boxes[widest].range)
                widest = i;
        Box& box = boxes[widest];
        if (box.range <= 0)
            break;
        const int ch = box.widestChannel;
        std::stable_sort(box.colours.begin(), box.colours.end(),
                         [ch](const auto& a, const auto& b) { return Channel(a.colour, ch) < Channel(b.colour, ch); });
        qsizetype total = 0;
        for (const WeightedColour& w : box.colours)
            total += w.count;
        size_t cut = 1;
        for (qsizetype below = box.colours[0].count; cut + 1 < box.colours.size() && 2 * below < total; ++cut)
            below += box.colours[cut].count;
        Box upper;
        upper.colours.assign(box.colours.begin() + static_cast<std::ptrdiff_t>(cut), box.colours.end());
        box.colours.resize(cut);
        box.Measure();
        upper.Measure();
        boxes.push_back(std::move(upper));
    }
    std::vector<QRgb> means;
    for (const Box& box : boxes)
        means.push_back(box.Mean());
    return means;
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
    std::vector<WeightedColour> others;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (!palette.contains(it.key()))
            others.push_back({it.key(), it.value()});
    // Sorted so that the table does not depend on the hash's order.
    std::sort(others.begin(), others.end(), [](const auto& a, const auto& b) { return a.colour < b.colour; });
    const size_t free = static_cast<size_t>(kPaletteSize - palette.size());
    if (others.size() <= free) {
        for (const WeightedColour& w : others)
            palette.append(w.colour);
    } else {
        for (QRgb c : MedianCut(others, free))
            palette.append(c);
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
