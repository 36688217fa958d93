#include "app/results_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>
#include <utility>

#include "app/file_dialogs.h"
#include "app/local_path.h"
#include "app/results_chart.h"
#include "app/results_chart_data.h"
#include "app/results_choices.h"
#include "app/results_recorder.h"
#include "app/results_settings_dialog.h"
#include "app/settings.h"
#include "app/yield_text.h"
#include "model/file_io.h"
#include "model/ref_list.h"
#include "results/database_open.h"
#include "results/results_csv.h"
#include "results/results_table_model.h"
#include "results/sql_connection.h"

namespace qlx {

namespace {

constexpr int kColumnWidths[ResultsTableModel::ColumnCount] = {140, 80, 60, 110, 100, 64, 80, 64, 104, 56, 44};

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

ResultsWindow::ResultsWindow(ResultsRecorder& recorder, Settings& settings, FileDialogs& files, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui(BuildResultsWindow(*this)),
      recorder_(recorder),
      settings_(settings),
      files_(files)
{
    ResetCounterDlg.SetMessage(
        QStringLiteral("歩留まりのカウンターをリセットしますか？\n記録は消えません。今から数え直します。"));
    ResetCounterDlg.SetButtons({MsgBtn::Yes, MsgBtn::No});
    ResetCounterDlg.SetDefaultButton(MsgBtn::No);
    ResetCounterDlg.SetIconType(MsgIcon::Confirmation);
    ResetCounterDlg.SetTitleSet(true);
    ResetCounterDlg.SetTitle(QStringLiteral("QLX-50 Manager"));

    const auto reload = [this] { Reload(); };
    connect(ui.SourceBox, &QComboBox::currentIndexChanged, this, reload);
    connect(ui.RefreshButton, &QPushButton::clicked, this, reload);
    connect(ui.SettingsButton, &QPushButton::clicked, this, &ResultsWindow::OpenSettings);
    connect(ui.PeriodCheck, &QCheckBox::toggled, this, [this](bool on) {
        ui.FromDateEdit->setEnabled(on);
        ui.ToDateEdit->setEnabled(on);
        Reload();
    });
    for (QDateEdit* e : {ui.FromDateEdit, ui.ToDateEdit})
        connect(e, &QDateEdit::dateChanged, this, [this] {
            if (ui.PeriodCheck->isChecked())
                Reload();
        });
    connect(ui.ReferenceBox, &QComboBox::currentIndexChanged, this, reload);
    connect(ui.VerdictBox, &QComboBox::currentIndexChanged, this, reload);
    connect(ui.ResetCounterButton, &QPushButton::clicked, this, &ResultsWindow::ResetCounterClick);
    connect(ui.CsvExportButton, &QPushButton::clicked, this, &ResultsWindow::ExportCsv);
    connect(&recorder_, &ResultsRecorder::RecordsWritten, this, &ResultsWindow::RecordsWritten);
    ShowSources();
}

ResultsWindow::~ResultsWindow()
{
    // The view lets go of the model before the model's queries and
    // connections go.
    ui.RecordTable->setModel(nullptr);
}

void ResultsWindow::ShowModeless()
{
    show();
    raise();
    activateWindow();
    Reload();
}

ResultFilter ResultsWindow::CurrentFilter() const
{
    FilterChoice c;
    if (ui.PeriodCheck->isChecked()) {
        c.from = ui.FromDateEdit->date();
        c.to = ui.ToDateEdit->date();
    }
    if (ui.ReferenceBox->currentIndex() > 0)
        c.refName = ui.ReferenceBox->currentData().toString().toStdString();
    c.verdictIndex = ui.VerdictBox->currentIndex();
    return FilterOf(c);
}

void ResultsWindow::ShowSources()
{
    const ResultsSettings& s = recorder_.settings();
    const bool line = s.line.enabled && recorder_.drivers().postgres;
    if (auto* items = qobject_cast<QStandardItemModel*>(ui.SourceBox->model()))
        items->item(kLineSource)->setEnabled(line);
    if (!line && ui.SourceBox->currentIndex() == kLineSource) {
        const QSignalBlocker quiet(ui.SourceBox);
        ui.SourceBox->setCurrentIndex(kStationSource);
    }
}

std::optional<QSqlDatabase> ResultsWindow::Station(std::string& error)
{
    const std::string path = ResultsDatabasePath(recorder_.settings());
    if (station_ && path == stationPath_)
        return station_->db();
    if (modelSource_ == kStationSource) {
        ui.RecordTable->setModel(nullptr);
        model_.reset();
        modelSource_ = -1;
    }
    station_.reset();
    if (!recorder_.drivers().sqlite) {
        error = "Qt の SQLite ドライバー (QSQLITE, パッケージ libqt6sql6-sqlite) がありません。";
        return std::nullopt;
    }
    station_ = std::make_unique<SqlConnection>(QStringLiteral("QSQLITE"));
    if (std::string reason = OpenResultsFile(station_->db(), path); !reason.empty()) {
        error = path + ": " + reason;
        station_.reset();
        return std::nullopt;
    }
    stationPath_ = path;
    return station_->db();
}

std::optional<QSqlDatabase> ResultsWindow::Source()
{
    std::string error;
    if (ui.SourceBox->currentIndex() != kLineSource) {
        if (std::optional<QSqlDatabase> db = Station(error))
            return db;
        Fail(QStringLiteral("このステーションの測定履歴を開けません: ") + Text(error));
        return std::nullopt;
    }
    if (!line_)
        line_ = std::make_unique<SqlConnection>(QStringLiteral("QPSQL"));
    QSqlDatabase db = line_->db();
    // A server that went away since leaves an open connection that no
    // longer answers: it is connected afresh.
    if (db.isOpen() && QSqlQuery(db).exec(QStringLiteral("SELECT 1")))
        return db;
    if (std::string reason = OpenLineDatabase(db, recorder_.settings().line); !reason.empty()) {
        Fail(QStringLiteral("ライン全体のデータベースに接続できません: ") + Text(reason));
        return std::nullopt;
    }
    return db;
}

void ResultsWindow::Fail(const QString& text)
{
    if (failure_.isEmpty())
        failure_ = text;
}

void ResultsWindow::Reload()
{
    failure_.clear();
    ShowSources();
    const int source = ui.SourceBox->currentIndex();
    if (model_ && modelSource_ != source) {
        ui.RecordTable->setModel(nullptr);
        model_.reset();
    }
    const std::optional<QSqlDatabase> db = Source();
    if (!db) {
        ui.RecordTable->setModel(nullptr);
        model_.reset();
        modelSource_ = -1;
        ui.RecordCountLabel->setText(QString());
        ui.YieldLabel->setText(QStringLiteral("—"));
        ui.SinceResetLabel->setText(QStringLiteral("—"));
        ui.Chart->SetUnits({});
        ShowLogState();
        return;
    }
    FillReferences(*db);
    const ResultFilter filter = CurrentFilter();
    if (!model_) {
        model_ = std::make_unique<ResultsTableModel>(*db);
        modelSource_ = source;
        model_->SetFilter(filter);
        ui.RecordTable->setModel(model_.get());
        for (int c = 0; c < ResultsTableModel::ColumnCount; ++c)
            ui.RecordTable->setColumnWidth(c, kColumnWidths[c]);
    } else {
        model_->SetFilter(filter);
    }
    if (!model_->lastError().empty())
        Fail(QStringLiteral("測定履歴を読めません: ") + Text(model_->lastError()));
    ui.RecordCountLabel->setText(QStringLiteral("%1 件").arg(model_->rowCount()));
    ShowYield(*db, filter);
    std::string error;
    const auto units = RecentUnits(*db, filter, kChartUnits, &error);
    ui.Chart->SetUnits(units.value_or(std::vector<RecentUnit>{}));
    if (!units)
        Fail(QStringLiteral("測定履歴を読めません: ") + Text(error));
    ShowLogState();
}

void ResultsWindow::FillReferences(QSqlDatabase db)
{
    const QVariant chosen = ui.ReferenceBox->currentIndex() > 0 ? ui.ReferenceBox->currentData() : QVariant();
    std::string error;
    std::vector<std::string> names = ReferenceNames(db, &error).value_or(std::vector<std::string>{});
    // The chosen reference stays a choice even where it has no records.
    if (chosen.isValid() && std::find(names.begin(), names.end(), chosen.toString().toStdString()) == names.end())
        names.insert(names.begin(), chosen.toString().toStdString());
    const QSignalBlocker quiet(ui.ReferenceBox);
    ui.ReferenceBox->clear();
    ui.ReferenceBox->addItem(QStringLiteral("すべて"));
    for (const std::string& n : names)
        ui.ReferenceBox->addItem(Text(n), Text(n));
    if (chosen.isValid())
        ui.ReferenceBox->setCurrentIndex(ui.ReferenceBox->findData(chosen));
}

void ResultsWindow::ShowYield(QSqlDatabase db, const ResultFilter& filter)
{
    std::string error;
    const std::optional<YieldCounts> shown = CountYield(db, filter, &error);
    if (shown)
        ui.YieldLabel->setText(YieldText(*shown));
    else {
        ui.YieldLabel->setText(QStringLiteral("—"));
        Fail(QStringLiteral("歩留まりを数えられません: ") + Text(error));
    }
    // The counter is the station's, whichever database is shown.
    std::optional<std::int64_t> reset;
    std::string stationError;
    if (const std::optional<QSqlDatabase> station = Station(stationError))
        reset = LastCounterReset(*station, &stationError);
    if (!stationError.empty()) {
        ui.SinceResetHeading->setText(SinceResetHeading(std::nullopt));
        ui.SinceResetLabel->setText(QStringLiteral("—"));
        Fail(QStringLiteral("カウンターを読めません: ") + Text(stationError));
        return;
    }
    ui.SinceResetHeading->setText(SinceResetHeading(reset));
    // Without a reset inside the period the counter holds the same records
    // as the table: no second count over a million of them.
    std::optional<YieldCounts> since = shown;
    if (reset && (!filter.fromMs || *filter.fromMs < *reset)) {
        ResultFilter fromReset = filter;
        fromReset.fromMs = *reset;
        since = CountYield(db, fromReset, &error);
    }
    ui.SinceResetLabel->setText(since ? YieldText(*since) : QStringLiteral("—"));
}

void ResultsWindow::ShowLogState()
{
    QString state = failure_;
    if (state.isEmpty() && !recorder_.settings().logOn)
        state = QStringLiteral("測定履歴の記録はオフです ([記録の設定] で変えられます)。");
    else if (state.isEmpty() && recorder_.kept() > 0)
        state = QStringLiteral("書き込めない記録 %1 件をメモリーに保持しています。").arg(recorder_.kept());
    ui.StatusLabel->setText(state);
}

void ResultsWindow::RecordsWritten()
{
    if (isVisible() && ui.SourceBox->currentIndex() == kStationSource)
        Reload();
    else
        ShowLogState();
}

void ResultsWindow::ResetCounterClick()
{
    if (ResetCounterDlg.Execute() != mrYes)
        return;
    if (const std::optional<StoreFailure> failure = recorder_.ResetCounter())
        files_.Error(
            QStringLiteral("カウンターをリセットできません。\n%1\n%2").arg(Text(failure->file), Text(failure->reason)));
    Reload();
}

void ResultsWindow::ExportCsv()
{
    const std::optional<QSqlDatabase> db = Source();
    if (!db) {
        ShowLogState();
        return;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("測定履歴をCSV形式で保存");
    request.filter = QStringLiteral("CSV (*.csv)");
    request.defaultSuffix = QStringLiteral("csv");
    if (DirExists(settings_.CsvDir))
        request.initialFolder = FromLocal(settings_.CsvDir);
    request.fileName = QStringLiteral("測定履歴_%1.csv").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    request.requiredExtension = QStringLiteral(".csv");
    const std::optional<QString> chosen = files_.SaveFile(request);
    if (!chosen)
        return;
    const std::string path = LocalPath(*chosen);
    settings_.CsvDir = FolderWithoutSeparator(path);
    const CsvEncoding encoding =
        ui.CsvEncodingBox->currentIndex() == kUtf8Csv ? CsvEncoding::Utf8 : CsvEncoding::ShiftJis;
    if (const IoResult written = ExportResultsCsv(*db, CurrentFilter(), path, encoding); !written)
        files_.Error(Text(written.error));
}

void ResultsWindow::OpenSettings()
{
    if (settingsDialog_) {
        settingsDialog_->raise();
        return;
    }
    settingsDialog_ = new ResultsSettingsDialog(recorder_.settings(), this);
    connect(settingsDialog_, &QDialog::finished, this, [this](int result) {
        ResultsSettingsDialog* dialog = std::exchange(settingsDialog_, nullptr);
        const ResultsSettings chosen = dialog->Settings();
        dialog->deleteLater();
        if (result != QDialog::Accepted || chosen == recorder_.settings())
            return;
        // Every connection is made afresh for the new places.
        ui.RecordTable->setModel(nullptr);
        model_.reset();
        modelSource_ = -1;
        line_.reset();
        station_.reset();
        recorder_.ApplySettings(chosen);
        Reload();
    });
    settingsDialog_->open();
}

}  // namespace qlx
