#include "comm/messages.h"

namespace qlx {

const char* const kProgressCaption = "通信中";

const char* const kCannotCommunicateDesignedText =
    "通信できません。QLX-50との接続、および [通信] メニュー，[COMポート番号] の設定を確認してください。";
const char* const kMissingCurveFileDesignedText = "リファレンス・カーブ・ファイルがありません。処理を続けますか？";
const char* const kNotSweepModeDesignedText = "測定できません。QLX-50をスイープモードにしてください。";
const char* const kUploadQuestionDesignedText =
    "QLX-50のリファレンス・カーブが上書されます。アップロードしても良いですか？";

const char* const kPortOpenErrorText =
    "COMポートが開けません。 [通信] メニュー，[COMポート番号] の設定を確認してください。";
const char* const kCannotCommunicateText =
    "通信できません。\r\nQLX-50との接続、および [通信] メニュー，[COMポート番号] の設定を確認してください。";
const char* const kNotSweepModeText = "測定できません。\r\nQLX-50をスイープモードにしてください。";
const char* const kChannelNotMeasurableText =
    "このチャンネルは測定できません。\r\n測定端子、およびチャンネル選択を確認してください。";

const char* const kUploadQuestionText =
    "QLX-50のリファレンス・カーブが上書されます。\r\nアップロードしても良いですか？";
const char* const kUploadEndText = "リファレンス・カーブをアップロードしました。";

std::string MissingCurveFileText(int refNo, const std::string& fileName)
{
    return "次のインピーダンスカーブファイルがありません。\r\n\r\nリファレンスNo." + std::to_string(refNo) + "   " +
           fileName + "\r\n\r\n処理を続けますか？";
}

std::string PacketTooLongText(int refNo, const std::string& fileName)
{
    return "リファレンスNo." + std::to_string(refNo) + (fileName.empty() ? "" : "   " + fileName) +
           "\r\n\r\nカーブに長すぎる行があるため、送信できません。\r\nこのリファレンスNo."
           "から後は書き込まれていません。";
}

const char* const kRefFolderTitle = "リファレンス・カーブを保存するフォルダーを選択してください。";
const char* const kImpFolderTitle = "測定カーブを保存するフォルダーを選択してください。";
const char* const kSaveFolderStatus = "保存フォルダーの選択";
const char* const kRefDownloadEndText = "リファレンス・カーブをダウンロードしました。";
const char* const kImpDownloadEndText = "測定カーブをダウンロードしました。";
const char* const kDownloadStoppedText = "ダウンロードを中止しました。ここまでに保存したファイルは残っています。";

}  // namespace qlx
