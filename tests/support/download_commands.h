#pragma once

#include <string>
#include <vector>

namespace qlxtest {

// The download commands as they go onto the line, spelled out from their
// layout rather than made by the program's own command builder.
std::string StatusCmd();
// "RIMP" of kind 'R' or 'M', slot index, channel block, part 'H' or 'A'.
std::string ReadCmd(char kind, int slot, int block, char part);

// The LF-ended lines of a file's bytes; a last line without its LF is
// marked "<no LF>".
std::vector<std::string> LinesOf(const std::string& bytes);

}  // namespace qlxtest
