#include "comm/messages.h"

namespace qlx {

const char* const kPortOpenErrorText =
    "COMポートが開けません。 [通信] メニュー，[COMポート番号] の設定を確認してください。";
const char* const kCannotCommunicateText =
    "通信できません。\r\nQLX-50との接続、および [通信] メニュー，[COMポート番号] の設定を確認してください。";
const char* const kNotSweepModeText = "測定できません。\r\nQLX-50をスイープモードにしてください。";
const char* const kChannelNotMeasurableText =
    "このチャンネルは測定できません。\r\n測定端子、およびチャンネル選択を確認してください。";

}  // namespace qlx
