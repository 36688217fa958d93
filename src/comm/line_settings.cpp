#include "comm/line_settings.h"

#include <utility>

namespace qlx {

namespace {

struct ParityName {
    const char* name;
    Parity parity;
};

// Each Japanese or full-width name twice: Shift-JIS bytes, then UTF-8.
const ParityName kParityNames[] = {
    {"\x96\xb3\x82\xb5", Parity::None},  // 無し
    {"\x82\xc8\x82\xb5", Parity::None},  // なし
    {"無し", Parity::None},
    {"なし", Parity::None},
    {"\x8a\xef\x90\x94", Parity::Odd},          // 奇数
    {"\x82\xab\x82\xb7\x82\xa4", Parity::Odd},  // きすう
    {"\x82\x6e\x82\x63\x82\x63", Parity::Odd},  // ＯＤＤ
    {"\x82\x8f\x82\x84\x82\x84", Parity::Odd},  // ｏｄｄ
    {"奇数", Parity::Odd},
    {"きすう", Parity::Odd},
    {"ＯＤＤ", Parity::Odd},
    {"ｏｄｄ", Parity::Odd},
    {"ODD", Parity::Odd},
    {"odd", Parity::Odd},
    {"\x8b\xf4\x90\x94", Parity::Even},                  // 偶数
    {"\x82\xae\x82\xa4\x82\xb7\x82\xa4", Parity::Even},  // ぐうすう
    {"\x82\x64\x82\x75\x82\x64\x82\x6d", Parity::Even},  // ＥＶＥＮ
    {"\x82\x85\x82\x96\x82\x85\x82\x8e", Parity::Even},  // ｅｖｅｎ
    {"偶数", Parity::Even},
    {"ぐうすう", Parity::Even},
    {"ＥＶＥＮ", Parity::Even},
    {"ｅｖｅｎ", Parity::Even},
    {"EVEN", Parity::Even},
    {"even", Parity::Even},
    {"\x83\x7d\x81\x5b\x83\x4e", Parity::Mark},          // マーク
    {"\x82\xdc\x81\x5b\x82\xad", Parity::Mark},          // まーく
    {"\x82\x6c\x82\x60\x82\x71\x82\x6a", Parity::Mark},  // ＭＡＲＫ
    {"\x82\x8d\x82\x81\x82\x92\x82\x8b", Parity::Mark},  // ｍａｒｋ
    {"マーク", Parity::Mark},
    {"まーく", Parity::Mark},
    {"ＭＡＲＫ", Parity::Mark},
    {"ｍａｒｋ", Parity::Mark},
    {"MARK", Parity::Mark},
    {"mark", Parity::Mark},
    {"\x83\x58\x83\x79\x81\x5b\x83\x58", Parity::Space},          // スペース
    {"\x82\xb7\x82\xd8\x81\x5b\x82\xb7", Parity::Space},          // すぺーす
    {"\x82\x72\x82\x6f\x82\x60\x82\x62\x82\x64", Parity::Space},  // ＳＰＡＣＥ
    {"\x82\x93\x82\x90\x82\x81\x82\x83\x82\x85", Parity::Space},  // ｓｐａｃｅ
    {"スペース", Parity::Space},
    {"すぺーす", Parity::Space},
    {"ＳＰＡＣＥ", Parity::Space},
    {"ｓｐａｃｅ", Parity::Space},
    {"SPACE", Parity::Space},
    {"space", Parity::Space},
};

const std::pair<int, speed_t> kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},         {200, B200},
    {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},     {2400, B2400},       {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},   {230400, B230400},
    {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600}, {1000000, B1000000},
};

void ApplyParity(termios& tio, Parity p)
{
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (p) {
    case Parity::None: break;
    case Parity::Odd: tio.c_cflag |= PARENB | PARODD; break;
    case Parity::Even: tio.c_cflag |= PARENB; break;
    // With CMSPAR, PARODD selects a parity bit that is always 1 (mark), its
    // absence one that is always 0 (space).
    case Parity::Mark: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case Parity::Space: tio.c_cflag |= PARENB | CMSPAR; break;
    }
}

bool ApplyCharSize(termios& tio, int charbit)
{
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    const int bits = charbit & 0xFF;
    if (bits < 5 || bits > 8)
        return false;
    tio.c_cflag = (tio.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | sizes[bits - 5];
    return true;
}

void ApplyStopBits(termios& tio, const std::string& stopbit)
{
    // The UART sends one and a half stop bits for "two" with 5 data bits and
    // two with more; a receiver accepts the longer stop, so "1.5" maps to CSTOPB.
    if (stopbit == "1")
        tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    else if (stopbit == "1.5" || stopbit == "2")
        tio.c_cflag |= CSTOPB;
}

void MakeRaw(termios& tio)
{
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                          IXANY | INPCK | IGNPAR | IMAXBEL);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

void ApplyFlowFlags(termios& tio, int flowflag)
{
    const FlowSet f = FlowSet::FromBits(flowflag);
    // Without PARMRK the line discipline turns a byte received with a parity
    // error into NUL; marked, the reading side hands it over as received (or
    // as ErrorChar in error-character mode).
    if (f.contains(dfParity))
        tio.c_iflag |= INPCK | PARMRK;
    if (f.contains(dfOutX))
        tio.c_iflag |= IXON;
    if (f.contains(dfInX))
        tio.c_iflag |= IXOFF;
    if (f.contains(dfOutxCtsFlow) || RtsControlOf(flowflag) == 2)
        tio.c_cflag |= CRTSCTS;
    else
        tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
}

}  // namespace

std::optional<Parity> ParityFromName(const std::string& name)
{
    for (const ParityName& p : kParityNames)
        if (name == p.name)
            return p.parity;
    return std::nullopt;
}

std::optional<speed_t> SpeedOf(int bps)
{
    for (const auto& [rate, speed] : kSpeeds)
        if (rate == bps)
            return speed;
    return std::nullopt;
}

int DtrControlOf(int flowflag) { return (flowflag >> dfDtrControl_b0) & 3; }
int RtsControlOf(int flowflag) { return (flowflag >> dfRtsControl_b0) & 3; }

bool ApplyLineSettings(termios& tio, const LineSettings& s)
{
    const std::optional<speed_t> speed = SpeedOf(s.bps);
    if (!speed)
        return false;
    MakeRaw(tio);
    if (cfsetispeed(&tio, *speed) != 0 || cfsetospeed(&tio, *speed) != 0)
        return false;
    ApplyStopBits(tio, s.stopbit);
    if (const std::optional<Parity> p = ParityFromName(s.paritymode))
        ApplyParity(tio, *p);
    ApplyFlowFlags(tio, s.flowflag);
    if (!ApplyCharSize(tio, s.charbit))
        return false;
    if (s.XonChar != 0)
        tio.c_cc[VSTART] = static_cast<cc_t>(s.XonChar);
    if (s.XoffChar != 0)
        tio.c_cc[VSTOP] = static_cast<cc_t>(s.XoffChar);
    if (s.EofChar != 0)
        tio.c_cc[VEOF] = static_cast<cc_t>(s.EofChar);
    return tio.c_cc[VSTART] == 0 || tio.c_cc[VSTART] != tio.c_cc[VSTOP];
}

}  // namespace qlx
