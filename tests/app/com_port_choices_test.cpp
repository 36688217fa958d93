#include <gtest/gtest.h>

#include "app/com_port_choices.h"

namespace {

const std::vector<qlx::SerialDevice> kDevices = {
    {"/dev/ttyUSB0", "FTDI FT232R USB UART", true},
    {"/dev/ttyACM0", "", false},
};

TEST(ComPortChoices, NineComEntriesThenTheDevices)
{
    const qlx::ComPortChoices c = qlx::BuildComPortChoices("COM1", kDevices);
    ASSERT_EQ(c.items.size(), 11u);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(c.items[n - 1].label, "COM " + std::to_string(n));
        EXPECT_EQ(c.items[n - 1].value, "COM" + std::to_string(n));
    }
    EXPECT_EQ(c.items[9].label, "/dev/ttyUSB0 (FTDI FT232R USB UART)");
    EXPECT_EQ(c.items[9].value, "/dev/ttyUSB0");
    EXPECT_EQ(c.items[10].label, "/dev/ttyACM0 [権限なし: dialout グループ]");
}

TEST(ComPortChoices, SelectionFollowsTheSetting)
{
    struct Case {
        std::string setting;
        int selected;
        size_t count;
        std::string label;  // label of the selected entry
    };
    const Case cases[] = {
        {"COM4", 3, 11, "COM 4"},
        {"COM9", 8, 11, "COM 9"},
        {"COM17", 0, 11, "COM 1"},
        {"", 0, 11, "COM 1"},
        {"COM 4", 0, 11, "COM 1"},
        {"com4", 0, 11, "COM 1"},
        {"COM12", 9, 12, "COM 12"},  // kept as an entry of its own
        {"COM16", 9, 12, "COM 16"},
        {"/dev/ttyACM0", 10, 11, "/dev/ttyACM0 [権限なし: dialout グループ]"},
        {"/dev/ttyUSB3", 11, 12, "/dev/ttyUSB3 [見つかりません]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        const qlx::ComPortChoices choices = qlx::BuildComPortChoices(c.setting, kDevices);
        EXPECT_EQ(choices.selected, c.selected);
        ASSERT_EQ(choices.items.size(), c.count);
        EXPECT_EQ(choices.items[static_cast<size_t>(c.selected)].label, c.label);
        if (c.label != "COM 1") {
            EXPECT_EQ(choices.items[static_cast<size_t>(c.selected)].value, c.setting);
        }
    }
}

}  // namespace
