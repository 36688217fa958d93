#pragma once

#include <string>
#include <vector>

#include "app/serial_devices.h"

namespace qlx {

// One entry of the COM port list: what it shows and the ComPortName it gives.
struct ComPortChoice {
    std::string label;  // UTF-8
    std::string value;
};

struct ComPortChoices {
    std::vector<ComPortChoice> items;
    int selected = 0;
};

// The list of the COM port dialog: "COM 1".."COM 9", then the serial devices
// present. The entry selected is the one whose value equals comPortName
// ("COM 1" when none does). A COM10..COM16 or a device path that is not in
// the list gets an entry of its own, selected, so that OK keeps the setting.
ComPortChoices BuildComPortChoices(const std::string& comPortName, const std::vector<SerialDevice>& devices);

}  // namespace qlx
