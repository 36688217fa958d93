#include <gtest/gtest.h>

#include "comm/line_settings.h"
#include "model/sjis.h"

namespace qlx {
namespace {

TEST(ParityNames, EveryNameOfTheTableInShiftJisAndUtf8)
{
    const std::pair<const char*, Parity> names[] = {
        {"無し", Parity::None},        {"なし", Parity::None},        {"奇数", Parity::Odd},
        {"きすう", Parity::Odd},       {"ODD", Parity::Odd},          {"odd", Parity::Odd},
        {"ＯＤＤ", Parity::Odd},       {"ｏｄｄ", Parity::Odd},       {"偶数", Parity::Even},
        {"ぐうすう", Parity::Even},    {"EVEN", Parity::Even},        {"even", Parity::Even},
        {"ＥＶＥＮ", Parity::Even},    {"ｅｖｅｎ", Parity::Even},    {"マーク", Parity::Mark},
        {"まーく", Parity::Mark},      {"MARK", Parity::Mark},        {"mark", Parity::Mark},
        {"ＭＡＲＫ", Parity::Mark},    {"ｍａｒｋ", Parity::Mark},    {"スペース", Parity::Space},
        {"すぺーす", Parity::Space},   {"SPACE", Parity::Space},      {"space", Parity::Space},
        {"ＳＰＡＣＥ", Parity::Space}, {"ｓｐａｃｅ", Parity::Space},
    };
    for (const auto& [utf8, parity] : names) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(ParityFromName(utf8), parity);
        const auto sjis = Utf8ToSjis(utf8);
        ASSERT_TRUE(sjis);
        EXPECT_EQ(ParityFromName(*sjis), parity);
    }
}

TEST(ParityNames, OtherSpellingsAreNotRecognised)
{
    for (const char* name : {"Odd", "ODD ", "Even", "Mark", "none", "", "ｏｄｄ ", "Ｏｄｄ", "奇"})
        EXPECT_FALSE(ParityFromName(name)) << name;
}

termios DeviceBlock()
{
    termios tio{};
    tio.c_cflag = CS7 | PARENB | CREAD | HUPCL;
    tio.c_iflag = ICRNL | IXON | IGNPAR;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_lflag = ICANON | ECHO | ISIG;
    tio.c_cc[VSTART] = 0x01;
    tio.c_cc[VSTOP] = 0x02;
    tio.c_cc[VEOF] = 0x04;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    return tio;
}

LineSettings InstrumentLine()
{
    LineSettings s;
    s.bps = 38400;
    s.charbit = 8;
    s.stopbit = "1";
    s.paritymode = "ODD";
    s.flowflag = 2;
    s.EofChar = 0x03;
    return s;
}

TEST(LineSettingsMapping, InstrumentLineIsRawEightOddOneWithParityCheckOnly)
{
    termios tio = DeviceBlock();
    ASSERT_TRUE(ApplyLineSettings(tio, InstrumentLine()));
    EXPECT_EQ(cfgetospeed(&tio), B38400);
    EXPECT_EQ(cfgetispeed(&tio), B38400);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_TRUE(tio.c_cflag & CREAD);
    // Errors are marked, not turned into NUL bytes: a byte received with a
    // parity error is handed over as received.
    EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK | IGNPAR | ISTRIP), static_cast<tcflag_t>(INPCK | PARMRK));
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | ICRNL));
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
    EXPECT_EQ(tio.c_cc[VEOF], 0x03);
}

TEST(LineSettingsMapping, ParityBitsPerName)
{
    const std::pair<const char*, tcflag_t> cases[] = {
        {"無し", 0},
        {"EVEN", PARENB},
        {"odd", PARENB | PARODD},
        {"MARK", PARENB | CMSPAR | PARODD},
        {"space", PARENB | CMSPAR},
    };
    for (const auto& [name, bits] : cases) {
        SCOPED_TRACE(name);
        termios tio = DeviceBlock();
        tio.c_cflag |= PARODD | CMSPAR;  // stale bits must not survive
        LineSettings s = InstrumentLine();
        s.paritymode = name;
        ASSERT_TRUE(ApplyLineSettings(tio, s));
        EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), bits);
    }
}

TEST(LineSettingsMapping, UnknownParityOrStopBitsKeepTheDevicesValues)
{
    termios tio = DeviceBlock();
    tio.c_cflag |= CSTOPB | PARODD;
    LineSettings s = InstrumentLine();
    s.paritymode = "Odd";
    s.stopbit = "3";
    ASSERT_TRUE(ApplyLineSettings(tio, s));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
}

