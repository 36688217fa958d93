#pragma once

#include <string>
#include <vector>

namespace qlx {

enum class StartFileKind { None, MeasuredCurve, ReferenceList };

struct StartFile {
    StartFileKind kind = StartFileKind::None;
    std::string path;
};

// What the command line asks for: "--help" (or "-h") and "--version" as the
// first argument answer on standard output and end the program, as Linux
// programs do; "--" ends the options (for a file whose name starts with
// "-"); everything else names the file to open.
enum class CommandLineAction { Run, Help, Version };
struct CommandLineRequest {
    CommandLineAction action = CommandLineAction::Run;
    std::vector<std::string> fileArgs;
};
CommandLineRequest ParseCommandLine(const std::vector<std::string>& args);

// The texts of --help and --version (UTF-8, ending in a line feed).
std::string HelpText();
std::string VersionText();

// The file named on the command line: all arguments joined by single blanks
// (so an unquoted path with blanks still works). Only an existing file whose
// extension is exactly ".q5imp" or ".q5lst" (letter case included) counts.
StartFile StartFileFromArgs(const std::vector<std::string>& args);

}  // namespace qlx
