#pragma once

#include <cstddef>
#include <string>

namespace qlx {

// The longest line any of the program's files can use: the longest thing one
// holds is a path, and a path the system can open is shorter (PATH_MAX).
constexpr std::size_t kMaxLineBytes = 4096;

// Bytes a reader may take for `lines` lines of the longest kind with CR LF:
// no file of that many lines needs more, so nothing beyond is read.
constexpr std::size_t ReadBudget(int lines) { return static_cast<std::size_t>(lines) * (kMaxLineBytes + 2); }

// Bytes handed out one at a time from pieces, so that a reader takes only as
// much of a file as its format can use, whatever the file's size.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // The next byte (0..255), or -1 at the end.
    int Next() { return pos_ < end_ || Refill() ? static_cast<unsigned char>(data_[pos_++]) : -1; }
    // The next byte without taking it, or -1 at the end.
    int Peek() { return pos_ < end_ || Refill() ? static_cast<unsigned char>(data_[pos_]) : -1; }

protected:
    // Makes [data_ + pos_, data_ + end_) the next piece; false at the end.
    virtual bool Refill() = 0;

    const char* data_ = nullptr;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

// The bytes of a string (which must outlive the source).
class StringSource final : public ByteSource {
public:
    explicit StringSource(const std::string& bytes)
    {
        data_ = bytes.data();
        end_ = bytes.size();
    }

private:
    bool Refill() override { return false; }
};

// Reads one line up to LF (not kept) or the end; a CR right before the LF is
// dropped. At most `cap` bytes are kept and the rest of a longer line is
// passed over. False when the line was longer than `cap`.
bool ReadLine(ByteSource& in, std::string& line, std::size_t cap = kMaxLineBytes);

// Passes over bytes of value 0x20 or below; false when the end was reached.
bool SkipBlankBytes(ByteSource& in);

}  // namespace qlx
