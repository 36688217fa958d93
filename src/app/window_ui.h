#pragma once

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace qlx {

class GraphWidget;
class UpDown;

// The controls of the main window as plain structs of widget pointers, one
// per page and one for the menus, filled by BuildMainWindow. They hold no
// behaviour: TMainForm and the page classes connect them. The widgets are
// owned by the window.

struct MainMenus {
    // ファイル
    QMenu* FileMenu = nullptr;
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
    QAction* FileImpZmaSaveMenu = nullptr;
    QAction* FileRefListCsvSaveMenu = nullptr;
    QAction* PagePrintSetupItem = nullptr;
    QAction* FilePrintItem = nullptr;
    QAction* FileGraphPrintMenu = nullptr;
    QAction* ExitMenu = nullptr;
    // 編集
    QMenu* EditMenu = nullptr;
    QAction* EditUndoMenu = nullptr;
    QAction* EditCutMenu = nullptr;
    QAction* EditCopyMenu = nullptr;
    QAction* EditPasteMenu = nullptr;
    // 表示
    std::array<QAction*, 3> ShowPageMenu{};
    std::array<QAction*, 4> SelChMenu{};
    QAction* ImpCurveShowMenu = nullptr;
    QAction* RefCurveShowMenu = nullptr;
    QAction* ThCurveShowMenu = nullptr;
    QAction* GraphZoomInMenu = nullptr;
    QAction* GraphZoomOutMenu = nullptr;
    QAction* GraphZoomResetMenu = nullptr;
    // ツール
    QMenu* ToolsMenu = nullptr;
    QAction* CursorOnMenu = nullptr;
    QAction* RemoteMeasureMenu = nullptr;
    QAction* ResonanceMenu = nullptr;
    QAction* ResultsHistoryMenu = nullptr;
    // 通信
    QAction* ImpDownloadMenu = nullptr;
    QAction* RefDownloadMenu = nullptr;
    QAction* ComPortMenu = nullptr;
    // ヘルプ
    QAction* VersionMenu = nullptr;
};

// Page 0, "インピーダンス": both curves, the graph, cursor, thresholds.
struct ImpedancePageUi {
    QWidget* ImpPage = nullptr;

    // graph, zoom, level
    GraphWidget* ImpGraphImage = nullptr;
    std::array<QLabel*, 6> ImpLabel{};  // ImpLabel1 (bottom) .. ImpLabel6 (top)
    QScrollBar* GraphLevelScrollBar = nullptr;
    QToolButton* FitBtn = nullptr;
    QToolButton* X1Btn = nullptr;
    QToolButton* PlusBtn = nullptr;
    QToolButton* MinusBtn = nullptr;

    // measured curve
    QLineEdit* ImpNameEdit = nullptr;
    QLineEdit* ImpFileNameEdit = nullptr;
    QPlainTextEdit* ImpMemo = nullptr;
    QLineEdit* ImpTerminalEdit = nullptr;
    QPushButton* ImpOpenButton = nullptr;

    // channels and shown curves
    std::array<QPushButton*, 4> SelChButton{};   // SelCh1Button .. SelCh4Button
    std::array<QCheckBox*, 4> DrawChCheckBox{};  // DrawCh1CheckBox .. DrawCh4CheckBox
    QPushButton* ImpCurveButton = nullptr;
    QPushButton* RefCurveButton = nullptr;
    QPushButton* ThCurveButton = nullptr;

    // cursor
    QPushButton* CursorOnButton = nullptr;
    QLineEdit* CursorFreqEdit = nullptr;
    UpDown* CursorFreqUpDown = nullptr;
    QLineEdit* CursorImpEdit = nullptr;
    QLineEdit* CursorPercentEdit = nullptr;
    QLineEdit* CursorRefEdit = nullptr;
    QPushButton* CursorMaxButton = nullptr;
    QPushButton* CursorMinButton = nullptr;
    QPushButton* HensaMaxButton = nullptr;
    QPushButton* CursorRefMaxButton = nullptr;
    QPushButton* CursorRefMinButton = nullptr;

    // reference curve, thresholds, judgement range
    QLineEdit* RefFileNameEdit = nullptr;
    QLineEdit* RefNameEdit = nullptr;
    QPlainTextEdit* RefMemo = nullptr;
    QComboBox* RefTerminalBox = nullptr;
    QCheckBox* RefProtectCheckBox = nullptr;
    QPushButton* RefOpenButton = nullptr;
    QLineEdit* ThNg1Edit = nullptr;
    QLineEdit* ThNg2Edit = nullptr;
    QLineEdit* ThNg3Edit = nullptr;
    UpDown* ThNg1UpDown = nullptr;
    UpDown* ThNg2UpDown = nullptr;
    UpDown* ThNg3UpDown = nullptr;
    QLabel* JudgeLabel = nullptr;
    // JudgeOkImage, JudgeNg1hImage, JudgeNg1lImage, JudgeNg2hImage,
    // JudgeNg2lImage, JudgeNg3hImage, JudgeNg3lImage, in that order.
    std::array<QLabel*, 7> JudgeImage{};
    QLineEdit* MinFreqEdit = nullptr;
    QLineEdit* MaxFreqEdit = nullptr;
    UpDown* MinFreqUpDown = nullptr;
    UpDown* MaxFreqUpDown = nullptr;

    // remote measurement
    QCheckBox* SelChOnlyCheckBox = nullptr;
    QPushButton* MeasStartButton = nullptr;
};

// Page 1, "ダウンロード": the instrument's reference and measured curves.
struct DownloadPageUi {
    QWidget* DownloadPage = nullptr;
    QPushButton* AllRefNoDownLoadButton = nullptr;
    QPushButton* RefCurveListButton = nullptr;
    QTreeWidget* RefCurveListView = nullptr;
    QPushButton* ListSelRefNoDownLoadButton = nullptr;
    QPushButton* AllImpDownLoadButton = nullptr;
    QPushButton* ImpCurveListButton = nullptr;
    QTreeWidget* ImpCurveListView = nullptr;
    QPushButton* ListSelImpDownLoadButton = nullptr;
};

// Page 2, "アップロード": the upload of the open reference curve (upper
// panel) and the reference list with its upload (lower panel).
struct UploadPageUi {
    QWidget* UploadPage = nullptr;
    QLineEdit* UploadRefNoLabeledEdit = nullptr;
    UpDown* UploadRefNoUpDown = nullptr;
    QPushButton* OpenRefCurveUploadButton = nullptr;
    QLineEdit* RefListFileNameEdit = nullptr;
    QTableWidget* RefListStringGrid = nullptr;
    QPushButton* RefListRowInsertButton = nullptr;
    QPushButton* RefListRowDeleteButton = nullptr;
    QToolButton* NewRefListButton = nullptr;
    QToolButton* RefListSaveButton = nullptr;
    QToolButton* RefListOpenButton = nullptr;
    QPushButton* RefListUploadButton = nullptr;
};

struct MainWindowUi {
    QTabWidget* PageControl = nullptr;
    MainMenus menus;
    ImpedancePageUi imp;
    DownloadPageUi download;
    UploadPageUi upload;
};

// Builds the menu bar and the three pages of `window` with their captions,
// shortcuts, fixed geometry and initial states, and returns the controls.
MainWindowUi BuildMainWindow(QMainWindow& window);

}  // namespace qlx
