#include "results/resonance_fields.h"

#include <array>

#include "analysis/resonance_analysis.h"

namespace qlx {

namespace {

std::optional<double> Reported(const AnalysisValue& v)
{
    return v.Reported() ? std::optional<double>(v.value) : std::nullopt;
}

}  // namespace

void FillResonanceFields(std::vector<ResultRecord>& records, const CurveState& curves, std::optional<double> reOhm)
{
    // The reference's f0 of a channel, analysed once per run.
    std::array<std::optional<std::optional<double>>, kChannelCount> refF0;
    for (ResultRecord& r : records) {
        if (!r.channel || *r.channel < 1 || *r.channel > kChannelCount)
            continue;
        const int c = *r.channel - 1;
        const ResonanceAnalysis a =
            AnalyzeResonance(ChannelPointsOf(curves.ImpLines, c, curves.ImpMinFreq[c], curves.ImpMaxFreq[c]), reOhm);
        const ResonanceParameters& p = a.Best();
        r.f0Hz = Reported(p.f0);
        r.zmaxOhm = Reported(p.zmax);
        r.qts = reOhm ? Reported(p.qts) : std::nullopt;
        // Without a resonance the minimum is the whole curve's, which is
        // not the figure this field holds.
        const bool aboveResonance = !a.zmin.Has(kCaveatWholeRange);
        r.zminOhm = aboveResonance ? Reported(a.zmin) : std::nullopt;
        r.zminHz = aboveResonance ? Reported(a.zminHz) : std::nullopt;
        if (curves.RefLoaded) {
            std::optional<std::optional<double>>& ref = refF0[static_cast<std::size_t>(c)];
            if (!ref)
                ref = Reported(
                    AnalyzeResonance(ChannelPointsOf(curves.RefLines, c, 0, kPointCount - 1), std::nullopt).Best().f0);
            r.refF0Hz = *ref;
        }
    }
}

}  // namespace qlx
