#pragma once

#include <QStringList>
#include <deque>
#include <optional>

#include "app/file_dialogs.h"

namespace qlxtest {

// Answers file dialogs from a queue and records what was asked.
class ScriptedFileDialogs : public qlx::FileDialogs {
public:
    std::deque<std::optional<QString>> answers;
    QList<qlx::FileDialogRequest> asked;
    QStringList errors;
    // Save dialogs with a check box: the caption and first state of each one
    // shown, and the states to leave them in (none: left as shown).
    QStringList optionTexts;
    QList<bool> optionShownChecked;
    std::deque<bool> optionAnswers;

    std::optional<QString> OpenFile(const qlx::FileDialogRequest& request) override { return Next(request); }
    std::optional<QString> SaveFile(const qlx::FileDialogRequest& request) override { return Next(request); }
    std::optional<QString> SaveFileWithOption(const qlx::FileDialogRequest& request, const QString& optionText,
                                              bool& checked) override;
    void Error(const QString& text) override { errors << text; }

private:
    std::optional<QString> Next(const qlx::FileDialogRequest& request);
};

}  // namespace qlxtest
