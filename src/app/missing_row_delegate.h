#pragma once

#include <functional>

#include <QStyledItemDelegate>

namespace qlx {

// Paints the cells of rows whose curve file was not found: yellow, or red
// while selected, with the text 2 pixels in from the top-left corner.
class MissingRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    MissingRowDelegate(std::function<bool(int row)> missing, QObject* parent)
        : QStyledItemDelegate(parent), missing_(std::move(missing))
    {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::function<bool(int)> missing_;
};

}  // namespace qlx
