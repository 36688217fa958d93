#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <termios.h>

namespace qlx {

// Members of the line-control bit word `flowflag`; bit k is member k.
enum rsflowset : int {
    dfBinary = 0,
    dfParity = 1,
    dfOutxCtsFlow = 2,
    dfOutxDsrFlow = 3,
    dfDtrControl_b0 = 4,
    dfDtrControl_b1 = 5,
    dfDsrSensitivity = 6,
    dfTXContinueOnXoff = 7,
    dfOutX = 8,
    dfInX = 9,
    dfErrorChar = 10,
    dfNull = 11,
    dfRtsControl_b0 = 12,
    dfRtsControl_b1 = 13,
    dfAbortOnError = 14,
};
constexpr int kFlowSetBits = 15;

// A set of rsflowset members, the bit view of `flowflag` (bits 0..14).
class FlowSet {
public:
    constexpr FlowSet() = default;
    constexpr FlowSet(std::initializer_list<rsflowset> members)
    {
        for (rsflowset m : members)
            bits_ |= static_cast<std::uint16_t>(1u << m);
    }
    static constexpr FlowSet FromBits(int bits)
    {
        FlowSet s;
        s.bits_ = static_cast<std::uint16_t>(bits & ((1 << kFlowSetBits) - 1));
        return s;
    }
    constexpr int bits() const { return bits_; }
    constexpr bool contains(rsflowset m) const { return (bits_ >> m) & 1u; }
    constexpr void insert(rsflowset m) { bits_ |= static_cast<std::uint16_t>(1u << m); }
    constexpr void erase(rsflowset m) { bits_ &= static_cast<std::uint16_t>(~(1u << m)); }
    constexpr bool operator==(const FlowSet&) const = default;

private:
    std::uint16_t bits_ = 0;
};

enum class Parity { None, Odd, Even, Mark, Space };

// Parity named by `paritymode`. The comparison is exact and case-sensitive;
// the Japanese and full-width names are accepted both as Shift-JIS bytes (the
// program's own encoding) and as UTF-8 (what a caller holding Unicode text
// passes). No value for any other string.
std::optional<Parity> ParityFromName(const std::string& name);

// The part of the line settings that lives in the termios block.
struct LineSettings {
    int bps = 9600;
    int charbit = 8;
    std::string stopbit = "1";
    std::string paritymode;
    int flowflag = 1;
    int XonChar = 0x11;   // 0 = keep the device's value
    int XoffChar = 0x13;  // 0 = keep
    int EofChar = 0;      // 0 = keep
};

// Termios speed constant of a bit rate; no value for a rate the system lacks.
std::optional<speed_t> SpeedOf(int bps);

// Modifies a termios block read from the device so that it carries the line
// settings: raw binary transfers, the bit rate, data bits, stop bits, parity
// (an unknown name keeps the device's parity bits, an unknown stop-bit text its
// stop bits), the flow-control bits with a termios form (parity checking marks
// errors, PARMRK, for InputDecoder) and the non-zero control characters. Returns false when a value cannot be represented (bit
// rate, data bits, or XON equal to XOFF).
bool ApplyLineSettings(termios& tio, const LineSettings& s);

// DTR and RTS control modes (0 disable, 1 enable, 2 handshake, 3 toggle for
// RTS) of a flowflag word.
int DtrControlOf(int flowflag);
int RtsControlOf(int flowflag);

}  // namespace qlx
