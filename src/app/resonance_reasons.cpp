#include "app/resonance_reasons.h"

#include <utility>

#include "analysis/analysis_value.h"

namespace qlx {

std::string CaveatReasons(std::uint32_t caveats)
{
    static const std::pair<Caveat, const char*> kTexts[] = {
        {kCaveatNoRe, "Re が入力されていません。"},
        {kCaveatNoResonance, "カーブに共振が見つかりません。"},
        {kCaveatReNotBelowPeak, "Re が Zmax 以上です (r0 ≦ 1)。"},
        {kCaveatR0BelowOnePointTwo, "r0 が 1.2 未満のため Qe と Qt は意味を持ちません。"},
        {kCaveatR0BelowTwo, "r0 が 2 未満のため Q の値は Re に大きく左右されます。"},
        {kCaveatF1BelowRange, "f1 が測定範囲より低いため f0²/f2 から求めました。"},
        {kCaveatF2AboveRange, "f2 が測定範囲より高いため f0²/f1 から求めました。"},
        {kCaveatNoCrossing, "|Z| が √(Re·Zmax) と交わりません。"},
        {kCaveatReAboveMinimum, "Re が測定された |Z| の最小値より高く、Re が正しくないようです。"},
        {kCaveatWholeRange, "共振がないため、カーブ全体での最小値です。"},
    };
    std::string out;
    for (const auto& [bit, text] : kTexts) {
        if ((caveats & bit) == 0)
            continue;
        if (!out.empty())
            out += '\n';
        out += text;
    }
    return out;
}

std::string PeakVerdictText(PeakVerdict verdict)
{
    switch (verdict) {
    case PeakVerdict::kFound: return "";
    case PeakVerdict::kTooFewPoints: return "測定点が 3 点未満です。";
    case PeakVerdict::kFlat: return "カーブが平坦です。";
    case PeakVerdict::kPeakAtFirstPoint: return "共振が測定範囲の下限 (約 21 Hz) より低い周波数にあります。";
    case PeakVerdict::kWeakPeak: return "際立つ山がありません (山がその後の最小値の 1.3 倍未満)。";
    case PeakVerdict::kNoPeak: return "カーブに山がありません。";
    }
    return "";
}

std::string RefinementOutcomeText(RefinementOutcome outcome)
{
    switch (outcome) {
    case RefinementOutcome::kAccepted: return "";
    case RefinementOutcome::kNoResonance: return "共振がないため精密化できません。";
    case RefinementOutcome::kTooFewPoints: return "共振の前後に測定点が足りません。";
    case RefinementOutcome::kNotConverged: return "フィットが収束しませんでした。";
    case RefinementOutcome::kF0Moved: return "フィットの f0 が 3 % を超えてずれました。";
    case RefinementOutcome::kResidualTooLarge: return "フィットの残差が大きく、単一の共振に見えません。";
    case RefinementOutcome::kUnphysical: return "フィットの結果が物理的にありえない値です。";
    }
    return "";
}

}  // namespace qlx
