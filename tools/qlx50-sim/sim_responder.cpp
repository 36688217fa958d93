#include "sim_responder.h"

#include <algorithm>

#include "model/curve_lines.h"
#include "sim_curves.h"

namespace qlxsim {

namespace {

constexpr int kPointsPerPacket = 8;
const SpeakerModel kStandardWoofer{6.5, 55, 40, 4.0, 0.16};
constexpr int kPacketsPerBlock = 15;

int SlotIndexOf(const std::string& field)
{
    if (field.size() != 1)
        return -1;
    const int s = static_cast<unsigned char>(field[0]) - 0x30;
    return s >= 0 && s < kSlots ? s : -1;
}

int BlockOf(const std::string& field)
{
    return field.size() == 1 && field[0] >= '0' && field[0] <= '3' ? field[0] - '0' : -1;
}

int ThreeDigits(const std::string& field)
{
    if (field.size() != 3 || !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(field);
}

// Terminal list index and channel of a sweep channel code.
bool DecodeChannelCode(char code, int& terminal, int& channel)
{
    static const char* const rows[] = {"2", "56", "789:"};
    for (int t = 0; t < 3; ++t)
        for (int c = 0; rows[t][c]; ++c)
            if (rows[t][c] == code) {
                terminal = t;
                channel = c;
                return true;
            }
    return false;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == '\n')
            out.emplace_back();
        else
            out.back().push_back(c);
    }
    return out;
}

std::string SimResponder::StatusText() const
{
    // Byte 19 is the operating mode: "A" sweep, "J" judgement.
    return std::string("QLX-50 Ver.1.10 MD:") + (sweepMode ? 'A' : 'J') + " SN:0502-1134 CAL:241001";
}

Response SimResponder::Acked(std::string data, bool withEtx)
{
    Response r;
    r.now = std::string{kAck, kAfterAck} + data;
    if (withEtx)
        r.now.push_back(kEtx);
    return r;
}

Response SimResponder::Refused() { return Response{std::string{kNak, kAfterAck}, {}, 0, false}; }

Response SimResponder::Answer(const std::string& command)
{
    if (command.size() > kMaxCommand) {
        uploadSlot_ = -1;
        return Refused();
    }
    if (command == "RSTT") {
        uploadSlot_ = -1;
        return Response{StatusText() + kEtx, {}, 0, false};
    }
    if (command == "RSTP") {
        Response r;
        r.stop = true;
        return r;
    }
    if (command.rfind("RSWP\n", 0) == 0)
        return Sweep(command);
    if (command.rfind("RIMP\n", 0) == 0)
        return ReadCurve(command);
    if (command.rfind("WIMP\n", 0) == 0)
        return WriteHeader(command);
    if (uploadSlot_ >= 0)
        return WritePoints(command);
    return Refused();
}

Response SimResponder::Sweep(const std::string& command)
{
    uploadSlot_ = -1;
    const auto f = SplitLines(command);
    int terminal = 0, channel = 0;
    if (f.size() != 4 || f[1].size() != 1 || !DecodeChannelCode(f[1][0], terminal, channel))
        return Refused();
    const int first = ThreeDigits(f[2]), last = ThreeDigits(f[3]);
    if (first < 0 || last < 0 || !sweepMode)
        return Refused();

    // The speaker on the terminal is a unit of the first stored reference
    // made for that terminal (of its speaker when the reference was made
    // from one, else of its curve), or of a standard woofer when there is none.
    Points measured{};
    bool found = false;
    for (int s = 0; s < kSlots && !found; ++s) {
        const qlx::CurveLines& slot = memory_.ref[s];
        if (!SimMemory::Stored(slot) || qlx::TerminalIndex(slot[qlx::TerminalLine]) != terminal)
            continue;
        found = true;
        const std::optional<SpeakerModel>& speaker = memory_.refSpeakers[s][channel];
        measured = speaker ? MeasuredUnit(*speaker, rng_).points : MeasuredVariant(PointsOf(slot, channel), rng_);
    }
    if (!found)
        measured = MeasuredUnit(kStandardWoofer, rng_).points;
    std::string values;
    for (int j = 0; j < qlx::kPointCount; ++j) {
        if (j)
            values.push_back('\n');
        // Points outside the asked range are not measured.
        values += (j >= first && j <= last) ? std::to_string(measured[j]) : "0";
    }
    Response r = Acked();
    r.later = values + kEtx;
    const int span = std::clamp(last, 0, 119) - std::clamp(first, 0, 119) + 1;
    r.delayMs = std::max(0, sweepMs * std::max(span, 1) / qlx::kPointCount);
    return r;
}

Response SimResponder::ReadCurve(const std::string& command)
{
    uploadSlot_ = -1;
    const auto f = SplitLines(command);
    if (f.size() != 5 || (f[1] != "R" && f[1] != "M") || (f[4] != "A" && f[4] != "H"))
        return Refused();
    const int slot = SlotIndexOf(f[2]), block = BlockOf(f[3]);
    if (slot < 0 || block < 0)
        return Refused();
    const qlx::CurveLines& c = (f[1] == "R" ? memory_.ref : memory_.meas)[slot];
    const int lines = f[4] == "A" ? qlx::kBlockSize : 3;
    std::string data;
    for (int i = 0; i < lines; ++i) {
        if (i)
            data.push_back('\n');
        data += c[qlx::kBlockSize * block + i];
    }
    return Acked(data, true);
}

Response SimResponder::WriteHeader(const std::string& command)
{
    uploadSlot_ = -1;
    const auto f = SplitLines(command);
    if (f.size() != 7 || f[1] != "R")
        return Refused();
    const int slot = SlotIndexOf(f[2]), block = BlockOf(f[3]);
    if (slot < 0 || block < 0 || f[5].size() != 1 || f[6].size() != 1)
        return Refused();

    qlx::CurveLines& c = memory_.ref[slot];
    memory_.refSpeakers[slot] = {};  // the slot now holds the uploaded curve, not a generated one
    std::string flags = f[6];
    if (block == 0) {
        // A blank name on terminal "@" is the empty curve: the slot is cleared.
        const bool empty = f[5] == "@" && qlx::BracketPayload(f[4]).find_first_not_of(' ') == std::string::npos;
        if (empty) {
            c = SimMemory::EmptySlot();
        } else {
            flags = std::string(1, qlx::CodeChar(qlx::CodeValue(flags[0]) | kStoredFlag));
        }
    } else if (SimMemory::Stored(c)) {
        flags = std::string(1, qlx::CodeChar(qlx::CodeValue(flags[0]) | kStoredFlag));
    }
    c[qlx::kBlockSize * block] = f[4];
    c[qlx::kBlockSize * block + 1] = f[5];
    c[qlx::kBlockSize * block + 2] = flags;
    uploadSlot_ = slot;
    uploadBlock_ = block;
    uploadPacket_ = 0;
    return Acked();
}

Response SimResponder::WritePoints(const std::string& command)
{
    const auto values = SplitLines(command);
    if (values.size() != kPointsPerPacket || uploadPacket_ >= kPacketsPerBlock) {
        uploadSlot_ = -1;
        return Refused();
    }
    qlx::CurveLines& c = memory_.ref[uploadSlot_];
    for (int i = 0; i < kPointsPerPacket; ++i)
        c[qlx::PointSlot(uploadBlock_, kPointsPerPacket * uploadPacket_ + i)] = values[i];
    if (++uploadPacket_ == kPacketsPerBlock)
        uploadSlot_ = -1;
    return Acked();
}

}  // namespace qlxsim
