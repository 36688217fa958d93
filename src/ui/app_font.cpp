#include "ui/app_font.h"

namespace qlx {

QFont AppFont(int pixelSize)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace qlx
