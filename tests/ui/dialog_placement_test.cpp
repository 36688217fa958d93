#include <gtest/gtest.h>

#include "ui/dialog_placement.h"

namespace {

using qlx::DialogPlacement;
using qlx::DialogTopLeft;

struct PlacementCase {
    const char* name;
    DialogPlacement placement;
    QSize box;
    QPoint expected;
};

// Screen of 800 x 600 whose origin is not (0, 0), as on a second monitor.
const QRect kScreen(1000, 50, 800, 600);

TEST(DialogPlacement, AllTenPlacements)
{
    const QSize box(200, 100);
    const PlacementCase cases[] = {
        {"dpCenter", {qlx::dpCenter, false, qlx::apLeftTop, 7, 9}, box, {1300, 300}},
        {"dpLeftTop", {qlx::dpLeftTop, false, qlx::apLeftTop, 7, 9}, box, {1000, 50}},
        {"dpLeftBottom", {qlx::dpLeftBottom, false, qlx::apLeftTop, 7, 9}, box, {1000, 550}},
        {"dpRightTop", {qlx::dpRightTop, false, qlx::apLeftTop, 7, 9}, box, {1600, 50}},
        {"dpRightBottom", {qlx::dpRightBottom, false, qlx::apLeftTop, 7, 9}, box, {1600, 550}},
        {"apCenter", {qlx::dpRightBottom, true, qlx::apCenter, 400, 300}, box, {300, 250}},
        {"apLeftTop", {qlx::dpRightBottom, true, qlx::apLeftTop, 400, 300}, box, {400, 300}},
        {"apLeftBottom", {qlx::dpCenter, true, qlx::apLeftBottom, 400, 300}, box, {400, 200}},
        {"apRightTop", {qlx::dpCenter, true, qlx::apRightTop, 400, 300}, box, {200, 300}},
        {"apRightBottom", {qlx::dpCenter, true, qlx::apRightBottom, 400, 300}, box, {200, 200}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DialogTopLeft(c.placement, c.box, kScreen), c.expected);
    }
}

TEST(DialogPlacement, CentreOnAnchorRoundsHalvesToNearest)
{
    const DialogPlacement p{qlx::dpCenter, true, qlx::apCenter, 400, 300};
    // Half of 201 is 100.5 -> 101; half of 99 is 49.5 -> 50.
    EXPECT_EQ(DialogTopLeft(p, QSize(201, 99), kScreen), QPoint(299, 250));
    EXPECT_EQ(DialogTopLeft(p, QSize(202, 98), kScreen), QPoint(299, 251));
}

TEST(DialogPlacement, AnchorsMayPutTheBoxOffScreen)
{
    const DialogPlacement p{qlx::dpCenter, true, qlx::apRightBottom, -32768, 10};
    EXPECT_EQ(DialogTopLeft(p, QSize(200, 100), kScreen), QPoint(-32968, -90));
}

TEST(DialogPlacement, BoxLargerThanScreenStartsAboveLeftOnCentre)
{
    const DialogPlacement p{};
    EXPECT_EQ(DialogTopLeft(p, QSize(1000, 700), kScreen), QPoint(900, 0));
}

}  // namespace

namespace {

struct BesideCase {
    const char* name;
    QRect owner;
    QSize box;
    QPoint expected;
};

// Beside the owner on the available part of kScreen: x 1000..1799, y 50..649.
TEST(DialogPlacement, BesideTheOwnerWhereItFits)
{
    const BesideCase cases[] = {
        {"right of the owner", QRect(1000, 60, 400, 300), QSize(300, 200), QPoint(1400, 60)},
        {"right touching the screen's edge", QRect(1000, 60, 500, 300), QSize(300, 200), QPoint(1500, 60)},
        {"left when the right is too narrow", QRect(1400, 60, 300, 300), QSize(300, 200), QPoint(1100, 60)},
        {"over the owner at the right edge when neither side fits", QRect(1100, 60, 600, 300), QSize(300, 200),
         QPoint(1500, 60)},
        {"moved up to fit below", QRect(1000, 500, 400, 100), QSize(300, 200), QPoint(1400, 450)},
        {"never above the screen", QRect(1000, 0, 400, 100), QSize(300, 200), QPoint(1400, 50)},
        {"taller than the screen starts at its top", QRect(1000, 100, 400, 100), QSize(300, 700), QPoint(1400, 50)},
    };
    for (const BesideCase& c : cases)
        EXPECT_EQ(qlx::BesideTopLeft(c.owner, c.box, kScreen), c.expected) << c.name;
}

}  // namespace
