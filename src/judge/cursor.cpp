#include "judge/cursor.h"

#include <algorithm>
#include <cstdlib>

#include "judge/curve_points.h"

namespace qlx {

namespace {

constexpr int kPlotLeft = 30;
constexpr int kColumnsPerIndex = 5;
constexpr int kSearchMaxStart = 0;
constexpr int kSearchMinStart = 1001;

// A whole number of tenths with at most one decimal and no trailing zero.
std::string Tenths(std::int64_t v)
{
    const std::int64_t whole = v / 10;
    const std::int64_t tenth = std::llabs(v % 10);
    std::string text = (v < 0 && whole == 0) ? "-0" : std::to_string(whole);
    if (tenth != 0)
        text += "." + std::to_string(tenth);
    return text;
}

void SearchMinMax(const CurveLines& lines, int c, int from, int to, int& maxIndex, int& minIndex)
{
    maxIndex = 0;
    minIndex = 0;
    int maximum = kSearchMaxStart;
    int minimum = kSearchMinStart;
    for (int j = from; j <= to; ++j) {
        const auto v = PointValue(lines, c, j);
        if (!v)
            continue;
        if (*v > maximum) {
            maximum = *v;
            maxIndex = j;
        }
        if (*v < minimum) {
            minimum = *v;
            minIndex = j;
        }
    }
}

}  // namespace

int ClampCursorIndex(int k) { return std::clamp(k, 0, kPointCount - 1); }

int CursorIndexAtImageX(int x) { return ClampCursorIndex((x - kPlotLeft) / kColumnsPerIndex); }

std::string OhmText(std::optional<int> v)
{
    if (!v)
        return " ";
    if (*v > 1000)
        return " > 100ohm";
    return " " + Tenths(*v) + "ohm";
}

std::string PercentText(std::int64_t q)
{
    if (q > 100)
        return " > 100%";
    if (q < -100)
        return " < -100%";
    return " " + std::to_string(q) + "%";
}

std::int64_t DeviationReadout(std::int64_t m, std::int64_t r)
{
    if (r == 0)
        return m != 0 ? 101 : 0;
    return (m * 1000 / r - 1000) / 10;
}

std::int64_t DeviationForSearch(std::int64_t m, std::int64_t r) { return m * 100 / r - 100; }

CursorReadouts CursorValueReadouts(const CurveState& s, int k, int judgeMin, int judgeMax, bool channelAllowed)
{
    CursorReadouts out;
    if (!s.CursorOn) {
        out.Imp = " ";
        out.Percent = " ";
        return out;
    }
    const int c = s.SelectedChannel;
    const auto m = PointValue(s.ImpLines, c, k);
    const auto r = PointValue(s.RefLines, c, k);
    if (k > s.DrawMaxFreq || k < s.DrawMinFreq) {
        out.Imp = " ";
        out.Ref = " ";
    } else {
        if (s.ImpLoaded)
            out.Imp = OhmText(m);
        if (s.RefLoaded)
            out.Ref = OhmText(r);
    }
    if (k > judgeMax || k < judgeMin)
        out.Percent = " ";
    else if (channelAllowed && s.RefLoaded && m && r)
        out.Percent = PercentText(DeviationReadout(*m, *r));
    return out;
}

void CursorSearches::SearchImp(const CurveState& s)
{
    if (s.ImpLoaded)
        SearchMinMax(s.ImpLines, s.SelectedChannel, s.DrawMinFreq, s.DrawMaxFreq, ImpMaxIndex, ImpMinIndex);
}

void CursorSearches::SearchRef(const CurveState& s)
{
    if (s.RefLoaded)
        SearchMinMax(s.RefLines, s.SelectedChannel, s.DrawMinFreq, s.DrawMaxFreq, RefMaxIndex, RefMinIndex);
}

LargestDeviation FindLargestDeviation(const CurveLines& ref, const CurveLines& imp, int c, int a, int b)
{
    LargestDeviation best;
    for (int j = a; j <= b; ++j) {
        const auto m = PointValue(imp, c, j);
        const auto r = PointValue(ref, c, j);
        if (!m || !r || *r == 0)
            continue;
        const std::int64_t d = DeviationForSearch(*m, *r);
        if (std::llabs(d) > std::llabs(best.percent))
            best = {j, d};
    }
    return best;
}

void CursorSearches::SearchDeviation(const CurveState& s, int judgeMin, int judgeMax)
{
    if (s.ImpLoaded && s.RefLoaded)
        DeviationMaxIndex = FindLargestDeviation(s.RefLines, s.ImpLines, s.SelectedChannel, judgeMin, judgeMax).index;
}

CursorControls CursorControlsFor(bool cursorOn, bool impLoaded, bool refLoaded)
{
    CursorControls c;
    if (!cursorOn)
        return c;
    c.FreqUpDown = c.FreqEdit = true;
    c.ImpEdit = c.ImpButtons = impLoaded;
    c.RefEdit = c.RefButtons = refLoaded;
    c.PercentEdit = c.HensaButton = impLoaded && refLoaded;
    return c;
}

}  // namespace qlx
