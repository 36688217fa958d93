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
    QList<qlx::FileDialogSpec> asked;
    QStringList errors;

    std::optional<QString> OpenFile(const qlx::FileDialogSpec& spec) override { return Next(spec); }
    std::optional<QString> SaveFile(const qlx::FileDialogSpec& spec) override { return Next(spec); }
    void Error(const QString& text) override { errors << text; }

private:
    std::optional<QString> Next(const qlx::FileDialogSpec& spec);
};

}  // namespace qlxtest
