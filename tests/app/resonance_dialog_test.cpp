// The resonance dialog in the window: menu, values of both curves, the Re
// field remembered per reference file, and updates on channel and curves.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

#include "resonance_window_fixture.h"
#include "ui/dialog_placement.h"

namespace qlx {
namespace {

using qlxtest::kMidWoofer;
using qlxtest::kWoofer;
using qlxtest::SpeakerCurve;
using Q = ResonanceQuantity;

constexpr int kMeasured = 0, kReference = 1, kDeviation = 2;
constexpr Q kReDependent[] = {Q::kR0, Q::kF1, Q::kF2, Q::kQm, Q::kQe, Q::kQt};

qlxsim::SpeakerModel WooferUnit(double fs)
{
    qlxsim::SpeakerModel m = kWoofer;
    m.fs = fs;
    return m;
}

using ResonanceDialogTest = qlxtest::ResonanceWindowFixture;

TEST_F(ResonanceDialogTest, ToolsMenuOpensItModelessBesideTheWindow)
{
    const QList<QAction*> tools = form->ui.menus.ToolsMenu->actions();
    const qsizetype at = tools.indexOf(form->ui.menus.ResonanceMenu);
    ASSERT_GE(at, 2);
    EXPECT_EQ(form->ui.menus.ResonanceMenu->text(), QStringLiteral("共振パラメータ(&P)..."));
    EXPECT_TRUE(tools[at - 1]->isSeparator());
    EXPECT_EQ(tools[at - 2], form->ui.menus.RemoteMeasureMenu);

    EXPECT_FALSE(Dialog().isVisible());
    form->ui.menus.ResonanceMenu->trigger();
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_FALSE(Dialog().isModal());
    // Above the main window (a tool window of it), not above other programs.
    EXPECT_EQ(Dialog().windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(Dialog().windowFlags() & Qt::WindowStaysOnTopHint);
    const QRect area = form->screen()->availableGeometry();
    EXPECT_EQ(Dialog().frameGeometry().topLeft(),
              qlx::BesideTopLeft(form->frameGeometry(), Dialog().frameGeometry().size(), area));
    EXPECT_TRUE(area.contains(Dialog().frameGeometry())) << "on the screen whole";
    EXPECT_EQ(Dialog().windowTitle(), QStringLiteral("共振パラメータ"));
    EXPECT_EQ(Dialog().font().family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(Dialog().font().pixelSize(), 12);
    EXPECT_TRUE(Dialog().ui.systemNoteLabel->text().contains(QStringLiteral("系の共振")));
    EXPECT_TRUE(Dialog().ui.systemNoteLabel->text().contains(QStringLiteral("フリーエア・パラメータではありません")));
    // Nothing is open yet: every value is missing and says why.
    EXPECT_EQ(Text(Q::kF0, kMeasured), QStringLiteral("—"));
    EXPECT_EQ(Cell(Q::kF0, kMeasured)->toolTip(), QStringLiteral("測定カーブがありません。"));
    Dialog().ui.closeButton->click();
    EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(ResonanceDialogTest, ShowsMeasuredBesideReferenceWithTheDeviation)
{
    OpenReference("WOOFER-16A.q5imp", SpeakerCurve("WOOFER-16A", "B", {kWoofer}));
    OpenMeasured("unit 7.q5imp", SpeakerCurve("WOOFER-16A", "B", {WooferUnit(47)}));
    form->ui.menus.ResonanceMenu->trigger();
    TypeRe(QStringLiteral("6.4"));

    EXPECT_EQ(Dialog().ui.channelLabel->text(), QStringLiteral("チャンネル 1"));
    EXPECT_TRUE(Dialog().ui.measuredNameLabel->text().contains(QStringLiteral("WOOFER-16A")));
    EXPECT_TRUE(Dialog().ui.measuredNameLabel->text().contains(QStringLiteral("unit 7.q5imp")));
    EXPECT_TRUE(Dialog().ui.referenceNameLabel->text().contains(QStringLiteral("WOOFER-16A.q5imp")));

    const double m = Number(Q::kF0, kMeasured), r = Number(Q::kF0, kReference);
    EXPECT_NEAR(m, 47, 0.5);
    EXPECT_NEAR(r, kWoofer.fs, 0.5);
    EXPECT_NEAR(Number(Q::kF0, kDeviation), 100 * (m - r) / r, 0.15);
    EXPECT_TRUE(Text(Q::kF0, kDeviation).startsWith('-'));
    EXPECT_NEAR(Number(Q::kZmax, kReference), kWoofer.zmax, 0.03 * kWoofer.zmax);
    EXPECT_NEAR(Number(Q::kQt, kReference), kWoofer.Qt(), 0.03 * kWoofer.Qt());
    EXPECT_NEAR(Number(Q::kQt, kMeasured), WooferUnit(47).Qt(), 0.03 * WooferUnit(47).Qt());

    // Which method gave the values, in the table and in the note line.
    QTableWidget* table = Dialog().ui.valueTable;
    EXPECT_EQ(table->verticalHeaderItem(0)->text(), QStringLiteral("算出方法"));
    EXPECT_EQ(table->verticalHeaderItem(1 + int(Q::kQt))->text(), QStringLiteral("Qt"));
    EXPECT_EQ(table->item(0, kMeasured)->text(), QStringLiteral("精密化"));
    EXPECT_EQ(table->item(0, kReference)->text(), QStringLiteral("精密化"));
    EXPECT_TRUE(Cell(Q::kF0, kMeasured)->toolTip().contains(QStringLiteral("精密化")));
    EXPECT_TRUE(Dialog().ui.methodLabel->text().contains(QStringLiteral("測定カーブ: 精密化")));
}

// |Z|min is there, but it never stands in for Re: without Re there is no Q.
TEST_F(ResonanceDialogTest, NoQWithoutRe)
{
    OpenReference("WOOFER-16A.q5imp", SpeakerCurve("WOOFER-16A", "B", {kWoofer}));
    OpenMeasured("unit.q5imp", SpeakerCurve("WOOFER-16A", "B", {kWoofer}));
    form->ui.menus.ResonanceMenu->trigger();
    ASSERT_TRUE(Dialog().ui.reEdit->text().isEmpty());
    EXPECT_FALSE(Dialog().CurrentRe());

    auto expectNoQ = [&](const char* when) {
        for (Q q : kReDependent)
            for (int column : {kMeasured, kReference, kDeviation}) {
                EXPECT_EQ(Text(q, column), QStringLiteral("—")) << when << " " << QuantitySymbol(q);
                EXPECT_TRUE(Cell(q, column)->toolTip().contains(QStringLiteral("Re が入力されていません")))
                    << when << " " << Cell(q, column)->toolTip().toStdString();
            }
        EXPECT_GT(Number(Q::kZmin, kMeasured), 0) << when;
        EXPECT_GT(Number(Q::kF0, kMeasured), 0) << when;
    };
    expectNoQ("empty");
    EXPECT_TRUE(Dialog().ui.reNoteLabel->text().contains(QStringLiteral("Re が未入力")));

    TypeRe(QStringLiteral("6.4"));
    EXPECT_EQ(Dialog().CurrentRe(), 6.4);
    EXPECT_NEAR(Number(Q::kQt, kMeasured), kWoofer.Qt(), 0.03 * kWoofer.Qt());
    EXPECT_NEAR(Number(Q::kR0, kMeasured), kWoofer.zmax / kWoofer.re, 0.05 * kWoofer.zmax / kWoofer.re);

    TypeRe(QStringLiteral("."));
    expectNoQ("a lone point");
    EXPECT_TRUE(Dialog().ui.reNoteLabel->text().contains(QStringLiteral("0 より大きい数")));
    TypeRe(QString());
    expectNoQ("cleared");
    // The field takes no letters and no comma.
    QTest::keyClicks(Dialog().ui.reEdit, QStringLiteral("6,4x"));
    EXPECT_EQ(Dialog().ui.reEdit->text(), QStringLiteral("64"));
}

TEST_F(ResonanceDialogTest, ReIsRememberedPerReferenceFileAcrossRuns)
{
    const qlx::CurveLines woofer = SpeakerCurve("WOOFER-16A", "B", {kWoofer});
    const qlx::CurveLines other = SpeakerCurve("MID-6.5", "B", {kMidWoofer});
    OpenReference("WOOFER-16A.q5imp", woofer);
    form->ui.menus.ResonanceMenu->trigger();
    TypeRe(QStringLiteral("6.4"));
    EXPECT_TRUE(Dialog().ui.reNoteLabel->text().contains(QStringLiteral("このリファレンス・カーブのファイル")));
    OpenReference("MID-6.5.q5imp", other);
    EXPECT_TRUE(Dialog().ui.reEdit->text().isEmpty()) << "another file has its own Re";
    TypeRe(QStringLiteral("7.35"));
    OpenReference("WOOFER-16A.q5imp", woofer);
    EXPECT_EQ(Dialog().ui.reEdit->text(), QStringLiteral("6.4"));

    // Kept in the program's own configuration, not in Default.dat.
    const QString conf = QString::fromStdString(config.file("qlx50-manager/qlx50-manager.conf"));
    {
        QSettings file(conf, QSettings::IniFormat);
        file.beginGroup(QStringLiteral("ResonanceRe"));
        EXPECT_EQ(file.childKeys().size(), 2);
    }

    NewWindow();
    EXPECT_TRUE(Dialog().ui.reEdit->text().isEmpty()) << "no reference curve yet";
    OpenReference("MID-6.5.q5imp", other);
    EXPECT_EQ(Dialog().ui.reEdit->text(), QStringLiteral("7.35"));
    EXPECT_EQ(Dialog().CurrentRe(), 7.35);
    OpenReference("WOOFER-16A.q5imp", woofer);
    EXPECT_EQ(Dialog().ui.reEdit->text(), QStringLiteral("6.4"));
    // Clearing the field forgets the file's Re.
    TypeRe(QString());
    NewWindow();
    OpenReference("WOOFER-16A.q5imp", woofer);
    EXPECT_TRUE(Dialog().ui.reEdit->text().isEmpty());
}

TEST_F(ResonanceDialogTest, FollowsTheSelectedChannelAndEveryNewCurve)
{
    OpenReference("2WAY.q5imp", SpeakerCurve("2WAY NL4", "E", {kWoofer, kMidWoofer}));
    OpenMeasured("2way unit.q5imp", SpeakerCurve("2WAY NL4", "E", {WooferUnit(49), kMidWoofer}));
    form->ui.menus.ResonanceMenu->trigger();
    TypeRe(QStringLiteral("6.4"));
    EXPECT_NEAR(Number(Q::kF0, kMeasured), 49, 0.5);
    EXPECT_NEAR(Number(Q::kF0, kReference), kWoofer.fs, 0.5);

    form->ui.imp.SelChButton[1]->click();
    ASSERT_EQ(form->curves.SelectedChannel, 1);
    EXPECT_EQ(Dialog().ui.channelLabel->text(), QStringLiteral("チャンネル 2"));
    EXPECT_NEAR(Number(Q::kF0, kMeasured), kMidWoofer.fs, 1);
    EXPECT_NEAR(Number(Q::kF0, kReference), kMidWoofer.fs, 1);
    EXPECT_EQ(Text(Q::kF0, kDeviation), QStringLiteral("0.0"));

    // A new measured curve (the selection goes back to channel 1), also
    // while the dialog is hidden.
    Dialog().hide();
    OpenMeasured("next unit.q5imp", SpeakerCurve("2WAY NL4", "E", {WooferUnit(44), kMidWoofer}));
    EXPECT_EQ(Dialog().ui.channelLabel->text(), QStringLiteral("チャンネル 1"));
    EXPECT_NEAR(Number(Q::kF0, kMeasured), 44, 0.5);
    form->ui.menus.ResonanceMenu->trigger();
    EXPECT_NEAR(Number(Q::kF0, kMeasured), 44, 0.5);

    // A new reference curve.
    OpenReference("2WAY B.q5imp", SpeakerCurve("2WAY NL4", "E", {WooferUnit(55), kMidWoofer}));
    EXPECT_NEAR(Number(Q::kF0, kReference), 55, 0.5);
    EXPECT_TRUE(Dialog().ui.referenceNameLabel->text().contains(QStringLiteral("2WAY B.q5imp")));
}

}  // namespace
}  // namespace qlx
