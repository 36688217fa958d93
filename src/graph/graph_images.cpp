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
constexpr int kOhmLeft = 8;  // [ohm] from x 8, y 8
constexpr int kOhmTop = 8;
constexpr int kCaptionPixels = 11;

QFont CaptionFont(int pixelSize)
{
    QFont font("IPAPGothic");
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Digits sit on the baseline, so their ink ends one row above it.
void DrawCaption(QPainter& p, const QString& text, int left, int inkBottom)
{
    p.drawText(left, inkBottom + 1, text);
}

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
    const QString hz = QStringLiteral("[Hz]");
    const int hzLeft = kHzRight + 1 - fm.horizontalAdvance(hz);
    for (const FreqCaption& c : kFreqCaptions) {
        const QString text = QString::fromLatin1(c.text);
        const int width = fm.horizontalAdvance(text);
        // 20k gives way to the unit caption that must end at the frame's edge.
        const int left = std::min(kPlotOrigin.x() + c.column - width / 2, hzLeft - width);
        DrawCaption(p, text, left, kCaptionBottom);
    }
    DrawCaption(p, hz, hzLeft, kCaptionBottom);
    const QString ohm = QStringLiteral("[\u03A9]");
    const QRect ink = fm.tightBoundingRect(ohm);
    p.drawText(kOhmLeft - ink.left(), kOhmTop - ink.top(), ohm);
    return image;
}

}  // namespace qlx
