// The status check's reading of a status reply (the bytes before its ETX).
#include <cstdint>
#include <string_view>

#include "comm/instrument_session.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    using Condition = qlx::InstrumentSession::StatusCondition;
    const qlx::StatusVerdict model = qlx::JudgeStatusReply(reply, Condition::ModelOnly);
    const qlx::StatusVerdict sweep = qlx::JudgeStatusReply(reply, Condition::SweepMode);
    const bool hasModel = reply.find("QLX-50") != std::string_view::npos;
    if ((model == qlx::StatusVerdict::Confirmed) != hasModel || model == qlx::StatusVerdict::NotSweepMode)
        qlxfuzz::Violated("the model check does not follow the model string");
    if (sweep == qlx::StatusVerdict::Confirmed && !(hasModel && reply.size() > 19 && reply[19] == 'A'))
        qlxfuzz::Violated("sweep mode confirmed without the model string and byte 19 \"A\"");
    return 0;
}
