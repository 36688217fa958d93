#include "ui/dlg_sinkou.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/app_font.h"
#include "ui/place_window.h"

namespace qlx {

namespace {

// Raw on purpose: a dialog still open at exit must not be destroyed after
// the application object.
TDlgSinkou* g_dialog = nullptr;

constexpr QSize kClientSize(352, 85);

}  // namespace

TDlgSinkou::TDlgSinkou(bool cancelAllowed, const QString& caption, int minimum, int maximum)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      stepCount_(minimum),
      stepLimit_(maximum)
{
    setObjectName(QStringLiteral("DlgSinkou"));
    setFont(AppFont(12));
    setWindowTitle(caption);
    setFixedSize(kClientSize);

    textStrip = new QLabel(this);
    textStrip->setObjectName(QStringLiteral("textStrip"));
    textStrip->setGeometry(0, 0, 312, 12);
    textStrip->setAutoFillBackground(true);
    textStrip->setTextFormat(Qt::PlainText);
    textStrip->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    pbSinkou = new QProgressBar(this);
    pbSinkou->setObjectName(QStringLiteral("pbSinkou"));
    pbSinkou->setGeometry(28, 21, 294, 17);
    pbSinkou->setTextVisible(false);
    pbSinkou->setRange(minimum, maximum);
    pbSinkou->setValue(minimum);

    btnToriyame = new QPushButton(QStringLiteral("キャンセル"), this);
    btnToriyame->setObjectName(QStringLiteral("btnToriyame"));
    btnToriyame->setGeometry(135, 50, 75, 25);
    btnToriyame->setEnabled(cancelAllowed);
    connect(btnToriyame, &QPushButton::clicked, this, [this] { Cancel(); });

    PlaceWindow(*this);
}

bool TDlgSinkou::Open(bool cancelAllowed, const QString& caption, int minimum, int maximum)
{
    if (g_dialog)
        return false;
    g_dialog = new TDlgSinkou(cancelAllowed, caption, minimum, maximum);
    g_dialog->show();
    return true;
}

bool TDlgSinkou::Step(bool advance, const QString& text)
{
    QCoreApplication::processEvents();
    TDlgSinkou* dialog = g_dialog;
    if (!dialog)
        return false;
    if (advance)
        ++dialog->stepCount_;
    const bool goOn = dialog->stepCount_ <= dialog->stepLimit_ && !dialog->cancelRequested_;
    // QProgressBar paints itself at once when its value moves it; the step
    // sits between two exchanges, so the paint waits for the next time the
    // window runs (the pause in front of the next command) instead.
    dialog->pbSinkou->setUpdatesEnabled(false);
    dialog->pbSinkou->setValue(dialog->stepCount_);
    dialog->pbSinkou->setUpdatesEnabled(true);
    dialog->textStrip->setText(text);
    if (!goOn)
        Close();
    return goOn;
}

void TDlgSinkou::Close()
{
    // Moved out first so that a nested command closing the dialog from
    // inside processEvents finds it already gone.
    TDlgSinkou* dialog = g_dialog;
    g_dialog = nullptr;
    if (dialog) {
        dialog->hide();
        delete dialog;
    }
}

TDlgSinkou* TDlgSinkou::Instance() { return g_dialog; }

void TDlgSinkou::RequestCancel()
{
    if (g_dialog)
        g_dialog->Cancel();
}

void TDlgSinkou::closeEvent(QCloseEvent* event)
{
    // No close box: only the command that opened the dialog closes it.
    event->ignore();
}

}  // namespace qlx
