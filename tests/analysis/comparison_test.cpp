#include <gtest/gtest.h>

#include <set>
#include <string>

#include "analysis/comparison.h"
#include "support/synthetic_driver.h"

namespace qlx {
namespace {

using qlxtest::SyntheticDriver;

TEST(Comparison, MeasuredAgainstReferenceInPercent)
{
    const SyntheticDriver ref{5.6, 60.0, 4.0, 0.5, 0.8e-3};
    SyntheticDriver unit = ref;
    unit.f0 = 66.0;  // 10 % higher
    const ResonanceAnalysis r = AnalyzeResonance(ref.Points(), ref.re);
    const ResonanceAnalysis m = AnalyzeResonance(unit.Points(), unit.re);
    ASSERT_TRUE(r.refinement.Accepted());
    ASSERT_TRUE(m.refinement.Accepted());
    const auto rows = CompareAnalyses(m, r);

    std::set<std::string> symbols;
    for (int i = 0; i < kResonanceQuantityCount; ++i) {
        const ComparisonRow& row = rows[i];
        EXPECT_EQ(static_cast<int>(row.quantity), i);
        symbols.insert(QuantitySymbol(row.quantity));
        ASSERT_TRUE(row.deviationPercent.Reported()) << QuantitySymbol(row.quantity);
        EXPECT_DOUBLE_EQ(row.deviationPercent.value,
                         100 * (row.measured.value - row.reference.value) / row.reference.value);
    }
    EXPECT_EQ(symbols.size(), static_cast<size_t>(kResonanceQuantityCount));
    // The values are the refined ones where the fit was accepted.
    const ComparisonRow& f0 = rows[static_cast<int>(ResonanceQuantity::kF0)];
    EXPECT_DOUBLE_EQ(f0.measured.value, m.refined.f0.value);
    EXPECT_NEAR(f0.deviationPercent.value, 10, 0.3);
    EXPECT_EQ(UnitOf(ResonanceQuantity::kF0), QuantityUnit::kHertz);
    EXPECT_EQ(UnitOf(ResonanceQuantity::kZmin), QuantityUnit::kOhm);
    EXPECT_EQ(UnitOf(ResonanceQuantity::kQt), QuantityUnit::kNone);
}

// A deviation needs both values; a doubtful value makes it doubtful too.
TEST(Comparison, DeviationFollowsTheValuesStatus)
{
    const SyntheticDriver d{5.6, 60.0, 4.0, 0.5, 0.8e-3};
    const ResonanceAnalysis withRe = AnalyzeResonance(d.Points(), d.re);
    const ResonanceAnalysis noRe = AnalyzeResonance(d.Points(), std::nullopt);
    const ResonanceAnalysis highRe = AnalyzeResonance(d.Points(), d.Zmax() / 1.5);  // r0 = 1.5
    const auto qt = [](const ResonanceAnalysis& m, const ResonanceAnalysis& r) {
        return CompareAnalyses(m, r)[static_cast<int>(ResonanceQuantity::kQt)].deviationPercent;
    };
    EXPECT_EQ(qt(withRe, withRe).status, ValueStatus::kValid);
    EXPECT_EQ(qt(withRe, withRe).value, 0);
    EXPECT_EQ(qt(noRe, withRe).status, ValueStatus::kNotReported);
    EXPECT_TRUE(qt(noRe, withRe).Has(kCaveatNoRe));
    EXPECT_EQ(qt(withRe, noRe).status, ValueStatus::kNotReported);
    EXPECT_EQ(qt(highRe, withRe).status, ValueStatus::kFlagged);
    EXPECT_TRUE(qt(highRe, withRe).Has(kCaveatR0BelowTwo));
    // f0 needs no Re.
    EXPECT_EQ(CompareAnalyses(noRe, withRe)[0].deviationPercent.status, ValueStatus::kValid);
}

}  // namespace
}  // namespace qlx
