#include "analysis/zma_writer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "model/freq_table.h"
#include "model/sjis.h"

namespace qlx {

namespace {

void AppendInt(std::string& out, long long v, int minDigits = 1)
{
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    const std::string digits(buf, end);
    if (static_cast<int>(digits.size()) < minDigits)
        out.append(minDigits - digits.size(), '0');
    out += digits;
}

// A point in 0.1 ohm as ohm, shortest form: 1234 -> "123.4", 980 -> "98".
void AppendOhm(std::string& out, int tenths)
{
    AppendInt(out, tenths / 10);
    if (tenths % 10) {
        out.push_back('.');
        AppendInt(out, tenths % 10);
    }
}

// Degrees with two decimals; never "-0.00".
void AppendDegrees(std::string& out, double deg)
{
    const long long hundredths = std::llround(deg * 100);
    if (hundredths < 0)
        out.push_back('-');
    const long long a = std::llabs(hundredths);
    AppendInt(out, a / 100);
    out.push_back('.');
    AppendInt(out, a % 100, 2);
}

// The name for one comment line: control characters (a line break would end
// the comment) become blanks; a character Shift-JIS cannot hold becomes "?".
std::string NameForComment(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        len = std::min(len, utf8.size() - i);
        const std::string ch = utf8.substr(i, len);
        i += len;
        if (len == 1 && (lead < 0x20 || lead == 0x7F)) {
            out.push_back(' ');
            continue;
        }
        const std::optional<std::string> sjis = Utf8ToSjis(ch);
        out += sjis ? *sjis : "?";
    }
    return out;
}

}  // namespace

std::string ZmaText(const ChannelPoints& points, const PhasePoints& phaseDeg, const ZmaHeader& header)
{
    const char* const kEol = "\r\n";
    std::string out;
    out += "* QLX-50 Manager impedance export";
    out += kEol;
    out += "* Curve: " + NameForComment(header.curveNameUtf8) + kEol;
    out += "* Channel: ";
    AppendInt(out, header.channel);
    out += kEol;
    out += "* Date: ";
    AppendInt(out, header.date.year, 4);
    out.push_back('-');
    AppendInt(out, header.date.month, 2);
    out.push_back('-');
    AppendInt(out, header.date.day, 2);
    out += kEol;
    out += header.zeroPhase ? "* Phase: not measured, written as 0"
                            : "* Phase: minimum-phase estimate derived from |Z|, not measured";
    out += kEol;
    out += "* Frequency (Hz), |Z| (ohm), phase (degrees)";
    out += kEol;

    for (int j = 0; j < kPointCount; ++j) {
        if (!points[j] || (!header.zeroPhase && !phaseDeg[j]))
            continue;
        out += FreqHz[j];
        out.push_back(' ');
        AppendOhm(out, *points[j]);
        out.push_back(' ');
        AppendDegrees(out, header.zeroPhase ? 0.0 : *phaseDeg[j]);
        out += kEol;
    }
    return out;
}

std::string ZmaTextWithMinimumPhase(const ChannelPoints& points, const ResonanceAnalysis& analysis,
                                    const ZmaHeader& header)
{
    if (header.zeroPhase)
        return ZmaText(points, PhasePoints{}, header);
    return ZmaText(points, MinimumPhaseDeg(points, analysis), header);
}

}  // namespace qlx
