#include "support/settled_commands.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace qlxtest {

namespace {

const std::string kMarker = "MARK\x03";  // no command of the instrument

}  // namespace

std::vector<std::string> SettledCommands(const qlxsim::Qlx50Sim& sim)
{
    // Opened raw: the serial component's open purges the line, and on a
    // pseudo-terminal that would drop bytes the simulator has not read yet.
    const int fd = ::open(sim.devicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    if (fd < 0)
        return sim.Commands();
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0) << "the operation left the port open";
    EXPECT_EQ(::write(fd, kMarker.data(), kMarker.size()), static_cast<ssize_t>(kMarker.size()));
    EXPECT_TRUE(sim.WaitForCommand(kMarker, 5000)) << "the marker never arrived";
    ::close(fd);
    std::vector<std::string> commands = sim.Commands();
    if (!commands.empty() && commands.back() == kMarker)
        commands.pop_back();
    else
        ADD_FAILURE() << "a command arrived after the marker: " << ::testing::PrintToString(commands);
    return commands;
}

}  // namespace qlxtest
