#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace qlx {

// Width of the margin around a PageImage; the page or graph stands at (10, 10).
constexpr int kPageImageMargin = 10;

// The screen PageImage: (page width + 20) x (page height + 20) in the window's
// background colour, a 1-pixel black outline along its outer edge and the
// captured impedance page painted at (10, 10). `page` is the page as the
// window captured it (QWidget::render into an image of the page's size).
QImage MakeScreenPageImage(const QImage& page, const QColor& background);

// The graph PageImage: (graph width + 20) x (graph height + 20), filled and
// outlined as above, with the rectangle the screen graph occupies on the
// captured page (frame, captions and the scale labels lying on it) copied one
// to one to (10, 10).
QImage MakeGraphPageImage(const QImage& page, const QRect& graphRect, const QColor& background);

}  // namespace qlx
