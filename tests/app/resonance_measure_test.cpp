// The run command's case: WOOFER-16A as reference, F9 against the simulated
// instrument, and the resonance dialog shows the simulated speaker's f0.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <optional>
#include <vector>

#include "app/mainform.h"
#include "app/resonance_dialog.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "scripted_file_dialogs.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

constexpr double kWooferFs = 52;  // WOOFER-16A of the simulator's memory
constexpr double kWooferRe = 6.4;

double Shown(ResonanceDialog& d, ResonanceQuantity q, int column)
{
    bool ok = false;
    const QString text = d.ui.valueTable->item(1 + static_cast<int>(q), column)->text();
    const double v = QString(text).remove(QStringLiteral(" *")).toDouble(&ok);
    EXPECT_TRUE(ok) << text.toStdString();
    return v;
}

TEST(ResonanceAfterMeasurement, DialogShowsTheSimulatedWoofersResonance)
{
    qlxtest::TempDir dir, config;
    const std::optional<QByteArray> savedConfigHome =
        qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? std::optional(qgetenv("XDG_CONFIG_HOME")) : std::nullopt;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));

    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 3, std::nullopt, {}}};
    qlxtest::ScriptedFileDialogs dialogs;
    Settings settings;
    settings.ComPortName = sim.devicePath();
    {
        TMainForm form(settings, dialogs);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        // The sweep's wait grows with the judgement range: 28 Hz to 237 Hz
        // holds the resonance and keeps the test short.
        CurveLines woofer = sim.Memory().ref[0];
        for (int ch = 0; ch < kChannelCount; ++ch) {
            SetCodeAt(woofer[FreqRangeLine], 2 + 2 * ch, 6);
            SetCodeAt(woofer[FreqRangeLine], 3 + 2 * ch, 43);
        }
        const std::string ref = dir.file("WOOFER-16A.q5imp");
        ASSERT_TRUE(WriteCurveFile(ref, woofer).ok);
        form.OpenCurve(CurveKind::Reference, ref);
        ResonanceDialog& dialog = *form.resonanceDialog;
        form.ui.menus.ResonanceMenu->trigger();
        QTest::keyClicks(dialog.ui.reEdit, QStringLiteral("6.4"));
        EXPECT_NEAR(Shown(dialog, ResonanceQuantity::kF0, 1), kWooferFs, 0.01 * kWooferFs);

        std::vector<double> f0s;
        for (int run = 0; run < 3; ++run) {
            form.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
            form.ui.menus.RemoteMeasureMenu->trigger();
            ASSERT_TRUE(form.curves.ImpLoaded) << run;
            const double f0 = Shown(dialog, ResonanceQuantity::kF0, 0);
            // A faulty unit's resonance lies up to a fifth lower.
            EXPECT_GT(f0, 0.75 * kWooferFs) << run;
            EXPECT_LT(f0, 1.1 * kWooferFs) << run;
            const double qt = Shown(dialog, ResonanceQuantity::kQt, 0);
            EXPECT_GT(qt, 0.3) << run;
            EXPECT_LT(qt, 1.5) << run;
            EXPECT_GE(Shown(dialog, ResonanceQuantity::kZmin, 0), 0.9 * kWooferRe) << run;
            f0s.push_back(f0);
        }
        std::sort(f0s.begin(), f0s.end());
        EXPECT_NEAR(f0s[f0s.size() / 2], kWooferFs, 0.05 * kWooferFs);
    }
    if (savedConfigHome)
        qputenv("XDG_CONFIG_HOME", *savedConfigHome);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace qlx
