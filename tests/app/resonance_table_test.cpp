// The resonance dialog's texts, built without a window.
#include <gtest/gtest.h>

#include <QLocale>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "analysis/channel_points.h"
#include "app/re_text.h"
#include "app/resonance_reasons.h"
#include "app/resonance_table.h"
#include "model/freq_table.h"
#include "speaker_curves.h"

namespace qlx {
namespace {

using qlxtest::kWoofer;

ResonanceCurveInput Input(const qlxsim::SpeakerModel& m) { return {true, ChannelPointsFromValues(qlxsim::CurveOf(m))}; }

ReEntry Re(double ohm) { return {ReEntry::Kind::kValue, ohm}; }

const ResonanceRow& Row(const ResonanceTable& t, ResonanceQuantity q) { return t.rows[static_cast<int>(q)]; }

double Number(const ResonanceCell& c)
{
    EXPECT_NE(c.state, CellState::kMissing) << c.note;
    return std::stod(c.text);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

constexpr ResonanceQuantity kReDependent[] = {ResonanceQuantity::kR0, ResonanceQuantity::kF1, ResonanceQuantity::kF2,
                                              ResonanceQuantity::kQm, ResonanceQuantity::kQe, ResonanceQuantity::kQt};

TEST(ReText, ReadsDigitsWithOnePointAndNothingElse)
{
    struct Case {
        const char* text;
        ReEntry::Kind kind;
        double ohm;
    };
    const Case cases[] = {
        {"", ReEntry::Kind::kEmpty, 0},          {"   ", ReEntry::Kind::kEmpty, 0},
        {"6.4", ReEntry::Kind::kValue, 6.4},     {" 6.4 ", ReEntry::Kind::kValue, 6.4},
        {".5", ReEntry::Kind::kValue, 0.5},      {"6.", ReEntry::Kind::kValue, 6},
        {"999.9", ReEntry::Kind::kValue, 999.9}, {"0", ReEntry::Kind::kInvalid, 0},
        {"0.00", ReEntry::Kind::kInvalid, 0},    {".", ReEntry::Kind::kInvalid, 0},
        {"6,4", ReEntry::Kind::kInvalid, 0},     {"6.4.1", ReEntry::Kind::kInvalid, 0},
        {"-1", ReEntry::Kind::kInvalid, 0},      {"1e1", ReEntry::Kind::kInvalid, 0},
        {"1000", ReEntry::Kind::kInvalid, 0},    {"6 4", ReEntry::Kind::kInvalid, 0},
    };
    for (const Case& c : cases) {
        const ReEntry e = ParseReText(c.text);
        EXPECT_EQ(e.kind, c.kind) << '"' << c.text << '"';
        if (c.kind == ReEntry::Kind::kValue) {
            EXPECT_EQ(e.ohm, c.ohm) << c.text;
        }
        EXPECT_EQ(e.Value().has_value(), c.kind == ReEntry::Kind::kValue) << c.text;
    }
    for (double ohm : {6.4, 12.0, 0.1 + 0.2, 3.25})
        EXPECT_EQ(ParseReText(ReText(ohm)).ohm, ohm) << ReText(ohm);
    EXPECT_EQ(ReText(6.4), "6.4");
    EXPECT_EQ(ReText(12), "12");
}

// A woofer against itself: believable values, all from the fit, and no
// deviation anywhere.
TEST(ResonanceTable, WooferAgainstItsOwnCurve)
{
    const ResonanceTable t = BuildResonanceTable(Input(kWoofer), Input(kWoofer), Re(kWoofer.re));
    EXPECT_EQ(t.measuredMethod.text, "精密化");
    EXPECT_EQ(t.referenceMethod.text, "精密化");
    EXPECT_NEAR(Number(Row(t, ResonanceQuantity::kF0).measured), kWoofer.fs, 0.01 * kWoofer.fs);
    EXPECT_NEAR(Number(Row(t, ResonanceQuantity::kZmax).measured), kWoofer.zmax, 0.03 * kWoofer.zmax);
    EXPECT_NEAR(Number(Row(t, ResonanceQuantity::kQt).reference), kWoofer.Qt(), 0.03 * kWoofer.Qt());
    EXPECT_NEAR(Number(Row(t, ResonanceQuantity::kQm).reference), kWoofer.qm, 0.05 * kWoofer.qm);
    for (const ResonanceRow& row : t.rows) {
        EXPECT_EQ(row.measured.text, row.reference.text) << row.label;
        EXPECT_EQ(row.deviation.text, "0.0") << row.label;
        EXPECT_EQ(row.deviation.state, CellState::kValue) << row.label;
    }
    EXPECT_TRUE(Contains(Row(t, ResonanceQuantity::kQt).measured.note, "精密化"))
        << Row(t, ResonanceQuantity::kQt).measured.note;
    EXPECT_TRUE(Contains(Row(t, ResonanceQuantity::kZmin).measured.note, "測定点"));
    // |Z|min lies on a grid point and is written as the grid writes it.
    const std::string zminHz = Row(t, ResonanceQuantity::kZminHz).measured.text;
    EXPECT_NE(std::find(FreqHz.begin(), FreqHz.end(), zminHz), FreqHz.end()) << zminHz;
    EXPECT_EQ(Row(t, ResonanceQuantity::kF0).label, "f0 (Hz)");
    EXPECT_EQ(Row(t, ResonanceQuantity::kZmin).label, "|Z|min (Ω)");
    EXPECT_TRUE(Contains(t.methodNote, "測定カーブ: 精密化")) << t.methodNote;
}

TEST(ResonanceTable, DeviationIsOfTheReferenceValueWithItsSign)
{
    qlxsim::SpeakerModel unit = kWoofer;
    unit.fs = 46;  // a softer suspension
    const ResonanceTable t = BuildResonanceTable(Input(unit), Input(kWoofer), Re(kWoofer.re));
    const ResonanceRow& f0 = Row(t, ResonanceQuantity::kF0);
    const double m = Number(f0.measured), r = Number(f0.reference);
    EXPECT_NEAR(m, 46, 0.5);
    EXPECT_EQ(f0.deviation.text.front(), '-');
    EXPECT_NEAR(Number(f0.deviation), 100 * (m - r) / r, 0.15);
    const ResonanceTable back = BuildResonanceTable(Input(kWoofer), Input(unit), Re(kWoofer.re));
    EXPECT_EQ(Row(back, ResonanceQuantity::kF0).deviation.text.front(), '+');
}

// Without Re nothing that needs it is shown, whatever |Z|min is.
TEST(ResonanceTable, NoReNoRatioAndNoQ)
{
    for (const ReEntry& re : {ReEntry{}, ParseReText("0")}) {
        const ResonanceTable t = BuildResonanceTable(Input(kWoofer), Input(kWoofer), re);
        for (ResonanceQuantity q : kReDependent) {
            const ResonanceRow& row = Row(t, q);
            for (const ResonanceCell* c : {&row.measured, &row.reference, &row.deviation}) {
                EXPECT_EQ(c->state, CellState::kMissing) << row.label;
                EXPECT_EQ(c->text, "—") << row.label;
                EXPECT_TRUE(Contains(c->note, "Re が入力されていません")) << row.label << ": " << c->note;
            }
        }
        for (ResonanceQuantity q :
             {ResonanceQuantity::kF0, ResonanceQuantity::kZmax, ResonanceQuantity::kZmin, ResonanceQuantity::kZminHz})
            EXPECT_EQ(Row(t, q).measured.state, CellState::kValue) << Row(t, q).label;
    }
    EXPECT_TRUE(Contains(ReNote(ReEntry{}, true), "|Z|min は Re の代わりになりません"));
    EXPECT_TRUE(Contains(ReNote(ParseReText("."), true), "0 より大きい数"));
}

TEST(ResonanceTable, FlaggedAndMissingValuesSayWhy)
{
    // A weak resonance: r0 below 2 makes every Q a doubtful number.
    const qlxsim::SpeakerModel weak{6.4, 60, 11, 4, 0.1};
    const ResonanceTable t = BuildResonanceTable(Input(weak), Input(weak), Re(weak.re));
    const ResonanceCell& qm = Row(t, ResonanceQuantity::kQm).measured;
    EXPECT_EQ(qm.state, CellState::kFlagged);
    EXPECT_EQ(qm.text.substr(qm.text.size() - 2), " *");
    EXPECT_TRUE(Contains(qm.note, "r0 が 2 未満")) << qm.note;
    EXPECT_EQ(Row(t, ResonanceQuantity::kQm).deviation.state, CellState::kFlagged);

    // An Re above every measured |Z| leaves r0 below 1.2: Qe and Qt go.
    const ResonanceTable high = BuildResonanceTable(Input(weak), Input(weak), Re(9.8));
    for (ResonanceQuantity q : {ResonanceQuantity::kQe, ResonanceQuantity::kQt}) {
        const ResonanceCell& c = Row(high, q).measured;
        EXPECT_EQ(c.state, CellState::kMissing);
        EXPECT_TRUE(Contains(c.note, "r0 が 1.2 未満")) << c.note;
        EXPECT_TRUE(Contains(c.note, "Re が正しくない")) << c.note;
    }
}

TEST(ResonanceTable, ResistorHasNoResonance)
{
    ResonanceCurveInput resistor{true, {}};
    for (auto& p : resistor.points)
        p = 80;
    const ResonanceTable t = BuildResonanceTable(resistor, Input(kWoofer), Re(8));
    EXPECT_EQ(t.measuredMethod.text, "—");
    EXPECT_EQ(t.measuredMethod.note, "共振なし: " + PeakVerdictText(PeakVerdict::kFlat));
    EXPECT_TRUE(Contains(t.methodNote, "測定カーブ: 共振なし")) << t.methodNote;
    const ResonanceRow& f0 = Row(t, ResonanceQuantity::kF0);
    EXPECT_EQ(f0.measured.state, CellState::kMissing);
    EXPECT_TRUE(Contains(f0.measured.note, "カーブが平坦です")) << f0.measured.note;
    EXPECT_EQ(f0.deviation.state, CellState::kMissing);
    EXPECT_EQ(f0.reference.state, CellState::kValue);
    // |Z|min is still the curve's lowest point, flagged as taken over the whole curve.
    const ResonanceCell& zmin = Row(t, ResonanceQuantity::kZmin).measured;
    EXPECT_EQ(zmin.text, "8.0 *");
    EXPECT_TRUE(Contains(zmin.note, "カーブ全体")) << zmin.note;
}

// The impedance of a vented box: two humps, which no single resonance fits.
ResonanceCurveInput VentedBox()
{
    ResonanceCurveInput in{true, {}};
    for (int j = 0; j < kPointCount; ++j) {
        const double f = qlxsim::Hertz(j);
        using C = std::complex<double>;
        const C z = C(6.4, 2 * std::numbers::pi * f * 0.16e-3) + 30.0 / C(1, 4 * (f / 28 - 28 / f)) +
                    24.0 / C(1, 4 * (f / 75 - 75 / f));
        in.points[j] = static_cast<int>(std::lround(std::abs(z) * 10));
    }
    return in;
}

TEST(ResonanceTable, RejectedFitLeavesTheClassicValuesAndSaysWhy)
{
    const ResonanceCurveInput box = VentedBox();
    const ResonanceAnalysis a = AnalyzeResonance(box.points, 6.4);
    ASSERT_TRUE(a.peak.Found());
    ASSERT_FALSE(a.refinement.Accepted());
    const ResonanceTable t = BuildResonanceTable(box, Input(kWoofer), Re(6.4));
    EXPECT_EQ(t.measuredMethod.text, "従来法");
    EXPECT_EQ(t.measuredMethod.note, "精密化は不採用: " + RefinementOutcomeText(a.refinement.outcome));
    EXPECT_TRUE(Contains(t.methodNote, RefinementOutcomeText(a.refinement.outcome))) << t.methodNote;
    EXPECT_EQ(Row(t, ResonanceQuantity::kF0).measured.text, FixedText(a.classic.f0.value, 1));
    EXPECT_TRUE(Contains(Row(t, ResonanceQuantity::kF0).measured.note, "従来法"));
    EXPECT_EQ(t.referenceMethod.text, "精密化");
}

TEST(ResonanceTable, AbsentCurvesShowNothingAndSaySo)
{
    const ResonanceTable none = BuildResonanceTable({}, {}, Re(6.4));
    for (const ResonanceRow& row : none.rows) {
        EXPECT_EQ(row.measured.note, "測定カーブがありません。") << row.label;
        EXPECT_EQ(row.reference.note, "リファレンス・カーブがありません。") << row.label;
        EXPECT_EQ(row.deviation.state, CellState::kMissing) << row.label;
    }
    EXPECT_TRUE(none.methodNote.empty());
    const ResonanceTable measuredOnly = BuildResonanceTable(Input(kWoofer), {}, Re(6.4));
    EXPECT_EQ(Row(measuredOnly, ResonanceQuantity::kQt).measured.state, CellState::kValue);
    EXPECT_EQ(Row(measuredOnly, ResonanceQuantity::kQt).deviation.note, "リファレンス・カーブがありません。");
}

// The numbers are written the same whatever the user's locale.
TEST(ResonanceTable, NumbersIgnoreTheLocale)
{
    const char* before = std::setlocale(LC_ALL, nullptr);
    const std::string saved = before ? before : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps.sh generates it)";
    const QLocale qtBefore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const ResonanceTable t = BuildResonanceTable(Input(kWoofer), Input(kWoofer), Re(6.4));
    const ReEntry re = ParseReText("6.4");
    const std::string fixed = FixedText(1234.5678, 2);
    const std::string reText = ReText(6.4);
    std::setlocale(LC_ALL, saved.c_str());
    QLocale::setDefault(qtBefore);
    EXPECT_EQ(re.ohm, 6.4);
    EXPECT_EQ(fixed, "1234.57");
    EXPECT_EQ(reText, "6.4");
    for (const ResonanceRow& row : t.rows)
        EXPECT_EQ(row.measured.text.find(','), std::string::npos) << row.measured.text;
    EXPECT_NE(Row(t, ResonanceQuantity::kF0).measured.text.find('.'), std::string::npos);
    EXPECT_EQ(FixedText(-0.04, 1), "0.0");
    EXPECT_EQ(FixedText(-0.06, 1), "-0.1");
    EXPECT_EQ(FixedText(52.349, 1), "52.3");
}

}  // namespace
}  // namespace qlx
