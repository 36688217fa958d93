#include "support/scripted_ui.h"

#include <algorithm>

namespace qlxtest {

int ScriptedUi::ShowMessage(qlx::MsgDlg dialog, const std::string& message)
{
    calls.push_back({UiCall::Message, dialog, message, 0, 0});
    if (onMessage)
        onMessage();
    if (messageAnswers.empty())
        return qlx::mrOk;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

bool ScriptedUi::ProgressOpen(const std::string& caption, int minimum, int maximum)
{
    calls.push_back({UiCall::ProgressOpen, {}, caption, minimum, maximum});
    if (progressShown_)
        return false;
    progressShown_ = true;
    position_ = minimum;
    maximum_ = maximum;
    return true;
}

bool ScriptedUi::ProgressStep()
{
    calls.push_back({UiCall::ProgressStep, {}, {}, 0, 0});
    ++steps_;
    if (onProcessEvents)
        onProcessEvents();
    if (!progressShown_)
        return false;
    ++position_;
    if (cancelAtStep != 0 && steps_ >= cancelAtStep)
        return false;
    return position_ <= maximum_;
}

void ScriptedUi::ProgressClose()
{
    calls.push_back({UiCall::ProgressClose, {}, {}, 0, 0});
    progressShown_ = false;
}

std::optional<std::string> ScriptedUi::ChooseFolder(const std::string& title, const std::string& status,
                                                    const std::string& initialFolder)
{
    calls.push_back({UiCall::ChooseFolder, {}, title + "|" + status + "|" + initialFolder, 0, 0});
    if (folderAnswers.empty())
        return std::nullopt;
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

bool ScriptedUi::MoveToTrash(const std::string& path)
{
    calls.push_back({UiCall::MoveToTrash, {}, path, 0, 0});
    return trash ? trash(path) : false;
}

void ScriptedUi::ProcessEvents()
{
    calls.push_back({UiCall::ProcessEvents, {}, {}, 0, 0});
    if (onProcessEvents)
        onProcessEvents();
}

std::vector<UiCall> ScriptedUi::Messages() const
{
    std::vector<UiCall> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                 [](const UiCall& c) { return c.kind == UiCall::Message; });
    return out;
}

int ScriptedUi::Count(UiCall::Kind kind) const
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const UiCall& c) { return c.kind == kind; }));
}

}  // namespace qlxtest
