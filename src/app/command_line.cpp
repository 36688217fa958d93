#include "app/command_line.h"

#include "app/program_version.h"
#include "model/file_io.h"

namespace qlx {

CommandLineRequest ParseCommandLine(const std::vector<std::string>& args)
{
    if (args.empty())
        return {};
    const std::string& first = args[0];
    if (first == "--help" || first == "-h")
        return {CommandLineAction::Help, {}};
    if (first == "--version")
        return {CommandLineAction::Version, {}};
    if (first == "--")
        return {CommandLineAction::Run, std::vector<std::string>(args.begin() + 1, args.end())};
    return {CommandLineAction::Run, args};
}

std::string HelpText()
{
    return "Usage: qlx50-manager [FILE]\n"
           "QLX-50 Manager: drives the QLX-50 loudspeaker impedance analyzer over a\n"
           "serial line, and shows, judges, exports and prints its curves.\n"
           "\n"
           "  FILE         a measured curve (.q5imp) or a reference list (.q5lst) to\n"
           "               open at start; the arguments are joined with blanks, so\n"
           "               a path with blanks works unquoted\n"
           "  -h, --help   show this help and exit\n"
           "  --version    show the version and exit\n"
           "  --           end of options (for a file whose name starts with -)\n"
           "\n"
           "Settings are read from Default.dat in the working directory and written\n"
           "back at exit if that file exists. See qlx50-manager(1).\n";
}

std::string VersionText() { return std::string("qlx50-manager ") + kProgramVersion + "\n"; }

StartFile StartFileFromArgs(const std::vector<std::string>& args)
{
    if (args.empty())
        return {};
    std::string path = args[0];
    for (size_t i = 1; i < args.size(); ++i)
        path += " " + args[i];
    if (!FileExists(path))
        return {};
    const std::string ext = ExtensionOf(path);
    if (ext == ".q5lst")
        return {StartFileKind::ReferenceList, path};
    if (ext == ".q5imp")
        return {StartFileKind::MeasuredCurve, path};
    return {};
}

}  // namespace qlx
