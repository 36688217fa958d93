#include "scripted_file_dialogs.h"

namespace qlxtest {

std::optional<QString> ScriptedFileDialogs::Next(const qlx::FileDialogRequest& request)
{
    asked << request;
    if (answers.empty())
        return std::nullopt;
    const QString path = answers.front().value_or(QString());
    const bool given = answers.front().has_value();
    answers.pop_front();
    return given ? std::optional<QString>(path) : std::nullopt;
}

std::optional<QString> ScriptedFileDialogs::SaveFileWithOption(const qlx::FileDialogRequest& request,
                                                               const QString& optionText, bool& checked)
{
    optionTexts << optionText;
    optionShownChecked << checked;
    bool state = checked;
    if (!optionAnswers.empty()) {
        state = optionAnswers.front();
        optionAnswers.pop_front();
    }
    std::optional<QString> path = Next(request);
    if (path)
        checked = state;
    return path;
}

}  // namespace qlxtest
