#pragma once

#include <QImage>
#include <QWidget>

namespace qlx {

// Shows the screen graph image unscaled and reports mouse presses and
// left-button drags in image coordinates. Pointer: a cross.
class GraphWidget : public QWidget {
    Q_OBJECT
public:
    explicit GraphWidget(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    const QImage& Image() const { return image_; }

signals:
    void MousePressed(Qt::MouseButton button, QPoint at);
    void MouseDragged(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage image_;
};

}  // namespace qlx
