#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "app/settings.h"
#include "app/window_keys.h"
#include "comm/instrument_session.h"
#include "graph/graph_level.h"
#include "graph/redraw_graph.h"
#include "judge/cursor.h"
#include "judge/threshold_editors.h"
#include "model/curve_state.h"
#include "ui/main_msg_dlgs.h"
#include "ui/qt_instrument_ui.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QTreeWidget;

namespace qlx {

class FileDialogs;
class RefListEditor;
class RefListUi;
class TComPortNoDialog;
class TVerDlg;
class TGraphView;
class TUpDown;

// Which curve a file command works on.
enum class CurveKind { Measured, Reference };

// The program's one window. It owns the two curves with their derived state,
// the settings and every control; the logic behind the controls lives in the
// model, judge, graph and comm layers.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // `settings` are the values read from "Default.dat" before the window
    // exists; `dialogs` shows the file dialogs and file errors.
    TMainForm(const Settings& settings, FileDialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Opens the file named on the command line (already checked to exist).
    void OpenStartFile(const std::string& path, bool referenceList);

    // ---- state -----------------------------------------------------------
    Settings settings;
    CurveState curves;

    // ---- menu items ------------------------------------------------------
    QAction* FileNewItem = nullptr;
    QAction* ImpCurveOpenAction = nullptr;
    QAction* RefCurveOpenAction = nullptr;
    QAction* RefListFileOpenMenu = nullptr;
    QAction* ImpFileSaveMenu = nullptr;
    QAction* RefFileSaveMenu = nullptr;
    QAction* RefListFileSaveMenu = nullptr;
    QAction* ImpFileSaveAsMenu = nullptr;
    QAction* RefFileSaveAsMenu = nullptr;
    QAction* RefListFileSaveAsMenu = nullptr;
    QAction* SaveImpPageImageMenu = nullptr;
    QAction* SaveGraphImageMenu = nullptr;
    QAction* FileImpCsvSaveMenu = nullptr;
    QAction* FileRefListCsvSaveMenu = nullptr;
    QAction* PrinterSetupMenu = nullptr;
    QAction* FilePrintMenu = nullptr;
    QAction* FileGraphPrintMenu = nullptr;
    QAction* ExitMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QAction* EditUndoMenu = nullptr;
    QAction* EditCutMenu = nullptr;
    QAction* EditCopyMenu = nullptr;
    QAction* EditPasteMenu = nullptr;
    std::array<QAction*, 3> ShowPageMenu{};
    std::array<QAction*, 4> SelChMenu{};
    QAction* ImpCurveShowMenu = nullptr;
    QAction* RefCurveShowMenu = nullptr;
    QAction* ThCurveShowMenu = nullptr;
    QAction* GraphZoomInMenu = nullptr;
    QAction* GraphZoomOutMenu = nullptr;
    QAction* GraphZoomResetMenu = nullptr;
    QAction* CursorOnMenu = nullptr;
    QAction* RemoteMeasureMenu = nullptr;
    QAction* ImpDownloadMenu = nullptr;
    QAction* RefDownloadMenu = nullptr;
    QAction* ComPortMenu = nullptr;
    QAction* VersionMenu = nullptr;

    // ---- pages -----------------------------------------------------------
    QTabWidget* PageControl = nullptr;
    QWidget* ImpPage = nullptr;
    QWidget* DownloadPage = nullptr;
    QWidget* UploadPage = nullptr;

    // ---- impedance page: graph, zoom, level --------------------------------
    TGraphView* ImpGraphImage = nullptr;
    std::array<QLabel*, 6> ImpLabel{};  // ImpLabel1 (bottom) .. ImpLabel6 (top)
    QScrollBar* GraphLevelScrollBar = nullptr;
    QToolButton* FitBtn = nullptr;
    QToolButton* X1Btn = nullptr;
    QToolButton* PlusBtn = nullptr;
    QToolButton* MinusBtn = nullptr;

    // ---- impedance page: measured curve --------------------------------------
    QLineEdit* ImpNameEdit = nullptr;
    QLineEdit* ImpFileNameEdit = nullptr;
    QPlainTextEdit* ImpMemo = nullptr;
    QLineEdit* ImpTerminalEdit = nullptr;
    QPushButton* ImpOpenButton = nullptr;

    // ---- impedance page: channels and shown curves ----------------------------
    std::array<QPushButton*, 4> SelChButton{};   // SelCh1Button .. SelCh4Button
    std::array<QCheckBox*, 4> DrawChCheckBox{};  // DrawCh1CheckBox .. DrawCh4CheckBox
    QPushButton* ImpCurveButton = nullptr;
    QPushButton* RefCurveButton = nullptr;
    QPushButton* ThCurveButton = nullptr;

    // ---- impedance page: cursor ----------------------------------------------
    QPushButton* CursorOnButton = nullptr;
    QLineEdit* CursorFreqEdit = nullptr;
    TUpDown* CursorFreqUpDown = nullptr;
    QLineEdit* CursorImpEdit = nullptr;
    QLineEdit* CursorPercentEdit = nullptr;
    QLineEdit* CursorRefEdit = nullptr;
    QPushButton* CursorMaxButton = nullptr;
    QPushButton* CursorMinButton = nullptr;
    QPushButton* HensaMaxButton = nullptr;
    QPushButton* CursorRefMaxButton = nullptr;
    QPushButton* CursorRefMinButton = nullptr;

    // ---- impedance page: reference curve, thresholds, range ----------------------
    QLineEdit* RefFileNameEdit = nullptr;
    QLineEdit* RefNameEdit = nullptr;
    QPlainTextEdit* RefMemo = nullptr;
    QComboBox* RefTerminalBox = nullptr;
    QCheckBox* RefProtectCheckBox = nullptr;
    QPushButton* RefOpenButton = nullptr;
    QLineEdit* ThNg1Edit = nullptr;
    QLineEdit* ThNg2Edit = nullptr;
    QLineEdit* ThNg3Edit = nullptr;
    TUpDown* ThNg1UpDown = nullptr;
    TUpDown* ThNg2UpDown = nullptr;
    TUpDown* ThNg3UpDown = nullptr;
    QLabel* JudgeLabel = nullptr;
    // JudgeOkImage, JudgeNg1hImage, JudgeNg1lImage, JudgeNg2hImage,
    // JudgeNg2lImage, JudgeNg3hImage, JudgeNg3lImage, in that order.
    std::array<QLabel*, 7> JudgeImage{};
    QLineEdit* MinFreqEdit = nullptr;
    QLineEdit* MaxFreqEdit = nullptr;
    TUpDown* MinFreqUpDown = nullptr;
    TUpDown* MaxFreqUpDown = nullptr;

    // ---- impedance page: remote measurement --------------------------------------
    QCheckBox* SelChOnlyCheckBox = nullptr;
    QPushButton* MeasStartButton = nullptr;

    // ---- download page -----------------------------------------------------
    QPushButton* AllRefNoDownLoadButton = nullptr;
    QPushButton* RefCurveListButton = nullptr;
    QTreeWidget* RefCurveListView = nullptr;
    QPushButton* ListSelRefNoDownLoadButton = nullptr;
    QPushButton* AllImpDownLoadButton = nullptr;
    QPushButton* ImpCurveListButton = nullptr;
    QTreeWidget* ImpCurveListView = nullptr;
    QPushButton* ListSelImpDownLoadButton = nullptr;

    // ---- upload page --------------------------------------------------------
    QLineEdit* UploadRefNoLabeledEdit = nullptr;
    TUpDown* UploadRefNoUpDown = nullptr;
    QPushButton* OpenRefCurveUploadButton = nullptr;
    QLineEdit* RefListFileNameEdit = nullptr;
    QTableWidget* RefListStringGrid = nullptr;
    QPushButton* RefListRowInsertButton = nullptr;
    QPushButton* RefListRowDeleteButton = nullptr;
    QToolButton* NewRefListButton = nullptr;
    QToolButton* RefListSaveButton = nullptr;
    QToolButton* RefListOpenButton = nullptr;
    QPushButton* RefListUploadButton = nullptr;

    // ---- curve files ---------------------------------------------------------
    // Open a curve file; with an empty path the open dialog asks for one.
    void OpenCurve(CurveKind kind, const std::string& path = {});
    void SaveCurve(CurveKind kind);
    void SaveCurveAs(CurveKind kind);

    // Shows the curve's file name, name, memo and terminal from its lines.
    void ShowCurveFields(CurveKind kind);

    // ---- graph, judgement, cursor, zoom (mainform_graph.cpp) -------------------
    // Rebuilds the whole graph picture and judges the selected channel.
    void RedrawGraph();
    // Moves the level scroll bar by steps (-1 up, +1 down) of its step size.
    void LevelScrollBy(int steps);
    // Moves the cursor one grid step (+1 up, -1 down) and refreshes readouts.
    void CursorStepBy(int steps);
    // After a curve was opened or measured: readouts, threshold and range
    // fields, channel controls, judgement and graph are refreshed.
    void CurveLoaded(CurveKind kind);
    // After a curve was opened or measured while the cursor is on: enables
    // the cursor readouts that now have data.
    void EnableCursorReadouts();

    ImpGraphImages graphImages;     // GraphGridImage, DrawImpGraphImage, ImpGraphImage
    GraphLevel graphLevel;          // GraphZoom, LevelOffset, the level scroll bar's settings
    CursorSearches cursorSearches;  // ImpMaxIndex .. DeviationMaxIndex
    std::string JudgeResult;

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

    // ---- reference list (mainform_reflist.cpp) ---------------------------------
    // Opens the list named on the command line.
    void OpenRefListFromStart(const std::string& path);
    // The button handlers act only while their button holds the focus; the
    // menu items call them with fromMenu.
    void RefListOpenButtonClick(bool fromMenu);
    void NewRefListButtonClick();
    void RefListSaveButtonClick();
    void RefListFileSaveMenuClick();
    void RefListFileSaveAsMenuClick();
    void RefListRowInsertButtonClick();
    void RefListRowDeleteButtonClick();
    void RefListStringGridDblClick();
    void FileRefListCsvSaveMenuClick();
    // Top row of the grid's selection (1..64), 0 when nothing is selected.
    int RefListSelectedRow() const;
    // Grid, file name and the five list controls from the editor's state.
    void ShowRefList();

    // The window's message dialogs.
    MainMsgDlgs MsgDlgs;
    // Rows, RefListFilePath, RefListModified, RowMissing and the commands.
    std::unique_ptr<RefListEditor> ListEditor;

    // ---- instrument (mainform_measure.cpp) ---------------------------------------
    // The instrument line, opened afresh by every instrument operation.
    Trs232c Rs232c;
    // Messages, progress dialog and event processing of instrument operations.
    QtInstrumentUi InstrumentDialogs{MsgDlgs, this};
    // The protocol on Rs232c; one instrument operation at a time.
    InstrumentSession Instrument{Rs232c, InstrumentDialogs};

    // Remote measurement of button "測定開始" and menu item F9: acts only when
    // MeasStartButton has the focus or the sender is RemoteMeasureMenu.
    void MeasStartButton2Click(QObject* sender);

    // ---- COM port and version dialogs ------------------------------------------
    TComPortNoDialog* ComPortNoDialog = nullptr;
    TVerDlg* VerDlg = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectGraphControls();
    void ConnectCursorControls();
    void ColourChannelButtons();
    void ColourCurveButtons();
    void ColourCursorButtons();
    void SearchImp();
    void SearchRef();
    void SearchDeviation();
    void EditorClicked(ThresholdEditor e);
    EditorPositions SpinnerPositions() const;
    void SetSpinnerPositions(const EditorPositions& pos);
    TUpDown* SpinnerOf(ThresholdEditor e) const;
    void ShowZoom();
    void ShowLevelLabels();
    void GraphLevelScrollBarChange(int position);
    void ShowJudgement();
    void SetCursorReadouts(const CursorReadouts& r);
    void SetCursorControls(const CursorControls& c);
    void BuildMenus();
    void BuildImpedancePage();
    void BuildDownloadPage();
    void BuildUploadPage();
    void ConnectCurveFields();
    void CheckPrinters();
    void ShowPage(int index);
    void EnableEditMenuFor(QWidget* now);
    void EditCommand(void (*lineEdit)(QLineEdit*), void (*textEdit)(QPlainTextEdit*));
    bool HandleWindowKey(int key);
    bool HandleWheel(int angleDelta);
    void SetNameFromEdit(CurveKind kind);
    void SetMemoFromEdit(CurveKind kind);
    void TrimNameEdit(QLineEdit* edit);
    CurveLines& LinesOf(CurveKind kind);

    void ConnectRefList();
    void ConnectMeasurement();
    void CreateSideDialogs();

    FileDialogs& dialogs_;
    std::unique_ptr<RefListUi> refListUi_;
    // The texts shown in the memos, to undo a change past 600 bytes.
    QString impMemoShown_;
    QString refMemoShown_;
    // The file name last chosen in each curve kind's save dialog: Save shows
    // it again, Save As starts empty.
    QString impSaveName_;
    QString refSaveName_;
    WheelNotches wheelNotches_;
};

}  // namespace qlx
