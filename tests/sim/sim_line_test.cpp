#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "comm/instrument_session.h"
#include "comm/rs232c.h"
#include "qlx50_sim.h"

namespace qlxsim {
namespace {

using Clock = std::chrono::steady_clock;

// The simulator on its pseudo-terminal, driven through the serial component.
class SimOnLine : public ::testing::Test {
protected:
    Qlx50Sim sim{SimConfig{true, 400, false, 2, std::nullopt, {}}};
    qlx::Trs232c port;

    void SetUp() override
    {
        qlx::ConfigureInstrumentPort(port);
        port.portname = sim.devicePath();
        ASSERT_TRUE(port.open());
    }
    void Send(const std::string& bytes) { ASSERT_TRUE(port.write(bytes.data(), bytes.size())); }
    // Bytes up to and including ETX, or what came before the limit.
    std::string ReceiveToEtx(int timeoutMs = 3000)
    {
        port.rxtimeout = timeoutMs;
        std::string out;
        char c;
        while (port.readchar(c)) {
            out.push_back(c);
            if (c == kEtx)
                break;
        }
        return out;
    }
};

TEST_F(SimOnLine, LogsEveryCommandByteForByte)
{
    Send("RSTT\x03");
    ReceiveToEtx();
    Send(std::string("RIMP\nR\n\xff\n0\nH\x03", 13));  // a slot byte it does not know
    ASSERT_TRUE(sim.WaitForCommands(2, 5000)) << sim.Commands().size() << " " << sim.Commands().back();
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"RSTT\x03", std::string("RIMP\nR\n\xff\n0\nH\x03", 13)}));
}

TEST_F(SimOnLine, CommandLongerThanTheInstrumentTakesIsLoggedWholeAndRefused)
{
    const std::string longPacket = std::string(kMaxCommand + 1000, '7') + "\x03";
    Send(longPacket);
    EXPECT_EQ(ReceiveToEtx(300), std::string({kNak, kAfterAck}));
    Send("RSTT\x03");
    EXPECT_EQ(ReceiveToEtx(), sim.StatusText() + "\x03");
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{longPacket, "RSTT\x03"}));
}

