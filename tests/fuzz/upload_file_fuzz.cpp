// A listed curve file as the list upload reads it, and the packets of its
// slot: every packet fits the 2048-byte transmit buffer and ends with ETX,
// or the slot is refused before anything is sent.
#include <cstdint>

#include "comm/ref_upload.h"
#include "comm/upload_packets.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qlxfuzz::FuzzFile file;
    qlx::UploadLines lines = qlx::EmptyCurve();
    if (!qlx::ReadUploadLines(file.Holding(data, size), lines))
        return 0;
    const auto packets = qlx::SlotPackets('0', lines);
    if (!packets)
        return 0;
    for (const qlx::UploadPacket& p : *packets) {
        if (p.bytes.count == 0 || p.bytes.count > qlx::kCommBufferSize)
            qlxfuzz::Violated("a packet that does not fit the transmit buffer");
        if (p.bytes.bytes[p.bytes.count - 1] != qlx::ETX)
            qlxfuzz::Violated("a packet not ended by ETX");
    }
    return 0;
}
