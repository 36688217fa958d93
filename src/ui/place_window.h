#pragma once

#include "ui/dialog_placement.h"

class QWidget;

namespace qlx {

// Moves a top-level window by its frame to the given placement on its
// screen (centred on the screen by default).
void PlaceWindow(QWidget& window, const DialogPlacement& placement = {});

// Shows a dialog modelessly on top, centred on the screen when it appears.
void ShowModelessCentred(QWidget& window);

// Shows a tool window modelessly beside its owner (see BesideTopLeft) when
// it appears; where the user moved it afterwards is kept.
void ShowModelessBeside(QWidget& window, const QWidget& owner);

}  // namespace qlx
