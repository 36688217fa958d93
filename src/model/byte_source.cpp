#include "model/byte_source.h"

namespace qlx {

bool ReadLine(ByteSource& in, std::string& line, std::size_t cap)
{
    line.clear();
    bool over = false;
    // One byte beyond the cap is kept: it may be the CR of the line end.
    for (int b = in.Next(); b >= 0 && b != '\n'; b = in.Next()) {
        if (line.size() <= cap)
            line += static_cast<char>(b);
        else
            over = true;
    }
    if (!over && !line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > cap) {
        line.resize(cap);
        over = true;
    }
    return !over;
}

bool SkipBlankBytes(ByteSource& in)
{
    int b = in.Peek();
    while (b >= 0 && b <= 0x20) {
        in.Next();
        b = in.Peek();
    }
    return b >= 0;
}

}  // namespace qlx
