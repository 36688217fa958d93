#pragma once

#include <QColor>

class QAbstractButton;

namespace qlx {

// Flat push buttons with a solid face colour and white caption, used for the
// graph's toggle, channel and cursor buttons.
void SetButtonColour(QAbstractButton* button, const QColor& face);

inline const QColor kGrey{0x80, 0x80, 0x80};
inline const QColor kSilver{0xC0, 0xC0, 0xC0};

}  // namespace qlx
