#pragma once

#include <optional>

#include "comm/line_settings.h"

namespace qlx {

// Turns the raw bytes of the line discipline into received bytes. With
// parity checking on, the line discipline marks errors (PARMRK): "FF 00 x" is
// the byte x received with a parity or framing error and "FF FF" one FF byte.
// A marked byte is handed over as received, or as the error character in
// error-character mode; with NUL discarding on, 00 bytes are dropped.
class InputDecoder {
public:
    // Starts afresh for the line-control bits applied at an open.
    void Reset(FlowSet flow, unsigned char errorChar)
    {
        marking_ = flow.contains(dfParity);
        replaceErrors_ = marking_ && flow.contains(dfErrorChar);
        discardNul_ = flow.contains(dfNull);
        errorChar_ = errorChar;
        state_ = State::Plain;
    }

    // Every raw byte yields at most one received byte, so a reader that takes
    // no more raw bytes than it still wants never takes too many.
    std::optional<unsigned char> Feed(unsigned char raw)
    {
        std::optional<unsigned char> out;
        if (!marking_) {
            out = raw;
        } else if (state_ == State::Plain) {
            if (raw == 0xFF)
                state_ = State::Escape;
            else
                out = raw;
        } else if (state_ == State::Escape) {
            // FF FF is a received FF; the line discipline writes nothing else
            // after FF but 00, so any other byte is taken as it is.
            state_ = raw == 0x00 ? State::Marked : State::Plain;
            if (raw != 0x00)
                out = raw;
        } else {
            state_ = State::Plain;
            out = replaceErrors_ ? errorChar_ : raw;
        }
        if (out && *out == 0 && discardNul_)
            return std::nullopt;
        return out;
    }

private:
    enum class State { Plain, Escape, Marked };

    bool marking_ = false;
    bool replaceErrors_ = false;
    bool discardNul_ = false;
    unsigned char errorChar_ = 0;
    State state_ = State::Plain;
};

}  // namespace qlx
