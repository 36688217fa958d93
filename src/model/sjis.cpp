#include "model/sjis.h"

#include <iconv.h>
#include <cerrno>
#include <stdexcept>

namespace qlx {

namespace {

// One iconv conversion; returns false at the first unconvertible sequence and
// leaves in `in` how far it got.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv has no CP932 converter");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much of [*in, *in + *left) as possible, appending to out.
    bool Run(const char** in, size_t* left, std::string& out)
    {
        char buffer[256];
        while (*left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            size_t rc = iconv(cd_, const_cast<char**>(in), left, &dst, &room);
            out.append(buffer, dst);
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

// Length of the well-formed UTF-8 character at the start of [in, in + left),
// or 1 when it does not start one.
size_t Utf8CharLength(const char* in, size_t left)
{
    const auto lead = static_cast<unsigned char>(in[0]);
    size_t length = lead < 0x80                   ? 1
                    : lead >= 0xC2 && lead < 0xE0 ? 2
                    : lead >= 0xE0 && lead < 0xF0 ? 3
                    : lead >= 0xF0 && lead < 0xF5 ? 4
                                                  : 0;
    if (length == 0 || length > left)
        return 1;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

// U+F700 + byte, in UTF-8: EF 9C 80 .. EF 9F BF.
constexpr char32_t kKeptByteBase = 0xF700;

void AppendKeptByte(std::string& out, unsigned char byte)
{
    const char32_t c = kKeptByteBase + byte;
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

// The byte a kept-byte character at the start of [in, in + left) stands for.
std::optional<unsigned char> KeptByteAt(const char* in, size_t left)
{
    if (left < 3 || static_cast<unsigned char>(in[0]) != 0xEF)
        return std::nullopt;
    const auto b1 = static_cast<unsigned char>(in[1]);
    const auto b2 = static_cast<unsigned char>(in[2]);
    if (b1 < 0x9C || b1 > 0x9F || (b2 & 0xC0) != 0x80)
        return std::nullopt;
    return static_cast<unsigned char>(((b1 & 0x03) << 6) | (b2 & 0x3F));
}

bool ConvertsWhole(const char* to, const char* from, const std::string& bytes)
{
    Converter conv(to, from);
    std::string out;
    const char* in = bytes.data();
    size_t left = bytes.size();
    return conv.Run(&in, &left, out);
}

}  // namespace

std::string SjisToUtf8(const std::string& sjis)
{
    Converter conv("UTF-8", "CP932");
    std::string out;
    const char* in = sjis.data();
    size_t left = sjis.size();
    while (!conv.Run(&in, &left, out)) {
        out += "\xEF\xBF\xBD";  // U+FFFD
        ++in;
        --left;
    }
    return out;
}

std::string SjisToUtf8Keeping(const std::string& sjis)
{
    Converter conv("UTF-8", "CP932");
    std::string out;
    const char* in = sjis.data();
    size_t left = sjis.size();
    while (!conv.Run(&in, &left, out)) {
        AppendKeptByte(out, static_cast<unsigned char>(*in));
        ++in;
        --left;
    }
    return out;
}

std::optional<std::string> Utf8ToSjisKeeping(const std::string& utf8)
{
    Converter conv("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    size_t left = utf8.size();
    while (!conv.Run(&in, &left, out)) {
        const std::optional<unsigned char> byte = KeptByteAt(in, left);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
        in += 3;
        left -= 3;
    }
    return out;
}

std::optional<std::string> Utf8ToSjis(const std::string& utf8)
{
    Converter conv("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    size_t left = utf8.size();
    if (!conv.Run(&in, &left, out))
        return std::nullopt;
    return out;
}

std::string Utf8ToSjisReplacing(const std::string& utf8, char replacement)
{
    Converter conv("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    size_t left = utf8.size();
    while (!conv.Run(&in, &left, out)) {
        const size_t step = Utf8CharLength(in, left);
        in += step;
        left -= step;
        out += replacement;
    }
    return out;
}

bool IsUtf8(const std::string& bytes) { return ConvertsWhole("UTF-16LE", "UTF-8", bytes); }

bool IsSjis(const std::string& bytes) { return ConvertsWhole("UTF-16LE", "CP932", bytes); }

int SjisByteCount(const std::string& utf8)
{
    Converter conv("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    size_t left = utf8.size();
    int unmappable = 0;
    while (!conv.Run(&in, &left, out)) {
        // Skip the whole UTF-8 sequence of the unmappable character.
        size_t step = 1;
        while (step < left && (static_cast<unsigned char>(in[step]) & 0xC0) == 0x80)
            ++step;
        in += step;
        left -= step;
        unmappable += 2;
    }
    return static_cast<int>(out.size()) + unmappable;
}

}  // namespace qlx
