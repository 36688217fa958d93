// The main window: construction, the menus' connections, pages, and the
// window-level keys and wheel.
#include "app/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>

#include "app/com_port_dialog.h"
#include "app/download_page.h"
#include "app/export_commands.h"
#include "app/print_commands.h"
#include "app/print_dialogs.h"
#include "app/program_version.h"
#include "app/ref_list_page.h"
#include "app/resonance_dialog.h"
#include "app/results_recorder.h"
#include "app/serial_devices.h"
#include "app/up_down.h"
#include "app/upload_panel.h"
#include "app/version_dialog.h"
#include "app/zma_export.h"
#include "model/freq_table.h"
#include "results/results_settings.h"
#include "ui/dlg_sinkou.h"

namespace qlx {

TMainForm::TMainForm(const Settings& s, FileDialogs& dialogs, QWidget* parent) : TMainForm(s, dialogs, nullptr, parent)
{}

TMainForm::TMainForm(const Settings& s, FileDialogs& dialogs, PrintDialogs& printDialogs, QWidget* parent)
    : TMainForm(s, dialogs, &printDialogs, parent)
{}

TMainForm::TMainForm(const Settings& s, FileDialogs& dialogs, PrintDialogs* printDialogs, QWidget* parent)
    : QMainWindow(parent), ui(BuildMainWindow(*this)), settings(s), dialogs_(dialogs)
{
    setWindowTitle(QStringLiteral("QLX-50 Manager Version %1").arg(QString::fromLatin1(kProgramVersion)));
    DescribeCurveKinds();
    ConnectMenus();
    ConnectCurveFields();
    refListPage =
        std::make_unique<RefListPage>(ui.PageControl, ui.upload, ui.menus, settings, MsgDlgs, dialogs_, nullptr);
    uploadPanel = std::make_unique<UploadPanel>(ui.upload, settings, curves, Instrument, *refListPage, nullptr);
    exportCommands = std::make_unique<ExportCommands>(
        ui.PageControl, ui.imp, ui.menus, settings, curves, dialogs_, [this] { ShowJudgement(); }, nullptr);
    if (!printDialogs) {
        ownPrintDialogs_ = std::make_unique<QtPrintDialogs>(this);
        printDialogs = ownPrintDialogs_.get();
    }
    printCommands = std::make_unique<PrintCommands>(ui.imp, ui.menus, *printDialogs, nullptr);
    ConnectGraphControls();
    ConnectCursorControls();
    ConnectMeasurement();
    downloadPage = std::make_unique<DownloadPage>(ui.download, ui.menus, settings, Instrument, nullptr);
    ConnectResults();

    // Window creation: default lines, editors from channel 0, cursor at 1 kHz.
    curves.FillDefaultLines();
    SetSpinnerPositions(PositionsForChannel(curves, 0));
    ui.imp.CursorFreqUpDown->SetPosition(kCursorStartIndex);
    ui.imp.CursorFreqEdit->setText(QString::fromStdString(FreqText(kCursorStartIndex)));
    ShowCurveFields(Curve(CurveKind::Measured));
    ShowCurveFields(Curve(CurveKind::Reference));
    curves.SelectedChannel = 0;
    RedrawGraph();
    CheckPrinters();

    resize(850, 650);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);
    focusConnection_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { EnableEditMenuFor(now); });
    CreateSideDialogs();
}

TMainForm::~TMainForm()
{
    // Focus changes while the widgets are torn down must not reach a
    // half-destroyed window.
    disconnect(focusConnection_);
    qApp->removeEventFilter(this);
}

void TMainForm::ConnectMenus()
{
    const MainMenus& m = ui.menus;
    connect(m.ExitMenu, &QAction::triggered, this, &QWidget::close);
    connect(m.EditUndoMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->undo(); }, [](QPlainTextEdit* e) { e->undo(); }); });
    connect(m.EditCutMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->cut(); }, [](QPlainTextEdit* e) { e->cut(); }); });
    connect(m.EditCopyMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->copy(); }, [](QPlainTextEdit* e) { e->copy(); }); });
    connect(m.EditPasteMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->paste(); }, [](QPlainTextEdit* e) { e->paste(); }); });
    for (int i = 0; i < static_cast<int>(m.ShowPageMenu.size()); ++i)
        connect(m.ShowPageMenu[i], &QAction::triggered, this, [this, i] { ShowPage(i); });

    connect(m.ImpCurveOpenAction, &QAction::triggered, this, [this] { OpenCurve(CurveKind::Measured); });
    connect(m.RefCurveOpenAction, &QAction::triggered, this, [this] { OpenCurve(CurveKind::Reference); });
    connect(ui.imp.ImpOpenButton, &QPushButton::clicked, this, [this] { OpenCurve(CurveKind::Measured); });
    connect(ui.imp.RefOpenButton, &QPushButton::clicked, this, [this] { OpenCurve(CurveKind::Reference); });
    connect(m.ImpFileSaveMenu, &QAction::triggered, this, [this] { SaveCurve(CurveKind::Measured); });
    connect(m.RefFileSaveMenu, &QAction::triggered, this, [this] { SaveCurve(CurveKind::Reference); });
    connect(m.ImpFileSaveAsMenu, &QAction::triggered, this, [this] { SaveCurveAs(CurveKind::Measured); });
    connect(m.RefFileSaveAsMenu, &QAction::triggered, this, [this] { SaveCurveAs(CurveKind::Reference); });
}

