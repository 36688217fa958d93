#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "comm/instrument_session.h"
#include "comm/rs232c.h"
#include "pty_pair.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using Clock = std::chrono::steady_clock;
using qlxtest::PtyPair;

long long MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The main window's configuration of the instrument line.
void ConfigureForInstrument(Trs232c& port, const std::string& device)
{
    ConfigureInstrumentPort(port);
    port.portname = device;
}

TEST(Rs232cNames, PortNameToDevicePath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},      {"COM10", "/dev/ttyS9"}, {"com3", "/dev/ttyS2"}, {"/dev/pts/4", "/dev/pts/4"},
        {"ttyUSB0", "/dev/ttyUSB0"}, {"COM0", "/dev/COM0"},   {"./dev/x", "./dev/x"}, {"COMx", "/dev/COMx"},
    };
    for (const auto& [name, path] : cases)
        EXPECT_EQ(Trs232c::DevicePathFor(name), path) << name;
}

TEST(Rs232cProperties, ComponentDefaults)
{
    bool created = false;
    Trs232c port({}, [&](Trs232c&) { created = true; });
    EXPECT_TRUE(created);
    EXPECT_EQ(port.charbit, 8);
    EXPECT_EQ(port.stopbit, "1");
    EXPECT_EQ(port.bps, 9600);
    EXPECT_EQ(port.portname, "COM1");
    EXPECT_EQ(port.rxbuffsize, 1024);
    EXPECT_EQ(port.txbuffsize, 1024);
    EXPECT_EQ(port.readinterval, 0);
    EXPECT_EQ(port.txtimeout, 30000);
    EXPECT_EQ(port.rxtimeout, 30000);
    EXPECT_EQ(ParityFromName(port.paritymode), Parity::None);
    EXPECT_EQ(port.flowflag, 1);
    EXPECT_EQ(port.packetsize, 0);
    EXPECT_EQ(port.flow(), FlowSet{dfBinary});
    EXPECT_FALSE(port.debug);
    EXPECT_EQ(port.XonLim, 0);
    EXPECT_EQ(port.XoffLim, 0);
    EXPECT_EQ(port.XonChar, 0x11);
    EXPECT_EQ(port.XoffChar, 0x13);
    EXPECT_EQ(port.ErrorChar, 0);
    EXPECT_EQ(port.EofChar, 0);
    EXPECT_EQ(port.EvtChar, 0);
    EXPECT_FALSE(port.opened());
}

TEST(Rs232cProperties, FlowSetterKeepsBitsAboveFourteen)
{
    Trs232c port;
    port.flowflag = 0x18001;
    port.set_flow({dfParity});
    EXPECT_EQ(port.flowflag, 0x18002);
    EXPECT_EQ(port.flow(), FlowSet{dfParity});
}

class Rs232cOnPty : public ::testing::Test {
protected:
    PtyPair pty;
    Trs232c port;
    void SetUp() override { ConfigureForInstrument(port, pty.slavePath()); }
};

TEST_F(Rs232cOnPty, OpenTwiceFailsAndLeavesThePortOpen)
{
    ASSERT_TRUE(port.open());
    EXPECT_FALSE(port.open());
    EXPECT_TRUE(port.opened());
    ASSERT_TRUE(port.write("x", 1));
    EXPECT_EQ(pty.Receive(1), "x");
}

TEST_F(Rs232cOnPty, CloseOnAClosedPortReturnsFalseWithoutOnClose)
{
    int closes = 0;
    port.OnClose = [&](Trs232c&) { ++closes; };
    EXPECT_FALSE(port.close());
    EXPECT_EQ(closes, 0);
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(port.close());
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(port.close());
    EXPECT_EQ(closes, 1);
}

TEST_F(Rs232cOnPty, TransfersOnAClosedPortFailAtOnce)
{
    char c = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(port.write("abc", 3));
    EXPECT_FALSE(port.readchar(c));
    EXPECT_LT(MsSince(start), 100);
}

TEST_F(Rs232cOnPty, ReadcharWithoutAByteFailsAfterTheReadTimeout)
{
    port.rxtimeout = 300;
    ASSERT_TRUE(port.open());
    char c = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(port.readchar(c));
    const auto elapsed = MsSince(start);
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 300 + 1500);
}

