#pragma once

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

namespace qlx {

class ResultsChart;

// The controls of the results window ("測定履歴"), filled by
// BuildResultsWindow; ResultsWindow gives them their behaviour.
struct ResultsWindowUi {
    // which database: the station's file or the line's
    QComboBox* SourceBox = nullptr;
    QPushButton* RefreshButton = nullptr;
    QPushButton* SettingsButton = nullptr;

    // filters
    QCheckBox* PeriodCheck = nullptr;
    QDateEdit* FromDateEdit = nullptr;
    QDateEdit* ToDateEdit = nullptr;
    QComboBox* ReferenceBox = nullptr;  // item 0: every reference
    QComboBox* VerdictBox = nullptr;    // the items of VerdictChoices()

    // yield of the filtered records and since the counter reset
    QLabel* YieldLabel = nullptr;
    QLabel* SinceResetHeading = nullptr;
    QLabel* SinceResetLabel = nullptr;
    QPushButton* ResetCounterButton = nullptr;

    ResultsChart* Chart = nullptr;

    QTableView* RecordTable = nullptr;
    QLabel* RecordCountLabel = nullptr;

    // CSV export of the filtered records
    QComboBox* CsvEncodingBox = nullptr;  // 0 Shift-JIS, 1 UTF-8
    QPushButton* CsvExportButton = nullptr;

    QLabel* StatusLabel = nullptr;  // why nothing is shown, the log's state
};

// Index of the items of SourceBox and CsvEncodingBox.
constexpr int kStationSource = 0;
constexpr int kLineSource = 1;
constexpr int kShiftJisCsv = 0;
constexpr int kUtf8Csv = 1;

// Builds the results window's controls into `window` with their captions
// and initial states.
ResultsWindowUi BuildResultsWindow(QWidget& window);

}  // namespace qlx
