#include "app/resonance_table.h"

#include <charconv>
#include <cmath>

#include "analysis/channel_points.h"
#include "app/resonance_reasons.h"

namespace qlx {

namespace {

const char* const kMissingText = "—";

std::string Join(const std::string& a, const std::string& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a + "\n" + b;
}

int DecimalsOf(ResonanceQuantity q, double value)
{
    switch (q) {
    case ResonanceQuantity::kF0:
    case ResonanceQuantity::kF1:
    case ResonanceQuantity::kF2: return std::abs(value) < 1000 ? 1 : 0;
    // A grid frequency: decimals only below 100 Hz (21.2, 47.4).
    case ResonanceQuantity::kZminHz: return std::abs(value) < 100 ? 1 : 0;
    case ResonanceQuantity::kZmax:
    case ResonanceQuantity::kZmin: return 1;
    default: return 2;
    }
}

}  // namespace

std::string QuantityLabel(ResonanceQuantity q)
{
    std::string label = QuantitySymbol(q);
    switch (UnitOf(q)) {
    case QuantityUnit::kHertz: return label + " (Hz)";
    case QuantityUnit::kOhm: return label + " (Ω)";
    case QuantityUnit::kNone: return label;
    }
    return label;
}

namespace {

bool FromTheFit(ResonanceQuantity q) { return q != ResonanceQuantity::kZmin && q != ResonanceQuantity::kZminHz; }

// Where one curve's value of a quantity comes from.
std::string SourceOf(const ResonanceAnalysis& a, ResonanceQuantity q)
{
    if (!FromTheFit(q))
        return "共振より上の測定点から求めた値です。";
    return a.refinement.Accepted() ? "精密化 (最小二乗フィット) の値です。"
                                   : "従来法 (頂点の放物線と交点の補間) の値です。";
}

// The reasons for a value, with the curve's verdict where it has no resonance.
std::string ReasonsOf(const ResonanceAnalysis& a, const AnalysisValue& v)
{
    std::string reasons = CaveatReasons(v.caveats);
    if ((v.caveats & kCaveatNoResonance) != 0 || (v.caveats & kCaveatWholeRange) != 0)
        reasons = Join(reasons, PeakVerdictText(a.peak.verdict));
    return reasons;
}

ResonanceCell CellOf(const AnalysisValue& v, int decimals, bool signedText)
{
    ResonanceCell cell;
    if (!v.Reported()) {
        cell.text = kMissingText;
        return cell;
    }
    cell.text = FixedText(v.value, decimals);
    if (signedText && cell.text.front() != '-' && cell.text.find_first_not_of("0.") != std::string::npos)
        cell.text = "+" + cell.text;
    cell.state = v.status == ValueStatus::kFlagged ? CellState::kFlagged : CellState::kValue;
    if (cell.state == CellState::kFlagged)
        cell.text += " *";
    return cell;
}

ResonanceCell CurveCell(const ResonanceCurveInput& in, const ResonanceAnalysis& a, ResonanceQuantity q,
                        const AnalysisValue& v, const char* absentNote)
{
    if (!in.present)
        return {kMissingText, CellState::kMissing, absentNote};
    ResonanceCell cell = CellOf(v, DecimalsOf(q, v.value), false);
    const std::string reasons = ReasonsOf(a, v);
    cell.note = v.Reported() ? Join(SourceOf(a, q), reasons) : reasons;
    return cell;
}

ResonanceCell MethodCell(const ResonanceCurveInput& in, const ResonanceAnalysis& a, const char* absentNote)
{
    if (!in.present)
        return {kMissingText, CellState::kMissing, absentNote};
    if (!a.peak.Found())
        return {kMissingText, CellState::kMissing, "共振なし: " + PeakVerdictText(a.peak.verdict)};
    if (a.refinement.Accepted())
        return {"精密化", CellState::kValue,
                "最小二乗フィット (f0/3〜3·f0、" + std::to_string(a.refinement.points) + " 点、残差 RMS " +
                    FixedText(a.refinement.rmsResidual, 4) + ") を採用しました。"};
    return {"従来法", CellState::kValue, "精密化は不採用: " + RefinementOutcomeText(a.refinement.outcome)};
}

std::string MethodLine(const char* curve, const ResonanceCurveInput& in, const ResonanceAnalysis& a)
{
    if (!in.present)
        return {};
    std::string line = std::string(curve) + ": ";
    if (!a.peak.Found())
        return line + "共振なし — " + PeakVerdictText(a.peak.verdict);
    if (a.refinement.Accepted())
        return line + "精密化 (最小二乗フィット) の値";
    return line + "従来法の値 — 精密化は不採用 (" + RefinementOutcomeText(a.refinement.outcome) + ")";
}

}  // namespace

std::string FixedText(double value, int decimals)
{
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return kMissingText;
    std::string text(buf, end);
    // Never "-0.0".
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

ResonanceCurveInput MeasuredInput(const CurveState& curves)
{
    if (!curves.ImpLoaded)
        return {};
    const int c = curves.SelectedChannel;
    return {true, ChannelPointsOf(curves.ImpLines, c, curves.ImpMinFreq[c], curves.ImpMaxFreq[c])};
}

ResonanceCurveInput ReferenceInput(const CurveState& curves)
{
    if (!curves.RefLoaded)
        return {};
    return {true, ChannelPointsOf(curves.RefLines, curves.SelectedChannel, 0, kPointCount - 1)};
}

ResonanceTable BuildResonanceTable(const ResonanceCurveInput& measured, const ResonanceCurveInput& reference,
                                   const ReEntry& re)
{
    const std::optional<double> reOhm = re.Value();
    const ResonanceAnalysis m = AnalyzeResonance(measured.present ? measured.points : ChannelPoints{}, reOhm);
    const ResonanceAnalysis r = AnalyzeResonance(reference.present ? reference.points : ChannelPoints{}, reOhm);
    const char* const noMeasured = "測定カーブがありません。";
    const char* const noReference = "リファレンス・カーブがありません。";

    ResonanceTable table;
    const auto compared = CompareAnalyses(m, r);
    for (int i = 0; i < kResonanceQuantityCount; ++i) {
        const ComparisonRow& c = compared[i];
        ResonanceRow& row = table.rows[i];
        row.quantity = c.quantity;
        row.label = QuantityLabel(c.quantity);
        row.measured = CurveCell(measured, m, c.quantity, c.measured, noMeasured);
        row.reference = CurveCell(reference, r, c.quantity, c.reference, noReference);
        if (!measured.present || !reference.present) {
            row.deviation = {kMissingText, CellState::kMissing, !measured.present ? noMeasured : noReference};
            continue;
        }
        row.deviation = CellOf(c.deviationPercent, 1, true);
        std::string note =
            Join("100 × (測定 − リファレンス) / リファレンス", CaveatReasons(c.deviationPercent.caveats));
        if (c.measured.Reported() && c.reference.Reported() && !c.deviationPercent.Reported())
            note = Join(note, "リファレンスの値が 0 です。");
        row.deviation.note = note;
    }
    table.measuredMethod = MethodCell(measured, m, noMeasured);
    table.referenceMethod = MethodCell(reference, r, noReference);
    table.methodNote = Join(MethodLine("測定カーブ", measured, m), MethodLine("リファレンス", reference, r));
    return table;
}

std::string ReNote(const ReEntry& re, bool rememberedPerFile)
{
    switch (re.kind) {
    case ReEntry::Kind::kEmpty:
        return "Re が未入力のため r0、f1、f2 と Q は表示しません (|Z|min は Re の代わりになりません)。";
    case ReEntry::Kind::kInvalid:
        return "Re は 0 より大きい数 (Ω) で入力してください。r0、f1、f2 と Q は表示しません。";
    case ReEntry::Kind::kValue:
        return rememberedPerFile ? "Re はこのリファレンス・カーブのファイルに対して記憶されます。"
                                 : "Re はリファレンス・カーブのファイルを開くと、ファイルごとに記憶されます。";
    }
    return {};
}

}  // namespace qlx