void TMainForm::CreateSideDialogs()
{
    ComPortNoDialog = new TComPortNoDialog(settings.ComPortName, ListSerialDevices("/"), this);
    VerDlg = new TVerDlg(this);
    connect(ui.menus.ComPortMenu, &QAction::triggered, ComPortNoDialog, [this] {
        ComPortNoDialog->RefreshDevices(ListSerialDevices("/"));
        ComPortNoDialog->ShowModeless();
    });
    connect(ui.menus.VersionMenu, &QAction::triggered, VerDlg, &TVerDlg::ShowModeless);

    resonanceDialog = new ResonanceDialog(curves, OpenProgramSettings(), this);
    connect(ui.menus.ResonanceMenu, &QAction::triggered, resonanceDialog, &ResonanceDialog::ShowModeless);
    zmaExport = std::make_unique<ZmaExport>(curves, settings, dialogs_);
    connect(ui.menus.FileImpZmaSaveMenu, &QAction::triggered, this,
            [this] { zmaExport->Run(resonanceDialog->CurrentRe()); });
}

void TMainForm::OpenStartFile(const std::string& path, bool referenceList)
{
    if (referenceList)
        refListPage->OpenFromStart(path);
    else
        OpenCurve(CurveKind::Measured, path);
}

void TMainForm::CheckPrinters() { printCommands->CheckPrinters(); }

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!Instrument.busy()) {
        resultsRecorder->SessionEnding();
        QMainWindow::closeEvent(event);
        return;
    }
    // The operation runs further down this thread's stack; it must end (a
    // sweep sends its stop command, the port is closed) before the window
    // goes, or its progress dialog would keep the program alive unseen.
    event->ignore();
    TDlgSinkou::RequestCancel();
    if (closeWhenIdle_)
        return;
    closeWhenIdle_ = true;
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        TDlgSinkou::RequestCancel();  // an operation may open its dialog after the close
        if (Instrument.busy())
            return;
        poll->deleteLater();
        close();
    });
    poll->start(20);
}

void TMainForm::ShowPage(int index) { ui.PageControl->setCurrentIndex(index); }

void TMainForm::EnableEditMenuFor(QWidget* now)
{
    const ImpedancePageUi& p = ui.imp;
    const bool text = now && (now == p.ImpNameEdit || now == p.RefNameEdit || now == p.ImpMemo || now == p.RefMemo);
    ui.menus.EditMenu->setEnabled(text);
    ui.menus.EditMenu->menuAction()->setEnabled(text);
}

void TMainForm::EditCommand(void (*lineEdit)(QLineEdit*), void (*textEdit)(QPlainTextEdit*))
{
    QWidget* focus = QApplication::focusWidget();
    if (auto* e = qobject_cast<QLineEdit*>(focus))
        lineEdit(e);
    else if (auto* t = qobject_cast<QPlainTextEdit*>(focus))
        textEdit(t);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // Keys and the wheel reach the window before its controls, but only while
    // no modal dialog is up.
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool ours = widget && widget->window() == this && QApplication::activeModalWidget() == nullptr;
    if (ours && event->type() == QEvent::KeyPress) {
        if (HandleWindowKey(static_cast<QKeyEvent*>(event)->key()))
            return true;
    } else if (ours && event->type() == QEvent::Wheel) {
        if (HandleWheel(static_cast<QWheelEvent*>(event)->angleDelta().y()))
            return true;
    } else if (event->type() == QEvent::MouseButtonPress &&
               (watched == ui.imp.ImpNameEdit || watched == ui.imp.RefNameEdit)) {
        TrimNameEdit(static_cast<QLineEdit*>(watched));
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::HandleWindowKey(int key)
{
    WindowKey k = WindowKey::Other;
    switch (key) {
    case Qt::Key_PageUp: k = WindowKey::PageUp; break;
    case Qt::Key_PageDown: k = WindowKey::PageDown; break;
    case Qt::Key_F11: k = WindowKey::F11; break;
    case Qt::Key_F12: k = WindowKey::F12; break;
    default: return false;
    }
    const WindowKeyContext ctx{ui.PageControl->currentIndex() == 0, ui.imp.GraphLevelScrollBar->isVisible(),
                               curves.CursorOn};
    switch (KeyAction(k, ctx)) {
    case WindowAction::LevelUp: LevelScrollBy(-1); return true;
    case WindowAction::LevelDown: LevelScrollBy(+1); return true;
    case WindowAction::CursorDown: CursorStepBy(-1); return true;
    case WindowAction::CursorUp: CursorStepBy(+1); return true;
    case WindowAction::None: return false;
    }
    return false;
}

bool TMainForm::HandleWheel(int angleDelta)
{
    const WindowKeyContext ctx{ui.PageControl->currentIndex() == 0, ui.imp.GraphLevelScrollBar->isVisible(),
                               curves.CursorOn};
    if (WheelAction(angleDelta, ctx) == WindowAction::None)
        return false;
    LevelScrollBy(-wheelNotches_.Add(angleDelta));  // wheel up raises the band: a smaller position
    return true;
}

}  // namespace qlx
