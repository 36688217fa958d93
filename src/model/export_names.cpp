#include "model/export_names.h"

#include "model/curve_lines.h"
#include "model/file_io.h"
#include "model/ref_list.h"

namespace qlx {

namespace {

struct ExportNaming {
    const char* suffix;
    const char* fixedName;
};

ExportNaming NamingOf(ExportKind kind)
{
    switch (kind) {
    case ExportKind::CurveCsv: return {".csv", "Impedance.csv"};
    case ExportKind::PageBitmap: return {".bmp", "Impedance.bmp"};
    case ExportKind::GraphBitmap: return {"_Graph.bmp", "Graph.bmp"};
    case ExportKind::CurveZma: return {".zma", "Impedance.zma"};
    }
    return {"", ""};
}

}  // namespace

std::string ProposedExportPath(ExportKind kind, const std::string& folder, const std::string& fileDisplayName,
                               const std::string& curveName)
{
    if (!DirExists(folder))
        return {};
    const ExportNaming naming = NamingOf(kind);
    if (!fileDisplayName.empty())
        return JoinPath(folder, fileDisplayName + naming.suffix);
    if (!curveName.empty() && curveName != std::string(kNameBytes, ' '))
        return JoinPath(folder, curveName + naming.suffix);
    return JoinPath(folder, naming.fixedName);
}

}  // namespace qlx
