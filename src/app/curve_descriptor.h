#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "model/curve_lines.h"
#include "model/curve_state.h"

class QAction;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace qlx {

// Which curve a file command works on.
enum class CurveKind { Measured, Reference };

struct CurveDialogTexts {
    QString openTitle;
    QString openFilter;
    QString saveTitle;
    QString saveFilter;
};

// Everything that differs between the measured and the reference curve for
// the window's curve commands: open, save, save as and the "curve replaced"
// step work on a descriptor and never ask which kind it is.
struct CurveDescriptor {
    CurveLines* lines = nullptr;      // ImpLines / RefLines
    std::string* filePath = nullptr;  // ImpFilePath / RefFilePath
    std::string* folder = nullptr;    // ImpCurveDir / RefCurveDir
    bool* loaded = nullptr;           // ImpLoaded / RefLoaded
    void (CurveState::*decodeHeader)() = nullptr;

    QLineEdit* nameEdit = nullptr;
    QPlainTextEdit* memo = nullptr;
    QLineEdit* fileNameEdit = nullptr;
    // The header fields of this kind: the measured terminal, or the
    // reference terminal box and protect check box.
    std::function<void()> showHeaderFields;

    CurveDialogTexts texts;
    // Enabled once a curve of this kind is present, never disabled again.
    std::vector<QAction*> enabledActions;
    std::vector<QWidget*> enabledWidgets;

    // The memo text last accepted, to take back a change past 600 bytes.
    QString memoShown;
    // The file name last chosen in the save dialog: Save shows it again,
    // Save As starts empty.
    QString saveName;
};

}  // namespace qlx
