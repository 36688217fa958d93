#include "analysis/resonance_parameters.h"

#include <cmath>
#include <initializer_list>

namespace qlx {

void MarkReDependentMissing(ResonanceParameters& p, std::uint32_t why)
{
    for (AnalysisValue* v : {&p.r0, &p.f1, &p.f2, &p.qms, &p.qes, &p.qts})
        *v = AnalysisValue::Missing(why);
}

void FillQualityFactors(ResonanceParameters& p)
{
    if (!p.f1.Reported() || !p.f2.Reported() || !p.r0.Reported()) {
        const std::uint32_t why = p.f1.caveats | p.f2.caveats | p.r0.caveats;
        p.qms = p.qes = p.qts = AnalysisValue::Missing(why);
        return;
    }
    const double r0 = p.r0.value;
    std::uint32_t why = p.r0.caveats | p.f1.caveats | p.f2.caveats;
    if (r0 < kR0Flagged)
        why |= kCaveatR0BelowTwo;
    const double qms = p.f0.value * std::sqrt(r0) / (p.f2.value - p.f1.value);
    p.qms = AnalysisValue::With(qms, why);
    if (r0 < kR0NotReported) {
        p.qes = p.qts = AnalysisValue::Missing(why | kCaveatR0BelowOnePointTwo);
        return;
    }
    const double qes = qms / (r0 - 1);
    p.qes = AnalysisValue::With(qes, why);
    p.qts = AnalysisValue::With(qms * qes / (qms + qes), why);
}

std::uint32_t ReCaveats(double reOhm, double lowestOhm)
{
    return reOhm > lowestOhm + 0.05 ? kCaveatReAboveMinimum : 0u;
}

}  // namespace qlx
