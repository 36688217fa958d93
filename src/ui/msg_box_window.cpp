#include "ui/msg_box_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "comm/instrument_ui.h"
#include "ui/app_font.h"

namespace qlx {

namespace {

QIcon StandardIcon(MsgIcon icon, const QStyle* style)
{
    switch (icon) {
    case MsgIcon::Warning: return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case MsgIcon::Error: return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case MsgIcon::Information: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case MsgIcon::Confirmation: return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case MsgIcon::Custom: break;
    }
    return {};
}

}  // namespace

QString IconCaption(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Warning: return QStringLiteral("警告");
    case MsgIcon::Error: return QStringLiteral("エラー");
    case MsgIcon::Information: return QStringLiteral("情報");
    case MsgIcon::Confirmation: return QStringLiteral("確認");
    case MsgIcon::Custom: break;
    }
    return QGuiApplication::applicationDisplayName();
}

MsgBoxWindow::MsgBoxWindow(const QString& text, MsgIcon icon, MsgButtons buttons)
{
    setFont(AppFont(12));
    setWindowTitle(IconCaption(icon));

    auto* body = new QHBoxLayout;
    body->setSpacing(12);
    const QIcon image = StandardIcon(icon, style());
    if (!image.isNull()) {
        auto* iconLabel = new QLabel;
        iconLabel->setObjectName(QStringLiteral("Image"));
        const int extent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(image.pixmap(extent, extent));
        iconLabel->setAlignment(Qt::AlignTop);
        body->addWidget(iconLabel);
    }
    auto* message = new QLabel(text);
    message->setObjectName(QStringLiteral("Message"));
    message->setTextFormat(Qt::PlainText);
    message->setTextInteractionFlags(Qt::NoTextInteraction);
    body->addWidget(message, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (int i = 0; i < kMsgBtnCount; ++i) {
        const auto b = static_cast<MsgBtn>(i);
        if (!buttons.Has(b))
            continue;
        auto* button = new QPushButton(MsgBtnCaption(b));
        button->setObjectName(MsgBtnName(b));
        button->setMinimumWidth(75);
        button->setAutoDefault(true);
        const int result = MsgBtnResult(b);
        if (result != mrNone)
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        buttons_[static_cast<size_t>(i)] = button;
        row->addWidget(button);
    }
    row->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(16);
    layout->addLayout(body);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void MsgBoxWindow::SetCloseBoxAllowed(bool allowed) { closeBoxAllowed_ = allowed; }

QPushButton* MsgBoxWindow::EscapeButton() const
{
    for (MsgBtn b : {MsgBtn::Cancel, MsgBtn::No, MsgBtn::OK})
        if (QPushButton* button = Button(b))
            return button;
    return nullptr;
}

void MsgBoxWindow::reject()
{
    if (QPushButton* button = EscapeButton())
        button->click();
}

void MsgBoxWindow::closeEvent(QCloseEvent* event)
{
    if (!closeBoxAllowed_) {
        event->ignore();
        return;
    }
    event->accept();
    done(mrCancel);
}

}  // namespace qlx