TEST_F(Rs232cOnPty, ReadTakesExactlyTheCountAndLeavesTheRest)
{
    ASSERT_TRUE(port.open());
    pty.Send("ABCDEF");
    char buf[4] = {};
    ASSERT_TRUE(port.read(buf, 4));
    EXPECT_EQ(std::string(buf, 4), "ABCD");
    char c = 0;
    ASSERT_TRUE(port.readchar(c));
    EXPECT_EQ(c, 'E');
}

TEST_F(Rs232cOnPty, AShortTransferIsAFailure)
{
    port.rxtimeout = 200;
    ASSERT_TRUE(port.open());
    pty.Send("ab");
    char buf[5];
    EXPECT_FALSE(port.read(buf, 5));
}

TEST_F(Rs232cOnPty, ReadIntervalEndsATransferWithAGap)
{
    port.readinterval = 100;
    port.rxtimeout = 5000;
    ASSERT_TRUE(port.open());
    pty.Send("a");
    char buf[2];
    const auto start = Clock::now();
    EXPECT_FALSE(port.read(buf, 2));
    EXPECT_LT(MsSince(start), 2000);
}

TEST_F(Rs232cOnPty, WriteSendsTheBytesUnchanged)
{
    ASSERT_TRUE(port.open());
    const std::string bytes("RSTT\x03\n\r\xff\x00", 9);
    ASSERT_TRUE(port.write(bytes.data(), bytes.size()));
    EXPECT_EQ(pty.Receive(bytes.size()), bytes);
}

TEST_F(Rs232cOnPty, BytesWrittenJustBeforeCloseStillArrive)
{
    // The loss was a race with the terminal's own delivery: try many times.
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(port.open());
        ASSERT_TRUE(port.write("RSTP\x03", 5));
        ASSERT_TRUE(port.close());
        ASSERT_EQ(pty.Receive(5), "RSTP\x03") << "attempt " << i;
    }
}

TEST_F(Rs232cOnPty, CloseDiscardsUnreadInput)
{
    ASSERT_TRUE(port.open());
    pty.Send("stale");
    ASSERT_TRUE(port.close());
    port.rxtimeout = 200;
    ASSERT_TRUE(port.open());
    char b = 0;
    EXPECT_FALSE(port.readchar(b));
}

TEST_F(Rs232cOnPty, ReceivedBytesAreNotTranslated)
{
    ASSERT_TRUE(port.open());
    const std::string bytes("\r\n\x03\x11\x13\x7f\x1a", 7);
    pty.Send(bytes);
    char buf[7];
    ASSERT_TRUE(port.read(buf, 7));
    EXPECT_EQ(std::string(buf, 7), bytes);
}

// With parity checking the line discipline doubles a received FF (its
// error marking); the reader, direct or through the event thread, hands
// over one FF.
TEST_F(Rs232cOnPty, ParityCheckingKeepsAnFfByteWhole)
{
    const struct {
        const char* what;
        FlowSet flow;
        bool thread;
    } cases[] = {
        {"instrument line", FlowSet::FromBits(2), false},
        {"instrument line, event thread", FlowSet::FromBits(2), true},
        {"error character mode", FlowSet{dfParity, dfErrorChar}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        port.set_flow(c.flow);
        port.ErrorChar = '?';
        port.OnRXCHAR = c.thread ? TNotifyEvent([](Trs232c&) {}) : TNotifyEvent();
        ASSERT_TRUE(port.open());
        ASSERT_EQ(port.threadused(), c.thread);
        pty.Send("\xff\x03\xff\xff");
        char buf[3];
        ASSERT_TRUE(port.read(buf, 3));
        EXPECT_EQ(std::string(buf, 3), "\xff\x03\xff");
        char c4 = 0;
        ASSERT_TRUE(port.readchar(c4));
        EXPECT_EQ(c4, '\xff');
        ASSERT_TRUE(port.close());
    }
}

TEST_F(Rs232cOnPty, NulDiscardingDropsNulBytes)
{
    port.set_flow({dfNull});
    ASSERT_TRUE(port.open());
    pty.Send(std::string("A\0\0B", 4));
    char buf[2];
    ASSERT_TRUE(port.read(buf, 2));
    EXPECT_EQ(std::string(buf, 2), "AB");
}

TEST_F(Rs232cOnPty, AVanishedOtherEndFailsTheReadEarly)
{
    port.rxtimeout = 3000;
    ASSERT_TRUE(port.open());
    pty.CloseMaster();
    char c;
    const auto start = Clock::now();
    EXPECT_FALSE(port.readchar(c));
    EXPECT_LT(MsSince(start), 2500);
}

TEST_F(Rs232cOnPty, ZeroXonCharacterKeepsTheDevicesOne)
{
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.slave(), &tio), 0);
    tio.c_cc[VSTART] = 0x01;
    ASSERT_EQ(::tcsetattr(pty.slave(), TCSANOW, &tio), 0);

    port.XonChar = 0;
    ASSERT_TRUE(port.open());
    ASSERT_EQ(::tcgetattr(pty.slave(), &tio), 0);
    EXPECT_EQ(tio.c_cc[VSTART], 0x01);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
    port.close();

    port.XonChar = 0x11;
    ASSERT_TRUE(port.open());
    ASSERT_EQ(::tcgetattr(pty.slave(), &tio), 0);
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
}

