#include "app/colour_button.h"

#include <QAbstractButton>

namespace qlx {

void SetButtonColour(QAbstractButton* button, const QColor& face)
{
    button->setStyleSheet(QStringLiteral("QAbstractButton { background-color: %1; color: white;"
                                         " border: 1px solid #404040; }"
                                         "QAbstractButton:hover { border: 1px solid #FFFFFF; }")
                              .arg(face.name()));
}

}  // namespace qlx
