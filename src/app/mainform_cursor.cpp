// Cursor of the impedance graph: toggle, moves, searches and readouts.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "app/colour_button.h"
#include "app/graph_widget.h"
#include "app/key_trap.h"
#include "app/mainform.h"
#include "app/up_down.h"
#include "graph/graph_colours.h"

namespace qlx {

namespace {

void EnableAtLeast(QWidget* w, bool on) { w->setEnabled(w->isEnabled() || on); }

}  // namespace

void TMainForm::ConnectCursorControls()
{
    connect(ui.imp.CursorOnButton, &QPushButton::clicked, this, &TMainForm::CursorOnButtonClick);
    connect(ui.menus.CursorOnMenu, &QAction::triggered, this, &TMainForm::CursorOnButtonClick);
    connect(ui.imp.CursorFreqUpDown, &UpDown::Clicked, this,
            [this] { MoveCursorTo(ui.imp.CursorFreqUpDown->Position()); });
    new KeyTrap(ui.imp.CursorFreqEdit, [this](int key) {
        if (key == Qt::Key_Right)
            CursorStepBy(+1);
        else if (key == Qt::Key_Left)
            CursorStepBy(-1);
    });
    connect(ui.imp.ImpGraphImage, &GraphWidget::MousePressed, this, [this](Qt::MouseButton, QPoint at) {
        if (curves.CursorOn)
            MoveCursorTo(CursorIndexAtImageX(at.x()));
    });
    connect(ui.imp.ImpGraphImage, &GraphWidget::MouseDragged, this, [this](QPoint at) {
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
        {ui.imp.CursorMaxButton, &TMainForm::SearchImp, &CursorSearches::ImpMaxIndex},
        {ui.imp.CursorMinButton, &TMainForm::SearchImp, &CursorSearches::ImpMinIndex},
        {ui.imp.CursorRefMaxButton, &TMainForm::SearchRef, &CursorSearches::RefMaxIndex},
        {ui.imp.CursorRefMinButton, &TMainForm::SearchRef, &CursorSearches::RefMinIndex},
        {ui.imp.HensaMaxButton, &TMainForm::SearchDeviation, &CursorSearches::DeviationMaxIndex},
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
    cursorSearches.SearchDeviation(curves, ui.imp.MinFreqUpDown->Position(), ui.imp.MaxFreqUpDown->Position());
}

void TMainForm::CursorOnButtonClick()
{
    curves.CursorOn = !curves.CursorOn;
    SetCursorControls(CursorControlsFor(curves.CursorOn, curves.ImpLoaded, curves.RefLoaded));
    SetButtonColour(ui.imp.CursorOnButton, QColor::fromRgb(curves.CursorOn ? kCursorColour : kOffColour));
    RedrawGraph();
}

void TMainForm::SetCursorControls(const CursorControls& c)
{
    ui.imp.CursorFreqUpDown->setEnabled(c.FreqUpDown);
    ui.imp.CursorFreqEdit->setEnabled(c.FreqEdit);
    ui.imp.CursorImpEdit->setEnabled(c.ImpEdit);
    ui.imp.CursorMaxButton->setEnabled(c.ImpButtons);
    ui.imp.CursorMinButton->setEnabled(c.ImpButtons);
    ui.imp.CursorRefEdit->setEnabled(c.RefEdit);
    ui.imp.CursorRefMaxButton->setEnabled(c.RefButtons);
    ui.imp.CursorRefMinButton->setEnabled(c.RefButtons);
    ui.imp.CursorPercentEdit->setEnabled(c.PercentEdit);
    ui.imp.HensaMaxButton->setEnabled(c.HensaButton);
    ColourCursorButtons();
}

void TMainForm::EnableCursorReadouts()
{
    if (!curves.CursorOn)
        return;
    const CursorControls c = CursorControlsFor(true, curves.ImpLoaded, curves.RefLoaded);
    EnableAtLeast(ui.imp.CursorImpEdit, c.ImpEdit);
    EnableAtLeast(ui.imp.CursorMaxButton, c.ImpButtons);
    EnableAtLeast(ui.imp.CursorMinButton, c.ImpButtons);
    EnableAtLeast(ui.imp.CursorRefEdit, c.RefEdit);
    EnableAtLeast(ui.imp.CursorRefMaxButton, c.RefButtons);
    EnableAtLeast(ui.imp.CursorRefMinButton, c.RefButtons);
    EnableAtLeast(ui.imp.CursorPercentEdit, c.PercentEdit);
    EnableAtLeast(ui.imp.HensaMaxButton, c.HensaButton);
    ColourCursorButtons();
}

void TMainForm::ColourCursorButtons()
{
    for (QPushButton* b : {ui.imp.CursorMaxButton, ui.imp.HensaMaxButton, ui.imp.CursorRefMaxButton})
        SetButtonColour(b, QColor::fromRgb(b->isEnabled() ? kCursorMaxButtonColour : kDisabledButtonColour));
    for (QPushButton* b : {ui.imp.CursorMinButton, ui.imp.CursorRefMinButton})
        SetButtonColour(b, QColor::fromRgb(b->isEnabled() ? kCursorMinButtonColour : kDisabledButtonColour));
}

void TMainForm::MoveCursorTo(int k)
{
    ui.imp.CursorFreqUpDown->SetPosition(ClampCursorIndex(k));
    ui.imp.CursorFreqEdit->setText(QString::fromStdString(FreqText(ui.imp.CursorFreqUpDown->Position())));
    RedrawGraph();
}

void TMainForm::CursorStepBy(int steps) { MoveCursorTo(ui.imp.CursorFreqUpDown->Position() + steps); }

void TMainForm::SetCursorReadouts(const CursorReadouts& r)
{
    if (r.Imp)
        ui.imp.CursorImpEdit->setText(QString::fromStdString(*r.Imp));
    if (r.Ref)
        ui.imp.CursorRefEdit->setText(QString::fromStdString(*r.Ref));
    if (r.Percent)
        ui.imp.CursorPercentEdit->setText(QString::fromStdString(*r.Percent));
}

}  // namespace qlx
