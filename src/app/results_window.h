#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

#include "app/results_window_ui.h"
#include "results/result_filter.h"
#include "results/results_queries.h"
#include "ui/extend_msg_dlg.h"

class QSqlDatabase;

namespace qlx {

class FileDialogs;
class ResultsRecorder;
class ResultsSettingsDialog;
class ResultsTableModel;
class SqlConnection;
struct Settings;

// "測定履歴": the records of the station's file or of the line's database,
// newest first, filtered by period, reference and verdict, with their yield
// (and the yield since the station's counter reset), a chart of the last
// units, the CSV export of what is shown and the log's settings. It reads
// through connections of its own; the session's log writes.
class ResultsWindow : public QWidget {
    Q_OBJECT
public:
    // `settings` gives and keeps the CSV folder.
    ResultsWindow(ResultsRecorder& recorder, Settings& settings, FileDialogs& files, QWidget* parent = nullptr);
    ~ResultsWindow() override;

    // Shows the window without blocking the main window, read afresh.
    void ShowModeless();
    // Reads the chosen database again with the current filter.
    void Reload();

    // What the filter controls select.
    ResultFilter CurrentFilter() const;
    ResultsTableModel* model() const { return model_.get(); }
    // The settings dialog while it is open.
    ResultsSettingsDialog* settingsDialog() const { return settingsDialog_; }

    void ExportCsv();
    void ResetCounterClick();
    void OpenSettings();

    ResultsWindowUi ui;
    // "カウンターをリセットしますか？" (Yes/No, No by default).
    TExtendMsgDlg ResetCounterDlg;

private:
    // The chosen database, opened when needed; none with the reason shown.
    std::optional<QSqlDatabase> Source();
    std::optional<QSqlDatabase> Station(std::string& error);
    void FillReferences(QSqlDatabase db);
    void ShowYield(QSqlDatabase db, const ResultFilter& filter);
    void ShowLogState();
    void ShowSources();
    void Fail(const QString& text);
    void RecordsWritten();

    ResultsRecorder& recorder_;
    Settings& settings_;
    FileDialogs& files_;
    std::unique_ptr<SqlConnection> station_;
    std::string stationPath_;
    std::unique_ptr<SqlConnection> line_;
    std::unique_ptr<ResultsTableModel> model_;  // after the connections: goes first
    int modelSource_ = -1;
    QString failure_;
    ResultsSettingsDialog* settingsDialog_ = nullptr;
};

}  // namespace qlx
