#pragma once

#include <functional>

#include "comm/instrument_ui.h"
#include "ui/main_msg_dlgs.h"

class QFileDialog;
class QWidget;

namespace qlx {

// The program's InstrumentUi: the main window's message dialogs, the
// progress dialog, a folder picker, the freedesktop trash and the
// application's event loop.
class QtInstrumentUi : public InstrumentUi {
public:
    // How the folder picker is run; the default runs it modally. Returns
    // whether the user accepted.
    using FolderStep = std::function<bool(QFileDialog&)>;

    QtInstrumentUi(MainMsgDlgs& dialogs, QWidget* parent = nullptr);

    int ShowMessage(MsgDlg dialog, const std::string& message = {}) override;
    bool ProgressOpen(const std::string& caption, int minimum, int maximum) override;
    bool ProgressStep() override;
    void ProgressClose() override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& status,
                                            const std::string& initialFolder) override;
    bool MoveToTrash(const std::string& path) override;
    void ProcessEvents() override;

    void SetFolderStep(FolderStep step) { folderStep_ = std::move(step); }

private:
    MainMsgDlgs& dialogs_;
    QWidget* parent_;
    FolderStep folderStep_;
};

}  // namespace qlx
