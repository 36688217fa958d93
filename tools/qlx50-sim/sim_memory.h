#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/curve_lines.h"
#include "speaker_model.h"

namespace qlxsim {

constexpr int kSlots = 64;
constexpr std::uint8_t kStoredFlag = 0x08;  // the instrument's mark of a slot holding a curve

// The instrument's curve memory: 64 reference and 64 measured slots. Each
// slot holds its curve in the instrument's own form: every channel block
// starts with its field line, the terminal line and the flags line (so the
// reserved lines of a curve file carry the terminal and flags here).
struct SimMemory {
    std::array<qlx::CurveLines, kSlots> ref;
    std::array<qlx::CurveLines, kSlots> meas;
    // The speaker each channel of a reference was generated from, so that a
    // sweep measures a unit of that speaker; none for a reference that came
    // from an upload or from files (it is known only by its curve).
    std::array<std::array<std::optional<SpeakerModel>, qlx::kChannelCount>, kSlots> refSpeakers;

    SimMemory();
    static qlx::CurveLines EmptySlot();
    static bool Stored(const qlx::CurveLines& slot);
    // Brings a curve read from a file into the instrument's form and marks it
    // stored; a reference gets its name in block 0 as an upload puts it there.
    static void MakeInstrumentForm(qlx::CurveLines& slot, bool reference);

    // Folder of ".q5imp" files R01..R64 and M01..M64; a missing file is an
    // empty slot. Speaker models are not kept in files. Save writes the stored slots and removes the others' files.
    bool Load(const std::string& folder, std::string& error);
    bool Save(const std::string& folder, std::string& error) const;
    // Writes every stored reference as a curve file named after the curve
    // ("<name>.q5imp", the name in UTF-8), as a user would keep them.
    bool ExportReferences(const std::string& folder, std::string& error) const;
};

std::string SlotFileName(bool reference, int slot);

}  // namespace qlxsim
