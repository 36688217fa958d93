#include "results/results_csv.h"

#include <QDateTime>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdlib>
#include <unordered_map>

#include "model/curve_lines.h"
#include "model/freq_table.h"
#include "model/sjis.h"
#include "results/record_sql.h"
#include "results/results_schema.h"

namespace qlx {

namespace {

constexpr const char* kEol = "\r\n";

const char* const kHeadings[] = {
    "uuid",
    "run_uuid",
    "measured_at_utc",
    "local_time",
    "utc_offset",
    "station",
    "operator",
    "outcome",
    "reference",
    "reference_file",
    "reference_hash",
    "terminal",
    "channel",
    "verdict",
    "ng1_pct",
    "ng2_pct",
    "ng3_pct",
    "judge_from_hz",
    "judge_to_hz",
    "worst_deviation_pct",
    "worst_deviation_hz",
    "f0_hz",
    "zmax_ohm",
    "qts",
    "zmin_ohm",
    "zmin_hz",
    "ref_f0_hz",
};

bool IsAscii(const std::string& s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

// Length of the UTF-8 sequence starting with byte b (1 for a stray byte).
std::size_t SequenceLength(unsigned char b)
{
    if (b >= 0xF0)
        return 4;
    if (b >= 0xE0)
        return 3;
    if (b >= 0xC0)
        return 2;
    return 1;
}

// Text fields arrive as UTF-8 and leave in the file's encoding.
class FieldEncoder {
public:
    explicit FieldEncoder(CsvEncoding encoding) : encoding_(encoding) {}

    const std::string& Text(const std::string& utf8)
    {
        if (encoding_ == CsvEncoding::Utf8 || IsAscii(utf8))
            return utf8;
        auto it = cache_.find(utf8);
        if (it == cache_.end())
            it = cache_.emplace(utf8, ToSjis(utf8)).first;
        return it->second;
    }

    // Point lines are Shift-JIS bytes already.
    std::string Point(const std::string& sjis) const
    {
        return encoding_ == CsvEncoding::Utf8 && !IsAscii(sjis) ? SjisToUtf8(sjis) : sjis;
    }

private:
    static std::string ToSjis(const std::string& utf8)
    {
        if (auto whole = Utf8ToSjis(utf8))
            return *whole;
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
            out += Utf8ToSjis(utf8.substr(i, n)).value_or("?");
            i += n;
        }
        return out;
    }

    CsvEncoding encoding_;
    std::unordered_map<std::string, std::string> cache_;
};

// Quoted when it holds a separator, a quote or a line break.
void AppendField(std::string& line, const std::string& field)
{
    if (!line.empty())
        line += ',';
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        line += field;
        return;
    }
    line += '"';
    for (char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

std::string Number(const QVariant& v)
{
    return v.isNull() ? std::string() : QString::number(v.toDouble(), 'g', 10).toStdString();
}

std::string Integer(const std::optional<int>& v) { return v ? std::to_string(*v) : std::string(); }

std::string Hz(const std::optional<int>& index)
{
    return index && *index >= 0 && *index < kPointCount ? FreqHz[*index] : std::string();
}

std::string Real(const std::optional<double>& v) { return v ? Number(*v) : std::string(); }

std::string OffsetText(int offsetS)
{
    const int minutes = std::abs(offsetS) / 60;
    return QString::asprintf("%c%02d:%02d", offsetS < 0 ? '-' : '+', minutes / 60, minutes % 60).toStdString();
}

std::string RecordLine(const ResultRecord& r, FieldEncoder& enc)
{
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(r.measuredAtMs, Qt::UTC);
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(r.measuredAtMs, Qt::OffsetFromUTC, r.utcOffsetS);
    std::string line;
    AppendField(line, r.uuid);
    AppendField(line, r.runUuid);
    AppendField(line, utc.toString(Qt::ISODateWithMs).toStdString());
    AppendField(line, local.toString("yyyy-MM-dd HH:mm:ss").toStdString());
    AppendField(line, OffsetText(r.utcOffsetS));
    AppendField(line, enc.Text(r.station));
    AppendField(line, enc.Text(r.operatorName));
    AppendField(line, OutcomeText(r.outcome));
    AppendField(line, enc.Text(r.refName.value_or("")));
    AppendField(line, enc.Text(r.refFile.value_or("")));
    AppendField(line, r.refHash.value_or(""));
    AppendField(line, enc.Text(r.terminal));
    AppendField(line, Integer(r.channel));
    AppendField(line, r.verdict.value_or(""));
    AppendField(line, Integer(r.ng1));
    AppendField(line, Integer(r.ng2));
    AppendField(line, Integer(r.ng3));
    AppendField(line, Hz(r.judgeFirst));
    AppendField(line, Hz(r.judgeLast));
    AppendField(line, Integer(r.worstDeviationPct));
    AppendField(line, Real(r.worstDeviationHz));
    AppendField(line, Real(r.f0Hz));
    AppendField(line, Real(r.zmaxOhm));
    AppendField(line, Real(r.qts));
    AppendField(line, Real(r.zminOhm));
    AppendField(line, Real(r.zminHz));
    AppendField(line, Real(r.refF0Hz));
    for (int j = 0; j < kPointCount; ++j)
        AppendField(line, j < static_cast<int>(r.points.size()) ? enc.Point(PointOhmText(r.points[j])) : std::string());
    return line + kEol;
}

std::string HeadingLine()
{
    std::string line;
    for (const char* h : kHeadings)
        AppendField(line, h);
    for (int j = 0; j < kPointCount; ++j)
        AppendField(line, FreqHz[j]);
    return line + kEol;
}

IoResult Failure(const std::string& path, const QString& reason)
{
    return IoResult{false, path + ": " + reason.toStdString()};
}

}  // namespace

std::string PointOhmText(const std::string& point)
{
    const std::optional<int> v = ParsePoint(point);
    if (!v)
        return point;
    const int whole = *v / 10;
    const int tenth = std::abs(*v % 10);
    std::string text = (*v < 0 && whole == 0) ? "-0" : std::to_string(whole);
    if (tenth)
        text += "." + std::to_string(tenth);
    return text;
}

IoResult ExportResultsCsv(QSqlDatabase db, const ResultFilter& filter, const std::string& path, CsvEncoding encoding)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return Failure(path, file.errorString());
    const SqlCondition c = ConditionOf(filter);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(QString::fromStdString("SELECT " + RecordColumnList() + " FROM records") + c.text +
                   " ORDER BY measured_at DESC, id DESC"))
        return Failure(path, q.lastError().text());
    BindValues(q, c.values);
    if (!q.exec())
        return Failure(path, q.lastError().text());

    FieldEncoder enc(encoding);
    std::string chunk = encoding == CsvEncoding::Utf8 ? "\xEF\xBB\xBF" : "";
    chunk += HeadingLine();
    constexpr std::size_t kChunkBytes = 1 << 20;
    while (q.next()) {
        chunk += RecordLine(RecordFromRow(q), enc);
        if (chunk.size() >= kChunkBytes) {
            if (file.write(chunk.data(), static_cast<qint64>(chunk.size())) < 0)
                return Failure(path, file.errorString());
            chunk.clear();
        }
    }
    if (q.lastError().isValid())
        return Failure(path, q.lastError().text());
    if (file.write(chunk.data(), static_cast<qint64>(chunk.size())) < 0 || !file.commit())
        return Failure(path, file.errorString());
    return {};
}

}  // namespace qlx
