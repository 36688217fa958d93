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

}  // namespace qlxtest
