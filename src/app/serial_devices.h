#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qlx {

// A serial device present on this machine.
struct SerialDevice {
    std::string path;         // "/dev/ttyUSB0", "/dev/serial/by-id/usb-..."
    std::string description;  // USB maker and product when the system knows them
    bool accessible = true;   // the user may open it for reading and writing
};

// Whether the current user may open a device for reading and writing.
bool CanOpenDevice(const std::string& path);

// The serial devices under `root` ("/" on a real system; tests pass a fake
// tree): /dev/ttyS* that sysfs reports as a real UART, /dev/ttyUSB*,
// /dev/ttyACM* and the stable names under /dev/serial/by-id, in that order,
// numbered names in numeric order. Paths are reported as seen from "/".
std::vector<SerialDevice> ListSerialDevices(const std::string& root,
                                            const std::function<bool(const std::string&)>& canOpen = CanOpenDevice);

}  // namespace qlx
