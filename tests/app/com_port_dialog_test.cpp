#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "app/com_port_dialog.h"

namespace {

using qlx::TComPortNoDialog;

int IndexOf(QComboBox* box, const QString& label) { return box->findText(label); }

TEST(ComPortDialog, OpensOnTheSettingAndOkStoresTheChoice)
{
    std::string port = "COM4";
    TComPortNoDialog dlg(port, {{"/dev/ttyUSB0", "FTDI", true}});
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("COMポート番号の設定"));
    EXPECT_EQ(dlg.size(), QSize(242, 98));
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(dlg.ComNo->currentText(), QStringLiteral("COM 4"));

    dlg.ShowModeless();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isModal());
    dlg.ComNo->setCurrentIndex(IndexOf(dlg.ComNo, QStringLiteral("COM 7")));
    QTest::mouseClick(dlg.OkButton, Qt::LeftButton);
    EXPECT_EQ(port, "COM7");
    EXPECT_FALSE(dlg.isVisible());

    dlg.ShowModeless();
    dlg.ComNo->setCurrentIndex(IndexOf(dlg.ComNo, QStringLiteral("/dev/ttyUSB0 (FTDI)")));
    QTest::mouseClick(dlg.OkButton, Qt::LeftButton);
    EXPECT_EQ(port, "/dev/ttyUSB0");
}

TEST(ComPortDialog, CancelEnterAndEscKeepTheSettingButNotTheSelection)
{
    std::string port = "COM3";
    TComPortNoDialog dlg(port, {});
    const struct {
        const char* how;
        std::function<void()> close;
    } ways[] = {
        {"cancel button", [&] { QTest::mouseClick(dlg.CancelButton, Qt::LeftButton); }},
        {"enter", [&] { QTest::keyClick(&dlg, Qt::Key_Return); }},
        {"escape", [&] { QTest::keyClick(&dlg, Qt::Key_Escape); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        dlg.ShowModeless();
        dlg.ComNo->setFocus();
        dlg.ComNo->setCurrentIndex(IndexOf(dlg.ComNo, QStringLiteral("COM 2")));
        way.close();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(port, "COM3");
        dlg.ShowModeless();
        EXPECT_EQ(dlg.ComNo->currentText(), QStringLiteral("COM 2"));
        dlg.hide();
    }
}

TEST(ComPortDialog, UnknownSettingsStartOnCom1)
{
    for (const char* setting : {"COM17", ""}) {
        std::string port = setting;
        TComPortNoDialog dlg(port, {});
        EXPECT_EQ(dlg.ComNo->currentText(), QStringLiteral("COM 1")) << setting;
    }
}

}  // namespace

namespace {

// An adapter plugged in after start is offered when the dialog is shown
// again; the selection stays where the user left it, also on a device that
// has gone since.
TEST(ComPortDialog, DevicesAreLookedForAgainKeepingTheSelection)
{
    std::string port = "COM1";
    TComPortNoDialog dlg(port, {});
    dlg.ComNo->setCurrentIndex(IndexOf(dlg.ComNo, QStringLiteral("COM 3")));
    dlg.RefreshDevices({{"/dev/ttyUSB0", "FTDI", true}});
    EXPECT_EQ(dlg.ComNo->count(), 10);
    EXPECT_EQ(dlg.ComNo->currentText(), QStringLiteral("COM 3"));

    dlg.ComNo->setCurrentIndex(IndexOf(dlg.ComNo, QStringLiteral("/dev/ttyUSB0 (FTDI)")));
    dlg.RefreshDevices({});
    EXPECT_EQ(dlg.ComNo->currentData().toString(), QStringLiteral("/dev/ttyUSB0"));
    QTest::mouseClick(dlg.OkButton, Qt::LeftButton);
    EXPECT_EQ(port, "/dev/ttyUSB0");
}

}  // namespace
