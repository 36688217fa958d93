#include "model/curve_file.h"

#include <cerrno>
#include <new>

namespace qlx {

namespace {
constexpr int kCtrlZ = 0x1A;
}

std::vector<std::string> SplitCurveFileLines(ByteSource& in, int maxLines)
{
    std::vector<std::string> lines;
    while (static_cast<int>(lines.size()) < maxLines) {
        int b = in.Peek();
        while (b >= 0 && b <= 0x20 && b != kCtrlZ) {
            in.Next();
            b = in.Peek();
        }
        if (b < 0 || b == kCtrlZ)
            break;
        std::string line;
        bool endOfFile = false;
        for (b = in.Next(); b >= 0 && b != '\n'; b = in.Next()) {
            if (b == kCtrlZ) {
                endOfFile = true;
                break;
            }
            if (b != '\r' && line.size() < kMaxLineBytes)
                line += static_cast<char>(b);
        }
        lines.push_back(std::move(line));
        if (endOfFile)
            break;
    }
    return lines;
}

std::vector<std::string> SplitCurveFileLines(const std::string& bytes, int maxLines)
{
    StringSource in(bytes);
    return SplitCurveFileLines(in, maxLines);
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

IoResult ReadCurveFileLines(const std::string& path, std::vector<std::string>& lines)
{
    try {
        FileSource in(path, ReadBudget(kMaxFileLines));
        std::vector<std::string> read = SplitCurveFileLines(in);
        if (!in.result())
            return in.result();
        lines.swap(read);
        return {};
    } catch (const std::bad_alloc&) {
        return ReadFailure(path, ENOMEM);
    }
}

IoResult ReadCurveFile(const std::string& path, CurveLines& curve)
{
    std::vector<std::string> lines;
    IoResult r = ReadCurveFileLines(path, lines);
    if (!r)
        return r;
    try {
        // Stored into a copy, so that a failed allocation leaves the curve whole.
        CurveLines stored = curve;
        StoreCurveFileLines(lines, stored);
        curve.swap(stored);
    } catch (const std::bad_alloc&) {
        return ReadFailure(path, ENOMEM);
    }
    return r;
}

IoResult WriteCurveFile(const std::string& path, const CurveLines& curve)
{
    return WriteFileBytes(path, CurveFileBytes(curve));
}

}  // namespace qlx
