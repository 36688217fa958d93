#pragma once

namespace qlx {

// Every text an instrument operation shows the user (UTF-8), in one place.
// The dialogs they are shown in are named beside each.

// Rs232cOpenErrMsgDlg: the port named by the COM port setting cannot be opened.
extern const char* const kPortOpenErrorText;
// Rs232cErrMsgDlg: silence, a wrong or broken reply.
extern const char* const kCannotCommunicateText;
// Qlx50ModeErrDlg: the instrument is not in sweep mode.
extern const char* const kNotSweepModeText;
// Rs232cErrMsgDlg: the selected channel does not exist on the terminal.
extern const char* const kChannelNotMeasurableText;

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
