#include "ui/extend_msg_dlg.h"

#include <QPushButton>

#include "comm/instrument_ui.h"
#include "ui/place_window.h"

namespace qlx {

bool KeepsCloseBox(SystemMenuMode mode, MsgButtons buttons)
{
    switch (mode) {
    case smExist: return true;
    case smNothing: return false;
    case smAuto: return buttons.Empty() || buttons.OnlyHelp();
    }
    return true;
}

void TCustomExtendMsgDlg::SetDefaultButton(MsgBtn button)
{
    if (button == defaultButton_)
        return;
    if (!buttons_.Has(button))
        throw MsgDlgError("ボタンが設定されていません。");
    defaultButton_ = button;
}

void TCustomExtendMsgDlg::Configure(MsgBoxWindow& box) const
{
    if (titleSet_)
        box.setWindowTitle(title_);

    const bool closeBox = KeepsCloseBox(systemMenu_, buttons_);
    Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint;
    if (closeBox)
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    else
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    box.setWindowFlags(flags);
    box.SetCloseBoxAllowed(closeBox);

    if (QPushButton* button = box.Button(defaultButton_)) {
        button->setDefault(true);
        if (!button->hasFocus())
            button->setFocus();
    }

    box.adjustSize();
    PlaceWindow(box, placement_);
}

int TCustomExtendMsgDlg::Execute() const
{
    MsgBoxWindow box(message_, iconType_, buttons_);
    Configure(box);
    box.setResult(mrNone);
    if (showStep_)
        showStep_(box);
    else
        box.exec();
    return box.result();
}

}  // namespace qlx
