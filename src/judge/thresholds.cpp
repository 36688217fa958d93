#include "judge/thresholds.h"

#include "judge/curve_points.h"

namespace qlx {

std::int64_t ThresholdHigh(std::int64_t r, int p)
{
    const std::int64_t t = r * (1000 + 10 * p);
    const std::int64_t q = t / 1000;
    return t - 1000 * q > 50 ? q + 1 : q;
}

std::int64_t ThresholdLow(std::int64_t r, int p)
{
    const std::int64_t t = r * (1000 - 10 * p);
    const std::int64_t q = t / 1000;
    return 1000 * q - t > 50 ? q - 1 : q;
}

int ReferenceMinimumIndex(const CurveLines& ref, int c, int a, int b)
{
    int k = 0;
    int minimum = 1001;
    for (int j = a; j <= b; ++j) {
        const auto r = PointValue(ref, c, j);
        if (r && *r < minimum) {
            minimum = *r;
            k = j;
        }
    }
    return k;
}

namespace {

enum class Side { High, Low };

// One NG3 band edge. The start point only places the pen (plain truncated
// formula) and is not judged.
void BandEdge(const CurveLines& ref, const CurveLines& imp, int c, int p3, int a, int b, Side side,
              std::vector<ThresholdVertex>& out, JudgeResult& result)
{
    const auto ra = PointValue(ref, c, a);
    if (!ra)
        return;
    const std::int64_t r0 = *ra;
    const std::int64_t first = side == Side::High ? (r0 * 100 + r0 * p3) / 100 : (r0 * 100 - r0 * p3) / 100;
    out.push_back({a, first, false});
    for (int j = a + 1; j <= b; ++j) {
        const auto r = PointValue(ref, c, j);
        if (!r)
            continue;
        const std::int64_t t = side == Side::High ? ThresholdHigh(*r, p3) : ThresholdLow(*r, p3);
        if (t != 0) {
            const auto m = PointValue(imp, c, j);
            if (m && side == Side::High && *m > t)
                result = JudgeResult::Ng3H;
            if (m && side == Side::Low && *m < t)
                result = JudgeResult::Ng3L;
        }
        out.push_back({j, t, t == 0});
    }
}

void PointTest(const CurveLines& ref, const CurveLines& imp, int c, int k, int p, CrossKind kind, ThresholdDrawing& d)
{
    const auto r = PointValue(ref, c, k);
    if (!r)
        return;
    const auto m = PointValue(imp, c, k);
    const bool ng1 = kind == CrossKind::Ng1;
    const std::int64_t h = ThresholdHigh(*r, p);
    d.crosses.push_back({k, h, kind});
    if (m && h != 0 && *m > h)
        d.verdict = ng1 ? JudgeResult::Ng1H : JudgeResult::Ng2H;
    const std::int64_t l = ThresholdLow(*r, p);
    d.crosses.push_back({k, l, kind});
    if (m && l != 0 && *m < l)
        d.verdict = ng1 ? JudgeResult::Ng1L : JudgeResult::Ng2L;
}

}  // namespace

ThresholdDrawing JudgeThresholds(const CurveLines& ref, const CurveLines& imp, int c, ThresholdPercents p, int a, int b)
{
    ThresholdDrawing d;
    d.verdict = JudgeResult::Ok;
    BandEdge(ref, imp, c, p.Ng3, a, b, Side::High, d.upper, d.verdict);
    BandEdge(ref, imp, c, p.Ng3, a, b, Side::Low, d.lower, d.verdict);
    const int k = ReferenceMinimumIndex(ref, c, a, b);
    if (a <= k && k <= b) {
        PointTest(ref, imp, c, k, p.Ng2, CrossKind::Ng2, d);
        PointTest(ref, imp, c, k, p.Ng1, CrossKind::Ng1, d);
    }
    return d;
}

}  // namespace qlx
