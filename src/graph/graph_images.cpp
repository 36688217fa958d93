#include "graph/graph_images.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>

#include "graph/graph_colours.h"
#include "graph/graph_scale.h"

namespace qlx {

namespace {

constexpr std::array<int, 9> kLightRows{19, 39, 59, 79, 99, 119, 139, 159, 179};
constexpr std::array<int, 26> kLightColumns{35,  60,  80,  96,  109, 120, 130, 140, 200, 235, 260, 280, 296,
                                            309, 320, 330, 340, 400, 435, 460, 480, 496, 509, 520, 530, 540};

struct FreqCaption {
    const char* text;
    int column;  // plot column of its frequency
};
constexpr std::array<FreqCaption, 10> kFreqCaptions{{{"20", 0},
                                                     {"50", 80},
                                                     {"100", 140},
                                                     {"200", 200},
                                                     {"500", 280},
                                                     {"1k", 340},
                                                     {"2k", 400},
                                                     {"5k", 480},
                                                     {"10k", 540},
                                                     {"20k", 600}}};

constexpr int kCaptionBottom = 231;  // frequency captions stand on rows 223..231
constexpr int kHzRight = 646;
constexpr int kCaptionGap = 3;  // blank columns between 20k and [Hz]
constexpr int kOhmLeft = 8;     // [ohm] from x 8, y 8
constexpr int kOhmTop = 8;
constexpr int kCaptionPixels = 11;

QFont CaptionFont(int pixelSize)
{
    QFont font("IPAPGothic");
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The pixels a text paints, relative to its baseline origin, found by
// painting it: the font's own tight bounds can be a pixel off the painted ink.
QRect PaintedInk(const QFont& font, const QString& text)
{
    const QFontMetrics fm(font);
    const int pad = fm.height();
    QImage scratch(fm.horizontalAdvance(text) + 2 * pad, 3 * pad, QImage::Format_RGB32);
    scratch.fill(kGridBackground);
    {
        QPainter p(&scratch);
        p.setFont(font);
        p.setPen(QColor::fromRgb(kCaptionColour));
        p.drawText(pad, 2 * pad, text);
    }
    QRect ink;
    for (int y = 0; y < scratch.height(); ++y)
        for (int x = 0; x < scratch.width(); ++x)
            if (scratch.pixel(x, y) != kGridBackground)
                ink |= QRect(x - pad, y - 2 * pad, 1, 1);
    return ink;
}

// Digits sit on the baseline, so their ink ends one row above it.
void DrawCaption(QPainter& p, const QString& text, int left, int inkBottom) { p.drawText(left, inkBottom + 1, text); }

}  // namespace

QImage MakeGraphGridImage()
{
    QImage image(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
    image.fill(kGridBackground);
    auto set = [&](int x, int y, QRgb c) { reinterpret_cast<QRgb*>(image.scanLine(y))[x] = c; };
    for (int y : kLightRows)
        for (int x = 1; x < kPlotWidth - 1; ++x)
            set(x, y, kGridLine);
    for (int x : kLightColumns)
        for (int y = 1; y < kPlotHeight - 1; ++y)
            set(x, y, kGridLine);
    for (int x = 0; x < kPlotWidth; ++x) {
        set(x, 0, kGridBorder);
        set(x, kPlotHeight - 1, kGridBorder);
    }
    for (int y = 0; y < kPlotHeight; ++y) {
        set(0, y, kGridBorder);
        set(kPlotWidth - 1, y, kGridBorder);
    }
    return image;
}

QImage MakeImpGraphFrame()
{
    QImage image(kScreenGraphWidth, kScreenGraphHeight, QImage::Format_RGB32);
    image.fill(kGridBackground);
    QPainter p(&image);
    p.setPen(QColor::fromRgb(kCaptionColour));
    const QFont font = CaptionFont(kCaptionPixels);
    p.setFont(font);
    const QFontMetrics fm(font);
    // Captions are placed by their ink, not by their advance, whose side
    // bearings would shift them by a pixel or two.
    const QString hz = QStringLiteral("[Hz]");
    const QRect hzInk = PaintedInk(font, hz);
    const int hzInkLeft = kHzRight - hzInk.width() + 1;
    for (const FreqCaption& c : kFreqCaptions) {
        const QString text = QString::fromLatin1(c.text);
        const QRect ink = PaintedInk(font, text);
        // 20k gives way to the unit caption that must end at the frame's edge.
        const int inkLeft =
            std::min(kPlotOrigin.x() + c.column - (ink.width() - 1) / 2, hzInkLeft - kCaptionGap - ink.width());
        DrawCaption(p, text, inkLeft - ink.left(), kCaptionBottom);
    }
    DrawCaption(p, hz, hzInkLeft - hzInk.left(), kCaptionBottom);
    const QString ohm = QStringLiteral("[\u03A9]");
    const QRect ink = fm.tightBoundingRect(ohm);
    p.drawText(kOhmLeft - ink.left(), kOhmTop - ink.top(), ohm);
    return image;
}

}  // namespace qlx
