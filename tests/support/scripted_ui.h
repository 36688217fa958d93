#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "comm/instrument_ui.h"

namespace qlxtest {

// One call an operation made on its user interface.
struct UiCall {
    enum Kind { Message, ProgressOpen, ProgressStep, ProgressClose, ChooseFolder, ProcessEvents, MoveToTrash };
    Kind kind;
    qlx::MsgDlg dialog = qlx::MsgDlg::Rs232cErr;  // Message
    std::string text;  // Message text, progress caption, "title|status|start folder", trashed path
    int minimum = 0;   // ProgressOpen
    int maximum = 0;   // ProgressOpen
};

// InstrumentUi for tests: records every call and answers from a script.
// Unscripted messages answer mrOk, unscripted folder choices are cancelled,
// the trash takes nothing unless `trash` is set, and the progress dialog behaves like the real one (Open refuses while one
// is open; Step fails once the count passed the maximum or at `cancelAtStep`).
class ScriptedUi : public qlx::InstrumentUi {
public:
    std::vector<UiCall> calls;

    std::deque<int> messageAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    int cancelAtStep = 0;  // 1-based step that reports a cancel; 0 = never
    // Runs inside ProcessEvents, as window events would (e.g. a second click).
    std::function<void()> onProcessEvents;
    // Runs inside ShowMessage while the dialog would be on the screen.
    std::function<void()> onMessage;
    // The desktop's trash: takes the path (true) or refuses it (false).
    std::function<bool(const std::string& path)> trash;

    int ShowMessage(qlx::MsgDlg dialog, const std::string& message) override;
    bool ProgressOpen(const std::string& caption, int minimum, int maximum) override;
    bool ProgressStep() override;
    void ProgressClose() override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& status,
                                            const std::string& initialFolder) override;
    bool MoveToTrash(const std::string& path) override;
    void ProcessEvents() override;

    bool progressShown() const { return progressShown_; }
    int steps() const { return steps_; }
    std::vector<UiCall> Messages() const;
    int Count(UiCall::Kind kind) const;

private:
    bool progressShown_ = false;
    int maximum_ = 0;
    int position_ = 0;
    int steps_ = 0;
};

}  // namespace qlxtest
