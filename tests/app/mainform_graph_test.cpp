#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "app/colour_button.h"
#include "app/graph_widget.h"
#include "app/mainform.h"
#include "app/up_down.h"
#include "graph/graph_colours.h"
#include "window_fixture.h"

namespace qlx {
namespace {

struct GraphWindow : qlxtest::WindowFixture {
    // Both curves present on all channels: measured m, reference r; terminal NL 8.
    void LoadCurves(int m, int r)
    {
        CurveState& s = form->curves;
        for (int c = 0; c < kChannelCount; ++c)
            for (int j = 0; j < kPointCount; ++j) {
                s.ImpLines[PointSlot(c, j)] = std::to_string(m);
                s.RefLines[PointSlot(c, j)] = std::to_string(r);
            }
        s.RefLines[TerminalLine] = "G";
        s.ImpLoaded = s.RefLoaded = true;
        form->CurveLoaded();
    }

    QStringList Labels() const
    {
        QStringList out;
        for (QLabel* l : form->ui.imp.ImpLabel)
            out << l->text();
        return out;
    }

    int Level() const { return form->ui.imp.GraphLevelScrollBar->value(); }
    int Cursor() const { return form->ui.imp.CursorFreqUpDown->Position(); }
    void Key(QWidget* w, Qt::Key key) { QTest::keyClick(w, key); }

    void Wheel(int delta)
    {
        QWidget* w = form->ui.imp.ImpGraphImage;
        const QPointF at(100, 100);
        QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }

    void Mouse(QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* w = form->ui.imp.ImpGraphImage;
        const QPointF at(x, 100);
        QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, mods);
        QApplication::sendEvent(w, &e);
    }

