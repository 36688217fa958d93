#pragma once

#include "comm/instrument_ui.h"
#include "ui/extend_msg_dlg.h"

namespace qlx {

// The message dialogs of the main window, configured with their designed
// texts, buttons, default buttons and icons, all titled "QLX-50 Manager".
struct MainMsgDlgs {
    MainMsgDlgs();

    TExtendMsgDlg Rs232cOpenErrMsgDlg;
    TExtendMsgDlg Rs232cErrMsgDlg;
    TExtendMsgDlg ImpFileNothingErrDlg;
    TExtendMsgDlg RefListNothingErrDlg;
    TExtendMsgDlg ChangeSaveDlg;
    TExtendMsgDlg RefListRowInsertMsgDlg;
    TExtendMsgDlg Qlx50ModeErrDlg;
    TExtendMsgDlg UpLoadDlg;
    TExtendMsgDlg UpDownloadEndDlg;

    TExtendMsgDlg& Get(MsgDlg which);
};

}  // namespace qlx
