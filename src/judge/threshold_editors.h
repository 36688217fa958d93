#pragma once

#include <string>

#include "model/curve_state.h"

namespace qlx {

// The five spinners of the reference group: ThNg1UpDown, ThNg2UpDown,
// ThNg3UpDown, MinFreqUpDown, MaxFreqUpDown.
enum class ThresholdEditor { Ng1, Ng2, Ng3, MinFreq, MaxFreq };

// Spinner positions. They equal the selected channel's stored values except
// transiently inside a refused change.
struct EditorPositions {
    int Ng1 = kDefaultNg1;
    int Ng2 = kDefaultNg2;
    int Ng3 = kDefaultNg3;
    int MinFreq = 0;
    int MaxFreq = kPointCount - 1;

    int& operator[](ThresholdEditor e);
    int operator[](ThresholdEditor e) const;
};

struct SpinnerRange {
    int min;
    int max;
};
SpinnerRange RangeOf(ThresholdEditor e);

// The spinners take channel c's stored values (clamped to their ranges, as a
// spinner does when set from code).
EditorPositions PositionsForChannel(const CurveState& s, int c);

// Click handler, run after the spinner has moved: stores the value of the
// selected channel and encodes it into RefLines, or restores the neighbour
// plus or minus one. Returns whether the change was accepted. The caller
// then redraws and shows the thresholds or the range.
bool EditorChanged(ThresholdEditor e, EditorPositions& pos, CurveState& s);

// Up (+1) or Down (-1) in the read-only edit: moves the spinner by one step
// within its range and runs the click handler.
bool EditorKeyStep(ThresholdEditor e, int direction, EditorPositions& pos, CurveState& s);

bool IsRangeEditor(ThresholdEditor e);

// " 50%"
std::string ThresholdText(int percent);
// " 20.0Hz", " 1.00kHz"
std::string FreqText(int index);

}  // namespace qlx
