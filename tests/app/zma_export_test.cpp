// The ZMA export of the measured curve from the File menu, read back.
#include <gtest/gtest.h>

#include <QAction>
#include <QDate>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <charconv>
#include <clocale>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/zma_export.h"
#include "model/freq_table.h"
#include "model/sjis.h"
#include "resonance_window_fixture.h"

namespace qlx {
namespace {

using qlxtest::kMidWoofer;
using qlxtest::kWoofer;
using qlxtest::ReadAll;
using qlxtest::SpeakerCurve;

struct ZmaFile {
    std::vector<std::string> comments;
    std::vector<std::string> hz, ohm, deg;  // the data lines' fields as written
    bool commentAfterData = false;
    bool badLine = false;
};

ZmaFile ReadZma(const std::string& path)
{
    ZmaFile z;
    const std::string bytes = ReadAll(path);
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            z.badLine = true;
            break;
        }
        const std::string line = bytes.substr(at, end - at);
        at = end + 2;
        if (!line.empty() && line[0] == '*') {
            z.commentAfterData |= !z.hz.empty();
            z.comments.push_back(line);
            continue;
        }
        const size_t a = line.find(' '), b = line.find(' ', a + 1);
        if (a == std::string::npos || b == std::string::npos || line.find(' ', b + 1) != std::string::npos) {
            z.badLine = true;
            continue;
        }
        z.hz.push_back(line.substr(0, a));
        z.ohm.push_back(line.substr(a + 1, b - a - 1));
        z.deg.push_back(line.substr(b + 1));
    }
    return z;
}

double Read(const std::string& text)
{
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
    return v;
}

std::string Today() { return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString(); }

// The locale of a German desk, where printf would write "52,3"; none when
// it is not installed.
class GermanLocale {
public:
    GermanLocale()
    {
        const char* now = std::setlocale(LC_ALL, nullptr);
        saved_ = now ? now : "C";
        on_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        if (on_)
            QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~GermanLocale()
    {
        std::setlocale(LC_ALL, saved_.c_str());
        QLocale::setDefault(qtSaved_);
    }
    bool on() const { return on_; }

private:
    std::string saved_;
    QLocale qtSaved_;
    bool on_ = false;
};

struct ZmaExportTest : qlxtest::ResonanceWindowFixture {
    // "ウーファー" on the BINDING POST, valid from grid point 5 (26.5 Hz) to
    // 100 (6.3 kHz), and one point inside that holds no measurement.
    qlx::CurveLines Woofer()
    {
        qlx::CurveLines c = SpeakerCurve("ウーファー", "B", {kWoofer});
        qlxtest::SetValidRange(c, 5, 100);
        c[PointSlot(0, 60)] = "0";
        return c;
    }
    std::string Export(const std::string& name, std::optional<bool> zeroPhase = std::nullopt)
    {
        const std::string path = dir.file(name);
        dialogs.answers.push_back(QString::fromStdString(path));
        if (zeroPhase)
            dialogs.optionAnswers.push_back(*zeroPhase);
        form->ui.menus.FileImpZmaSaveMenu->trigger();
        return path;
    }
};

TEST_F(ZmaExportTest, MenuItemSitsBesideTheCsvExportAndFollowsTheMeasuredCurve)
{
    const MainMenus& m = form->ui.menus;
    const QList<QAction*> file = m.FileMenu->actions();
    const qsizetype csv = file.indexOf(m.FileImpCsvSaveMenu);
    ASSERT_GE(csv, 0);
    ASSERT_LT(csv + 1, file.size());
    EXPECT_EQ(file[csv + 1], m.FileImpZmaSaveMenu);
    EXPECT_EQ(m.FileImpZmaSaveMenu->text(), QStringLiteral("測定カーブをZMA形式で保存(&Z)..."));
    EXPECT_FALSE(m.FileImpZmaSaveMenu->isEnabled());

    OpenReference("ref.q5imp", Woofer());
    EXPECT_FALSE(m.FileImpZmaSaveMenu->isEnabled());
    // Even when reached while disabled, nothing happens without a measured curve.
    form->zmaExport->Run(std::nullopt);
    EXPECT_TRUE(dialogs.asked.isEmpty());

    OpenMeasured("unit.q5imp", Woofer());
    EXPECT_TRUE(m.FileImpZmaSaveMenu->isEnabled());
}

TEST_F(ZmaExportTest, WritesTheSelectedChannelForCrossoverTools)
{
    settings.CsvDir = dir.path().string();
    NewWindow();
    OpenMeasured("woofer unit.q5imp", Woofer());
    const GermanLocale german;
    const std::string path = Export("woofer unit.zma");

    ASSERT_EQ(dialogs.asked.size(), 1);
    const FileDialogRequest& asked = dialogs.asked[0];
    EXPECT_EQ(asked.title, QStringLiteral("ZMA形式で保存"));
    EXPECT_EQ(asked.filter, QStringLiteral("ZMA (*.zma)"));
    EXPECT_EQ(asked.defaultSuffix, QStringLiteral("zma"));
    EXPECT_EQ(asked.fileName, QStringLiteral("woofer unit.zma"));
    EXPECT_EQ(asked.initialFolder.toStdString(), dir.path().string() + "/");
    ASSERT_EQ(dialogs.optionTexts.size(), 1);
    EXPECT_TRUE(dialogs.optionTexts[0].startsWith(QStringLiteral("位相を 0 で書き出す")));
    EXPECT_FALSE(dialogs.optionShownChecked[0]);
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    EXPECT_EQ(form->settings.CsvDir, dir.path().string());

    const ZmaFile z = ReadZma(path);
    EXPECT_FALSE(z.badLine);
    EXPECT_FALSE(z.commentAfterData);
    ASSERT_GE(z.comments.size(), 4u);
    const std::string all = [&] {
        std::string s;
        for (const std::string& c : z.comments)
            s += c + "\n";
        return s;
    }();
    EXPECT_NE(all.find("* Curve: " + Utf8ToSjis("ウーファー").value() + "\n"), std::string::npos) << all;
    EXPECT_NE(all.find("* Channel: 1\n"), std::string::npos) << all;
    EXPECT_NE(all.find("* Date: " + Today() + "\n"), std::string::npos) << all;
    EXPECT_NE(all.find("derived from |Z|, not measured"), std::string::npos) << all;

    // Grid points 5..100 without the empty point 60, ascending, as stored.
    std::vector<int> expected;
    for (int j = 5; j <= 100; ++j)
        if (j != 60)
            expected.push_back(j);
    ASSERT_EQ(z.hz.size(), expected.size());
    const qlxsim::Points points = qlxsim::CurveOf(kWoofer);
    double previous = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        const int j = expected[i];
        EXPECT_EQ(z.hz[i], FreqHz[j]);
        const double hz = Read(z.hz[i]);
        EXPECT_GT(hz, previous);
        previous = hz;
        EXPECT_EQ(Read(z.ohm[i]), points[j] / 10.0) << z.ohm[i];
        const double deg = Read(z.deg[i]);
        EXPECT_GE(deg, -90);
        EXPECT_LE(deg, 90);
        for (const std::string* field : {&z.hz[i], &z.ohm[i], &z.deg[i]})
            EXPECT_EQ(field->find(','), std::string::npos) << *field;
        // Inductive below the resonance, capacitive just above it.
        if (hz < 0.7 * kWoofer.fs) {
            EXPECT_GT(deg, 10) << hz;
        } else if (hz > 1.4 * kWoofer.fs && hz < 150) {
            EXPECT_LT(deg, -10) << hz;
        }
    }
    if (!german.on())
        std::cout << "[ note ] de_DE.UTF-8 is not installed: written in the default locale only\n";
}

