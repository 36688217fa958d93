#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "comm/instrument_ui.h"
#include "ui/extend_msg_dlg.h"

namespace {

using qlx::MsgBoxWindow;
using qlx::MsgBtn;
using qlx::TExtendMsgDlg;

TExtendMsgDlg YesNoDialog()
{
    TExtendMsgDlg dlg;
    dlg.SetMessage(QStringLiteral("続けますか？"));
    dlg.SetButtons({MsgBtn::Yes, MsgBtn::No});
    return dlg;
}

// Runs Execute with a show step that shows the box, lets `inspect` look at
// it and press something, then closes whatever is left open.
template <typename Inspect>
int RunShown(TExtendMsgDlg& dlg, Inspect inspect)
{
    dlg.SetShowStep([&](MsgBoxWindow& box) {
        box.show();
        QApplication::processEvents();
        inspect(box);
        box.hide();
    });
    return dlg.Execute();
}

TEST(ExtendMsgDlg, DefaultsOfEveryProperty)
{
    TExtendMsgDlg dlg;
    EXPECT_TRUE(dlg.Message().isEmpty());
    EXPECT_TRUE(dlg.Buttons().Empty());
    EXPECT_EQ(dlg.DefaultButton(), MsgBtn::OK);
    EXPECT_EQ(dlg.IconType(), qlx::MsgIcon::Custom);
    EXPECT_EQ(dlg.SystemMenu(), qlx::smExist);
    EXPECT_FALSE(dlg.TitleSet());
    EXPECT_TRUE(dlg.Title().isEmpty());
    EXPECT_EQ(dlg.Position(), qlx::dpCenter);
    EXPECT_FALSE(dlg.PositionSet());
    EXPECT_EQ(dlg.AnchorsPos(), qlx::apLeftTop);
    EXPECT_EQ(dlg.AnchorsTop(), 0);
    EXPECT_EQ(dlg.AnchorsLeft(), 0);
}

TEST(ExtendMsgDlg, DefaultButtonOutsideButtonsFailsAndKeepsOldValue)
{
    TExtendMsgDlg dlg = YesNoDialog();
    try {
        dlg.SetDefaultButton(MsgBtn::Cancel);
        FAIL() << "no error raised";
    } catch (const qlx::MsgDlgError& e) {
        EXPECT_STREQ(e.what(), "ボタンが設定されていません。");
    }
    EXPECT_EQ(dlg.DefaultButton(), MsgBtn::OK);

    dlg.SetDefaultButton(MsgBtn::No);
    EXPECT_EQ(dlg.DefaultButton(), MsgBtn::No);
    EXPECT_THROW(dlg.SetDefaultButton(MsgBtn::OK), qlx::MsgDlgError);
    EXPECT_EQ(dlg.DefaultButton(), MsgBtn::No);
}

TEST(ExtendMsgDlg, DefaultButtonEqualToCurrentIsAcceptedWithoutButtons)
{
    TExtendMsgDlg dlg;  // no buttons at all
    EXPECT_NO_THROW(dlg.SetDefaultButton(MsgBtn::OK));
}

TEST(ExtendMsgDlg, EachButtonReturnsItsModalResult)
{
    const std::pair<MsgBtn, int> cases[] = {
        {MsgBtn::OK, qlx::mrOk},           {MsgBtn::Cancel, qlx::mrCancel},
        {MsgBtn::Abort, qlx::mrAbort},     {MsgBtn::Retry, qlx::mrRetry},
        {MsgBtn::Ignore, qlx::mrIgnore},   {MsgBtn::Yes, qlx::mrYes},
        {MsgBtn::No, qlx::mrNo},           {MsgBtn::All, qlx::mrAll},
        {MsgBtn::NoToAll, qlx::mrNoToAll}, {MsgBtn::YesToAll, qlx::mrYesToAll},
    };
    TExtendMsgDlg dlg;
    dlg.SetButtons({MsgBtn::Yes, MsgBtn::No, MsgBtn::OK, MsgBtn::Cancel, MsgBtn::Abort, MsgBtn::Retry, MsgBtn::Ignore,
                    MsgBtn::All, MsgBtn::NoToAll, MsgBtn::YesToAll, MsgBtn::Help});
    for (auto [button, result] : cases) {
        SCOPED_TRACE(qlx::MsgBtnName(button).toStdString());
        const int got = RunShown(dlg, [&](MsgBoxWindow& box) {
            QPushButton* b = box.findChild<QPushButton*>(qlx::MsgBtnName(button));
            ASSERT_NE(b, nullptr);
            QTest::mouseClick(b, Qt::LeftButton);
            EXPECT_FALSE(box.isVisible());
        });
        EXPECT_EQ(got, result);
    }
}

TEST(ExtendMsgDlg, ButtonsAppearInTheirFixedOrder)
{
    TExtendMsgDlg dlg;
    dlg.SetButtons({MsgBtn::Help, MsgBtn::Cancel, MsgBtn::Yes, MsgBtn::No});
    RunShown(dlg, [](MsgBoxWindow& box) {
        QStringList names;
        QList<QPushButton*> buttons = box.findChildren<QPushButton*>();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        for (QPushButton* b : buttons)
            names << b->objectName();
        EXPECT_EQ(names, QStringList({"Yes", "No", "Cancel", "Help"}));
    });
}

TEST(ExtendMsgDlg, HelpDoesNotCloseTheBox)
{
    TExtendMsgDlg dlg;
    dlg.SetButtons({MsgBtn::OK, MsgBtn::Help});
    const int got = RunShown(dlg, [](MsgBoxWindow& box) {
        QTest::mouseClick(box.Button(MsgBtn::Help), Qt::LeftButton);
        EXPECT_TRUE(box.isVisible());
        QTest::mouseClick(box.Button(MsgBtn::OK), Qt::LeftButton);
    });
    EXPECT_EQ(got, qlx::mrOk);
}

TEST(ExtendMsgDlg, CaptionIsTitleWhenSetElseTheIconsCaption)
{
    TExtendMsgDlg dlg = YesNoDialog();
    dlg.SetIconType(qlx::MsgIcon::Warning);
    dlg.SetTitle(QStringLiteral("QLX-50 Manager"));
    QString caption;
    RunShown(dlg, [&](MsgBoxWindow& box) { caption = box.windowTitle(); });
    EXPECT_EQ(caption, QStringLiteral("警告"));
    dlg.SetTitleSet(true);
    RunShown(dlg, [&](MsgBoxWindow& box) {
        caption = box.windowTitle();
        EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(box.findChild<QLabel*>("Message")->text(), QStringLiteral("続けますか？"));
        EXPECT_NE(box.findChild<QLabel*>("Image"), nullptr);
    });
    EXPECT_EQ(caption, QStringLiteral("QLX-50 Manager"));
}

TEST(ExtendMsgDlg, CustomIconShowsNoImage)
{
    TExtendMsgDlg dlg = YesNoDialog();
    RunShown(dlg, [](MsgBoxWindow& box) { EXPECT_EQ(box.findChild<QLabel*>("Image"), nullptr); });
}

TEST(ExtendMsgDlg, CloseBoxFollowsSystemMenuMode)
{
    struct Case {
        qlx::SystemMenuMode mode;
        qlx::MsgButtons buttons;
        bool closeBox;
    };
    const Case cases[] = {
        {qlx::smExist, {MsgBtn::OK}, true},
        {qlx::smExist, {}, true},
        {qlx::smNothing, {}, false},
        {qlx::smNothing, {MsgBtn::Yes, MsgBtn::No}, false},
        {qlx::smAuto, {}, true},
        {qlx::smAuto, {MsgBtn::Help}, true},
        {qlx::smAuto, {MsgBtn::OK}, false},
        {qlx::smAuto, {MsgBtn::OK, MsgBtn::Help}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " closeBox " << c.closeBox);
        TExtendMsgDlg dlg;
        dlg.SetButtons(c.buttons);
        dlg.SetSystemMenu(c.mode);
        const int got = RunShown(dlg, [&](MsgBoxWindow& box) {
            EXPECT_EQ(box.windowFlags().testFlag(Qt::WindowCloseButtonHint), c.closeBox);
            EXPECT_EQ(box.windowFlags().testFlag(Qt::WindowSystemMenuHint), c.closeBox);
            box.close();
            EXPECT_EQ(box.isVisible(), !c.closeBox);
        });
        // Closing by the close box answers Cancel; without one it cannot close.
        EXPECT_EQ(got, c.closeBox ? qlx::mrCancel : qlx::mrNone);
    }
}

TEST(ExtendMsgDlg, DefaultButtonGetsTheFocusOnlyWhenItIsOneOfTheButtons)
{
    TExtendMsgDlg dlg = YesNoDialog();  // default still OK, not a member
    RunShown(dlg, [](MsgBoxWindow& box) {
        EXPECT_NE(box.focusWidget(), box.Button(MsgBtn::No));
        EXPECT_FALSE(box.Button(MsgBtn::No)->isDefault());
    });
    dlg.SetDefaultButton(MsgBtn::No);
    const int got = RunShown(dlg, [](MsgBoxWindow& box) {
        EXPECT_EQ(box.focusWidget(), box.Button(MsgBtn::No));
        EXPECT_TRUE(box.Button(MsgBtn::No)->isDefault());
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(got, qlx::mrNo);
}

TEST(ExtendMsgDlg, EscapePressesCancelElseNoElseOk)
{
    struct Case {
        qlx::MsgButtons buttons;
        int result;
    };
    const Case cases[] = {
        {{MsgBtn::Yes, MsgBtn::No, MsgBtn::Cancel}, qlx::mrCancel},
        {{MsgBtn::Yes, MsgBtn::No}, qlx::mrNo},
        {{MsgBtn::OK}, qlx::mrOk},
        {{MsgBtn::Yes, MsgBtn::Abort}, qlx::mrNone},  // nothing to press: Esc does nothing
    };
    for (const Case& c : cases) {
        TExtendMsgDlg dlg;
        dlg.SetButtons(c.buttons);
        const int got = RunShown(dlg, [](MsgBoxWindow& box) { QTest::keyClick(&box, Qt::Key_Escape); });
        EXPECT_EQ(got, c.result);
    }
}

TEST(ExtendMsgDlg, AnchoredBoxIsPlacedByItsCentre)
{
    TExtendMsgDlg dlg = YesNoDialog();
    dlg.SetPositionSet(true);
    dlg.SetAnchorsPosition(qlx::apCenter);
    dlg.SetAnchorsLeft(400);
    dlg.SetAnchorsTop(300);
    RunShown(dlg, [](MsgBoxWindow& box) {
        const QRect frame = box.frameGeometry();
        EXPECT_EQ(frame.left(), 400 - (frame.width() + 1) / 2);
        EXPECT_EQ(frame.top(), 300 - (frame.height() + 1) / 2);
    });
}

TEST(ExtendMsgDlg, UnanchoredBoxGoesToTheScreenCorner)
{
    TExtendMsgDlg dlg = YesNoDialog();
    dlg.SetPosition(qlx::dpRightBottom);
    RunShown(dlg, [](MsgBoxWindow& box) {
        const QRect screen = box.screen()->geometry();
        EXPECT_EQ(box.frameGeometry().bottomRight(), screen.bottomRight());
    });
}

TEST(ExtendMsgDlg, ExecuteIsModalAndReturnsTheButtonPressed)
{
    TExtendMsgDlg dlg = YesNoDialog();
    dlg.SetDefaultButton(MsgBtn::Yes);
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<MsgBoxWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        wasModal = box->isModal();
        QTest::mouseClick(box->Button(MsgBtn::No), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.Execute(), qlx::mrNo);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
