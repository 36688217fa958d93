// Graph, channel selection, shown curves, thresholds and range editors,
// judgement badge, zoom and level of the main window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegion>
#include <QScrollBar>
#include <QToolButton>

#include "app/colour_button.h"
#include "app/graph_widget.h"
#include "app/key_trap.h"
#include "app/mainform.h"
#include "app/resonance_dialog.h"
#include "app/up_down.h"
#include "graph/graph_colours.h"
#include "judge/judge_display.h"

namespace qlx {

namespace {

constexpr std::array<ThresholdEditor, 5> kEditors{ThresholdEditor::Ng1, ThresholdEditor::Ng2, ThresholdEditor::Ng3,
                                                  ThresholdEditor::MinFreq, ThresholdEditor::MaxFreq};
constexpr std::array<QRgb, 3> kCurveButtonColours{kMeasuredButtonColour, kReferenceColour, kThresholdColour};

QColor Colour(QRgb rgb) { return QColor::fromRgb(rgb); }

}  // namespace

void TMainForm::ConnectGraphControls()
{
    for (int c = 0; c < kChannelCount; ++c) {
        connect(ui.imp.SelChButton[c], &QPushButton::clicked, this, [this, c] { SelectChannel(c); });
        connect(ui.menus.SelChMenu[c], &QAction::triggered, this, [this, c] { SelectChannel(c); });
        connect(ui.imp.DrawChCheckBox[c], &QCheckBox::clicked, this, [this] { RedrawGraph(); });
    }
    const std::array<QPushButton*, 3> toggles{ui.imp.ImpCurveButton, ui.imp.RefCurveButton, ui.imp.ThCurveButton};
    const std::array<QAction*, 3> toggleItems{ui.menus.ImpCurveShowMenu, ui.menus.RefCurveShowMenu,
                                              ui.menus.ThCurveShowMenu};
    for (int bit = 0; bit < 3; ++bit) {
        connect(toggles[bit], &QPushButton::clicked, this, [this, bit] { ToggleShownCurve(bit); });
        connect(toggleItems[bit], &QAction::triggered, this, [this, bit] { ToggleShownCurve(bit); });
    }

    connect(ui.imp.PlusBtn, &QToolButton::clicked, this, &TMainForm::ZoomIn);
    connect(ui.menus.GraphZoomInMenu, &QAction::triggered, this, &TMainForm::ZoomIn);
    connect(ui.imp.MinusBtn, &QToolButton::clicked, this, &TMainForm::ZoomOut);
    connect(ui.menus.GraphZoomOutMenu, &QAction::triggered, this, &TMainForm::ZoomOut);
    connect(ui.imp.X1Btn, &QToolButton::clicked, this, &TMainForm::ZoomReset);
    connect(ui.menus.GraphZoomResetMenu, &QAction::triggered, this, &TMainForm::ZoomReset);
    connect(ui.imp.GraphLevelScrollBar, &QScrollBar::valueChanged, this, &TMainForm::GraphLevelScrollBarChange);

    const std::array<QLineEdit*, 5> edits{ui.imp.ThNg1Edit, ui.imp.ThNg2Edit, ui.imp.ThNg3Edit, ui.imp.MinFreqEdit,
                                          ui.imp.MaxFreqEdit};
    for (std::size_t i = 0; i < kEditors.size(); ++i) {
        const ThresholdEditor e = kEditors[i];
        connect(SpinnerOf(e), &UpDown::Clicked, this, [this, e] { EditorClicked(e); });
        new KeyTrap(edits[i], [this, e](int key) { EditorKeyPressed(e, key); });
    }

    ShowThresholds();
    ShowRange();
    ShowLevelLabels();
    ColourCurveButtons();
    ColourChannelButtons();
}

void TMainForm::RedrawGraph()
{
    GraphView view;
    for (int c = 0; c < kChannelCount; ++c)
        view.Overlay[c] = ui.imp.DrawChCheckBox[c]->isChecked();
    view.JudgeMin = ui.imp.MinFreqUpDown->Position();
    view.JudgeMax = ui.imp.MaxFreqUpDown->Position();
    view.Scale = graphLevel.Scale();
    view.CursorIndex = ui.imp.CursorFreqUpDown->Position();
    const RedrawResult r = qlx::RedrawGraph(graphImages, curves, view);
    judgeResult = r.verdict;
    SetCursorReadouts(r.readouts);
    ui.imp.ImpGraphImage->SetImage(graphImages.ImpGraphImage);
    ShowJudgement();
}

void TMainForm::ShowJudgement()
{
    const JudgeDisplay d = qlx::ShowJudgement(curves.ImpLoaded, curves.RefLoaded, judgeResult);
    if (d.UpdateBadges)
        for (int i = 0; i < static_cast<int>(ui.imp.JudgeImage.size()); ++i)
            ui.imp.JudgeImage[i]->setVisible(i == d.Badge);
    ui.imp.JudgeLabel->setEnabled(d.LabelEnabled);
}

void TMainForm::PaintVerdictNow()
{
    ui.imp.ImpGraphImage->repaint();
    // A badge that went hidden leaves its parent's background to paint.
    QRegion badges;
    for (QLabel* badge : ui.imp.JudgeImage)
        badges += badge->geometry();
    badges += ui.imp.JudgeLabel->geometry();
    ui.imp.JudgeLabel->parentWidget()->repaint(badges);
}

void TMainForm::CurveLoaded()
{
    ShowThresholds();
    ShowRange();
    for (int c = 0; c < kChannelCount; ++c) {
        ui.imp.SelChButton[c]->setEnabled(true);
        ui.imp.DrawChCheckBox[c]->setEnabled(true);
    }
    ColourChannelButtons();
    RedrawGraph();
}

// ---- channels and shown curves ------------------------------------------------

void TMainForm::SelectChannel(int c)
{
    if (!curves.SelectChannel(c))
        return;
    SetSpinnerPositions(PositionsForChannel(curves, c));
    ColourChannelButtons();
    RedrawGraph();
    ShowThresholds();
    ShowRange();
    resonanceDialog->Refresh();
}

void TMainForm::ColourChannelButtons()
{
    for (int c = 0; c < kChannelCount; ++c)
        if (ui.imp.SelChButton[c]->isEnabled())
            SetButtonColour(ui.imp.SelChButton[c],
                            Colour(c == curves.SelectedChannel ? kChannelColours[c] : kOffColour));
}

void TMainForm::ToggleShownCurve(int bit)
{
    curves.ShownCurves ^= static_cast<std::uint8_t>(1u << bit);
    ColourCurveButtons();
    RedrawGraph();
}

void TMainForm::ColourCurveButtons()
{
    const std::array<QPushButton*, 3> toggles{ui.imp.ImpCurveButton, ui.imp.RefCurveButton, ui.imp.ThCurveButton};
    for (int bit = 0; bit < 3; ++bit)
        SetButtonColour(toggles[bit], Colour(curves.ShownCurves & (1u << bit) ? kCurveButtonColours[bit] : kOffColour));
}

// ---- thresholds and judgement range -------------------------------------------

UpDown* TMainForm::SpinnerOf(ThresholdEditor e) const
{
    switch (e) {
    case ThresholdEditor::Ng1: return ui.imp.ThNg1UpDown;
    case ThresholdEditor::Ng2: return ui.imp.ThNg2UpDown;
    case ThresholdEditor::Ng3: return ui.imp.ThNg3UpDown;
    case ThresholdEditor::MinFreq: return ui.imp.MinFreqUpDown;
    case ThresholdEditor::MaxFreq: break;
    }
    return ui.imp.MaxFreqUpDown;
}

EditorPositions TMainForm::SpinnerPositions() const
{
    EditorPositions pos;
    for (ThresholdEditor e : kEditors)
        pos[e] = SpinnerOf(e)->Position();
    return pos;
}

void TMainForm::SetSpinnerPositions(const EditorPositions& pos)
{
    for (ThresholdEditor e : kEditors)
        SpinnerOf(e)->SetPosition(pos[e]);
}

void TMainForm::EditorClicked(ThresholdEditor e)
{
    EditorPositions pos = SpinnerPositions();
    EditorChanged(e, pos, curves);
    ShowEditorChange(e, pos);
}

// Up and Down in an editor's read-only field step its spinner.
void TMainForm::EditorKeyPressed(ThresholdEditor e, int key)
{
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return;
    EditorPositions pos = SpinnerPositions();
    EditorKeyStep(e, key == Qt::Key_Up ? +1 : -1, pos, curves);
    ShowEditorChange(e, pos);
}

void TMainForm::ShowEditorChange(ThresholdEditor e, const EditorPositions& pos)
{
    SetSpinnerPositions(pos);
    RedrawGraph();
    if (IsRangeEditor(e))
        ShowRange();
    else
        ShowThresholds();
}

void TMainForm::ShowThresholds()
{
    const int c = curves.SelectedChannel;
    ui.imp.ThNg1Edit->setText(QString::fromStdString(ThresholdText(curves.RefNg1[c])));
    ui.imp.ThNg2Edit->setText(QString::fromStdString(ThresholdText(curves.RefNg2[c])));
    ui.imp.ThNg3Edit->setText(QString::fromStdString(ThresholdText(curves.RefNg3[c])));
}

void TMainForm::ShowRange()
{
    const int c = curves.SelectedChannel;
    ui.imp.MinFreqEdit->setText(QString::fromStdString(FreqText(curves.RefMinFreq[c])));
    ui.imp.MaxFreqEdit->setText(QString::fromStdString(FreqText(curves.RefMaxFreq[c])));
}

// ---- zoom and level -------------------------------------------------------------

void TMainForm::ZoomIn()
{
    if (graphLevel.ZoomIn())
        ShowZoom();
}

void TMainForm::ZoomOut()
{
    if (graphLevel.ZoomOut())
        ShowZoom();
}

void TMainForm::ZoomReset()
{
    graphLevel.ZoomReset();
    ShowZoom();
}

// The scroll bar mirrors graphLevel; its own change signal is held back so
// that one zoom step redraws once.
void TMainForm::ShowZoom()
{
    {
        const QSignalBlocker block(ui.imp.GraphLevelScrollBar);
        ui.imp.GraphLevelScrollBar->setRange(graphLevel.Minimum, GraphLevel::Maximum);
        ui.imp.GraphLevelScrollBar->setSingleStep(graphLevel.ScrollStep);
        ui.imp.GraphLevelScrollBar->setPageStep(graphLevel.ScrollStep);
        ui.imp.GraphLevelScrollBar->setValue(graphLevel.Position);
        ui.imp.GraphLevelScrollBar->setVisible(graphLevel.Visible);
    }
    ShowLevelLabels();
    RedrawGraph();
}

void TMainForm::GraphLevelScrollBarChange(int position)
{
    graphLevel.SetPosition(position);
    ShowLevelLabels();
    RedrawGraph();
}

void TMainForm::LevelScrollBy(int steps)
{
    ui.imp.GraphLevelScrollBar->setValue(ui.imp.GraphLevelScrollBar->value() +
                                         steps * ui.imp.GraphLevelScrollBar->singleStep());
}

void TMainForm::ShowLevelLabels()
{
    const std::array<std::string, 6> labels = graphLevel.Labels();
    for (int i = 0; i < 6; ++i)
        ui.imp.ImpLabel[i]->setText(QString::fromStdString(labels[i]));
}

}  // namespace qlx
