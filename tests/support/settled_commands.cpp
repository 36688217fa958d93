#include "support/settled_commands.h"

#include <atomic>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace qlxtest {

namespace {

// No command of the instrument; each call sends a marker of its own.
const std::string kMarkerWord = "MARK";

bool IsMarker(const std::string& command) { return command.rfind(kMarkerWord, 0) == 0; }

}  // namespace

std::vector<std::string> SettledCommands(const qlxsim::Qlx50Sim& sim)
{
    static std::atomic<int> calls{0};  // cells of a test may settle side by side
    const std::string marker = kMarkerWord + std::to_string(++calls) + "\x03";
    // Opened raw: the serial component's open purges the line, and on a
    // pseudo-terminal that would drop bytes the simulator has not read yet.
    const int fd = ::open(sim.devicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    if (fd < 0)
        return sim.Commands();
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0) << "the operation left the port open";
    termios raw{};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &raw);
    EXPECT_EQ(::write(fd, marker.data(), marker.size()), static_cast<ssize_t>(marker.size()));
    EXPECT_TRUE(sim.WaitForCommand(marker, 5000)) << "the marker never arrived";
    // The simulator refuses the marker with two bytes (unless it was told to
    // keep silent); they are taken here, or the next operation would find
    // them in front of its first reply.
    char refusal[2];
    std::size_t got = 0;
    pollfd p{fd, POLLIN, 0};
    while (got < sizeof(refusal) && ::poll(&p, 1, 500) > 0) {
        const ssize_t n = ::read(fd, refusal + got, sizeof refusal - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    std::vector<std::string> commands = sim.Commands();
    if (commands.empty() || commands.back() != marker)
        ADD_FAILURE() << "a command arrived after the marker: " << ::testing::PrintToString(commands);
    // Markers of earlier calls are no commands of the operations either.
    std::erase_if(commands, IsMarker);
    return commands;
}

}  // namespace qlxtest
