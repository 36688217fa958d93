#include "app/results_recorder.h"

#include <QSettings>

#include <utility>

#include "app/re_memory.h"
#include "results/resonance_fields.h"

namespace qlx {

namespace {

void Design(TExtendMsgDlg& dlg)
{
    dlg.SetButtons({MsgBtn::OK});
    dlg.SetDefaultButton(MsgBtn::OK);
    dlg.SetIconType(MsgIcon::Warning);
    dlg.SetTitleSet(true);
    dlg.SetTitle(QStringLiteral("QLX-50 Manager"));
}

MeasuredRun RunOf(const RemoteMeasurementInput& input, Outcome outcome)
{
    MeasuredRun run;
    if (outcome == Outcome::Cancelled) {
        run.outcome = RunOutcome::Cancelled;
    } else if (outcome != Outcome::Done) {
        run.outcome = RunOutcome::Failed;
    } else {
        const ChannelSpan span = ChannelsToSweep(input);
        for (int c = span.first - 1; c < span.last; ++c)
            run.channels.push_back(c);
    }
    return run;
}

}  // namespace

ResultsRecorder::ResultsRecorder(const SqlDriverCheck& drivers, QObject* parent)
    : QObject(parent),
      file_(OpenProgramSettings()),
      drivers_(drivers),
      settings_(LoadResultsSettings(*file_)),
      log_(std::make_unique<ResultsLog>(settings_, drivers_))
{
    Design(WriteFailureDlg);
    Design(DriverMissingDlg);
    Design(DiscardedDlg);
    retry_.setInterval(kRetryIntervalMs);
    connect(&retry_, &QTimer::timeout, this, &ResultsRecorder::RetryKept);
}

ResultsRecorder::~ResultsRecorder()
{
    // A run whose records were not written yet, and records kept after a
    // failure, get one last try; there is nobody left to tell.
    WritePending(true);
    if (kept() > 0)
        log_->store()->Flush();
}

void ResultsRecorder::MeasurementEnded(const CurveState& curves, const RemoteMeasurementInput& input, Outcome outcome)
{
    // A refused second measurement measured nothing.
    if (outcome == Outcome::Busy || !log_->on())
        return;
    pending_.push_back({curves, input, outcome, CurrentRunContext()});
    // The window has painted the verdict already; making and writing the
    // records waits for the event loop's next turn.
    if (pending_.size() == 1)
        QMetaObject::invokeMethod(
            this, [this] { WritePending(false); }, Qt::QueuedConnection);
}

std::vector<ResultRecord> ResultsRecorder::MakeRecords(const PendingRun& run) const
{
    std::vector<ResultRecord> records = MakeRunRecords(run.curves, RunOf(run.input, run.outcome), run.context);
    std::optional<double> re;
    if (run.curves.RefLoaded)
        re = ReMemory(*file_).Get(run.curves.RefFilePath);
    FillResonanceFields(records, run.curves, re);
    return records;
}

void ResultsRecorder::WritePending(bool quiet)
{
    if (pending_.empty())
        return;
    std::vector<ResultRecord> records;
    for (const PendingRun& run : std::exchange(pending_, {})) {
        std::vector<ResultRecord> r = MakeRecords(run);
        records.insert(records.end(), r.begin(), r.end());
    }
    Write(records, quiet);
}

void ResultsRecorder::Write(const std::vector<ResultRecord>& records, bool quiet)
{
    if (!log_->on())
        return;
    const bool wroteSomething = !records.empty() || kept() > 0;
    const std::optional<StoreFailure> report = log_->Record(records);
    AfterWrite(report, wroteSomething, quiet);
}

void ResultsRecorder::RetryKept()
{
    if (kept() == 0) {
        retry_.stop();
        return;
    }
    const AppendResult result = log_->store()->Flush();
    AfterWrite(result.report, true, false);
}

std::size_t ResultsRecorder::kept() const { return log_->on() ? log_->store()->kept() : 0; }

void ResultsRecorder::AfterWrite(const std::optional<StoreFailure>& report, bool wroteSomething, bool quiet)
{
    if (report && !failureShown_ && !quiet) {
        failureShown_ = true;
        Show(WriteFailureDlg, StoreFailureText(*report));
    }
    if (kept() > 0) {
        if (!retry_.isActive() && !quiet)
            retry_.start();
        return;
    }
    retry_.stop();
    // Quiet writes happen as the recorder goes: nobody is to be told.
    if (wroteSomething && !quiet)
        emit RecordsWritten();
}

void ResultsRecorder::Show(TExtendMsgDlg& dlg, const std::string& text)
{
    dlg.SetMessage(QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    dlg.Execute();
}

void ResultsRecorder::CheckDrivers()
{
    if (driversChecked_)
        return;
    driversChecked_ = true;
    if (const std::optional<std::string> text = MissingDriverText(settings_, drivers_))
        Show(DriverMissingDlg, *text);
}

void ResultsRecorder::ApplySettings(const ResultsSettings& settings)
{
    SaveResultsSettings(*file_, settings);
    file_->sync();
    // A run not written yet was measured under the old settings.
    WritePending(false);
    std::vector<ResultRecord> carried;
    std::string carriedFrom;
    std::string whyKept;
    if (log_->on()) {
        ResultStore& store = *log_->store();
        carriedFrom = store.path();
        // With the log going off the kept records have nowhere else to go:
        // one last try at their own file.
        if (store.kept() > 0 && !settings.logOn)
            whyKept = store.Flush().reason;
        carried = store.TakeKept();
    }
    retry_.stop();
    settings_ = settings;
    log_.reset();  // the old forwarder stops before the new one starts
    log_ = std::make_unique<ResultsLog>(settings_, drivers_);
    if (!carried.empty()) {
        if (log_->on())
            Write(carried, false);
        else
            Show(DiscardedDlg, DiscardedRecordsText(carried.size(), carriedFrom, whyKept));
    }
    // New settings may need a driver the start did not.
    driversChecked_ = false;
    CheckDrivers();
}

void ResultsRecorder::SessionEnding()
{
    retry_.stop();
    WritePending(true);
    if (kept() == 0)
        return;
    ResultStore& store = *log_->store();
    const std::string why = store.Flush().reason;
    if (store.kept() == 0)
        return;
    const std::size_t lost = store.TakeKept().size();
    Show(DiscardedDlg, DiscardedRecordsText(lost, store.path(), why));
}

std::optional<StoreFailure> ResultsRecorder::ResetCounter()
{
    const RunContext now = CurrentRunContext();
    if (log_->on())
        return log_->store()->ResetCounter(now.measuredAtMs, now.station, now.operatorName);
    // With the log off the counter still belongs to the station's file.
    ResultStore store(ResultsDatabasePath(settings_));
    return store.ResetCounter(now.measuredAtMs, now.station, now.operatorName);
}

}  // namespace qlx
