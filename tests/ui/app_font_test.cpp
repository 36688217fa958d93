#include <gtest/gtest.h>

#include <QFontInfo>

#include "ui/app_font.h"

TEST(AppFont, IsTheInstalledJapaneseGothicAtThePixelSize)
{
    for (int px : {12, 13, 16}) {
        const QFont font = qlx::AppFont(px);
        EXPECT_EQ(font.pixelSize(), px);
        // The family must actually resolve, not fall back to another font.
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
    }
}
