// Cursor of the impedance graph: toggle, moves, searches and readouts.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "app/colour_button.h"
#include "app/graph_view.h"
#include "app/key_trap.h"
#include "app/mainform.h"
#include "app/up_down.h"
#include "graph/graph_colours.h"

namespace qlx {

namespace {

const QColor kMaxButtonColour(0x80, 0x00, 0x00);
const QColor kMinButtonColour(0x00, 0x80, 0x80);

void EnableAtLeast(QWidget* w, bool on) { w->setEnabled(w->isEnabled() || on); }

}  // namespace

void TMainForm::ConnectCursorControls()
{
    connect(CursorOnButton, &QPushButton::clicked, this, &TMainForm::CursorOnButtonClick);
    connect(CursorOnMenu, &QAction::triggered, this, &TMainForm::CursorOnButtonClick);
    connect(CursorFreqUpDown, &TUpDown::Clicked, this, [this] { MoveCursorTo(CursorFreqUpDown->Position()); });
    new KeyTrap(CursorFreqEdit, [this](int key) {
        if (key == Qt::Key_Right)
            CursorStepBy(+1);
        else if (key == Qt::Key_Left)
            CursorStepBy(-1);
    });
    connect(ImpGraphImage, &TGraphView::MousePressed, this, [this](Qt::MouseButton, QPoint at) {
        if (curves.CursorOn)
            MoveCursorTo(CursorIndexAtImageX(at.x()));
    });
    connect(ImpGraphImage, &TGraphView::MouseDragged, this, [this](QPoint at) {
        if (curves.CursorOn)
            MoveCursorTo(CursorIndexAtImageX(at.x()));
    });
    // Each search button runs its search, then moves to the index it found.
    struct Search {
        QPushButton* button;
        void (TMainForm::*run)();
        int CursorSearches::*index;
    };
    const Search searches[] = {
        {CursorMaxButton, &TMainForm::SearchImp, &CursorSearches::ImpMaxIndex},
        {CursorMinButton, &TMainForm::SearchImp, &CursorSearches::ImpMinIndex},
        {CursorRefMaxButton, &TMainForm::SearchRef, &CursorSearches::RefMaxIndex},
        {CursorRefMinButton, &TMainForm::SearchRef, &CursorSearches::RefMinIndex},
        {HensaMaxButton, &TMainForm::SearchDeviation, &CursorSearches::DeviationMaxIndex},
    };
    for (const Search& s : searches)
        connect(s.button, &QPushButton::clicked, this, [this, s] {
            (this->*s.run)();
            MoveCursorTo(cursorSearches.*s.index);
        });
}

void TMainForm::SearchImp() { cursorSearches.SearchImp(curves); }
void TMainForm::SearchRef() { cursorSearches.SearchRef(curves); }
void TMainForm::SearchDeviation()
{
    cursorSearches.SearchDeviation(curves, MinFreqUpDown->Position(), MaxFreqUpDown->Position());
}

void TMainForm::CursorOnButtonClick()
{
    curves.CursorOn = !curves.CursorOn;
    SetCursorControls(CursorControlsFor(curves.CursorOn, curves.ImpLoaded, curves.RefLoaded));
    SetButtonColour(CursorOnButton, QColor::fromRgb(curves.CursorOn ? kCursorColour : kOffColour));
    RedrawGraph();
}

void TMainForm::SetCursorControls(const CursorControls& c)
{
    CursorFreqUpDown->setEnabled(c.FreqUpDown);
    CursorFreqEdit->setEnabled(c.FreqEdit);
    CursorImpEdit->setEnabled(c.ImpEdit);
    CursorMaxButton->setEnabled(c.ImpButtons);
    CursorMinButton->setEnabled(c.ImpButtons);
    CursorRefEdit->setEnabled(c.RefEdit);
    CursorRefMaxButton->setEnabled(c.RefButtons);
    CursorRefMinButton->setEnabled(c.RefButtons);
    CursorPercentEdit->setEnabled(c.PercentEdit);
    HensaMaxButton->setEnabled(c.HensaButton);
    ColourCursorButtons();
}

void TMainForm::EnableCursorReadouts()
{
    if (!curves.CursorOn)
        return;
    const CursorControls c = CursorControlsFor(true, curves.ImpLoaded, curves.RefLoaded);
    EnableAtLeast(CursorImpEdit, c.ImpEdit);
    EnableAtLeast(CursorMaxButton, c.ImpButtons);
    EnableAtLeast(CursorMinButton, c.ImpButtons);
    EnableAtLeast(CursorRefEdit, c.RefEdit);
    EnableAtLeast(CursorRefMaxButton, c.RefButtons);
    EnableAtLeast(CursorRefMinButton, c.RefButtons);
    EnableAtLeast(CursorPercentEdit, c.PercentEdit);
    EnableAtLeast(HensaMaxButton, c.HensaButton);
    ColourCursorButtons();
}

void TMainForm::ColourCursorButtons()
{
    for (QPushButton* b : {CursorMaxButton, HensaMaxButton, CursorRefMaxButton})
        SetButtonColour(b, b->isEnabled() ? kMaxButtonColour : kSilver);
    for (QPushButton* b : {CursorMinButton, CursorRefMinButton})
        SetButtonColour(b, b->isEnabled() ? kMinButtonColour : kSilver);
}

void TMainForm::MoveCursorTo(int k)
{
    CursorFreqUpDown->SetPosition(ClampCursorIndex(k));
    CursorFreqEdit->setText(QString::fromStdString(FreqText(CursorFreqUpDown->Position())));
    RedrawGraph();
}

void TMainForm::CursorStepBy(int steps) { MoveCursorTo(CursorFreqUpDown->Position() + steps); }

void TMainForm::SetCursorReadouts(const CursorReadouts& r)
{
    if (r.Imp)
        CursorImpEdit->setText(QString::fromStdString(*r.Imp));
    if (r.Ref)
        CursorRefEdit->setText(QString::fromStdString(*r.Ref));
    if (r.Percent)
        CursorPercentEdit->setText(QString::fromStdString(*r.Percent));
}

}  // namespace qlx
