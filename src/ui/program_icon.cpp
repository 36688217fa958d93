#include "ui/program_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace qlx {

QImage ProgramIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setBrush(QColor(0, 64, 128));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    p.setPen(QPen(QColor(255, 220, 0), 2));
    QPainterPath curve(QPointF(4, 24));
    curve.cubicTo(QPointF(10, 24), QPointF(11, 5), QPointF(14, 5));
    curve.cubicTo(QPointF(17, 5), QPointF(18, 22), QPointF(22, 22));
    curve.cubicTo(QPointF(25, 22), QPointF(27, 18), QPointF(29, 12));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    return image;
}

}  // namespace qlx
