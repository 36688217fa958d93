#pragma once

#include <string>

namespace qlxsim {

// Opens a pseudo-terminal pair with the slave side in raw mode, as a serial
// line with nothing between the two ends. Returns the slave's device path;
// throws std::runtime_error when no pseudo-terminal can be had.
std::string OpenRawPty(int& master, int& slave);

}  // namespace qlxsim
