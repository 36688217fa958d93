#include "ui/msg_buttons.h"

#include <array>

#include "comm/instrument_ui.h"

namespace qlx {

namespace {

struct ButtonInfo {
    const char* name;
    const char* caption;
    int result;
};

const std::array<ButtonInfo, kMsgBtnCount> kButtons{{
    {"Yes", "はい(&Y)", mrYes},
    {"No", "いいえ(&N)", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "キャンセル", mrCancel},
    {"Abort", "中止(&A)", mrAbort},
    {"Retry", "再試行(&R)", mrRetry},
    {"Ignore", "無視(&I)", mrIgnore},
    {"All", "すべて(&A)", mrAll},
    {"NoToAll", "すべていいえ(&O)", mrNoToAll},
    {"YesToAll", "すべてはい(&T)", mrYesToAll},
    {"Help", "ヘルプ(&H)", mrNone},
}};

const ButtonInfo& Info(MsgBtn b) { return kButtons[static_cast<size_t>(b)]; }

}  // namespace

QString MsgBtnName(MsgBtn b) { return QString::fromUtf8(Info(b).name); }
QString MsgBtnCaption(MsgBtn b) { return QString::fromUtf8(Info(b).caption); }
int MsgBtnResult(MsgBtn b) { return Info(b).result; }

}  // namespace qlx
