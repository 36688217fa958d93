#include "results/record_builder.h"

#include <pwd.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDateTime>
#include <QSysInfo>
#include <QUuid>

#include <cstdlib>

#include "judge/cursor.h"
#include "judge/thresholds.h"
#include "model/sjis.h"

namespace qlx {

namespace {

std::string LoginName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        return pw->pw_name;
    for (const char* name : {"LOGNAME", "USER"})
        if (const char* v = std::getenv(name); v && *v)
            return v;
    return std::to_string(geteuid());
}

std::string TrimTrailingBlanks(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

double GridHz(int j) { return std::strtod(FreqHz[j], nullptr); }

// What every record of the run carries.
ResultRecord RunRecord(const CurveState& curves, RunOutcome outcome, const RunContext& context)
{
    ResultRecord r;
    r.runUuid = context.runUuid;
    r.measuredAtMs = context.measuredAtMs;
    r.utcOffsetS = context.utcOffsetS;
    r.station = context.station;
    r.operatorName = context.operatorName;
    r.outcome = outcome;
    r.terminal = SjisToUtf8(curves.RefLines[TerminalLine]);
    if (curves.RefLoaded) {
        r.refName = SjisToUtf8(TrimTrailingBlanks(BracketPayload(curves.RefLines[NameLine])));
        if (!curves.RefFilePath.empty())
            r.refFile = curves.RefFilePath;
        r.refHash = ReferenceHash(curves);
    }
    return r;
}

void JudgeChannel(const CurveState& curves, int c, ResultRecord& r)
{
    if (!curves.RefLoaded) {
        r.verdict = kNoReferenceVerdict;
        return;
    }
    const int a = curves.RefMinFreq[c];
    const int b = curves.RefMaxFreq[c];
    const ThresholdPercents p{curves.RefNg1[c], curves.RefNg2[c], curves.RefNg3[c]};
    r.verdict = JudgeResultText(JudgeThresholds(curves.RefLines, curves.ImpLines, c, p, a, b).verdict);
    r.ng1 = p.Ng1;
    r.ng2 = p.Ng2;
    r.ng3 = p.Ng3;
    r.judgeFirst = a;
    r.judgeLast = b;
    const LargestDeviation d = FindLargestDeviation(curves.RefLines, curves.ImpLines, c, a, b);
    r.worstDeviationPct = static_cast<int>(d.percent);
    // No point deviating at all has no place to name.
    if (d.percent != 0)
        r.worstDeviationHz = GridHz(d.index);
}

}  // namespace

std::string NewUuid() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(); }

RunContext CurrentRunContext()
{
    RunContext c;
    c.runUuid = NewUuid();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    c.measuredAtMs = now.toMSecsSinceEpoch();
    c.utcOffsetS = now.toLocalTime().offsetFromUtc();
    c.station = QSysInfo::machineHostName().toStdString();
    c.operatorName = LoginName();
    return c;
}

std::string ReferenceHash(const CurveState& curves)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int slot = 0; slot < MemoSlot; ++slot) {
        const std::string& line = curves.RefLines[slot];
        hash.addData(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        hash.addData(QByteArrayView("\n", 1));
    }
    for (int c = 0; c < kChannelCount; ++c) {
        const std::string used = std::to_string(curves.RefNg1[c]) + "," + std::to_string(curves.RefNg2[c]) + "," +
                                 std::to_string(curves.RefNg3[c]) + "," + std::to_string(curves.RefMinFreq[c]) + "," +
                                 std::to_string(curves.RefMaxFreq[c]) + "\n";
        hash.addData(QByteArrayView(used.data(), static_cast<qsizetype>(used.size())));
    }
    return hash.result().toHex().toStdString();
}

std::vector<ResultRecord> MakeRunRecords(const CurveState& curves, const MeasuredRun& run, const RunContext& context)
{
    std::vector<ResultRecord> records;
    if (run.outcome != RunOutcome::Completed) {
        records.push_back(RunRecord(curves, run.outcome, context));
        records.back().uuid = NewUuid();
        return records;
    }
    const int used = ChannelsWithData(curves.RefLines[TerminalLine]);
    for (int c : run.channels) {
        if (c < 0 || c >= used)
            continue;
        ResultRecord r = RunRecord(curves, run.outcome, context);
        r.uuid = NewUuid();
        r.channel = c + 1;
        JudgeChannel(curves, c, r);
        r.points.reserve(kPointCount);
        for (int j = 0; j < kPointCount; ++j)
            r.points.push_back(curves.ImpLines[PointSlot(c, j)]);
        records.push_back(std::move(r));
    }
    return records;
}

}  // namespace qlx
