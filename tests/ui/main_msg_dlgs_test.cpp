#include <gtest/gtest.h>

#include "ui/main_msg_dlgs.h"

namespace {

using qlx::MsgBtn;
using qlx::MsgDlg;

struct Designed {
    MsgDlg which;
    const char* message;
    qlx::MsgButtons buttons;
    MsgBtn defaultButton;
    qlx::MsgIcon icon;
};

TEST(MainMsgDlgs, InstancesCarryTheirDesignedContent)
{
    const qlx::MsgIcon warn = qlx::MsgIcon::Warning;
    const Designed table[] = {
        {MsgDlg::Rs232cOpenErr,
         "COMポートが開けません。 [通信] メニュー，[COMポート番号] の設定を確認してください。",
         {MsgBtn::OK},
         MsgBtn::OK,
         warn},
        {MsgDlg::Rs232cErr,
         "通信できません。QLX-50との接続、および [通信] メニュー，[COMポート番号] の設定を確認してください。",
         {MsgBtn::OK},
         MsgBtn::OK,
         warn},
        {MsgDlg::ImpFileNothingErr,
         "リファレンス・カーブ・ファイルがありません。処理を続けますか？",
         {MsgBtn::Yes, MsgBtn::No},
         MsgBtn::OK,
         warn},
        {MsgDlg::RefListNothingErr, "リファレンス・リスト・ファイルがありません", {MsgBtn::OK}, MsgBtn::OK, warn},
        {MsgDlg::ChangeSave,
         "内容が変更されています。変更を保存しますか？",
         {MsgBtn::Yes, MsgBtn::No, MsgBtn::Cancel},
         MsgBtn::Yes,
         warn},
        {MsgDlg::RefListRowInsert,
         "リファレンス No.64が削除されます。行を挿入しますか？",
         {MsgBtn::Yes, MsgBtn::No},
         MsgBtn::Yes,
         warn},
        {MsgDlg::Qlx50ModeErr,
         "測定できません。QLX-50をスイープモードにしてください。",
         {MsgBtn::OK},
         MsgBtn::OK,
         warn},
        {MsgDlg::UpLoad,
         "QLX-50のリファレンス・カーブが上書されます。アップロードしても良いですか？",
         {MsgBtn::Yes, MsgBtn::No},
         MsgBtn::No,
         warn},
        {MsgDlg::UpDownloadEnd,
         "リファレンス・カーブをダウンロードしました。",
         {MsgBtn::OK},
         MsgBtn::OK,
         qlx::MsgIcon::Information},
    };
    qlx::MainMsgDlgs dialogs;
    for (const Designed& d : table) {
        SCOPED_TRACE(d.message);
        const qlx::TExtendMsgDlg& dlg = dialogs.Get(d.which);
        EXPECT_EQ(dlg.Message(), QString::fromUtf8(d.message));
        EXPECT_TRUE(dlg.Buttons() == d.buttons);
        EXPECT_EQ(dlg.DefaultButton(), d.defaultButton);
        EXPECT_EQ(dlg.IconType(), d.icon);
        EXPECT_TRUE(dlg.TitleSet());
        EXPECT_EQ(dlg.Title(), QStringLiteral("QLX-50 Manager"));
        EXPECT_EQ(dlg.SystemMenu(), qlx::smExist);
        EXPECT_FALSE(dlg.PositionSet());
        EXPECT_EQ(dlg.Position(), qlx::dpCenter);
    }
}

TEST(MainMsgDlgs, GetReturnsTheNamedMember)
{
    qlx::MainMsgDlgs d;
    EXPECT_EQ(&d.Get(MsgDlg::Rs232cOpenErr), &d.Rs232cOpenErrMsgDlg);
    EXPECT_EQ(&d.Get(MsgDlg::ChangeSave), &d.ChangeSaveDlg);
    EXPECT_EQ(&d.Get(MsgDlg::UpLoad), &d.UpLoadDlg);
    EXPECT_EQ(&d.Get(MsgDlg::UpDownloadEnd), &d.UpDownloadEndDlg);
}

}  // namespace
