#pragma once

#include <string>

namespace qlx {

// The exports of the measured curve and the impedance page.
enum class ExportKind { CurveCsv, PageBitmap, GraphBitmap, CurveZma };

// The file name an export's save dialog starts with: empty when `folder`
// names no existing folder; else in that folder the display name of the
// measured curve's file, or failing that the curve name as shown (trailing
// blanks kept; neither empty nor 12 blanks), each with the export's suffix
// (".csv", ".bmp", "_Graph.bmp", ".zma"); else the fixed name
// ("Impedance.csv", "Impedance.bmp", "Graph.bmp", "Impedance.zma"). All texts
// are file-system bytes.
std::string ProposedExportPath(ExportKind kind, const std::string& folder, const std::string& fileDisplayName,
                               const std::string& curveName);

}  // namespace qlx
