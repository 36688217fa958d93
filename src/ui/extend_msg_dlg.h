#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>

#include <QString>

#include "ui/dialog_placement.h"
#include "ui/msg_box_window.h"
#include "ui/msg_buttons.h"

namespace qlx {

// Close box and system menu of a message box.
enum SystemMenuMode { smExist, smNothing, smAuto };

// Raised by a setter given a value the dialog cannot take; what() is UTF-8.
class MsgDlgError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A configured message box: text, buttons, default button, icon, title,
// close box and placement are set once and the box is shown on demand.
// The properties are kept by the base and made public by TExtendMsgDlg.
class TCustomExtendMsgDlg {
public:
    // How a built box is shown; the default runs it modally. Tests replace
    // it to inspect the box and press one of its buttons.
    using ShowStep = std::function<void(MsgBoxWindow&)>;

    virtual ~TCustomExtendMsgDlg() = default;

    // Builds the box, shows it modally and returns the modal result of the
    // button pressed (qlx::ModalResult; the close box gives mrCancel). The box
    // is destroyed when it closes.
    int Execute() const;

    void SetShowStep(ShowStep step) { showStep_ = std::move(step); }

protected:
    const QString& Message() const { return message_; }
    void SetMessage(const QString& text) { message_ = text; }
    MsgButtons Buttons() const { return buttons_; }
    void SetButtons(MsgButtons buttons) { buttons_ = buttons; }
    MsgBtn DefaultButton() const { return defaultButton_; }
    // Accepts the current value as it is; any other value must be one of
    // Buttons, else throws MsgDlgError and keeps the old value.
    void SetDefaultButton(MsgBtn button);
    MsgIcon IconType() const { return iconType_; }
    void SetIconType(MsgIcon icon) { iconType_ = icon; }
    SystemMenuMode SystemMenu() const { return systemMenu_; }
    void SetSystemMenu(SystemMenuMode mode) { systemMenu_ = mode; }
    bool TitleSet() const { return titleSet_; }
    void SetTitleSet(bool on) { titleSet_ = on; }
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    DlgPosition Position() const { return placement_.Position; }
    void SetPosition(DlgPosition position) { placement_.Position = position; }
    bool PositionSet() const { return placement_.PositionSet; }
    void SetPositionSet(bool on) { placement_.PositionSet = on; }
    AnchorsPosition AnchorsPos() const { return placement_.AnchorsPos; }
    void SetAnchorsPosition(AnchorsPosition anchor) { placement_.AnchorsPos = anchor; }
    std::int16_t AnchorsTop() const { return static_cast<std::int16_t>(placement_.AnchorsTop); }
    void SetAnchorsTop(std::int16_t y) { placement_.AnchorsTop = y; }
    std::int16_t AnchorsLeft() const { return static_cast<std::int16_t>(placement_.AnchorsLeft); }
    void SetAnchorsLeft(std::int16_t x) { placement_.AnchorsLeft = x; }

private:
    void Configure(MsgBoxWindow& box) const;

    QString message_;
    MsgButtons buttons_;
    MsgBtn defaultButton_ = MsgBtn::OK;
    MsgIcon iconType_ = MsgIcon::Custom;
    SystemMenuMode systemMenu_ = smExist;
    bool titleSet_ = false;
    QString title_;
    DialogPlacement placement_;
    ShowStep showStep_;
};

class TExtendMsgDlg : public TCustomExtendMsgDlg {
public:
    using TCustomExtendMsgDlg::AnchorsLeft;
    using TCustomExtendMsgDlg::AnchorsPos;
    using TCustomExtendMsgDlg::AnchorsTop;
    using TCustomExtendMsgDlg::Buttons;
    using TCustomExtendMsgDlg::DefaultButton;
    using TCustomExtendMsgDlg::IconType;
    using TCustomExtendMsgDlg::Message;
    using TCustomExtendMsgDlg::Position;
    using TCustomExtendMsgDlg::PositionSet;
    using TCustomExtendMsgDlg::SetAnchorsLeft;
    using TCustomExtendMsgDlg::SetAnchorsPosition;
    using TCustomExtendMsgDlg::SetAnchorsTop;
    using TCustomExtendMsgDlg::SetButtons;
    using TCustomExtendMsgDlg::SetDefaultButton;
    using TCustomExtendMsgDlg::SetIconType;
    using TCustomExtendMsgDlg::SetMessage;
    using TCustomExtendMsgDlg::SetPosition;
    using TCustomExtendMsgDlg::SetPositionSet;
    using TCustomExtendMsgDlg::SetSystemMenu;
    using TCustomExtendMsgDlg::SetTitle;
    using TCustomExtendMsgDlg::SetTitleSet;
    using TCustomExtendMsgDlg::SystemMenu;
    using TCustomExtendMsgDlg::Title;
    using TCustomExtendMsgDlg::TitleSet;
};

// Whether a box keeps its close box under the given mode.
bool KeepsCloseBox(SystemMenuMode mode, MsgButtons buttons);

}  // namespace qlx
