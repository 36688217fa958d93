#pragma once

#include <QImage>
#include <QPoint>

namespace qlx {

constexpr int kScreenGraphWidth = 650;
constexpr int kScreenGraphHeight = 235;
constexpr QPoint kPlotOrigin{30, 20};  // plot pixel (x, y) is screen pixel (30 + x, 20 + y)

// 601 x 200 grid template: white, dark grey border, light grey decade lines.
QImage MakeGraphGridImage();
// 650 x 235 screen graph with its frame captions; the plot rectangle is left
// white for the redraw to fill.
QImage MakeImpGraphFrame();

}  // namespace qlx
