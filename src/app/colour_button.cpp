#include "app/colour_button.h"

#include <QAbstractButton>
#include <QVariant>

namespace qlx {

namespace {

const char* const kFaceProperty = "qlxButtonFace";

}  // namespace

void SetButtonColour(QAbstractButton* button, const QColor& face)
{
    button->setProperty(kFaceProperty, face);
    button->setStyleSheet(QStringLiteral("QAbstractButton { background-color: %1; color: white;"
                                         " border: 1px solid #404040; }"
                                         "QAbstractButton:hover { border: 1px solid #FFFFFF; }")
                              .arg(face.name()));
}

QRgb ButtonFace(const QAbstractButton* button)
{
    const QVariant face = button->property(kFaceProperty);
    return face.isValid() ? face.value<QColor>().rgb() : 0;
}

}  // namespace qlx
