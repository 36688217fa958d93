#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/curve_lines.h"

namespace qlx {

using ChannelInts = std::array<std::int32_t, kChannelCount>;

constexpr int kDefaultNg1 = 50;
constexpr int kDefaultNg2 = 25;
constexpr int kDefaultNg3 = 38;
constexpr int kThresholdMin = 5;
constexpr int kThresholdMax = 99;

// The two curves the main window holds and the numeric state decoded from
// their header lines. The lines stay the stored form; the arrays are derived
// on load and written back into the lines by the encoders.
struct CurveState {
    CurveLines ImpLines{};  // measured curve
    CurveLines RefLines{};  // reference curve

    ChannelInts RefNg1{kDefaultNg1, kDefaultNg1, kDefaultNg1, kDefaultNg1};
    ChannelInts RefNg2{kDefaultNg2, kDefaultNg2, kDefaultNg2, kDefaultNg2};
    ChannelInts RefNg3{kDefaultNg3, kDefaultNg3, kDefaultNg3, kDefaultNg3};
    ChannelInts RefMinFreq{0, 0, 0, 0};
    ChannelInts RefMaxFreq{119, 119, 119, 119};
    ChannelInts ImpMinFreq{0, 0, 0, 0};
    ChannelInts ImpMaxFreq{119, 119, 119, 119};
    int DrawMinFreq = 0;
    int DrawMaxFreq = 119;

    std::uint8_t SelectedChannel = 0;
    std::uint8_t RefFlags = 0;
    std::uint8_t ShownCurves = 7;  // bit 0 measured, bit 1 reference, bit 2 thresholds
    bool ImpLoaded = false;
    bool RefLoaded = false;
    bool CursorOn = false;

    std::string ImpFilePath;
    std::string RefFilePath;

    // Window creation: both curves get their default lines.
    void FillDefaultLines();

    // After a measured curve was loaded: valid ranges from FreqRangeLine when
    // flag bit 0 is set, else 0..119. Thresholds and protect are not decoded.
    // Resets the selection to channel 0 and the draw range to its valid range.
    // A stored bound off the grid falls back to its default (start 0, end
    // 119); a pair still not start < end becomes 0..119.
    void DecodeImpHeader();
    // After a reference curve was loaded: RefFlags, ranges and thresholds.
    // Ranges as above; a threshold outside 5..99 falls back to its default
    // (50, 25, 38). Resets the selection to channel 0 and the draw range.
    void DecodeRefHeader();

    // Writes RefMinFreq/RefMaxFreq of all channels into FreqRangeLine and sets
    // flag bit 0.
    void EncodeRange();
    // Writes RefNg1..3 of all channels into ThresholdLine and sets flag bit 1.
    void EncodeThresholds();
    void SetProtect(bool on);
    bool Protected() const { return (RefFlags & FlagProtect) != 0; }
    void SetRefTerminal(int index);

    // Selects channel c; returns false (and changes nothing) when c already is
    // the selected channel.
    bool SelectChannel(int c);

private:
    void ResetSelection();
};

}  // namespace qlx
