// qlx50-screenshots DIR: the pictures of the README, taken from the program's
// own windows. A simulated QLX-50 runs in this process; the window opens a
// reference curve, measures a few units, lists the instrument's curves and
// opens a reference list, the resonance dialog and the results window, and
// each is grabbed into DIR as PNG. Run it under Xvfb (scripts/screenshots.sh).
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_setup.h"
#include "app/download_page.h"
#include "app/file_dialogs.h"
#include "app/mainform.h"
#include "app/re_memory.h"
#include "app/ref_list_page.h"
#include "app/resonance_dialog.h"
#include "app/results_window.h"
#include "model/curve_file.h"
#include "model/curve_lines.h"
#include "model/file_io.h"
#include "model/ref_list.h"
#include "qlx50_sim.h"
#include "results/results_settings.h"
#include "sim_memory.h"

namespace {

bool Save(QWidget& widget, const QString& dir, const char* name)
{
    QApplication::processEvents();
    const QString path = dir + "/" + QString::fromLatin1(name);
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "qlx50-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A button handler that acts only with the focus, pressed as a user does.
void Press(QPushButton* button)
{
    button->setFocus();
    button->click();
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qlx50-screenshots DIR\n");
        return 2;
    }
    // The results log and the program's settings of this run only.
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/QLX-50-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", QByteArray((work.path() + "/config").toUtf8()));
    qputenv("XDG_DATA_HOME", QByteArray((work.path() + "/data").toUtf8()));

    QApplication app(argc, argv);
    qlx::SetUpApplication();
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);

    // The simulated instrument, with short sweeps so that the run is quick.
    qlxsim::SimConfig config;
    config.sweepMs = 600;
    qlxsim::Qlx50Sim sim(config);
    const std::string curves = (work.path() + "/curves").toStdString();
    std::string error;
    if (!sim.Memory().ExportReferences(curves, error)) {
        std::fprintf(stderr, "qlx50-screenshots: %s\n", error.c_str());
        return 1;
    }

    qlx::Settings settings;
    settings.ComPortName = sim.devicePath();
    qlx::QtFileDialogs dialogs(nullptr);
    qlx::TMainForm window(settings, dialogs);
    dialogs.SetParent(&window);
    window.show();
    Wait(300);

    window.activateWindow();
    QApplication::setActiveWindow(&window);  // no window manager under Xvfb

    // Impedance page: woofers judged against their reference, cursor on; the
    // reference's Re known, so the results log gets Qts too. A few units,
    // the last one a good one.
    const std::string reference = curves + "/WOOFER-16A.q5imp";
    qlx::ReMemory(*qlx::OpenProgramSettings()).Set(reference, 6.4);
    window.OpenCurve(qlx::CurveKind::Reference, reference);
    window.ui.menus.CursorOnMenu->trigger();
    for (int unit = 0; unit < 12 && (unit < 6 || window.judgeResult != qlx::JudgeResult::Ok); ++unit)
        window.ui.menus.RemoteMeasureMenu->trigger();
    window.MoveCursorTo(20);
    bool ok = Save(window, out, "impedance.png");

    // Download page: both lists read from the instrument.
    window.ui.PageControl->setCurrentIndex(1);
    Press(window.ui.download.RefCurveListButton);
    Press(window.ui.download.ImpCurveListButton);
    ok = Save(window, out, "download.png") && ok;

    // Upload page: a reference list of the exported curves.
    qlx::RefList list;
    int row = 1;
    for (const char* name : {"WOOFER-16A", "2WAY NL4", "ARRAY NL8", "MID-6.5", "FULLRANGE 8"}) {
        qlx::CurveLines lines{};
        qlx::RefListRow& r = list.Row(row++);
        r.fileName = name;
        r.folder = curves;
        if (qlx::ReadCurveFile(qlx::RowCurvePath(r), lines))
            r.name = qlx::BracketPayload(lines[qlx::NameLine]);
    }
    list.Row(8) = {"TWEETER-25", "TWEETER-25", curves + "/moved", false};  // a file that is gone
    const std::string listPath = (work.path() + "/line-3.q5lst").toStdString();
    if (!qlx::WriteFileBytes(listPath, qlx::RefListFileBytes(list)))
        std::fprintf(stderr, "qlx50-screenshots: cannot write %s\n", listPath.c_str());
    window.refListPage->OpenFromStart(listPath);
    window.ui.PageControl->setCurrentIndex(2);
    ok = Save(window, out, "upload.png") && ok;

    // The resonance dialog beside the impedance page, with an Re given.
    window.ui.PageControl->setCurrentIndex(0);
    window.ui.menus.ResonanceMenu->trigger();
    ok = Save(*window.resonanceDialog, out, "resonance.png") && ok;
    window.resonanceDialog->hide();

    // The results window after the units measured above.
    window.ui.menus.ResultsHistoryMenu->trigger();
    Wait(300);
    ok = Save(*window.resultsWindow, out, "results.png") && ok;
    return ok ? 0 : 1;
}
