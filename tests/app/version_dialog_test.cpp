#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/version_dialog.h"

namespace {

TEST(VersionDialog, ShowsNameAndVersionAndOpensTheAddressWithoutWaiting)
{
    qlx::TVerDlg dlg;
    std::vector<QUrl> opened;
    dlg.SetOpenUrl([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("QLX-50 Manager"));
    EXPECT_EQ(dlg.size(), QSize(392, 166));
    EXPECT_EQ(dlg.TitleLabel->text(), QStringLiteral("QLX-50 Manager"));
    EXPECT_TRUE(dlg.TitleLabel->font().bold());
    EXPECT_EQ(dlg.TitleLabel->font().pixelSize(), 16);
    EXPECT_EQ(dlg.VersionLabel->text(), QStringLiteral("Version 1.10"));
    EXPECT_EQ(dlg.ProgramIcon->pixmap().size(), QSize(32, 32));
    EXPECT_TRUE(dlg.UrlLabel->font().underline());
    EXPECT_EQ(dlg.UrlLabel->cursor().shape(), Qt::PointingHandCursor);

    dlg.ShowModeless();
    EXPECT_FALSE(dlg.isModal());
    QTest::mouseClick(dlg.UrlLabel, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QString::fromLatin1(qlx::TVerDlg::kWebAddress)));
    EXPECT_TRUE(dlg.isVisible());
}

// With no browser to hand the address to, a click must not do nothing: the
// user is told, with the address, which can then be typed in by hand.
TEST(VersionDialog, AnAddressThatCannotBeOpenedIsNamedInAMessage)
{
    qlx::TVerDlg dlg;
    int attempts = 0;
    dlg.SetOpenUrl([&](const QUrl&) {
        ++attempts;
        return false;
    });
    dlg.ShowModeless();

    QStringList shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->windowTitle() << box->text();
            box->accept();
        }
    });
    answer.start(20);
    QTest::mouseClick(dlg.UrlLabel, Qt::LeftButton);
    answer.stop();

    EXPECT_EQ(attempts, 1);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], QStringLiteral("QLX-50 Manager"));
    EXPECT_TRUE(shown[1].contains(QString::fromLatin1(qlx::TVerDlg::kWebAddress))) << shown[1].toStdString();
    EXPECT_TRUE(dlg.isVisible());
}

TEST(VersionDialog, OkAndEscHideIt)
{
    qlx::TVerDlg dlg;
    dlg.ShowModeless();
    QTest::mouseClick(dlg.VerDlgOkButton, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    dlg.ShowModeless();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
}

}  // namespace
