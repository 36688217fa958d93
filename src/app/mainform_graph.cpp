// Graph, channel selection, shown curves, thresholds and range editors,
// judgement badge, zoom and level of the main window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "app/colour_button.h"
#include "app/graph_view.h"
#include "app/key_trap.h"
#include "app/mainform.h"
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
        connect(SelChButton[c], &QPushButton::clicked, this, [this, c] { SelectChannel(c); });
        connect(SelChMenu[c], &QAction::triggered, this, [this, c] { SelectChannel(c); });
        connect(DrawChCheckBox[c], &QCheckBox::clicked, this, [this] { RedrawGraph(); });
    }
    const std::array<QPushButton*, 3> toggles{ImpCurveButton, RefCurveButton, ThCurveButton};
    const std::array<QAction*, 3> toggleItems{ImpCurveShowMenu, RefCurveShowMenu, ThCurveShowMenu};
    for (int bit = 0; bit < 3; ++bit) {
        connect(toggles[bit], &QPushButton::clicked, this, [this, bit] { ToggleShownCurve(bit); });
        connect(toggleItems[bit], &QAction::triggered, this, [this, bit] { ToggleShownCurve(bit); });
    }

    connect(PlusBtn, &QToolButton::clicked, this, &TMainForm::ZoomIn);
    connect(GraphZoomInMenu, &QAction::triggered, this, &TMainForm::ZoomIn);
    connect(MinusBtn, &QToolButton::clicked, this, &TMainForm::ZoomOut);
    connect(GraphZoomOutMenu, &QAction::triggered, this, &TMainForm::ZoomOut);
    connect(X1Btn, &QToolButton::clicked, this, &TMainForm::ZoomReset);
    connect(GraphZoomResetMenu, &QAction::triggered, this, &TMainForm::ZoomReset);
    connect(GraphLevelScrollBar, &QScrollBar::valueChanged, this, &TMainForm::GraphLevelScrollBarChange);

    const std::array<QLineEdit*, 5> edits{ThNg1Edit, ThNg2Edit, ThNg3Edit, MinFreqEdit, MaxFreqEdit};
    for (std::size_t i = 0; i < kEditors.size(); ++i) {
        const ThresholdEditor e = kEditors[i];
        connect(SpinnerOf(e), &TUpDown::Clicked, this, [this, e] { EditorClicked(e); });
        new KeyTrap(edits[i], [this, e](int key) {
            if (key != Qt::Key_Up && key != Qt::Key_Down)
                return;
            TUpDown* spinner = SpinnerOf(e);
            spinner->SetPosition(spinner->Position() + (key == Qt::Key_Up ? 1 : -1));
            EditorClicked(e);
        });
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
        view.Overlay[c] = DrawChCheckBox[c]->isChecked();
    view.JudgeMin = MinFreqUpDown->Position();
    view.JudgeMax = MaxFreqUpDown->Position();
    view.Scale = graphLevel.Scale();
    view.CursorIndex = CursorFreqUpDown->Position();
    const RedrawResult r = qlx::RedrawGraph(graphImages, curves, view);
    JudgeResult = r.JudgeResult;
    SetCursorReadouts(r.Readouts);
    ImpGraphImage->SetImage(graphImages.ImpGraphImage);
    ShowJudgement();
}

void TMainForm::ShowJudgement()
{
    const JudgeDisplay d = qlx::ShowJudgement(curves.ImpLoaded, curves.RefLoaded, JudgeResult);
    if (d.UpdateBadges)
        for (int i = 0; i < static_cast<int>(JudgeImage.size()); ++i)
            JudgeImage[i]->setVisible(i == d.Badge);
    JudgeLabel->setEnabled(d.LabelEnabled);
}

void TMainForm::CurveLoaded(CurveKind)
{
    ShowThresholds();
    ShowRange();
    for (int c = 0; c < kChannelCount; ++c) {
        SelChButton[c]->setEnabled(true);
        DrawChCheckBox[c]->setEnabled(true);
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
}

void TMainForm::ColourChannelButtons()
{
    for (int c = 0; c < kChannelCount; ++c)
        if (SelChButton[c]->isEnabled())
            SetButtonColour(SelChButton[c], Colour(c == curves.SelectedChannel ? kChannelColours[c] : kOffColour));
}

void TMainForm::ToggleShownCurve(int bit)
{
    curves.ShownCurves ^= static_cast<std::uint8_t>(1u << bit);
    ColourCurveButtons();
    RedrawGraph();
}

void TMainForm::ColourCurveButtons()
{
    const std::array<QPushButton*, 3> toggles{ImpCurveButton, RefCurveButton, ThCurveButton};
    for (int bit = 0; bit < 3; ++bit)
        SetButtonColour(toggles[bit], Colour(curves.ShownCurves & (1u << bit) ? kCurveButtonColours[bit] : kOffColour));
}

// ---- thresholds and judgement range -------------------------------------------

TUpDown* TMainForm::SpinnerOf(ThresholdEditor e) const
{
    switch (e) {
    case ThresholdEditor::Ng1: return ThNg1UpDown;
    case ThresholdEditor::Ng2: return ThNg2UpDown;
    case ThresholdEditor::Ng3: return ThNg3UpDown;
    case ThresholdEditor::MinFreq: return MinFreqUpDown;
    case ThresholdEditor::MaxFreq: break;
    }
    return MaxFreqUpDown;
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
    ThNg1Edit->setText(QString::fromStdString(ThresholdText(curves.RefNg1[c])));
    ThNg2Edit->setText(QString::fromStdString(ThresholdText(curves.RefNg2[c])));
    ThNg3Edit->setText(QString::fromStdString(ThresholdText(curves.RefNg3[c])));
}

void TMainForm::ShowRange()
{
    const int c = curves.SelectedChannel;
    MinFreqEdit->setText(QString::fromStdString(FreqText(curves.RefMinFreq[c])));
    MaxFreqEdit->setText(QString::fromStdString(FreqText(curves.RefMaxFreq[c])));
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
        const QSignalBlocker block(GraphLevelScrollBar);
        GraphLevelScrollBar->setRange(graphLevel.Minimum, GraphLevel::Maximum);
        GraphLevelScrollBar->setSingleStep(graphLevel.ScrollStep);
        GraphLevelScrollBar->setPageStep(graphLevel.ScrollStep);
        GraphLevelScrollBar->setValue(graphLevel.Position);
        GraphLevelScrollBar->setVisible(graphLevel.Visible);
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
    GraphLevelScrollBar->setValue(GraphLevelScrollBar->value() + steps * GraphLevelScrollBar->singleStep());
}

void TMainForm::ShowLevelLabels()
{
    const std::array<std::string, 6> labels = graphLevel.Labels();
    for (int i = 0; i < 6; ++i)
        ImpLabel[i]->setText(QString::fromStdString(labels[i]));
}

}  // namespace qlx
