#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/program_version.h"
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
    EXPECT_EQ(opened[0], qlx::TVerDlg::Address());
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
    EXPECT_TRUE(shown[1].contains(qlx::TVerDlg::AddressText())) << shown[1].toStdString();
    EXPECT_TRUE(dlg.isVisible());
}

// No made-up address is shipped: without the maker's address from the build,
// the link leads to the documentation installed with the program.
TEST(VersionDialog, TheLinkOpensTheMakersAddressOrTheInstalledDocumentation)
{
    const QUrl address = qlx::TVerDlg::Address();
    if (qlx::kMakerWebAddress[0] != '\0') {
        EXPECT_EQ(address, QUrl(QString::fromUtf8(qlx::kMakerWebAddress)));
        return;
    }
    ASSERT_TRUE(address.isLocalFile()) << address.toString().toStdString();
    const QString expected =
        QDir(QCoreApplication::applicationDirPath() + "/..").absolutePath() + "/share/doc/qlx50-manager/README.html";
    EXPECT_EQ(address.toLocalFile(), QDir::cleanPath(expected));
    qlx::TVerDlg dlg;
    EXPECT_EQ(dlg.UrlLabel->text(), address.toLocalFile());
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
