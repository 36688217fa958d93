#pragma once

#include <QRgb>
#include <array>

namespace qlx {

// Measured curve of channels 1 to 4; also their selected channel buttons.
constexpr std::array<QRgb, 4> kChannelColours{0xFF800000, 0xFF008000, 0xFF000080, 0xFF800080};
// Legend swatches beside the channel buttons.
constexpr std::array<QRgb, 4> kChannelSwatchColours{0xFF840000, 0xFF008200, 0xFF000084, 0xFF840084};
constexpr QRgb kMeasuredButtonColour = 0xFF800000;
constexpr QRgb kReferenceColour = 0xFF008080;
constexpr QRgb kThresholdColour = 0xFF808000;
constexpr QRgb kNg2Colour = 0xFF0000FF;
constexpr QRgb kNg1Colour = 0xFFFF0000;
constexpr QRgb kCursorColour = 0xFFFF0000;
constexpr QRgb kOffColour = 0xFF808080;  // buttons whose curve, channel or cursor is not shown
// The cursor's search buttons: maximum, minimum, and either while disabled.
constexpr QRgb kCursorMaxButtonColour = 0xFF800000;
constexpr QRgb kCursorMinButtonColour = 0xFF008080;
constexpr QRgb kDisabledButtonColour = 0xFFC0C0C0;
constexpr QRgb kGridBackground = 0xFFFFFFFF;
constexpr QRgb kGridBorder = 0xFF4F4F4F;
constexpr QRgb kGridLine = 0xFFAFAFAF;
constexpr QRgb kCaptionColour = 0xFF4F4F4F;

}  // namespace qlx
