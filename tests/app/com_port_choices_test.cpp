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
    ASSERT_EQ(c.Items.size(), 11u);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(c.Items[n - 1].Label, "COM " + std::to_string(n));
        EXPECT_EQ(c.Items[n - 1].Value, "COM" + std::to_string(n));
    }
    EXPECT_EQ(c.Items[9].Label, "/dev/ttyUSB0 (FTDI FT232R USB UART)");
    EXPECT_EQ(c.Items[9].Value, "/dev/ttyUSB0");
    EXPECT_EQ(c.Items[10].Label, "/dev/ttyACM0 [権限なし: dialout グループ]");
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
        EXPECT_EQ(choices.Selected, c.selected);
        ASSERT_EQ(choices.Items.size(), c.count);
        EXPECT_EQ(choices.Items[static_cast<size_t>(c.selected)].Label, c.label);
        if (c.label != "COM 1") {
            EXPECT_EQ(choices.Items[static_cast<size_t>(c.selected)].Value, c.setting);
        }
    }
}

}  // namespace
