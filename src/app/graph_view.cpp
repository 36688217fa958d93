#include "app/graph_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace qlx {

TGraphView::TGraphView(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGraphView::SetImage(const QImage& image)
{
    image_ = image;
    update();
}

void TGraphView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
}

void TGraphView::mousePressEvent(QMouseEvent* event)
{
    emit MousePressed(event->button(), event->position().toPoint());
}

void TGraphView::mouseMoveEvent(QMouseEvent* event)
{
    // A drag moves the cursor only with the left button alone and no modifier.
    if (event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier)
        emit MouseDragged(event->position().toPoint());
}

}  // namespace qlx
