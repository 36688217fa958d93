#include "model/curve_state.h"

namespace qlx {

namespace {

// Range positions in FreqRangeLine: start of channel c at 2 + 2c, end at 3 + 2c.
void DecodeRanges(const CurveLines& lines, std::uint8_t flags, ChannelInts& min, ChannelInts& max)
{
    for (int c = 0; c < kChannelCount; ++c) {
        if (flags & FlagRangeValid) {
            min[c] = CodeAt(lines[FreqRangeLine], 2 + 2 * c, 0);
            max[c] = CodeAt(lines[FreqRangeLine], 3 + 2 * c, kPointCount - 1);
        } else {
            min[c] = 0;
            max[c] = kPointCount - 1;
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
            RefNg1[c] = CodeAt(t, 2 + c, kDefaultNg1);
            RefNg2[c] = CodeAt(t, 6 + c, kDefaultNg2);
            RefNg3[c] = CodeAt(t, 10 + c, kDefaultNg3);
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