TEST_F(SimOnLine, ReplyFaultsHitOnlyTheReplyToTheNthCommand)
{
    port.rxtimeout = 300;
    struct Case {
        const char* what;
        SimFaults faults;
        std::string replies;
    };
    SimFaults nakSecond, aloneFirst, everyReply;
    nakSecond.wrongFirstByte = kNak;
    nakSecond.onlyReplyTo = 2;
    aloneFirst.ackAlone = true;
    aloneFirst.onlyReplyTo = 1;
    everyReply.ackAlone = true;
    const std::string ack{kAck, kAfterAck};
    const Case cases[] = {
        {"NAK to the second", nakSecond, ack + std::string{kNak, kAfterAck} + ack},
        {"ACK alone to the first", aloneFirst, std::string{kAck} + ack + ack},
        {"ACK alone to every one", everyReply, std::string(3, kAck)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim.SetFaults(c.faults);
        std::string replies;
        for (char slot : {'0', '1', '2'}) {
            // Each reply is read to the silence after it, so none runs into the next.
            Send(std::string("WIMP\nR\n") + slot + "\n0\n[NAME        ]\nB\nC\x03");
            char b;
            while (port.readchar(b))
                replies.push_back(b);
        }
        EXPECT_EQ(replies, c.replies);
    }
}

TEST_F(SimOnLine, StopCancelsARunningSweep)
{
    Send("RSWP\n2\n000\n119\x03");
    char ack, skipped;
    ASSERT_TRUE(port.readchar(ack));
    ASSERT_TRUE(port.readchar(skipped));
    EXPECT_EQ(ack, kAck);
    Send("RSTP\x03");
    port.rxtimeout = 1000;
    char c;
    EXPECT_FALSE(port.readchar(c));
}

TEST_F(SimOnLine, SweepDataComesAfterTheSweepTime)
{
    const auto start = Clock::now();
    Send("RSWP\n7\n000\n119\x03");
    const std::string reply = ReceiveToEtx(5000);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(ms, 400);
    ASSERT_GT(reply.size(), 3u);
    EXPECT_EQ(reply.back(), kEtx);
    EXPECT_EQ(std::count(reply.begin(), reply.end(), '\n'), 119);
}

TEST_F(SimOnLine, PacedRepliesTakeTheLineTime)
{
    sim.SetPaced(true);
    const auto start = Clock::now();
    Send("RIMP\nR\n0\n0\nA\x03");
    const std::string reply = ReceiveToEtx();
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    ASSERT_GT(reply.size(), 300u);
    EXPECT_GE(us, static_cast<long long>(reply.size()) * 11'000'000 / 38400);
}

TEST_F(SimOnLine, SilenceAfterBytes)
{
    SimFaults faults;
    faults.silenceAfterBytes = 10;
    sim.SetFaults(faults);
    Send("RSTT\x03");
    EXPECT_EQ(ReceiveToEtx(300), sim.StatusText().substr(0, 10));
}

TEST_F(SimOnLine, LogsEveryReplyAsItWentOntoTheLine)
{
    sim.SetPaced(true);
    Send("RSTT\x03");
    const std::string status = ReceiveToEtx();
    Send("RSWP\n2\n000\n119\x03");
    const std::string sweep = ReceiveToEtx(5000);
    ASSERT_EQ(sweep.substr(0, 2), std::string({kAck, kAfterAck}));
    // The ACK goes out at once, the points after the sweep: two replies.
    EXPECT_EQ(sim.Replies(), (std::vector<std::string>{status, sweep.substr(0, 2), sweep.substr(2)}));

    // A reply cut by a fault is logged as far as it went out.
    sim.ClearLog();
    SimFaults faults;
    faults.silenceAfterBytes = 10;
    sim.SetFaults(faults);
    Send("RSTT\x03");
    EXPECT_EQ(ReceiveToEtx(300), sim.StatusText().substr(0, 10));
    Send("RSTT\x03");
    EXPECT_EQ(ReceiveToEtx(300), "");
    EXPECT_TRUE(sim.WaitForCommands(2, 5000));
    EXPECT_EQ(sim.Replies(), (std::vector<std::string>{sim.StatusText().substr(0, 10)}));
    EXPECT_EQ(sim.Commands().size(), 2u);
}

TEST_F(SimOnLine, ShortReadsOfOneSlotKeepTheirFrame)
{
    SimFaults faults;
    faults.shortReadSlot = 1;
    faults.shortReadBytes = 5;
    sim.SetFaults(faults);
    const std::string frame{kAck, kAfterAck};
    Send("RIMP\nR\n1\n0\nH\x03");
    EXPECT_EQ(ReceiveToEtx(), frame + "[FULL\x03");
    Send("RIMP\nM\n1\n2\nA\x03");
    EXPECT_EQ(ReceiveToEtx().size(), 2u + 5 + 1);
    // Other slots and other commands answer in full.
    Send("RIMP\nR\n0\n0\nH\x03");
    EXPECT_EQ(ReceiveToEtx().substr(0, 16), frame + "[WOOFER-16A  ]");
    Send("RSTT\x03");
    EXPECT_EQ(ReceiveToEtx(), sim.StatusText() + kEtx);
}

// An adapter pulled out: the command that finds it gone gets no reply, the
// program's end of the line hangs up and the device cannot be opened again.
// The read limit is ten minutes, so only the hang-up can end the read.
TEST_F(SimOnLine, VanishingDeviceHangsUpTheLineAndTakesItsPath)
{
    port.close();
    port.rxtimeout = 600000;
    port.txtimeout = 600000;
    ASSERT_TRUE(port.open());
    SimFaults faults;
    faults.vanishAtCommand = 2;
    sim.SetFaults(faults);
    Send("RSTT\x03");
    EXPECT_EQ(ReceiveToEtx(600000), sim.StatusText() + kEtx);
    EXPECT_FALSE(sim.Vanished());

    const std::string read = "RIMP\nR\n0\n0\nH\x03";
    ASSERT_TRUE(port.write(read.data(), read.size()));
    char c;
    EXPECT_FALSE(port.readchar(c));
    EXPECT_TRUE(sim.Vanished());
    EXPECT_FALSE(port.write(read.data(), read.size()));
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"RSTT\x03", read}));

    port.close();
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(std::filesystem::exists(sim.devicePath()));
}

}  // namespace
}  // namespace qlxsim
