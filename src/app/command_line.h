#pragma once

#include <string>
#include <vector>

namespace qlx {

enum class StartFileKind { None, MeasuredCurve, ReferenceList };

struct StartFile {
    StartFileKind kind = StartFileKind::None;
    std::string path;
};

// The file named on the command line: all arguments joined by single blanks
// (so an unquoted path with blanks still works). Only an existing file whose
// extension is exactly ".q5imp" or ".q5lst" (letter case included) counts.
StartFile StartFileFromArgs(const std::vector<std::string>& args);

}  // namespace qlx