TEST_F(ZmaExportTest, PhaseZeroOptionIsOfferedAndKeptForTheSession)
{
    OpenMeasured("unit.q5imp", Woofer());
    const ZmaFile zero = ReadZma(Export("zero.zma", true));
    ASSERT_EQ(zero.deg.size(), 95u);
    for (const std::string& d : zero.deg)
        EXPECT_EQ(d, "0.00");
    bool saysZero = false;
    for (const std::string& c : zero.comments)
        saysZero |= c == "* Phase: not measured, written as 0";
    EXPECT_TRUE(saysZero);

    const ZmaFile estimated = ReadZma(Export("estimated.zma", false));
    ASSERT_EQ(dialogs.optionShownChecked.size(), 2);
    EXPECT_TRUE(dialogs.optionShownChecked[1]) << "the last choice is offered again";
    ASSERT_EQ(estimated.deg.size(), 95u);
    int nonZero = 0;
    for (const std::string& d : estimated.deg)
        nonZero += d != "0.00";
    EXPECT_GT(nonZero, 80);
    EXPECT_EQ(estimated.ohm, zero.ohm);
}

TEST_F(ZmaExportTest, NothingToWriteCancelAndFileFailuresAreHandled)
{
    // Channel 2 of an NL 4 curve that holds nothing there.
    OpenMeasured("nl4.q5imp", SpeakerCurve("NL4", "E", {kWoofer}));
    form->ui.imp.SelChButton[1]->click();
    ASSERT_EQ(form->curves.SelectedChannel, 1);
    form->ui.menus.FileImpZmaSaveMenu->trigger();
    EXPECT_TRUE(dialogs.asked.isEmpty());
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("チャンネル2 には測定点がないため、ZMA形式で保存できません。"));

    // Cancelled: no file, the folder stays.
    form->ui.imp.SelChButton[0]->click();
    form->settings.CsvDir = "/nowhere/kept";
    dialogs.answers.push_back(std::nullopt);
    form->ui.menus.FileImpZmaSaveMenu->trigger();
    EXPECT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(form->settings.CsvDir, "/nowhere/kept");
    EXPECT_TRUE(dialogs.asked[0].fileName.isEmpty()) << "no folder, no proposed name";

    // A folder that is not there: the file layer's message names the path.
    const std::string missing = dir.file("gone/unit.zma");
    dialogs.answers.push_back(QString::fromStdString(missing));
    form->ui.menus.FileImpZmaSaveMenu->trigger();
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_TRUE(dialogs.errors[1].contains(QString::fromStdString(missing))) << dialogs.errors[1].toStdString();
}

}  // namespace
}  // namespace qlx