    QRgb ScreenPixel(int plotX, int plotY) const
    {
        return form->ui.imp.ImpGraphImage->Image().pixel(30 + plotX, 20 + plotY) | 0xFF000000;
    }
};

TEST_F(GraphWindow, ZoomButtonsMenuScrollBarAndLabels)
{
    EXPECT_FALSE(form->ui.imp.GraphLevelScrollBar->isVisible());
    EXPECT_EQ(Labels(), (QStringList{"0", "20", "40", "60", "80", "100"}));
    for (int i = 0; i < 4; ++i)
        form->ui.imp.PlusBtn->click();
    EXPECT_EQ(form->graphLevel.GraphZoom, 10.0f);
    EXPECT_TRUE(form->ui.imp.GraphLevelScrollBar->isVisible());
    EXPECT_EQ(form->ui.imp.GraphLevelScrollBar->minimum(), 100);
    EXPECT_EQ(form->ui.imp.GraphLevelScrollBar->singleStep(), 20);
    EXPECT_EQ(form->ui.imp.GraphLevelScrollBar->pageStep(), 20);
    form->ui.imp.GraphLevelScrollBar->setValue(100);  // the user drags the thumb to the top
    EXPECT_EQ(Labels(), (QStringList{"90", "92", "94", "96", "98", "100"}));
    form->ui.menus.GraphZoomOutMenu->trigger();
    EXPECT_EQ(Level(), 250);
    EXPECT_EQ(Labels(), (QStringList{"75", "80", "85", "90", "95", "100"}));
    form->ui.imp.MinusBtn->click();
    EXPECT_EQ(Level(), 500);
    EXPECT_EQ(form->graphLevel.LevelOffset(), 500);
    form->ui.imp.X1Btn->click();
    EXPECT_FALSE(form->ui.imp.GraphLevelScrollBar->isVisible());
    EXPECT_EQ(form->graphLevel.LevelOffset(), 0);
    EXPECT_EQ(Labels(), (QStringList{"0", "20", "40", "60", "80", "100"}));
}

TEST_F(GraphWindow, LevelFollowsTheDrawing)
{
    LoadCurves(1000, 500);
    form->ui.menus.GraphZoomInMenu->trigger();
    form->ui.imp.GraphLevelScrollBar->setValue(500);
    // Zoom 2, offset 500: 100 ohm on row 0, 50 ohm on row 200 (under the plot).
    EXPECT_EQ(ScreenPixel(300, 0), kChannelColours[0]);
    EXPECT_NE(ScreenPixel(300, 199), kReferenceColour);
}

TEST_F(GraphWindow, PageKeysAndWheelOnlyWithVisibleScrollBarOnImpedancePage)
{
    QWidget* focus = form->ui.imp.CursorOnButton;
    Key(focus, Qt::Key_PageUp);
    Wheel(120);
    EXPECT_EQ(Level(), 1000);

    form->ui.imp.PlusBtn->click();  // zoom 2: 500..1000, step 100
    Key(focus, Qt::Key_PageUp);
    EXPECT_EQ(Level(), 900);
    EXPECT_EQ(Labels().front(), "10");
    Key(form->ui.imp.ThNg1Edit, Qt::Key_PageUp);  // the window sees the key before the edit
    EXPECT_EQ(Level(), 800);
    Key(focus, Qt::Key_PageDown);
    EXPECT_EQ(Level(), 900);
    Wheel(120);
    EXPECT_EQ(Level(), 800);
    Wheel(-120);
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(Level(), 1000);  // clamped

    // Finer deltas of a smooth-scrolling device add up to one notch, one step.
    Wheel(40);
    Wheel(40);
    EXPECT_EQ(Level(), 1000);
    Wheel(40);
    EXPECT_EQ(Level(), 900);
    Wheel(240);  // two notches reported at once
    EXPECT_EQ(Level(), 700);

    form->ui.PageControl->setCurrentIndex(1);
    Key(form->ui.download.AllRefNoDownLoadButton, Qt::Key_PageUp);
    Wheel(120);
    EXPECT_EQ(Level(), 700);
}

TEST_F(GraphWindow, FunctionKeysMoveTheCursorOnlyWhenOn)
{
    LoadCurves(123, 100);
    QWidget* focus = form->ui.imp.CursorOnButton;
    Key(focus, Qt::Key_F12);
    EXPECT_EQ(Cursor(), 68);
    form->ui.menus.CursorOnMenu->trigger();
    Key(focus, Qt::Key_F12);
    EXPECT_EQ(Cursor(), 69);
    EXPECT_EQ(form->ui.imp.CursorFreqEdit->text(), " 1.06kHz");
    Key(focus, Qt::Key_F11);
    Key(focus, Qt::Key_F11);
    EXPECT_EQ(Cursor(), 67);
    form->ui.imp.CursorFreqUpDown->SetPosition(119);
    form->curves.ImpLines[PointSlot(0, 119)] = "1001";
    Key(focus, Qt::Key_F12);
    EXPECT_EQ(Cursor(), 119);
    EXPECT_EQ(form->ui.imp.CursorImpEdit->text(), " > 100ohm");  // refreshed although it did not move
    EXPECT_EQ(form->ui.imp.CursorPercentEdit->text(), " > 100%");
    form->ui.PageControl->setCurrentIndex(2);
    Key(form->ui.upload.RefListUploadButton, Qt::Key_F11);
    EXPECT_EQ(Cursor(), 119);
}

TEST_F(GraphWindow, CursorFieldTakesOnlyLeftAndRight)
{
    form->ui.imp.CursorOnButton->click();
    Key(form->ui.imp.CursorFreqEdit, Qt::Key_Right);
    EXPECT_EQ(Cursor(), 69);
    Key(form->ui.imp.CursorFreqEdit, Qt::Key_Left);
    Key(form->ui.imp.CursorFreqEdit, Qt::Key_Left);
    EXPECT_EQ(Cursor(), 67);
    QTest::keyClicks(form->ui.imp.CursorFreqEdit, "12");
    Key(form->ui.imp.CursorFreqEdit, Qt::Key_Backspace);
    EXPECT_EQ(form->ui.imp.CursorFreqEdit->text(), " 950Hz");
    form->ui.imp.CursorFreqUpDown->Click(UpDown::Button::Next);
    EXPECT_EQ(form->ui.imp.CursorFreqEdit->text(), " 1.00kHz");
}

TEST_F(GraphWindow, MousePressAndLeftDragMoveTheCursor)
{
    Mouse(QEvent::MouseButtonPress, 300, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(Cursor(), 68) << "cursor off";
    form->ui.imp.CursorOnButton->click();
    Mouse(QEvent::MouseButtonPress, 29, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(Cursor(), 0);
    Mouse(QEvent::MouseMove, 640, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Cursor(), 119);
    Mouse(QEvent::MouseMove, 300, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    Mouse(QEvent::MouseMove, 300, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    Mouse(QEvent::MouseMove, 300, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(Cursor(), 119);
    Mouse(QEvent::MouseMove, 84, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Cursor(), 10);
    EXPECT_EQ(form->ui.imp.CursorFreqEdit->text(), " 35.5Hz");
    for (int y = 1; y < 200; ++y)
        ASSERT_EQ(ScreenPixel(50, y), kCursorColour) << y;
    EXPECT_EQ(ScreenPixel(50, 0), kGridBorder);
}

TEST_F(GraphWindow, CursorToggleEnablesByLoadedCurvesAndSearchesJump)
{
    form->ui.imp.CursorOnButton->click();
    EXPECT_TRUE(form->ui.imp.CursorFreqEdit->isEnabled());
    EXPECT_FALSE(form->ui.imp.CursorMaxButton->isEnabled());
    LoadCurves(500, 400);
    form->EnableCursorReadouts();
    EXPECT_TRUE(form->ui.imp.CursorMaxButton->isEnabled());
    EXPECT_TRUE(form->ui.imp.HensaMaxButton->isEnabled());
    EXPECT_EQ(ButtonFace(form->ui.imp.CursorMaxButton), kCursorMaxButtonColour);
    EXPECT_EQ(ButtonFace(form->ui.imp.CursorRefMinButton), kCursorMinButtonColour);

    CurveState& s = form->curves;
    s.ImpLines[PointSlot(0, 30)] = "900";
    s.ImpLines[PointSlot(0, 40)] = "100";
    s.RefLines[PointSlot(0, 50)] = "999";
    s.RefLines[PointSlot(0, 60)] = "5";
    s.ImpLines[PointSlot(0, 70)] = "1";  // largest deviation, -99 %
    const std::pair<QPushButton*, int> jumps[] = {{form->ui.imp.CursorMaxButton, 30},
                                                  {form->ui.imp.CursorMinButton, 70},
                                                  {form->ui.imp.CursorRefMaxButton, 50},
                                                  {form->ui.imp.CursorRefMinButton, 60},
                                                  {form->ui.imp.HensaMaxButton, 60}};
    for (auto [button, index] : jumps) {
        button->click();
        EXPECT_EQ(Cursor(), index) << button->text().toStdString();
    }
    EXPECT_EQ(form->ui.imp.CursorImpEdit->text(), " 50ohm");
    EXPECT_EQ(form->ui.imp.CursorRefEdit->text(), " 0.5ohm");
    EXPECT_EQ(form->ui.imp.CursorPercentEdit->text(), " > 100%");

    form->ui.imp.CursorOnButton->click();
    EXPECT_FALSE(form->ui.imp.CursorMaxButton->isEnabled());
    EXPECT_EQ(ButtonFace(form->ui.imp.CursorMaxButton), kDisabledButtonColour);
    EXPECT_EQ(ButtonFace(form->ui.imp.CursorOnButton), kOffColour);
    EXPECT_EQ(form->ui.imp.CursorImpEdit->text(), " ");
    EXPECT_EQ(form->ui.imp.CursorRefEdit->text(), " 0.5ohm");  // kept while off
}

TEST_F(GraphWindow, EditorsTakeOnlyUpAndDownAndRefuseCrossings)
{
    form->ui.imp.ThNg1UpDown->SetPosition(10);
    form->ui.imp.ThNg2UpDown->SetPosition(9);
    form->curves.RefNg1[0] = 10;
    form->curves.RefNg2[0] = 9;
    Key(form->ui.imp.ThNg2Edit, Qt::Key_Up);
    EXPECT_EQ(form->ui.imp.ThNg2UpDown->Position(), 9);
    EXPECT_EQ(form->ui.imp.ThNg2Edit->text(), " 9%");
    Key(form->ui.imp.ThNg1Edit, Qt::Key_Down);
    EXPECT_EQ(form->ui.imp.ThNg1UpDown->Position(), 10);
    Key(form->ui.imp.ThNg1Edit, Qt::Key_Up);
    EXPECT_EQ(form->ui.imp.ThNg1Edit->text(), " 11%");
    EXPECT_EQ(form->curves.RefLines[FlagsLine], "C");
    QTest::keyClicks(form->ui.imp.ThNg3Edit, "7x");
    EXPECT_EQ(form->ui.imp.ThNg3Edit->text(), " 38%");
    // Menu shortcuts still work from inside the edit (Ctrl+K is also a line-edit key).
    form->ui.imp.ThNg3Edit->setFocus();
    QTest::keyClick(form->ui.imp.ThNg3Edit, Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(form->curves.CursorOn);

    form->ui.imp.MaxFreqUpDown->Click(UpDown::Button::Prev);
    EXPECT_EQ(form->ui.imp.MaxFreqEdit->text(), " 18.0kHz");
    EXPECT_EQ(form->curves.RefMaxFreq[0], 118);
    Key(form->ui.imp.MinFreqEdit, Qt::Key_Down);  // clamped at 0, still accepted
    EXPECT_EQ(form->ui.imp.MinFreqEdit->text(), " 20.0Hz");
}

TEST_F(GraphWindow, JudgementBadge)
{
    LoadCurves(1000, 1000);
    EXPECT_TRUE(form->ui.imp.JudgeImage[0]->isVisible());
    EXPECT_TRUE(form->ui.imp.JudgeLabel->isEnabled());
    form->curves.ImpLines[PointSlot(0, 0)] = "2000";  // at the reference minimum
    form->curves.ImpLines[PointSlot(0, 50)] = "1";
    form->RedrawGraph();
    EXPECT_EQ(form->judgeResult, JudgeResult::Ng1H);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(form->ui.imp.JudgeImage[i]->isVisible(), i == 1) << i;
    EXPECT_EQ(form->ui.imp.JudgeImage[1]->text().toStdString(), JudgeResultText(form->judgeResult));
    form->ui.imp.ThCurveButton->click();
    EXPECT_EQ(form->judgeResult, JudgeResult::None);
    EXPECT_FALSE(form->ui.imp.JudgeLabel->isEnabled());
    for (QLabel* badge : form->ui.imp.JudgeImage)
        EXPECT_FALSE(badge->isVisible());
    EXPECT_EQ(ButtonFace(form->ui.imp.ThCurveButton), kOffColour);
    form->ui.menus.ThCurveShowMenu->trigger();
    EXPECT_EQ(ButtonFace(form->ui.imp.ThCurveButton), kThresholdColour);
    // Channel 3 of an NL 4 reference is not judged.
    form->curves.RefLines[TerminalLine] = "C";
    form->ui.menus.SelChMenu[2]->trigger();
    EXPECT_EQ(form->judgeResult, JudgeResult::None);
    EXPECT_FALSE(form->ui.imp.JudgeLabel->isEnabled());
}

TEST_F(GraphWindow, ChannelSelectionRecoloursAndRedrawsOnlyOnChange)
{
    LoadCurves(500, 500);
    form->curves.RefNg3[1] = 20;
    form->curves.RefMinFreq[1] = 30;
    form->ui.imp.DrawChCheckBox[0]->click();  // overlay of the selected channel: nothing extra
    EXPECT_EQ(ScreenPixel(300, 100), kChannelColours[0]);
    form->curves.ImpLines[PointSlot(0, 60)] = "0";
    form->ui.imp.SelChButton[0]->click();  // already selected: no redraw, picture unchanged
    EXPECT_EQ(ScreenPixel(300, 100), kChannelColours[0]);
    EXPECT_EQ(ScreenPixel(300, 199), kGridBorder);
    form->ui.imp.SelChButton[1]->click();
    EXPECT_EQ(ButtonFace(form->ui.imp.SelChButton[1]), kChannelColours[1]);
    EXPECT_EQ(ButtonFace(form->ui.imp.SelChButton[0]), kOffColour);
    EXPECT_EQ(form->ui.imp.ThNg3Edit->text(), " 20%");
    EXPECT_EQ(form->ui.imp.MinFreqUpDown->Position(), 30);
    EXPECT_EQ(form->ui.imp.MinFreqEdit->text(), " 112Hz");
    // The former channel now shows as an overlay with its mid-curve 0 on row 200.
    EXPECT_EQ(ScreenPixel(300, 199), kChannelColours[0]);
    EXPECT_EQ(ScreenPixel(300, 100), kChannelColours[1]);
    form->ui.menus.ImpCurveShowMenu->trigger();
    EXPECT_EQ(form->curves.ShownCurves, 6);
    EXPECT_EQ(ScreenPixel(300, 100), kReferenceColour);
}

}  // namespace
}  // namespace qlx
