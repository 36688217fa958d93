#include "analysis/comparison.h"

namespace qlx {

const char* QuantitySymbol(ResonanceQuantity q)
{
    switch (q) {
    case ResonanceQuantity::kF0: return "f0";
    case ResonanceQuantity::kZmax: return "Zmax";
    case ResonanceQuantity::kR0: return "r0";
    case ResonanceQuantity::kF1: return "f1";
    case ResonanceQuantity::kF2: return "f2";
    case ResonanceQuantity::kQm: return "Qm";
    case ResonanceQuantity::kQe: return "Qe";
    case ResonanceQuantity::kQt: return "Qt";
    case ResonanceQuantity::kZmin: return "|Z|min";
    case ResonanceQuantity::kZminHz: return "f(|Z|min)";
    }
    return "";
}

QuantityUnit UnitOf(ResonanceQuantity q)
{
    switch (q) {
    case ResonanceQuantity::kF0:
    case ResonanceQuantity::kF1:
    case ResonanceQuantity::kF2:
    case ResonanceQuantity::kZminHz: return QuantityUnit::kHertz;
    case ResonanceQuantity::kZmax:
    case ResonanceQuantity::kZmin: return QuantityUnit::kOhm;
    default: return QuantityUnit::kNone;
    }
}

AnalysisValue ValueOf(const ResonanceAnalysis& a, ResonanceQuantity q)
{
    const ResonanceParameters& p = a.Best();
    switch (q) {
    case ResonanceQuantity::kF0: return p.f0;
    case ResonanceQuantity::kZmax: return p.zmax;
    case ResonanceQuantity::kR0: return p.r0;
    case ResonanceQuantity::kF1: return p.f1;
    case ResonanceQuantity::kF2: return p.f2;
    case ResonanceQuantity::kQm: return p.qms;
    case ResonanceQuantity::kQe: return p.qes;
    case ResonanceQuantity::kQt: return p.qts;
    case ResonanceQuantity::kZmin: return a.zmin;
    case ResonanceQuantity::kZminHz: return a.zminHz;
    }
    return {};
}

std::array<ComparisonRow, kResonanceQuantityCount> CompareAnalyses(const ResonanceAnalysis& measured,
                                                                   const ResonanceAnalysis& reference)
{
    std::array<ComparisonRow, kResonanceQuantityCount> rows{};
    for (int i = 0; i < kResonanceQuantityCount; ++i) {
        const auto q = static_cast<ResonanceQuantity>(i);
        ComparisonRow& row = rows[i];
        row.quantity = q;
        row.measured = ValueOf(measured, q);
        row.reference = ValueOf(reference, q);
        const std::uint32_t why = row.measured.caveats | row.reference.caveats;
        if (row.measured.Reported() && row.reference.Reported() && row.reference.value != 0) {
            const double percent = 100 * (row.measured.value - row.reference.value) / row.reference.value;
            row.deviationPercent = AnalysisValue::With(percent, why);
            if (row.measured.status == ValueStatus::kFlagged || row.reference.status == ValueStatus::kFlagged)
                row.deviationPercent.status = ValueStatus::kFlagged;
        } else {
            row.deviationPercent = AnalysisValue::Missing(why);
        }
    }
    return rows;
}

}  // namespace qlx
