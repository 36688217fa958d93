// Page 0, "インピーダンス": fixed layout of the curves, the graph and its
// controls, the cursor, thresholds, judgement range and remote measurement.
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>

#include "app/builder_widgets.h"
#include "app/colour_button.h"
#include "app/graph_widget.h"
#include "app/window_builder_parts.h"
#include "graph/graph_colours.h"
#include "judge/judge_display.h"

namespace qlx::build {

namespace {

QString CssColour(std::uint32_t rgb) { return QColor::fromRgb(rgb).name(); }

void BuildMeasuredFields(QWidget* p, ImpedancePageUi& u)
{
    Caption(p, QStringLiteral("カーブ名"), 6, 8, 48);
    u.ImpNameEdit = Place(new QLineEdit(p), 56, 6, 100, 20);
    Caption(p, QStringLiteral("ファイル名"), 166, 8, 56);
    u.ImpFileNameEdit = ReadOnlyEdit(p, 224, 6, 170);
    Caption(p, QStringLiteral("測定端子"), 404, 8, 48);
    u.ImpTerminalEdit = ReadOnlyEdit(p, 454, 6, 100);
    u.ImpOpenButton = Button(p, QStringLiteral("開く..."), 564, 5, 70, 22);
    u.ImpOpenButton->setIcon(p->style()->standardIcon(QStyle::SP_DialogOpenButton));
    u.ImpOpenButton->setToolTip(QStringLiteral("測定カーブを開く"));
}

// Graph, scale labels, level scroll bar and zoom buttons.
void BuildGraph(QWidget* p, ImpedancePageUi& u)
{
    u.ImpGraphImage = Place(new GraphWidget(p), 4, 32, 650, 235);
    const int labelTops[6] = {248, 208, 168, 128, 88, 48};
    const char* labelTexts[6] = {"0", "20", "40", "60", "80", "100"};
    for (int i = 0; i < 6; ++i) {
        QLabel* l = Caption(p, QString::fromLatin1(labelTexts[i]), 9, labelTops[i], 20, 11);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setAutoFillBackground(true);
        l->setStyleSheet(
            QStringLiteral("background: %1; color: %2;").arg(CssColour(kGridBackground), CssColour(kCaptionColour)));
        QFont f = l->font();
        f.setFamilies({QStringLiteral("Swis721 BT"), QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic")});
        f.setPixelSize(11);
        l->setFont(f);
        u.ImpLabel[i] = l;
    }
    u.GraphLevelScrollBar = Place(new QScrollBar(Qt::Vertical, p), 654, 32, 15, 235);
    u.GraphLevelScrollBar->setRange(500, 1000);
    u.GraphLevelScrollBar->setValue(1000);
    u.GraphLevelScrollBar->setSingleStep(100);
    u.GraphLevelScrollBar->setPageStep(100);
    u.GraphLevelScrollBar->hide();
    u.FitBtn = TextIconButton(p, QStringLiteral("F"), QString(), 672, 168);
    u.FitBtn->hide();
    u.X1Btn = TextIconButton(p, QStringLiteral("×1"), QStringLiteral("グラフ等倍"), 672, 194);
    u.PlusBtn = TextIconButton(p, QStringLiteral("＋"), QStringLiteral("グラフ拡大"), 672, 220);
    u.MinusBtn = TextIconButton(p, QStringLiteral("－"), QStringLiteral("グラフ縮小"), 672, 246);
}

// Channels, shown curves and remote measurement in the right column.
void BuildRightColumn(QWidget* p, ImpedancePageUi& u)
{
    QGroupBox* ch = Group(p, QStringLiteral("チャンネル"), 696, 0, 146, 122);
    Caption(ch, QStringLiteral("選択"), 20, 14, 40);
    Caption(ch, QStringLiteral("重ね書"), 76, 14, 50);
    for (int c = 0; c < 4; ++c) {
        const int y = 32 + c * 22;
        u.SelChButton[c] = Button(ch, QString::number(c + 1), 16, y, 40, 20);
        u.SelChButton[c]->setFocusPolicy(Qt::NoFocus);
        u.DrawChCheckBox[c] = Place(new QCheckBox(ch), 86, y + 2, 18, 16);
        QLabel* swatch = Place(new QLabel(ch), 112, y + 7, 12, 5);
        swatch->setAutoFillBackground(true);
        swatch->setStyleSheet(QStringLiteral("background: %1;").arg(CssColour(kChannelSwatchColours[c])));
    }
    QGroupBox* shown = Group(p, QStringLiteral("表示カーブ"), 696, 124, 146, 84);
    u.ImpCurveButton = Button(shown, QStringLiteral("測\u3000定"), 14, 16, 118, 21);
    u.RefCurveButton = Button(shown, QStringLiteral("リファレンス"), 14, 38, 118, 21);
    u.ThCurveButton = Button(shown, QStringLiteral("スレッショルド"), 14, 60, 118, 21);
    for (QPushButton* b : {u.ImpCurveButton, u.RefCurveButton, u.ThCurveButton})
        b->setFocusPolicy(Qt::NoFocus);
    QGroupBox* remote = Group(p, QStringLiteral("リモート測定"), 696, 210, 146, 60);
    u.SelChOnlyCheckBox = Place(new QCheckBox(QStringLiteral("選択チャンネルのみ測定"), remote), 4, 16, 140, 18);
    QFont small = u.SelChOnlyCheckBox->font();
    small.setPixelSize(11);
    u.SelChOnlyCheckBox->setFont(small);
    u.MeasStartButton = Button(remote, QStringLiteral("測定開始"), 14, 36, 118, 22);
}

void BuildCursor(QWidget* p, ImpedancePageUi& u)
{
    QGroupBox* cur = Group(p, QStringLiteral("カーソル"), 4, 272, 300, 156);
    u.CursorOnButton = Button(cur, QStringLiteral("ON"), 10, 18, 44, 22);
    SetButtonColour(u.CursorOnButton, QColor::fromRgb(kOffColour));
    Caption(cur, QStringLiteral("周波数 "), 10, 50, 60);
    u.CursorFreqEdit = ReadOnlyEdit(cur, 74, 48, 90);
    u.CursorFreqUpDown = Spinner(cur, Qt::Horizontal, 166, 48, 36, 20, 0, 119, 68);
    Caption(cur, QStringLiteral("測 定 "), 10, 76, 60);
    u.CursorImpEdit = ReadOnlyEdit(cur, 74, 74, 90);
    u.CursorMaxButton = Button(cur, QStringLiteral("最大"), 176, 74, 52, 20);
    u.CursorMinButton = Button(cur, QStringLiteral("最小"), 234, 74, 52, 20);
    Caption(cur, QStringLiteral("偏 差 "), 10, 102, 60);
    u.CursorPercentEdit = ReadOnlyEdit(cur, 74, 100, 90);
    u.HensaMaxButton = Button(cur, QStringLiteral("最大"), 176, 100, 52, 20);
    Caption(cur, QStringLiteral("リファレンス"), 10, 128, 62);
    u.CursorRefEdit = ReadOnlyEdit(cur, 74, 126, 90);
    u.CursorRefMaxButton = Button(cur, QStringLiteral("最大"), 176, 126, 52, 20);
    u.CursorRefMinButton = Button(cur, QStringLiteral("最小"), 234, 126, 52, 20);
    for (QWidget* w : std::initializer_list<QWidget*>{
             u.CursorFreqEdit, u.CursorFreqUpDown, u.CursorImpEdit, u.CursorMaxButton, u.CursorMinButton,
             u.CursorPercentEdit, u.HensaMaxButton, u.CursorRefEdit, u.CursorRefMaxButton, u.CursorRefMinButton})
        w->setEnabled(false);
    for (QPushButton* b :
         {u.CursorMaxButton, u.HensaMaxButton, u.CursorRefMaxButton, u.CursorMinButton, u.CursorRefMinButton})
        SetButtonColour(b, QColor::fromRgb(kDisabledButtonColour));
}

void BuildThresholds(QWidget* ref, ImpedancePageUi& u)
{
    QGroupBox* th = Group(ref, QStringLiteral("スレッショルド"), 10, 152, 250, 160);
    QLineEdit** edits[3] = {&u.ThNg1Edit, &u.ThNg2Edit, &u.ThNg3Edit};
    UpDown** spinners[3] = {&u.ThNg1UpDown, &u.ThNg2UpDown, &u.ThNg3UpDown};
    for (int i = 0; i < 3; ++i) {
        const int y = 24 + i * 30;
        Caption(th, QStringLiteral("NG%1").arg(i + 1), 12, y + 2, 30);
        *edits[i] = ReadOnlyEdit(th, 44, y, 60);
        *spinners[i] = Spinner(th, Qt::Vertical, 106, y, 16, 20, 5, 99, 50);
    }
    u.JudgeLabel = Caption(th, QStringLiteral("判 定"), 164, 26, 60);
    u.JudgeLabel->setEnabled(false);
    for (int i = 0; i < kJudgeBadgeCount; ++i) {
        QLabel* b = Caption(th, QString::fromLatin1(JudgeResultText(BadgeResult(i))), 158, 48, 52, 20);
        b->setAlignment(Qt::AlignCenter);
        b->setStyleSheet(QStringLiteral("background: %1; color: %2; font-weight: bold;")
                             .arg(CssColour(BadgeColour(i)), CssColour(kBadgeCaptionColour)));
        b->hide();
        u.JudgeImage[i] = b;
    }

    QGroupBox* range = Group(ref, QStringLiteral("測定・判定周波数範囲"), 268, 152, 250, 160);
    Caption(range, QStringLiteral("開 始"), 12, 26, 40);
    u.MinFreqEdit = ReadOnlyEdit(range, 56, 24, 90);
    u.MinFreqUpDown = Spinner(range, Qt::Vertical, 148, 24, 16, 20, 0, 118, 0);
    Caption(range, QStringLiteral("終 了"), 12, 56, 40);
    u.MaxFreqEdit = ReadOnlyEdit(range, 56, 54, 90);
    u.MaxFreqUpDown = Spinner(range, Qt::Vertical, 148, 54, 16, 20, 1, 119, 119);
}

// Reference curve with thresholds and judgement range.
void BuildReference(QWidget* p, ImpedancePageUi& u)
{
    QGroupBox* ref = Group(p, QStringLiteral("リファレンス・カーブ"), 310, 272, 528, 322);
    Caption(ref, QStringLiteral("ファイル名"), 10, 22, 56);
    u.RefFileNameEdit = ReadOnlyEdit(ref, 70, 20, 190);
    u.RefOpenButton = Button(ref, QStringLiteral("開く..."), 270, 19, 70, 22);
    u.RefOpenButton->setIcon(p->style()->standardIcon(QStyle::SP_DialogOpenButton));
    u.RefOpenButton->setToolTip(QStringLiteral("リファレンス・カーブを開く"));
    Caption(ref, QStringLiteral("カーブ名"), 10, 48, 56);
    u.RefNameEdit = Place(new QLineEdit(ref), 70, 46, 100, 20);
    Caption(ref, QStringLiteral("測定端子"), 182, 48, 50);
    u.RefTerminalBox = Place(new QComboBox(ref), 234, 46, 110, 20);
    u.RefTerminalBox->addItems({QStringLiteral("BINDING POST"), QStringLiteral("NL 4"), QStringLiteral("NL 8")});
    u.RefProtectCheckBox = Place(new QCheckBox(QStringLiteral("プロテクト"), ref), 356, 47, 100, 18);
    Caption(ref, QStringLiteral("メモ"), 10, 74, 56);
    u.RefMemo = Place(new QPlainTextEdit(ref), 70, 72, 448, 74);
    BuildThresholds(ref, u);
}

}  // namespace

void BuildImpedancePage(QTabWidget* pages, ImpedancePageUi& u)
{
    u.ImpPage = new QWidget;
    pages->addTab(u.ImpPage, QStringLiteral("インピーダンス"));
    QWidget* p = u.ImpPage;
    BuildMeasuredFields(p, u);
    BuildGraph(p, u);
    BuildRightColumn(p, u);
    BuildCursor(p, u);
    Caption(p, QStringLiteral("メモ"), 6, 434, 40);
    u.ImpMemo = Place(new QPlainTextEdit(p), 4, 452, 300, 142);
    BuildReference(p, u);
}

}  // namespace qlx::build
