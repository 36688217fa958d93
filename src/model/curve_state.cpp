#include "model/curve_state.h"

namespace qlx {

namespace {

// Code value at pos when it lies in lo..hi; a short field or a value outside
// the domain gives the field's default, so nothing a file holds reaches the
// sweep command or the judgement unless an editor could have produced it.
int CodeInDomain(const std::string& line, int pos, int lo, int hi, int fallback)
{
    const int v = CodeAt(line, pos, fallback);
    return v >= lo && v <= hi ? v : fallback;
}

// Range positions in FreqRangeLine: start of channel c at 2 + 2c, end at 3 + 2c.
// A pair the editors keep apart (start < end) that is still out of order
// after the bounds fell back is the whole grid.
void DecodeRanges(const CurveLines& lines, std::uint8_t flags, ChannelInts& min, ChannelInts& max)
{
    constexpr int kLast = kPointCount - 1;
    for (int c = 0; c < kChannelCount; ++c) {
        min[c] = 0;
        max[c] = kLast;
        if (!(flags & FlagRangeValid))
            continue;
        const int start = CodeInDomain(lines[FreqRangeLine], 2 + 2 * c, 0, kLast, 0);
        const int end = CodeInDomain(lines[FreqRangeLine], 3 + 2 * c, 0, kLast, kLast);
        if (start < end) {
            min[c] = start;
            max[c] = end;
        }
    }
}

void EnsureBracket(std::string& line)
{
    if (line.empty())
        line = kEmptyBracket;
}

}  // namespace

void CurveState::FillDefaultLines()
{
    FillDefaults(ImpLines);
    FillDefaults(RefLines);
}

void CurveState::ResetSelection()
{
    SelectedChannel = 0;
    DrawMinFreq = ImpMinFreq[0];
    DrawMaxFreq = ImpMaxFreq[0];
}

void CurveState::DecodeImpHeader()
{
    DecodeRanges(ImpLines, FlagsOf(ImpLines), ImpMinFreq, ImpMaxFreq);
    ResetSelection();
}

void CurveState::DecodeRefHeader()
{
    RefFlags = FlagsOf(RefLines);
    DecodeRanges(RefLines, RefFlags, RefMinFreq, RefMaxFreq);
    for (int c = 0; c < kChannelCount; ++c) {
        if (RefFlags & FlagThresholdsValid) {
            const std::string& t = RefLines[ThresholdLine];
            RefNg1[c] = CodeInDomain(t, 2 + c, kThresholdMin, kThresholdMax, kDefaultNg1);
            RefNg2[c] = CodeInDomain(t, 6 + c, kThresholdMin, kThresholdMax, kDefaultNg2);
            RefNg3[c] = CodeInDomain(t, 10 + c, kThresholdMin, kThresholdMax, kDefaultNg3);
        } else {
            RefNg1[c] = kDefaultNg1;
            RefNg2[c] = kDefaultNg2;
            RefNg3[c] = kDefaultNg3;
        }
    }
    ResetSelection();
}

void CurveState::EncodeRange()
{
    std::string& line = RefLines[FreqRangeLine];
    EnsureBracket(line);
    for (int c = 0; c < kChannelCount; ++c) {
        SetCodeAt(line, 2 + 2 * c, RefMinFreq[c]);
        SetCodeAt(line, 3 + 2 * c, RefMaxFreq[c]);
    }
    RefFlags |= FlagRangeValid;
    SetFlags(RefLines, RefFlags);
}

void CurveState::EncodeThresholds()
{
    std::string& line = RefLines[ThresholdLine];
    EnsureBracket(line);
    for (int c = 0; c < kChannelCount; ++c) {
        SetCodeAt(line, 2 + c, RefNg1[c]);
        SetCodeAt(line, 6 + c, RefNg2[c]);
        SetCodeAt(line, 10 + c, RefNg3[c]);
    }
    RefFlags |= FlagThresholdsValid;
    SetFlags(RefLines, RefFlags);
}

void CurveState::SetProtect(bool on)
{
    if (on)
        RefFlags |= FlagProtect;
    else
        RefFlags &= static_cast<std::uint8_t>(~FlagProtect);
    SetFlags(RefLines, RefFlags);
}

void CurveState::SetRefTerminal(int index) { RefLines[TerminalLine] = TerminalCodeForIndex(index); }

bool CurveState::SelectChannel(int c)
{
    if (c < 0 || c >= kChannelCount || c == SelectedChannel)
        return false;
    SelectedChannel = static_cast<std::uint8_t>(c);
    DrawMinFreq = ImpMinFreq[c];
    DrawMaxFreq = ImpMaxFreq[c];
    return true;
}

}  // namespace qlx
