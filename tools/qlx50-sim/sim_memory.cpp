#include "sim_memory.h"

#include <cstdio>
#include <filesystem>

#include "model/curve_file.h"
#include "model/sjis.h"

namespace qlxsim {

using qlx::CurveLines;

SimMemory::SimMemory()
{
    ref.fill(EmptySlot());
    meas.fill(EmptySlot());
}

CurveLines SimMemory::EmptySlot()
{
    CurveLines c;
    for (int i = 0; i < qlx::MemoSlot; ++i)
        c[i] = "0";
    for (int b = 0; b < 4; ++b) {
        c[qlx::kBlockSize * b] = qlx::kEmptyBracket;
        c[qlx::kBlockSize * b + 1] = "@";
        c[qlx::kBlockSize * b + 2] = "@";
    }
    return c;
}

bool SimMemory::Stored(const CurveLines& slot) { return (qlx::FlagsOf(slot) & kStoredFlag) != 0; }

void SimMemory::MakeInstrumentForm(CurveLines& slot, bool reference)
{
    const std::uint8_t flags = qlx::FlagsOf(slot) | kStoredFlag;
    if (reference)
        slot[qlx::StampLine] = slot[qlx::NameLine];
    for (int b = 0; b < 4; ++b) {
        slot[qlx::kBlockSize * b + 1] = slot[qlx::TerminalLine];
        slot[qlx::kBlockSize * b + 2] = std::string(1, qlx::CodeChar(flags));
    }
}

std::string SlotFileName(bool reference, int slot)
{
    char name[32];
    std::snprintf(name, sizeof name, "%c%02d.q5imp", reference ? 'R' : 'M', slot + 1);
    return name;
}

bool SimMemory::Load(const std::string& folder, std::string& error)
{
    refSpeakers = {};  // curves from files carry no speaker model
    for (int kind = 0; kind < 2; ++kind) {
        const bool reference = kind == 0;
        auto& slots = reference ? ref : meas;
        for (int s = 0; s < kSlots; ++s) {
            const std::string path = (std::filesystem::path(folder) / SlotFileName(reference, s)).string();
            slots[s] = EmptySlot();
            if (!qlx::FileExists(path))
                continue;
            if (auto r = qlx::ReadCurveFile(path, slots[s]); !r) {
                error = r.error;
                return false;
            }
            MakeInstrumentForm(slots[s], reference);
        }
    }
    return true;
}

bool SimMemory::Save(const std::string& folder, std::string& error) const
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (int kind = 0; kind < 2; ++kind) {
        const bool reference = kind == 0;
        const auto& slots = reference ? ref : meas;
        for (int s = 0; s < kSlots; ++s) {
            const std::string path = (std::filesystem::path(folder) / SlotFileName(reference, s)).string();
            if (!Stored(slots[s])) {
                std::filesystem::remove(path, ec);
                continue;
            }
            if (auto r = qlx::WriteCurveFile(path, slots[s]); !r) {
                error = r.error;
                return false;
            }
        }
    }
    return true;
}

bool SimMemory::ExportReferences(const std::string& folder, std::string& error) const
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (int s = 0; s < kSlots; ++s) {
        if (!Stored(ref[s]))
            continue;
        std::string name = qlx::SjisToUtf8(qlx::BracketPayload(ref[s][qlx::NameLine]));
        name.erase(name.find_last_not_of(' ') + 1);
        if (name.empty() || name.find('/') != std::string::npos)
            name = SlotFileName(true, s).substr(0, 3);
        const std::string path = (std::filesystem::path(folder) / (name + ".q5imp")).string();
        if (auto r = qlx::WriteCurveFile(path, ref[s]); !r) {
            error = r.error;
            return false;
        }
    }
    return true;
}

}  // namespace qlxsim
