#include "model/curve_csv.h"

#include <cstdint>
#include <limits>

#include "model/file_io.h"
#include "model/freq_table.h"
#include "model/sjis.h"

namespace qlx {

namespace {

constexpr std::int64_t kDecimalsScale = 10000;  // four decimals
constexpr std::int64_t kMaxScaled = std::numeric_limits<std::int64_t>::max();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The point's value / 10 in units of 0.0001, that is the text times 1000,
// rounded by the digits beyond the third decimal of the text.
std::optional<std::int64_t> ScaledOhm(const std::string& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t scaled = 0;
    int digits = 0;
    auto addDigit = [&](char c) {
        if (scaled > (kMaxScaled - 9) / 10)
            return false;
        scaled = scaled * 10 + (c - '0');
        return true;
    };
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        if (!addDigit(text[i]))
            return std::nullopt;
    int decimals = 0;
    bool roundUp = false;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
            if (decimals < 3) {
                if (!addDigit(text[i]))
                    return std::nullopt;
                ++decimals;
            } else if (decimals == 3) {
                roundUp = text[i] >= '5';
                ++decimals;
            }
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;
    for (; decimals < 3; ++decimals)
        if (!addDigit('0'))
            return std::nullopt;
    if (roundUp) {
        if (scaled == kMaxScaled)
            return std::nullopt;
        ++scaled;
    }
    return negative ? -scaled : scaled;
}

std::string FormatScaled(std::int64_t scaled)
{
    const bool negative = scaled < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(scaled) : scaled;
    std::string text = std::to_string(magnitude / kDecimalsScale);
    std::string decimals = std::to_string(magnitude % kDecimalsScale + kDecimalsScale).substr(1);
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    if (!decimals.empty())
        text += "." + decimals;
    return negative && magnitude != 0 ? "-" + text : text;
}

// One channel's field without its separator; false for a point that is no number.
bool AppendField(std::string& row, const CurveLines& lines, int c, int i, const ChannelInts& minFreq,
                 const ChannelInts& maxFreq, std::optional<std::string>& badPoint)
{
    const std::string& point = lines[PointSlot(c, i)];
    if (i > maxFreq[c] || i < minFreq[c] || point.empty())
        return true;
    if (point == "0") {
        row += "0";
        return true;
    }
    std::optional<std::string> ohm = PointInOhm(point);
    if (!ohm) {
        badPoint = point;
        return false;
    }
    row += *ohm;
    return true;
}

}  // namespace

std::optional<std::string> PointInOhm(const std::string& point)
{
    std::optional<std::int64_t> scaled = ScaledOhm(point);
    if (!scaled)
        return std::nullopt;
    return FormatScaled(*scaled);
}

CurveCsv CurveCsvBytes(const CurveLines& lines, const ChannelInts& minFreq, const ChannelInts& maxFreq)
{
    const int channels = ChannelsWithData(lines[TerminalLine]);
    CurveCsv csv;
    for (int i = 0; i < kPointCount; ++i) {
        std::string row = FreqHz[i];
        for (int c = 0; c < kChannelCount; ++c) {
            row += ",";
            if (c < channels && !AppendField(row, lines, c, i, minFreq, maxFreq, csv.badPoint))
                return csv;
        }
        csv.bytes += row + "\r\n";
    }
    return csv;
}

std::string NotANumberMessage(const std::string& sjisText)
{
    return "「" + SjisToUtf8(sjisText) + "」は数値に変換できません。";
}

CsvExportResult WriteCurveCsv(const std::string& path, const CurveLines& lines, const ChannelInts& minFreq,
                              const ChannelInts& maxFreq)
{
    const CurveCsv csv = CurveCsvBytes(lines, minFreq, maxFreq);
    if (IoResult io = WriteFileBytes(path, csv.bytes); !io)
        return {CsvExportStatus::FileError, io.error};
    if (csv.badPoint)
        return {CsvExportStatus::NotANumber, NotANumberMessage(*csv.badPoint)};
    return {};
}

}  // namespace qlx
