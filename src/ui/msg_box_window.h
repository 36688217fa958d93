#pragma once

#include <array>

#include <QDialog>

#include "ui/msg_buttons.h"

class QPushButton;

namespace qlx {

enum class MsgIcon { Warning, Error, Information, Confirmation, Custom };

// The window of one message box: icon, text and a row of buttons. Pressing
// a button ends it with that button's modal result; the close box ends it
// with Cancel; Esc presses the box's cancel button (Cancel, else No, else OK)
// and does nothing when it has none.
class MsgBoxWindow : public QDialog {
    Q_OBJECT
public:
    MsgBoxWindow(const QString& text, MsgIcon icon, MsgButtons buttons);

    QPushButton* Button(MsgBtn b) const { return buttons_[static_cast<size_t>(b)]; }
    void SetCloseBoxAllowed(bool allowed);
    bool CloseBoxAllowed() const { return closeBoxAllowed_; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* EscapeButton() const;

    std::array<QPushButton*, kMsgBtnCount> buttons_{};
    bool closeBoxAllowed_ = true;
};

// Caption a box gets from its icon when no title is set.
QString IconCaption(MsgIcon icon);

}  // namespace qlx
