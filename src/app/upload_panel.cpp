// The upload panels of the upload page.
#include "app/upload_panel.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/ref_list_page.h"
#include "app/settings.h"
#include "app/up_down.h"
#include "comm/instrument_session.h"
#include "comm/ref_no_entry.h"
#include "comm/ref_upload.h"
#include "model/curve_state.h"
#include "model/ref_list_editor.h"

namespace qlx {

UploadPanel::UploadPanel(UploadPageUi& page, Settings& settings, CurveState& curves, InstrumentSession& instrument,
                         RefListPage& refList, QObject* parent)
    : QObject(parent), page_(page), settings_(settings), curves_(curves), instrument_(instrument), refList_(refList)
{
    QLineEdit* edit = page.UploadRefNoLabeledEdit;
    // Text committed by an input method would pass by the key filter; a
    // number has no use for one.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->installEventFilter(this);
    // The arrows step from the number typed in the edit, as a bound
    // up-down does, although the edit keeps the focus while they are used.
    for (QToolButton* arrow : page.UploadRefNoUpDown->findChildren<QToolButton*>())
        arrow->installEventFilter(this);

    connect(page.UploadRefNoUpDown, &UpDown::Clicked, this, &UploadPanel::UploadRefNoUpDownClick);
    connect(page.OpenRefCurveUploadButton, &QPushButton::clicked, this, &UploadPanel::OpenRefCurveUploadButtonClick);
    connect(page.RefListUploadButton, &QPushButton::clicked, this, &UploadPanel::RefListUploadButtonClick);
}

bool UploadPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == page_.UploadRefNoLabeledEdit) {
        if (event->type() == QEvent::KeyPress)
            return UploadRefNoLabeledEditKeyPress(event);
        // Switching to another window, or a menu or the edit's own context
        // menu opening, leaves the focus where it is: not an exit.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                UploadRefNoLabeledEditExit();
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        UploadRefNoLabeledEditExit();  // an arrow of the up-down
    }
    return QObject::eventFilter(watched, event);
}

bool UploadPanel::UploadRefNoLabeledEditKeyPress(QEvent* event)
{
    const auto* key = static_cast<QKeyEvent*>(event);
    // Delete edits the text without typing a character, like the arrows.
    if (key->key() == Qt::Key_Delete)
        return false;
    for (char32_t c : key->text().toUcs4())
        if (!RefNoKeyAccepted(c))
            return true;
    return false;
}

void UploadPanel::UploadRefNoLabeledEditExit()
{
    UpDown* upDown = page_.UploadRefNoUpDown;
    upDown->SetPosition(RefNoAfterEdit(page_.UploadRefNoLabeledEdit->text().toStdString(), upDown->Position()));
    page_.UploadRefNoLabeledEdit->setText(QString::number(upDown->Position()));
}

void UploadPanel::UploadRefNoUpDownClick()
{
    page_.UploadRefNoLabeledEdit->setText(QString::number(page_.UploadRefNoUpDown->Position()));
}

void UploadPanel::OpenRefCurveUploadButtonClick()
{
    if (!page_.OpenRefCurveUploadButton->hasFocus() || !curves_.RefLoaded)
        return;
    instrument_.ComPortName = settings_.ComPortName;
    RefUploadSource source;
    source.RefLines = curves_.RefLines;
    // The operation has told the user how it ended; nothing of the window
    // changes with the result.
    static_cast<void>(ConfirmAndUploadRefCurves(instrument_, page_.UploadRefNoUpDown->Position(), source));
}

void UploadPanel::RefListUploadButtonClick()
{
    if (!page_.RefListUploadButton->hasFocus())
        return;
    instrument_.ComPortName = settings_.ComPortName;
    RefUploadSource source;
    // The lines the list file would hold for the grid as it is now; the
    // question before the upload is modal, so the grid cannot change after.
    source.ListLines = BuildRefListLines(refList_.Editor().List);
    source.RefListDir = settings_.RefListDir;
    static_cast<void>(ConfirmAndUploadRefCurves(instrument_, 0, source));
}

}  // namespace qlx
