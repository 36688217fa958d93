// The raw bytes of the line discipline turned into received bytes, with
// parity marking as on the instrument line and without: never more bytes
// out than in, and without marking every byte as it came.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "comm/input_decoder.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes of line-control bits, then the raw bytes.
    if (size < 2)
        return 0;
    const qlx::FlowSet flow = qlx::FlowSet::FromBits(data[0] | (data[1] << 8));
    qlx::InputDecoder decoder;
    decoder.Reset(flow, data[size / 2]);
    std::vector<unsigned char> out;
    for (std::size_t i = 2; i < size; ++i)
        if (const auto b = decoder.Feed(data[i]))
            out.push_back(*b);
    if (out.size() > size - 2)
        qlxfuzz::Violated("more bytes out than in");
    if (!flow.contains(qlx::dfParity) && !flow.contains(qlx::dfNull) &&
        !std::equal(out.begin(), out.end(), data + 2, data + size))
        qlxfuzz::Violated("bytes changed without parity marking");
    return 0;
}
