#include "app/graph_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace qlx {

GraphWidget::GraphWidget(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphWidget::SetImage(const QImage& image)
{
    image_ = image;
    update();
}

void GraphWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
}

void GraphWidget::mousePressEvent(QMouseEvent* event)
{
    emit MousePressed(event->button(), event->position().toPoint());
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event)
{
    // A drag moves the cursor only with the left button alone and no modifier.
    if (event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier)
        emit MouseDragged(event->position().toPoint());
}

}  // namespace qlx
