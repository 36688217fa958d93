#include <gtest/gtest.h>

#include <string>

#include "comm/input_decoder.h"
#include "comm/line_settings.h"

namespace qlx {
namespace {

// What the decoder hands over for the raw bytes of the line discipline.
std::string Decode(InputDecoder& decoder, const std::string& raw)
{
    std::string out;
    for (char c : raw)
        if (const auto b = decoder.Feed(static_cast<unsigned char>(c)))
            out += static_cast<char>(*b);
    return out;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// With parity checking on, the line discipline marks a byte received with a
// parity (or framing) error as FF 00 x and doubles a good FF byte. A
// pseudo-terminal has no parity, so these are the sequences a real line gives.
TEST(InputDecoder, MarkedSequencesPerLineSetting)
{
    struct Case {
        const char* what;
        FlowSet flow;
        unsigned char errorChar;
        std::string raw;
        std::string handed;
    };
    const FlowSet instrument = FlowSet::FromBits(2);  // the instrument line: parity checking only
    const Case cases[] = {
        {"byte with an error is handed over as received", instrument, 0, Bytes({0x31, 0xFF, 0x00, 0x03}),
         Bytes({0x31, 0x03})},
        {"an ETX hit by an error stays ETX", instrument, '?', Bytes({0xFF, 0x00, 0x03}), Bytes({0x03})},
        {"escaped FF is one FF", instrument, 0, Bytes({0x41, 0xFF, 0xFF, 0x42}), Bytes({0x41, 0xFF, 0x42})},
        {"two FF bytes in a row", instrument, 0, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), Bytes({0xFF, 0xFF})},
        {"FF received with an error", instrument, 0, Bytes({0xFF, 0x00, 0xFF, 0x41}), Bytes({0xFF, 0x41})},
        {"break (FF 00 00) is a NUL", instrument, 0, Bytes({0xFF, 0x00, 0x00}), Bytes({0x00})},
        {"plain bytes pass", instrument, 0, Bytes({0x00, 0x0A, 0x7F, 0xFE}), Bytes({0x00, 0x0A, 0x7F, 0xFE})},
        {"error character mode replaces the marked byte", FlowSet{dfParity, dfErrorChar}, '?',
         Bytes({0x41, 0xFF, 0x00, 0x03, 0xFF, 0xFF}), Bytes({0x41, '?', 0xFF})},
        {"no parity checking: nothing is marked", FlowSet{dfBinary}, 0, Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x03}),
         Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x03})},
        {"NUL discarding drops a marked NUL too", FlowSet{dfParity, dfNull}, 0,
         Bytes({0x00, 0x41, 0xFF, 0x00, 0x00, 0xFF, 0xFF}), Bytes({0x41, 0xFF})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InputDecoder decoder;
        decoder.Reset(c.flow, c.errorChar);
        EXPECT_EQ(Decode(decoder, c.raw), c.handed);
    }
}

// A read may end in the middle of a mark; the next read goes on with it, and
// a new open starts afresh.
TEST(InputDecoder, AMarkSplitBetweenReadsAndResetByOpen)
{
    InputDecoder decoder;
    decoder.Reset(FlowSet::FromBits(2), 0);
    EXPECT_EQ(Decode(decoder, Bytes({0x41, 0xFF})), "A");
    EXPECT_EQ(Decode(decoder, Bytes({0x00})), "");
    EXPECT_EQ(Decode(decoder, Bytes({0x03})), Bytes({0x03}));
    EXPECT_EQ(Decode(decoder, Bytes({0xFF})), "");
    decoder.Reset(FlowSet::FromBits(2), 0);
    EXPECT_EQ(Decode(decoder, Bytes({0x42})), "B");
}

}  // namespace
}  // namespace qlx
