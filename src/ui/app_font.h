#pragma once

#include <QFont>

namespace qlx {

// The program's one typeface (a proportional Japanese gothic) at a size in
// pixels, so that every dialog and the main window render the same on any
// machine.
QFont AppFont(int pixelSize);

}  // namespace qlx
