#include "app/up_down.h"

#include <QBoxLayout>
#include <QToolButton>
#include <algorithm>

namespace qlx {

UpDown::UpDown(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), next_(new QToolButton(this)), prev_(new QToolButton(this))
{
    const bool vertical = orientation == Qt::Vertical;
    next_->setArrowType(vertical ? Qt::UpArrow : Qt::RightArrow);
    prev_->setArrowType(vertical ? Qt::DownArrow : Qt::LeftArrow);
    QBoxLayout* layout = new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (vertical) {
        layout->addWidget(next_);
        layout->addWidget(prev_);
    } else {
        layout->addWidget(prev_);
        layout->addWidget(next_);
    }
    for (QToolButton* b : {next_, prev_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    setFocusPolicy(Qt::NoFocus);
    connect(next_, &QToolButton::clicked, this, [this] { Click(Button::Next); });
    connect(prev_, &QToolButton::clicked, this, [this] { Click(Button::Prev); });
}

void UpDown::SetRange(int min, int max)
{
    min_ = min;
    max_ = max;
    SetPosition(position_);
}

void UpDown::SetPosition(int position) { position_ = std::clamp(position, min_, max_); }

void UpDown::Click(Button button)
{
    SetPosition(position_ + (button == Button::Next ? increment_ : -increment_));
    emit Clicked(button);
}

}  // namespace qlx
