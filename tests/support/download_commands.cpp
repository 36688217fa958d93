#include "support/download_commands.h"

namespace qlxtest {

std::string StatusCmd() { return "RSTT\x03"; }

std::string ReadCmd(char kind, int slot, int block, char part)
{
    return std::string("RIMP\n") + kind + "\n" + static_cast<char>(0x30 + slot) + "\n" +
           static_cast<char>('0' + block) + "\n" + part + "\x03";
}

std::vector<std::string> LinesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t lf; (lf = bytes.find('\n', start)) != std::string::npos; start = lf + 1)
        lines.push_back(bytes.substr(start, lf - start));
    if (start < bytes.size())
        lines.push_back(bytes.substr(start) + "<no LF>");
    return lines;
}

}  // namespace qlxtest
