#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/dlg_sinkou.h"

namespace {

using qlx::TDlgSinkou;

class DlgSinkouTest : public ::testing::Test {
protected:
    void TearDown() override { TDlgSinkou::Close(); }

    static std::vector<bool> Steps(int n)
    {
        std::vector<bool> results;
        for (int i = 0; i < n; ++i)
            results.push_back(TDlgSinkou::Step(true));
        return results;
    }
};

TEST_F(DlgSinkouTest, StrictLimitAndDialogGoneAfterTheFalseStep)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 3));
    QPointer<TDlgSinkou> dialog = TDlgSinkou::Instance();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Steps(4), std::vector<bool>({true, true, true, false}));
    EXPECT_EQ(TDlgSinkou::Instance(), nullptr);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_FALSE(TDlgSinkou::Step(true));
}

TEST_F(DlgSinkouTest, SixtyFourthStepGoesOnAndSixtyFifthStops)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 64));
    const std::vector<bool> results = Steps(65);
    EXPECT_EQ(std::count(results.begin(), results.begin() + 64, true), 64);
    EXPECT_FALSE(results[64]);
}

TEST_F(DlgSinkouTest, CancelAfterSecondStepStopsTheThird)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 10));
    EXPECT_EQ(Steps(2), std::vector<bool>({true, true}));
    QTest::mouseClick(TDlgSinkou::Instance()->btnToriyame, Qt::LeftButton);
    EXPECT_FALSE(TDlgSinkou::Step(true));
    EXPECT_EQ(TDlgSinkou::Instance(), nullptr);
}

TEST_F(DlgSinkouTest, StepHandlesPendingEventsBeforeDeciding)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 10));
    // The click is still queued when Step starts; Step must deliver it first.
    QTimer::singleShot(0, [] { TDlgSinkou::Instance()->btnToriyame->click(); });
    EXPECT_FALSE(TDlgSinkou::Step(true));
}

TEST_F(DlgSinkouTest, StepWithoutOpenDialogIsFalse)
{
    EXPECT_FALSE(TDlgSinkou::Step(true));
    EXPECT_FALSE(TDlgSinkou::Step(false));
    TDlgSinkou::Close();  // harmless when closed
    EXPECT_EQ(TDlgSinkou::Instance(), nullptr);
}

TEST_F(DlgSinkouTest, SecondOpenIsRefusedAndKeepsTheFirstDialog)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 2));
    TDlgSinkou* first = TDlgSinkou::Instance();
    EXPECT_FALSE(TDlgSinkou::Open(true, QStringLiteral("other"), 0, 100));
    EXPECT_EQ(TDlgSinkou::Instance(), first);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("通信中"));
    EXPECT_EQ(first->pbSinkou->maximum(), 2);
    TDlgSinkou::Close();
    EXPECT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 2));
}

// A step sits between two exchanges with the instrument: the bar it moves
// is painted the next time the window runs, not inside the step.
TEST_F(DlgSinkouTest, StepLeavesTheBarsPaintToTheNextEvents)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 4));
    TDlgSinkou* dlg = TDlgSinkou::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg));
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    dlg->pbSinkou->installEventFilter(&counter);
    ASSERT_TRUE(TDlgSinkou::Step(true));
    EXPECT_EQ(dlg->pbSinkou->value(), 1);
    EXPECT_EQ(counter.paints, 0);
    QCoreApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
}

TEST_F(DlgSinkouTest, StepWithoutAdvanceKeepsTheCountAndBarFollowsIt)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 5, 6));
    TDlgSinkou* dlg = TDlgSinkou::Instance();
    EXPECT_EQ(dlg->pbSinkou->minimum(), 5);
    EXPECT_EQ(dlg->pbSinkou->value(), 5);
    EXPECT_TRUE(TDlgSinkou::Step(false));
    EXPECT_EQ(dlg->pbSinkou->value(), 5);
    EXPECT_TRUE(TDlgSinkou::Step(true, QStringLiteral("ブロック 1")));
    EXPECT_EQ(dlg->pbSinkou->value(), 6);
    EXPECT_EQ(dlg->textStrip->text(), QStringLiteral("ブロック 1"));
    EXPECT_TRUE(TDlgSinkou::Step(false));
    EXPECT_TRUE(dlg->textStrip->text().isEmpty());
    EXPECT_FALSE(TDlgSinkou::Step(true));
}

TEST_F(DlgSinkouTest, WindowLayoutAndFlags)
{
    ASSERT_TRUE(TDlgSinkou::Open(true, QStringLiteral("通信中"), 0, 64));
    TDlgSinkou* dlg = TDlgSinkou::Instance();
    EXPECT_EQ(dlg->size(), QSize(352, 85));
    EXPECT_EQ(dlg->pbSinkou->geometry(), QRect(28, 21, 294, 17));
    EXPECT_EQ(dlg->btnToriyame->geometry(), QRect(135, 50, 75, 25));
    EXPECT_EQ(dlg->textStrip->geometry(), QRect(0, 0, 312, 12));
    EXPECT_EQ(dlg->btnToriyame->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(dlg->font().pixelSize(), 12);
    EXPECT_TRUE(dlg->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(dlg->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const QRect screen = dlg->screen()->geometry();
    EXPECT_EQ(dlg->frameGeometry().center(), screen.center());
    // Trying to close it from outside leaves it open.
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(TDlgSinkou::Step(true));
}

TEST_F(DlgSinkouTest, CancelNotAllowedDisablesTheButton)
{
    ASSERT_TRUE(TDlgSinkou::Open(false, QStringLiteral("通信中"), 0, 4));
    EXPECT_FALSE(TDlgSinkou::Instance()->btnToriyame->isEnabled());
    QTest::mouseClick(TDlgSinkou::Instance()->btnToriyame, Qt::LeftButton);
    EXPECT_TRUE(TDlgSinkou::Step(true));
}

}  // namespace
