#pragma once

#include <optional>

namespace qlx {

// Turns the raw bytes of the line discipline into received bytes: with
// parity-error marking on (PARMRK), "FF 00 x" is a byte received with an error
// and becomes the error character, and "FF FF" is one FF byte; with NUL
// discarding on, 00 bytes are dropped.
class InputDecoder {
public:
    void Reset(bool marking, bool discardNul, unsigned char errorChar)
    {
        marking_ = marking;
        discardNul_ = discardNul;
        errorChar_ = errorChar;
        state_ = 0;
    }

    // True while a mark sequence is incomplete: the reader must then fetch
    // the raw bytes one at a time so that it never takes more than it needs.
    bool marking() const { return marking_; }

    std::optional<unsigned char> Feed(unsigned char raw)
    {
        std::optional<unsigned char> out;
        if (!marking_) {
            out = raw;
        } else if (state_ == 0) {
            if (raw == 0xFF)
                state_ = 1;
            else
                out = raw;
        } else if (state_ == 1) {
            state_ = raw == 0x00 ? 2 : 0;
            if (raw != 0x00)
                out = raw;
        } else {
            state_ = 0;
            out = errorChar_;
        }
        if (out && *out == 0 && discardNul_)
            return std::nullopt;
        return out;
    }

private:
    bool marking_ = false;
    bool discardNul_ = false;
    unsigned char errorChar_ = 0;
    int state_ = 0;
};

}  // namespace qlx
