#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "app/curve_descriptor.h"
#include "app/settings.h"
#include "app/window_keys.h"
#include "app/window_ui.h"
#include "comm/instrument_session.h"
#include "graph/graph_level.h"
#include "graph/redraw_graph.h"
#include "judge/cursor.h"
#include "judge/judge_result.h"
#include "judge/threshold_editors.h"
#include "model/curve_state.h"
#include "ui/main_msg_dlgs.h"
#include "ui/qt_instrument_ui.h"

namespace qlx {

class DownloadPage;
class ExportCommands;
class FileDialogs;
class PrintCommands;
class PrintDialogs;
class RefListPage;
class ResonanceDialog;
class ZmaExport;
class ResultsRecorder;
class ResultsWindow;
class TComPortNoDialog;
class TVerDlg;
class UploadPanel;

// The program's one window. It holds what the pages share — the settings,
// both curves with their derived state, the graph and the instrument — and
// connects the menus. The controls are built by BuildMainWindow into `ui`;
// a page with behaviour of its own is a class of its own (RefListPage,
// DownloadPage, UploadPanel, ExportCommands, PrintCommands, ...).
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // `settings` are the values read from "Default.dat" before the window
    // exists; `dialogs` shows the file dialogs and file errors.
    TMainForm(const Settings& settings, FileDialogs& dialogs, QWidget* parent = nullptr);
    // With the printing dialogs given (tests answer them from a script); the
    // constructor above shows the platform's.
    TMainForm(const Settings& settings, FileDialogs& dialogs, PrintDialogs& printDialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Opens the file named on the command line (already checked to exist).
    void OpenStartFile(const std::string& path, bool referenceList);

    // ---- controls and shared state -------------------------------------------
    MainWindowUi ui;
    Settings settings;
    CurveState curves;

    // ---- curves (mainform_curves.cpp) ------------------------------------------
    // Open a curve file; with an empty path the open dialog asks for one.
    void OpenCurve(CurveKind kind, const std::string& path = {});
    void SaveCurve(CurveKind kind);
    void SaveCurveAs(CurveKind kind);
    CurveDescriptor& Curve(CurveKind kind) { return curveKinds_[static_cast<std::size_t>(kind)]; }

    // ---- graph, judgement, cursor, zoom (mainform_graph.cpp, mainform_cursor.cpp)
    // Rebuilds the whole graph picture and judges the selected channel.
    void RedrawGraph();
    // Paints the graph and the judgement badge on the screen now instead of
    // on the event loop's next turn, so that whatever runs next (the results
    // log's write) comes after the verdict is seen.
    void PaintVerdictNow();
    // Moves the level scroll bar by steps (-1 up, +1 down) of its step size.
    void LevelScrollBy(int steps);
    // Moves the cursor one grid step (+1 up, -1 down) and refreshes readouts.
    void CursorStepBy(int steps);
    // After a curve was opened or measured: readouts, threshold and range
    // fields, channel controls, judgement and graph are refreshed.
    void CurveLoaded();
    // After a curve was opened or measured while the cursor is on: enables
    // the cursor readouts that now have data.
    void EnableCursorReadouts();

    ImpGraphImages graphImages;     // GraphGridImage, DrawImpGraphImage, ImpGraphImage
    GraphLevel graphLevel;          // GraphZoom, LevelOffset, the level scroll bar's settings
    CursorSearches cursorSearches;  // ImpMaxIndex .. DeviationMaxIndex
    JudgeResult judgeResult = JudgeResult::None;

    // Channel selection; nothing happens when c already is the selected one.
    void SelectChannel(int c);
    // Flips bit 0, 1 or 2 of ShownCurves.
    void ToggleShownCurve(int bit);
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    void CursorOnButtonClick();
    // Every cursor move: clamps, shows the frequency, redraws.
    void MoveCursorTo(int k);
    void ShowThresholds();
    void ShowRange();

    // ---- pages ---------------------------------------------------------------
    std::unique_ptr<RefListPage> refListPage;
    std::unique_ptr<DownloadPage> downloadPage;
    // The upload of the open reference curve and of the list (upload page).
    std::unique_ptr<UploadPanel> uploadPanel;
    // The File menu's CSV and picture exports, printer set-up and prints.
    std::unique_ptr<ExportCommands> exportCommands;
    std::unique_ptr<PrintCommands> printCommands;

    // ---- instrument (mainform_measure.cpp) -------------------------------------
    // The window's message dialogs.
    MainMsgDlgs MsgDlgs;
    // The instrument line, opened afresh by every instrument operation.
    Trs232c Rs232c;
    // Messages, progress dialog and event processing of instrument operations.
    QtInstrumentUi InstrumentDialogs{MsgDlgs, this};
    // The protocol on Rs232c; one instrument operation at a time.
    InstrumentSession Instrument{Rs232c, InstrumentDialogs};

    // Remote measurement of button "測定開始" and menu item F9: acts only when
    // MeasStartButton has the focus or the sender is RemoteMeasureMenu.
    void MeasStartButton2Click(QObject* sender);

    // ---- results log (mainform_results.cpp) -------------------------------------
    // Records every remote measurement; made with the window.
    std::unique_ptr<ResultsRecorder> resultsRecorder;
    // "測定履歴(&H)...": made when first asked for, then kept.
    ResultsWindow* resultsWindow = nullptr;
    void ShowResultsWindow();

    // ---- COM port and version dialogs ------------------------------------------
    TComPortNoDialog* ComPortNoDialog = nullptr;
    TVerDlg* VerDlg = nullptr;

    // ---- resonance (ツール) and its ZMA export (ファイル) -------------------------
    ResonanceDialog* resonanceDialog = nullptr;
    std::unique_ptr<ZmaExport> zmaExport;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing while an instrument operation runs stops it as its cancel
    // button would; the window closes once the operation has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    // mainform.cpp
    TMainForm(const Settings& settings, FileDialogs& dialogs, PrintDialogs* printDialogs, QWidget* parent);
    void ConnectMenus();
    void CheckPrinters();
    void ShowPage(int index);
    void EnableEditMenuFor(QWidget* now);
    void EditCommand(void (*lineEdit)(QLineEdit*), void (*textEdit)(QPlainTextEdit*));
    bool HandleWindowKey(int key);
    bool HandleWheel(int angleDelta);
    void CreateSideDialogs();

    // mainform_curves.cpp
    void DescribeCurveKinds();
    void ConnectCurveFields();
    void ShowCurveFields(CurveDescriptor& d);
    void SetNameFromEdit(CurveDescriptor& d);
    void SetMemoFromEdit(CurveDescriptor& d);
    void TrimNameEdit(QLineEdit* edit);
    // The steps every new curve of a kind goes through, opened or measured.
    void CurveReplaced(CurveDescriptor& d);

    // mainform_graph.cpp
    void ConnectGraphControls();
    void ColourChannelButtons();
    void ColourCurveButtons();
    void EditorClicked(ThresholdEditor e);
    void EditorKeyPressed(ThresholdEditor e, int key);
    void ShowEditorChange(ThresholdEditor e, const EditorPositions& pos);
    EditorPositions SpinnerPositions() const;
    void SetSpinnerPositions(const EditorPositions& pos);
    UpDown* SpinnerOf(ThresholdEditor e) const;
    void ShowZoom();
    void ShowLevelLabels();
    void GraphLevelScrollBarChange(int position);
    void ShowJudgement();

    // mainform_cursor.cpp
    void ConnectCursorControls();
    void SearchImp();
    void SearchRef();
    void SearchDeviation();
    void ColourCursorButtons();
    void SetCursorReadouts(const CursorReadouts& r);
    void SetCursorControls(const CursorControls& c);

    // mainform_measure.cpp
    void ConnectMeasurement();

    // mainform_results.cpp
    void ConnectResults();

    FileDialogs& dialogs_;
    std::unique_ptr<PrintDialogs> ownPrintDialogs_;
    std::array<CurveDescriptor, 2> curveKinds_;
    WheelNotches wheelNotches_;
    QMetaObject::Connection focusConnection_;
    bool closeWhenIdle_ = false;
};

}  // namespace qlx
