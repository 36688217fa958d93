#pragma once

#include <QStringList>
#include <functional>

#include "app/print_dialogs.h"

namespace qlxtest {

// Answers the printing dialogs as a script says and records what was shown.
// The set-up answer may change the printer as the user's choices would.
class ScriptedPrintDialogs : public qlx::PrintDialogs {
public:
    std::function<bool(QPrinter&)> setupAnswer = [](QPrinter&) { return false; };
    bool printAnswer = true;
    int setupShown = 0;
    int printShown = 0;
    QStringList errors;

    bool PrinterSetup(QPrinter& printer) override
    {
        ++setupShown;
        return setupAnswer(printer);
    }
    bool Print(QPrinter&) override
    {
        ++printShown;
        return printAnswer;
    }
    void Error(const QString& text) override { errors << text; }
};

}  // namespace qlxtest
