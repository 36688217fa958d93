#pragma once

#include <QImage>

namespace qlx {

// The program's icon, an impedance curve with its resonance peak on a blue
// tile, drawn at `size` × `size` pixels (designed on a 32-pixel grid). The
// version dialog shows it at 32; the desktop gets it in every size it wants.
QImage ProgramIconImage(int size);

}  // namespace qlx