TEST(LineSettingsMapping, StopBitsAndDataBits)
{
    const std::tuple<const char*, int, bool, tcflag_t> cases[] = {
        {"1", 8, false, CS8},
        {"2", 7, true, CS7},
        {"1.5", 5, true, CS5},
        {"1", 0x106, false, CS6},
    };
    for (const auto& [stop, bits, cstopb, size] : cases) {
        termios tio = DeviceBlock();
        LineSettings s = InstrumentLine();
        s.stopbit = stop;
        s.charbit = bits;
        ASSERT_TRUE(ApplyLineSettings(tio, s)) << stop << " " << bits;
        EXPECT_EQ(static_cast<bool>(tio.c_cflag & CSTOPB), cstopb) << stop;
        EXPECT_EQ(tio.c_cflag & CSIZE, size) << bits;
    }
}

TEST(LineSettingsMapping, FlowFlagBits)
{
    struct Case {
        int flowflag;
        tcflag_t iflag;
        bool crtscts;
    };
    const Case cases[] = {
        {1 << dfBinary, 0, false},
        {1 << dfParity, INPCK | PARMRK, false},
        {(1 << dfParity) | (1 << dfErrorChar), INPCK | PARMRK, false},
        {1 << dfErrorChar, 0, false},  // nothing to replace without parity checking
        {1 << dfOutxCtsFlow, 0, true},
        {2 << dfRtsControl_b0, 0, true},  // RTS handshake
        {1 << dfRtsControl_b0, 0, false},
        {1 << dfOutX, IXON, false},
        {1 << dfInX, IXOFF, false},
        {(1 << dfOutX) | (1 << dfInX), IXON | IXOFF, false},
        {(1 << dfOutxDsrFlow) | (1 << dfDsrSensitivity) | (1 << dfTXContinueOnXoff) | (1 << dfAbortOnError), 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flowflag);
        termios tio = DeviceBlock();
        tio.c_cflag |= CRTSCTS;
        LineSettings s = InstrumentLine();
        s.flowflag = c.flowflag;
        ASSERT_TRUE(ApplyLineSettings(tio, s));
        EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK | IXON | IXOFF | IXANY), c.iflag);
        EXPECT_EQ(static_cast<bool>(tio.c_cflag & CRTSCTS), c.crtscts);
    }
}

TEST(LineSettingsMapping, ZeroCharactersKeepTheDevicesCharacters)
{
    termios tio = DeviceBlock();
    LineSettings s = InstrumentLine();
    s.XonChar = 0;
    s.XoffChar = 0;
    s.EofChar = 0;
    ASSERT_TRUE(ApplyLineSettings(tio, s));
    EXPECT_EQ(tio.c_cc[VSTART], 0x01);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x02);
    EXPECT_EQ(tio.c_cc[VEOF], 0x04);
}

TEST(LineSettingsMapping, UnrepresentableSettingsFail)
{
    const auto fails = [](auto change) {
        termios tio = DeviceBlock();
        LineSettings s = InstrumentLine();
        change(s);
        return !ApplyLineSettings(tio, s);
    };
    EXPECT_TRUE(fails([](LineSettings& s) { s.bps = 12345; }));
    EXPECT_TRUE(fails([](LineSettings& s) { s.bps = 0; }));
    EXPECT_TRUE(fails([](LineSettings& s) { s.charbit = 4; }));
    EXPECT_TRUE(fails([](LineSettings& s) { s.charbit = 9; }));
    EXPECT_TRUE(fails([](LineSettings& s) { s.XonChar = 0x13; }));
    EXPECT_FALSE(fails([](LineSettings& s) { s.bps = 115200; }));
}

TEST(FlowSetView, BitsAndMembersAgree)
{
    FlowSet f{dfParity, dfOutX};
    EXPECT_EQ(f.bits(), (1 << 1) | (1 << 8));
    EXPECT_TRUE(f.contains(dfOutX));
    f.erase(dfOutX);
    f.insert(dfAbortOnError);
    EXPECT_EQ(f.bits(), (1 << 1) | (1 << 14));
    EXPECT_EQ(FlowSet::FromBits(0xFFFF).bits(), 0x7FFF);
    EXPECT_EQ(DtrControlOf(0x30), 3);
    EXPECT_EQ(RtsControlOf(0x2000), 2);
}

}  // namespace
}  // namespace qlx
