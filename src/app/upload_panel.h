#pragma once

#include <QObject>

#include "app/window_ui.h"

class QEvent;

namespace qlx {

class InstrumentSession;
class RefListPage;
struct CurveState;
struct Settings;

// The upload page's two upload panels: the open reference curve into the
// slot chosen with the reference-number edit (upper panel), and every slot
// from the reference list grid (lower panel). Both only read what they send
// from: the window's reference curve, the grid and the list file stay as
// they are.
class UploadPanel : public QObject {
    Q_OBJECT
public:
    // `refList` holds the grid's rows; `settings` give the port and the
    // list's folder; `curves` the reference curve.
    UploadPanel(UploadPageUi& page, Settings& settings, CurveState& curves, InstrumentSession& instrument,
                RefListPage& refList, QObject* parent);

    // Single upload of RefLines into the up-down's slot: acts only while its
    // button holds the keyboard focus and a reference curve is loaded.
    void OpenRefCurveUploadButtonClick();
    // List upload of all 64 slots: acts only while its button holds the focus.
    void RefListUploadButtonClick();

    // The edit takes typed digits and control characters only; true when
    // the key event was discarded.
    bool UploadRefNoLabeledEditKeyPress(QEvent* event);
    // Leaving the edit: 1..64 becomes the up-down position, anything else
    // gives way to the position shown again.
    void UploadRefNoLabeledEditExit();
    // The up-down is bound to the edit: a click shows its position there.
    void UploadRefNoUpDownClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UploadPageUi& page_;
    Settings& settings_;
    CurveState& curves_;
    InstrumentSession& instrument_;
    RefListPage& refList_;
};

}  // namespace qlx
