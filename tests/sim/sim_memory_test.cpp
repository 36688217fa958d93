#include <gtest/gtest.h>

#include <filesystem>

#include "model/curve_file.h"
#include "sim_curves.h"
#include "support/temp_dir.h"

namespace qlxsim {
namespace {

TEST(SimMemoryFiles, SaveAndLoadKeepEveryStoredSlot)
{
    qlxtest::TempDir dir;
    const SimMemory original = DefaultMemory(5);
    std::string error;
    ASSERT_TRUE(original.Save(dir.path().string(), error)) << error;
    EXPECT_TRUE(std::filesystem::exists(dir.file("R01.q5imp")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("R64.q5imp")));
    SimMemory loaded;
    ASSERT_TRUE(loaded.Load(dir.path().string(), error)) << error;
    for (int s = 0; s < kSlots; ++s) {
        EXPECT_EQ(SimMemory::Stored(loaded.ref[s]), SimMemory::Stored(original.ref[s])) << s;
        for (int i = 0; i < qlx::MemoSlot; ++i) {
            ASSERT_EQ(loaded.ref[s][i], original.ref[s][i]) << s << "/" << i;
            ASSERT_EQ(loaded.meas[s][i], original.meas[s][i]) << s << "/" << i;
        }
    }
}

TEST(SimMemoryFiles, ACurveFileOfTheProgramBecomesAStoredReference)
{
    qlxtest::TempDir dir;
    qlx::CurveLines curve;
    qlx::FillDefaults(curve);
    curve[qlx::NameLine] = "[SPEAKER     ]";
    curve[qlx::TerminalLine] = "E";
    curve[qlx::FlagsLine] = "C";  // range and thresholds valid, not marked stored
    ASSERT_TRUE(qlx::WriteCurveFile(dir.file("R05.q5imp"), curve));
    SimMemory loaded;
    std::string error;
    ASSERT_TRUE(loaded.Load(dir.path().string(), error)) << error;
    const qlx::CurveLines& slot = loaded.ref[4];
    EXPECT_TRUE(SimMemory::Stored(slot));
    EXPECT_EQ(slot[qlx::StampLine], "[SPEAKER     ]");
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(slot[qlx::kBlockSize * b + 1], "E");
        EXPECT_EQ(slot[qlx::kBlockSize * b + 2], "K");
    }
    EXPECT_FALSE(SimMemory::Stored(loaded.ref[0]));
}

}  // namespace
}  // namespace qlxsim
