#include "model/curve_file.h"

namespace qlx {

namespace {
constexpr char kCtrlZ = 0x1A;
}

std::vector<std::string> SplitCurveFileLines(const std::string& bytes, int maxLines)
{
    std::vector<std::string> lines;
    size_t i = 0;
    const size_t n = bytes.size();
    while (static_cast<int>(lines.size()) < maxLines) {
        while (i < n && static_cast<unsigned char>(bytes[i]) <= 0x20 && bytes[i] != kCtrlZ)
            ++i;
        if (i >= n || bytes[i] == kCtrlZ)
            break;
        std::string line;
        bool endOfFile = false;
        for (; i < n && bytes[i] != '\n'; ++i) {
            if (bytes[i] == kCtrlZ) {
                endOfFile = true;
                break;
            }
            if (bytes[i] != '\r')
                line += bytes[i];
        }
        lines.push_back(std::move(line));
        if (endOfFile)
            break;
    }
    return lines;
}

void StoreCurveFileLines(const std::vector<std::string>& lines, CurveLines& curve)
{
    curve[MemoSlot].clear();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i <= static_cast<size_t>(MemoSlot - 1))
            curve[i] = lines[i];
        else if (i == MemoSlot)
            curve[MemoSlot] = lines[i];
        else
            curve[MemoSlot] += "\r\n" + lines[i];
    }
}

std::string CurveFileBytes(const CurveLines& curve)
{
    std::string out;
    for (const std::string& slot : curve) {
        out += slot;
        out += '\n';
    }
    return out;
}

IoResult ReadCurveFile(const std::string& path, CurveLines& curve)
{
    std::string bytes;
    IoResult r = ReadFileBytes(path, bytes);
    if (r)
        StoreCurveFileLines(SplitCurveFileLines(bytes), curve);
    return r;
}

IoResult WriteCurveFile(const std::string& path, const CurveLines& curve)
{
    return WriteFileBytes(path, CurveFileBytes(curve));
}

}  // namespace qlx
