#pragma once

#include <QColor>

class QAbstractButton;

namespace qlx {

// Flat push buttons with a solid face colour and white caption, used for the
// graph's toggle, channel and cursor buttons.
void SetButtonColour(QAbstractButton* button, const QColor& face);
// The face colour last set (opaque ARGB); 0 for a button never coloured.
QRgb ButtonFace(const QAbstractButton* button);

}  // namespace qlx
