#include "app/missing_row_delegate.h"

#include <QPainter>

namespace qlx {

void MissingRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!missing_(index.row()))
        return;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->fillRect(option.rect, selected ? Qt::red : Qt::yellow);
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    const QRect text = option.rect.adjusted(2, 2, 0, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
    painter->restore();
}

}  // namespace qlx
