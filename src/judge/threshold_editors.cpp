#include "judge/threshold_editors.h"

#include <algorithm>

namespace qlx {

int& EditorPositions::operator[](ThresholdEditor e)
{
    switch (e) {
    case ThresholdEditor::Ng1: return Ng1;
    case ThresholdEditor::Ng2: return Ng2;
    case ThresholdEditor::Ng3: return Ng3;
    case ThresholdEditor::MinFreq: return MinFreq;
    case ThresholdEditor::MaxFreq: break;
    }
    return MaxFreq;
}

int EditorPositions::operator[](ThresholdEditor e) const { return const_cast<EditorPositions&>(*this)[e]; }

SpinnerRange RangeOf(ThresholdEditor e)
{
    switch (e) {
    case ThresholdEditor::MinFreq: return {0, kPointCount - 2};
    case ThresholdEditor::MaxFreq: return {1, kPointCount - 1};
    default: return {kThresholdMin, kThresholdMax};
    }
}

bool IsRangeEditor(ThresholdEditor e) { return e == ThresholdEditor::MinFreq || e == ThresholdEditor::MaxFreq; }

namespace {

void SetClamped(EditorPositions& pos, ThresholdEditor e, int value)
{
    const SpinnerRange r = RangeOf(e);
    pos[e] = std::clamp(value, r.min, r.max);
}

ChannelInts& StoreOf(CurveState& s, ThresholdEditor e)
{
    switch (e) {
    case ThresholdEditor::Ng1: return s.RefNg1;
    case ThresholdEditor::Ng2: return s.RefNg2;
    case ThresholdEditor::Ng3: return s.RefNg3;
    case ThresholdEditor::MinFreq: return s.RefMinFreq;
    case ThresholdEditor::MaxFreq: break;
    }
    return s.RefMaxFreq;
}

}  // namespace

EditorPositions PositionsForChannel(const CurveState& s, int c)
{
    EditorPositions pos;
    SetClamped(pos, ThresholdEditor::Ng1, s.RefNg1[c]);
    SetClamped(pos, ThresholdEditor::Ng2, s.RefNg2[c]);
    SetClamped(pos, ThresholdEditor::Ng3, s.RefNg3[c]);
    SetClamped(pos, ThresholdEditor::MinFreq, s.RefMinFreq[c]);
    SetClamped(pos, ThresholdEditor::MaxFreq, s.RefMaxFreq[c]);
    return pos;
}

bool EditorChanged(ThresholdEditor e, EditorPositions& pos, CurveState& s)
{
    bool accepted = true;
    switch (e) {
    case ThresholdEditor::Ng1:
        accepted = pos.Ng1 > pos.Ng2;
        if (!accepted)
            SetClamped(pos, e, pos.Ng2 + 1);
        break;
    case ThresholdEditor::Ng2:
        accepted = pos.Ng1 > pos.Ng2;
        if (!accepted)
            SetClamped(pos, e, pos.Ng1 - 1);
        break;
    case ThresholdEditor::Ng3: break;
    case ThresholdEditor::MinFreq:
        accepted = pos.MaxFreq > pos.MinFreq;
        if (!accepted)
            SetClamped(pos, e, pos.MaxFreq - 1);
        break;
    case ThresholdEditor::MaxFreq:
        accepted = pos.MaxFreq > pos.MinFreq;
        if (!accepted)
            SetClamped(pos, e, pos.MinFreq + 1);
        break;
    }
    if (!accepted)
        return false;
    StoreOf(s, e)[s.SelectedChannel] = pos[e];
    if (!IsRangeEditor(e))
        s.EncodeThresholds();
    s.EncodeRange();
    return true;
}

bool EditorKeyStep(ThresholdEditor e, int direction, EditorPositions& pos, CurveState& s)
{
    SetClamped(pos, e, pos[e] + direction);
    return EditorChanged(e, pos, s);
}

std::string ThresholdText(int percent) { return " " + std::to_string(percent) + "%"; }

std::string FreqText(int index) { return std::string(" ") + FreqLabels[std::clamp(index, 0, kPointCount - 1)] + "Hz"; }

}  // namespace qlx