TEST_F(Rs232cOnPty, MixedCaseParityNameIsNoFailure)
{
    port.paritymode = "Odd";
    EXPECT_TRUE(port.open());
}

TEST_F(Rs232cOnPty, SecondOpenOfTheSameDeviceFails)
{
    ASSERT_TRUE(port.open());
    Trs232c other;
    ConfigureForInstrument(other, pty.slavePath());
    EXPECT_FALSE(other.open());
    port.close();
    EXPECT_TRUE(other.open());
}

TEST_F(Rs232cOnPty, RefusedSecondOpenLeavesTheHoldersDeviceAlone)
{
    ASSERT_TRUE(port.open());
    pty.Send("xyz");
    pollfd p{pty.slave(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);  // the bytes wait in the device's input

    Trs232c other;
    ConfigureForInstrument(other, pty.slavePath());
    ASSERT_FALSE(other.open());

    int exclusive = 0;
    ASSERT_EQ(::ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_NE(exclusive, 0) << "the refused open dropped the holder's exclusive claim";
    char buf[3];
    ASSERT_TRUE(port.read(buf, 3)) << "the refused open discarded the holder's input";
    EXPECT_EQ(std::string(buf, 3), "xyz");
}

TEST_F(Rs232cOnPty, SecondOpenFromAnotherProcessFails)
{
    ASSERT_TRUE(port.open());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Trs232c other;
        ConfigureForInstrument(other, pty.slavePath());
        ::_exit(other.open() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child could open the device";
}

TEST_F(Rs232cOnPty, ALinkedNameIsTheSameDevice)
{
    qlxtest::TempDir dir;
    const std::string link = dir.file("by-id-qlx50");
    std::filesystem::create_symlink(pty.slavePath(), link);
    Trs232c viaLink;
    ConfigureForInstrument(viaLink, link);
    ASSERT_TRUE(viaLink.open());
    EXPECT_FALSE(port.open());
    ASSERT_TRUE(viaLink.write("L", 1));
    EXPECT_EQ(pty.Receive(1), "L");
}

TEST_F(Rs232cOnPty, ConfigurationFailureReleasesTheDeviceAndReportsOnlyWithDebug)
{
    std::vector<std::string> shown;
    port.ShowMessage = [&](const std::string& text) { shown.push_back(text); };
    port.bps = 12345;
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.opened());
    EXPECT_TRUE(shown.empty());

    port.debug = true;
    EXPECT_FALSE(port.open());
    EXPECT_EQ(shown, std::vector<std::string>{"通信条件設定エラー"});

    port.bps = 38400;
    port.rxtimeout = -1;
    EXPECT_FALSE(port.open());
    port.rxtimeout = 2000;
    port.rxbuffsize = 0;
    EXPECT_FALSE(port.open());
    EXPECT_EQ(shown, (std::vector<std::string>{"通信条件設定エラー", "タイムアウト時間設定エラー",
                                               "バッファサイズ設定エラー"}));
    port.rxbuffsize = 2048;
    EXPECT_TRUE(port.open());
}

TEST(Rs232cOpen, MissingDeviceReportsTheOpenErrorWithDebug)
{
    Trs232c port;
    std::vector<std::string> shown;
    port.ShowMessage = [&](const std::string& text) { shown.push_back(text); };
    port.portname = "/dev/qlx50-no-such-device";
    port.debug = true;
    EXPECT_FALSE(port.open());
    EXPECT_EQ(shown, std::vector<std::string>{"回線オープンエラー"});
}

TEST(Rs232cOpen, AFileThatIsNoTerminalIsRefused)
{
    qlxtest::TempDir dir;
    qlxtest::WriteAll(dir.file("plain"), "x");
    Trs232c port;
    port.portname = dir.file("plain");
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.opened());
}

}  // namespace
}  // namespace qlx
