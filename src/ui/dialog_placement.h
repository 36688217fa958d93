#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace qlx {

// Placement of a message box on the screen when it is not anchored.
enum DlgPosition { dpCenter, dpLeftTop, dpLeftBottom, dpRightTop, dpRightBottom };
// Which point of the box lies on the anchor when it is anchored.
enum AnchorsPosition { apCenter, apLeftTop, apLeftBottom, apRightTop, apRightBottom };

struct DialogPlacement {
    DlgPosition Position = dpCenter;
    bool PositionSet = false;
    AnchorsPosition AnchorsPos = apLeftTop;
    int AnchorsLeft = 0;
    int AnchorsTop = 0;
};

// Top-left corner of a box of the given size placed on `screen` (its
// geometry in global pixels). Anchors are global pixels and are used as they
// are, even when that puts the box partly off the screen.
QPoint DialogTopLeft(const DialogPlacement& placement, QSize box, const QRect& screen);

// Top-left corner of a box of the given size beside `owner` (frames in global
// pixels) within `area` (the screen's available part): to its right, else to
// its left, else at the area's right edge over the owner; level with the
// owner's top, moved up as far as needed to fit, never above the area.
QPoint BesideTopLeft(const QRect& owner, QSize box, const QRect& area);

}  // namespace qlx
