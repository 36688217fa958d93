#include "ui/main_msg_dlgs.h"

#include "comm/messages.h"

namespace qlx {

namespace {

void Design(TExtendMsgDlg& dlg, const char* message, MsgButtons buttons, MsgBtn defaultButton, MsgIcon icon)
{
    dlg.SetMessage(QString::fromUtf8(message));
    dlg.SetButtons(buttons);
    dlg.SetDefaultButton(defaultButton);
    dlg.SetIconType(icon);
    dlg.SetTitleSet(true);
    dlg.SetTitle(QStringLiteral("QLX-50 Manager"));
}

}  // namespace

MainMsgDlgs::MainMsgDlgs()
{
    using B = MsgBtn;
    const MsgIcon warn = MsgIcon::Warning;
    Design(Rs232cOpenErrMsgDlg, kPortOpenErrorText, {B::OK}, B::OK, warn);
    Design(Rs232cErrMsgDlg, kCannotCommunicateDesignedText, {B::OK}, B::OK, warn);
    Design(ImpFileNothingErrDlg, kMissingCurveFileDesignedText, {B::Yes, B::No}, B::OK, warn);
    Design(RefListNothingErrDlg, "リファレンス・リスト・ファイルがありません", {B::OK}, B::OK, warn);
    Design(ChangeSaveDlg, "内容が変更されています。変更を保存しますか？", {B::Yes, B::No, B::Cancel}, B::Yes, warn);
    Design(RefListRowInsertMsgDlg, "リファレンス No.64が削除されます。行を挿入しますか？", {B::Yes, B::No}, B::Yes,
           warn);
    Design(Qlx50ModeErrDlg, kNotSweepModeDesignedText, {B::OK}, B::OK, warn);
    Design(UpLoadDlg, kUploadQuestionDesignedText, {B::Yes, B::No}, B::No, warn);
    Design(UpDownloadEndDlg, kRefDownloadEndText, {B::OK}, B::OK, MsgIcon::Information);
}

TExtendMsgDlg& MainMsgDlgs::Get(MsgDlg which)
{
    switch (which) {
    case MsgDlg::Rs232cOpenErr: return Rs232cOpenErrMsgDlg;
    case MsgDlg::Rs232cErr: return Rs232cErrMsgDlg;
    case MsgDlg::ImpFileNothingErr: return ImpFileNothingErrDlg;
    case MsgDlg::RefListNothingErr: return RefListNothingErrDlg;
    case MsgDlg::ChangeSave: return ChangeSaveDlg;
    case MsgDlg::RefListRowInsert: return RefListRowInsertMsgDlg;
    case MsgDlg::Qlx50ModeErr: return Qlx50ModeErrDlg;
    case MsgDlg::UpLoad: return UpLoadDlg;
    case MsgDlg::UpDownloadEnd: return UpDownloadEndDlg;
    }
    return Rs232cErrMsgDlg;
}

}  // namespace qlx
