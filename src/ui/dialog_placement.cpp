#include "ui/dialog_placement.h"

#include <algorithm>

namespace qlx {

namespace {

// Half of a length, rounded to nearest (half away from zero).
int Half(int length) { return length >= 0 ? (length + 1) / 2 : -((-length + 1) / 2); }

}  // namespace

QPoint DialogTopLeft(const DialogPlacement& placement, QSize box, const QRect& screen)
{
    const int w = box.width();
    const int h = box.height();
    if (placement.PositionSet) {
        const int x = placement.AnchorsLeft;
        const int y = placement.AnchorsTop;
        switch (placement.AnchorsPos) {
        case apCenter: return {x - Half(w), y - Half(h)};
        case apLeftTop: return {x, y};
        case apLeftBottom: return {x, y - h};
        case apRightTop: return {x - w, y};
        case apRightBottom: return {x - w, y - h};
        }
        return {x, y};
    }
    const int left = screen.left();
    const int top = screen.top();
    const int right = left + screen.width() - w;
    const int bottom = top + screen.height() - h;
    switch (placement.Position) {
    case dpCenter: return {left + (screen.width() - w) / 2, top + (screen.height() - h) / 2};
    case dpLeftTop: return {left, top};
    case dpLeftBottom: return {left, bottom};
    case dpRightTop: return {right, top};
    case dpRightBottom: return {right, bottom};
    }
    return {left, top};
}

QPoint BesideTopLeft(const QRect& owner, QSize box, const QRect& area)
{
    const int areaRight = area.left() + area.width();
    int x;
    if (owner.left() + owner.width() + box.width() <= areaRight)
        x = owner.left() + owner.width();
    else if (owner.left() - box.width() >= area.left())
        x = owner.left() - box.width();
    else
        x = std::max(area.left(), areaRight - box.width());
    const int y = std::max(area.top(), std::min(owner.top(), area.top() + area.height() - box.height()));
    return {x, y};
}

}  // namespace qlx
