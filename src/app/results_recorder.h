#pragma once

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

#include "comm/op_result.h"
#include "comm/remote_measurement.h"
#include "model/curve_state.h"
#include "results/record_builder.h"
#include "results/results_log.h"
#include "results/results_settings.h"
#include "ui/extend_msg_dlg.h"

class QSettings;

namespace qlx {

// The results log of the window's session. After every remote measurement
// that measured or tried to (not a refused second one), the run's records
// with their resonance figures go into the station's file, once the window
// has shown the curve. The measurement never waits for or depends on the log:
// a failed write is shown once per session, its records are kept and written
// by a retry or with the next run.
class ResultsRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryIntervalMs = 10000;

    // The settings come from the program's configuration file.
    explicit ResultsRecorder(const SqlDriverCheck& drivers, QObject* parent = nullptr);
    ~ResultsRecorder() override;

    // A remote measurement ended: `curves` as the run left them (with the
    // measured curve taken when it was done), `input` what was swept.
    void MeasurementEnded(const CurveState& curves, const RemoteMeasurementInput& input, Outcome outcome);

    // Writes the records kept after a failed write (the retry timer's step).
    void RetryKept();
    std::size_t kept() const;
    bool retrying() const { return retry_.isActive(); }
    void SetRetryInterval(int ms) { retry_.setInterval(ms); }

    // The window closes: the records not written yet get a last try, and
    // those that still cannot be written are dropped with a message saying
    // how many, the file and why, while the window is still there.
    void SessionEnding();

    // Says once when the log cannot work as it is set (a missing driver).
    void CheckDrivers();

    const ResultsSettings& settings() const { return settings_; }
    const SqlDriverCheck& drivers() const { return drivers_; }
    // Stores new settings in the configuration file and makes the log they
    // describe; records kept for a later write carry over. When the new log
    // is off they are tried once more in their old file, and those that still
    // cannot be written are dropped with a message saying how many.
    void ApplySettings(const ResultsSettings& settings);
    // Starts the yield counter afresh in the station's file.
    std::optional<StoreFailure> ResetCounter();

    ResultsLog& log() { return *log_; }

    // "QLX-50 Manager" boxes; tests answer them through their show step.
    TExtendMsgDlg WriteFailureDlg;
    TExtendMsgDlg DriverMissingDlg;
    TExtendMsgDlg DiscardedDlg;

signals:
    // Records reached the station's file.
    void RecordsWritten();

private:
    // What a run left, kept until its records are made and written.
    struct PendingRun {
        CurveState curves;
        RemoteMeasurementInput input;
        Outcome outcome;
        RunContext context;
    };

    std::vector<ResultRecord> MakeRecords(const PendingRun& run) const;
    void WritePending(bool quiet);
    void Write(const std::vector<ResultRecord>& records, bool quiet);
    void AfterWrite(const std::optional<StoreFailure>& report, bool wroteSomething, bool quiet);
    void Show(TExtendMsgDlg& dlg, const std::string& text);

    std::unique_ptr<QSettings> file_;
    SqlDriverCheck drivers_;
    ResultsSettings settings_;
    std::unique_ptr<ResultsLog> log_;
    std::vector<PendingRun> pending_;
    QTimer retry_;
    bool failureShown_ = false;
    bool driversChecked_ = false;
};

}  // namespace qlx
