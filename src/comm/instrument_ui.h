#pragma once

#include <optional>
#include <string>

namespace qlx {

// The named message dialogs of the main window. Their designed texts,
// buttons, default buttons and icons belong to the user-interface layer.
enum class MsgDlg {
    Rs232cOpenErr,
    Rs232cErr,
    ImpFileNothingErr,
    RefListNothingErr,
    ChangeSave,
    RefListRowInsert,
    Qlx50ModeErr,
    UpLoad,
    UpDownloadEnd,
};

// Modal results of a message dialog (closing by the close box gives Cancel).
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Everything an instrument operation needs from the user: messages,
// questions, the progress dialog, a folder choice, the desktop's trash and a
// chance for the window to handle pending events. The program implements it with its dialogs; tests
// implement it with scripted answers.
class InstrumentUi {
public:
    virtual ~InstrumentUi() = default;

    // Shows a named dialog modally and returns its ModalResult. A non-empty
    // message (UTF-8) replaces the dialog's text before it is shown.
    virtual int ShowMessage(MsgDlg dialog, const std::string& message = {}) = 0;

    // Progress dialog: Open refuses (false) while one is open; Step processes
    // pending events, advances by one and returns false once the count passed
    // the maximum or the user cancelled; Close is harmless when closed.
    virtual bool ProgressOpen(const std::string& caption, int minimum, int maximum) = 0;
    virtual bool ProgressStep() = 0;
    virtual void ProgressClose() = 0;

    // Folder picker; no value when the user cancels.
    virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& status,
                                                    const std::string& initialFolder) = 0;

    // Moves a file or a folder (with everything in it) to the desktop's
    // trash without asking; false when the trash cannot take it, in which
    // case it is left where it was.
    virtual bool MoveToTrash(const std::string& path) = 0;

    // Lets the window process pending events (repaint, clicks, cancel button).
    virtual void ProcessEvents() = 0;
};

}  // namespace qlx
