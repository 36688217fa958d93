#include "raw_pty.h"

#include <pty.h>
#include <termios.h>
#include <stdexcept>

namespace qlxsim {

std::string OpenRawPty(int& master, int& slave)
{
    char name[128];
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    return name;
}

}  // namespace qlxsim
