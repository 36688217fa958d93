#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qlx {

// How a remote measurement ended.
enum class RunOutcome { Completed, Cancelled, Failed };

// Stored text of an outcome ("completed", "cancelled", "failed") and back.
const char* OutcomeText(RunOutcome outcome);
std::optional<RunOutcome> OutcomeFromText(const std::string& text);

// Verdict of a measured channel when no reference curve was loaded.
constexpr const char* kNoReferenceVerdict = "no reference";

// One entry of the results log: a measured channel of a completed run, or a
// cancelled or failed run (then without channel, verdict and points).
// Texts are UTF-8; the points are the curve's own bytes.
struct ResultRecord {
    std::string uuid;               // of this record
    std::string runUuid;            // shared by the records of one run
    std::int64_t measuredAtMs = 0;  // UTC, milliseconds since 1970
    int utcOffsetS = 0;             // station's offset from UTC at that time
    std::string station;            // host name
    std::string operatorName;       // login name
    RunOutcome outcome = RunOutcome::Completed;

    // The reference curve judged against; none when no reference was loaded.
    std::optional<std::string> refName;
    std::optional<std::string> refFile;
    std::optional<std::string> refHash;  // SHA-256 of the reference lines and thresholds used, hex

    std::string terminal;                // terminal code of the run ("B", "E", "G", ...)
    std::optional<int> channel;          // 1..4
    std::optional<std::string> verdict;  // "OK", "NG1H" .. "NG3L" or "no reference"

    // Thresholds (percent) and judgement range (grid indices) of the channel.
    std::optional<int> ng1;
    std::optional<int> ng2;
    std::optional<int> ng3;
    std::optional<int> judgeFirst;
    std::optional<int> judgeLast;

    // Largest deviation from the reference over the judgement range.
    std::optional<int> worstDeviationPct;
    std::optional<double> worstDeviationHz;

    // Filled by the resonance analysis when it has them.
    std::optional<double> f0Hz;
    std::optional<double> zmaxOhm;
    std::optional<double> qts;
    std::optional<double> zminOhm;  // |Z| minimum above the resonance
    std::optional<double> zminHz;
    std::optional<double> refF0Hz;  // resonance of the reference curve

    std::vector<std::string> points;  // the 120 point lines, empty without points

    bool operator==(const ResultRecord&) const = default;
};

}  // namespace qlx
