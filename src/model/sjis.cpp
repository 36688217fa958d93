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
