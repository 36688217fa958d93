#pragma once

#include <string>

namespace qlx {

// Every text an instrument operation shows the user (UTF-8), in one place.
// The dialogs they are shown in are named beside each.

// The caption of the progress dialog of every instrument operation.
extern const char* const kProgressCaption;

// The texts the instrument's message dialogs hold as they are designed,
// shown when a caller sets no text of its own.
extern const char* const kCannotCommunicateDesignedText;  // Rs232cErrMsgDlg
extern const char* const kMissingCurveFileDesignedText;   // ImpFileNothingErrDlg
extern const char* const kNotSweepModeDesignedText;       // Qlx50ModeErrDlg
extern const char* const kUploadQuestionDesignedText;     // UpLoadDlg

// Rs232cOpenErrMsgDlg: the port named by the COM port setting cannot be opened.
extern const char* const kPortOpenErrorText;
// Rs232cErrMsgDlg: silence, a wrong or broken reply.
extern const char* const kCannotCommunicateText;
// Qlx50ModeErrDlg: the instrument is not in sweep mode.
extern const char* const kNotSweepModeText;
// Rs232cErrMsgDlg: the selected channel does not exist on the terminal.
extern const char* const kChannelNotMeasurableText;

// UpLoadDlg: asked before either upload overwrites the instrument's slots.
extern const char* const kUploadQuestionText;
// UpDownloadEndDlg: an upload ran to its end (or the user stopped it at a
// missing file).
extern const char* const kUploadEndText;
// ImpFileNothingErrDlg: a listed curve file is neither at its path nor in
// the list's folder; fileName is the listed file name without folder.
std::string MissingCurveFileText(int refNo, const std::string& fileName);
// Rs232cErrMsgDlg: a packet of reference No. refNo would not fit the
// 2048-byte transmit buffer; nothing of that slot was sent. fileName is the
// curve file's name without folder (empty for the open reference curve).
std::string PacketTooLongText(int refNo, const std::string& fileName);

// Folder browser of the reference download: title, caption and status text.
extern const char* const kRefFolderTitle;
// Folder browser of the measured-curve download.
extern const char* const kImpFolderTitle;
extern const char* const kSaveFolderStatus;
// UpDownloadEndDlg after a completed download.
extern const char* const kRefDownloadEndText;
extern const char* const kImpDownloadEndText;
// Rs232cErrMsgDlg: a download ended because a folder or file could not be
// created or written; the file layer's message (path and reason) follows.
extern const char* const kDownloadStoppedText;

}  // namespace qlx
