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

}  // namespace qlx
