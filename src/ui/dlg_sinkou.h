#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qlx {

// The progress dialog shown while the instrument is talked to. At most one
// exists at a time; the static operations open, advance and close it.
class TDlgSinkou : public QWidget {
    Q_OBJECT
public:
    // Creates and shows the dialog; refused (false) while one is open.
    static bool Open(bool cancelAllowed, const QString& caption, int minimum, int maximum);
    // Processes pending events, then advances by one when `advance` and tells
    // whether to go on: false once the count passed the maximum, after the
    // cancel button was pressed, or when no dialog is open. A false result
    // closes the dialog. `text` is shown in the strip at the top-left.
    static bool Step(bool advance, const QString& text = {});
    // Closes and destroys the dialog; harmless when none is open.
    static void Close();

    // The open dialog, or null.
    static TDlgSinkou* Instance();
    // What the cancel button does, for the window that is being closed: the
    // next Step reports a cancel. Harmless when no dialog is open.
    static void RequestCancel();

    QProgressBar* pbSinkou = nullptr;
    QPushButton* btnToriyame = nullptr;
    QLabel* textStrip = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TDlgSinkou(bool cancelAllowed, const QString& caption, int minimum, int maximum);
    void Cancel() { cancelRequested_ = true; }

    qint32 stepCount_ = 0;
    qint32 stepLimit_ = 0;
    bool cancelRequested_ = false;
};

}  // namespace qlx
