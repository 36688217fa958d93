#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace qlx {

// One file dialog as the commands configure it. Paths are local file paths.
struct FileDialogRequest {
    QString title;
    QString filter;         // "description(pattern)" as shown to the user; ";;" between file types
    QString defaultSuffix;  // without dot; empty for none
    QString initialFolder;  // empty: the dialog's own choice
    QString fileName;       // pre-filled file name (save dialogs)
    // Save dialogs: appended to the chosen name unless it ends in exactly
    // this; the overwrite and create questions are about that name.
    QString requiredExtension = {};
};

// The dialogs and plain messages the window's own commands use. The program
// shows real dialogs; tests answer from a script.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen existing file, or no value when cancelled.
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
    // The chosen path after the overwrite and create questions were answered
    // with yes, or no value when cancelled.
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
    // A save dialog with one check box captioned `optionText` below the file
    // name: `checked` gives its first state and, when a file was chosen,
    // receives the chosen one. Dialogs without a check box of their own leave
    // `checked` as it is.
    virtual std::optional<QString> SaveFileWithOption(const FileDialogRequest& request, const QString& optionText,
                                                      bool& checked)
    {
        (void)optionText;
        (void)checked;
        return SaveFile(request);
    }
    // A failure the user must see (title "QLX-50 Manager").
    virtual void Error(const QString& text) = 0;
};

// The real dialogs, parented to a window.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFileWithOption(const FileDialogRequest& request, const QString& optionText,
                                              bool& checked) override;
    void Error(const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace qlx
