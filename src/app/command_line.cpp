#include "app/command_line.h"

#include "model/file_io.h"

namespace qlx {

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
