// Graph, judgement, cursor and zoom handlers of the main window.
// The first version only keeps the window consistent; drawing arrives with
// the graph layer.
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "app/mainform.h"
#include "app/up_down.h"

namespace qlx {

void TMainForm::RedrawGraph() {}

void TMainForm::LevelScrollBy(int steps)
{
    GraphLevelScrollBar->setValue(GraphLevelScrollBar->value() + steps * GraphLevelScrollBar->singleStep());
}

void TMainForm::CursorStepBy(int steps) { CursorFreqUpDown->SetPosition(CursorFreqUpDown->Position() + steps); }

void TMainForm::CurveLoaded(CurveKind) { RedrawGraph(); }

void TMainForm::EnableCursorReadouts()
{
    if (!curves.CursorOn)
        return;
    for (QWidget* w : std::initializer_list<QWidget*>{CursorImpEdit, CursorMaxButton, CursorMinButton})
        w->setEnabled(w->isEnabled() || curves.ImpLoaded);
    for (QWidget* w : std::initializer_list<QWidget*>{CursorRefEdit, CursorRefMaxButton, CursorRefMinButton})
        w->setEnabled(w->isEnabled() || curves.RefLoaded);
    for (QWidget* w : std::initializer_list<QWidget*>{CursorPercentEdit, HensaMaxButton})
        w->setEnabled(w->isEnabled() || (curves.ImpLoaded && curves.RefLoaded));
}

}  // namespace qlx
