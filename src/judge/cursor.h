#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/curve_state.h"

namespace qlx {

constexpr int kCursorStartIndex = 68;  // 1.00 kHz

// The spinner keeps the cursor on the grid.
int ClampCursorIndex(int k);
// Grid index under column x of the screen graph: plot columns 5k..5k+4 pick
// index k; left of the plot gives 0, at or right of column 600 gives 119.
int CursorIndexAtImageX(int x);

// " 12.3ohm", " > 100ohm", or " " for a missing value.
std::string OhmText(std::optional<int> v);
// " -50%", " > 100%", " < -100%".
std::string PercentText(std::int64_t q);
// Deviation shown in the readout: per mille of the reference, then truncated
// to percent; a reference 0 reads 101 (any measured value) or 0.
std::int64_t DeviationReadout(std::int64_t m, std::int64_t r);
// Deviation compared by the largest-deviation search (percent directly).
std::int64_t DeviationForSearch(std::int64_t m, std::int64_t r);

// The largest deviation of channel c over grid indices a..b by
// DeviationForSearch, skipping missing points and reference 0; the first
// index on ties. Index 0 and percent 0 when no point deviates.
struct LargestDeviation {
    int index = 0;
    std::int64_t percent = 0;
};
LargestDeviation FindLargestDeviation(const CurveLines& ref, const CurveLines& imp, int c, int a, int b);

// Readouts a redraw sets; nullopt leaves a field's text as it is.
struct CursorReadouts {
    std::optional<std::string> Imp;      // CursorImpEdit
    std::optional<std::string> Ref;      // CursorRefEdit
    std::optional<std::string> Percent;  // CursorPercentEdit
};

// The value readouts of a redraw for cursor index k; judgeMin and judgeMax are
// the positions of MinFreqUpDown and MaxFreqUpDown.
CursorReadouts CursorValueReadouts(const CurveState& s, int k, int judgeMin, int judgeMax, bool channelAllowed);

// Results of the five searches, kept between uses.
struct CursorSearches {
    int ImpMaxIndex = 0;
    int ImpMinIndex = 0;
    int RefMaxIndex = 0;
    int RefMinIndex = 0;
    int DeviationMaxIndex = 0;

    // Over DrawMinFreq..DrawMaxFreq; only when the curve is loaded.
    void SearchImp(const CurveState& s);
    void SearchRef(const CurveState& s);
    // Over the judgement range; only when both curves are loaded.
    void SearchDeviation(const CurveState& s, int judgeMin, int judgeMax);
};

// Which controls of the cursor group are enabled.
struct CursorControls {
    bool FreqUpDown = false;
    bool FreqEdit = false;
    bool ImpEdit = false;
    bool ImpButtons = false;  // CursorMaxButton, CursorMinButton
    bool RefEdit = false;
    bool RefButtons = false;  // CursorRefMaxButton, CursorRefMinButton
    bool PercentEdit = false;
    bool HensaButton = false;
};

// After the toggle: all off when the cursor is off, else by loaded curves.
// The same set applies after a curve was opened while the cursor is on.
CursorControls CursorControlsFor(bool cursorOn, bool impLoaded, bool refLoaded);

}  // namespace qlx
