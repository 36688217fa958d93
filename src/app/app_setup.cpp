#include "app/app_setup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

#include "ui/program_icon.h"

namespace qlx {

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("QLX-50Manager"));
    // The program speaks Japanese whatever the desktop's language, so the
    // toolkit's own dialogs (file dialogs, standard buttons) do too.
    auto* toolkitTexts = new QTranslator(qApp);
    if (toolkitTexts->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(toolkitTexts);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    QApplication::setWindowIcon(icon);
}

}  // namespace qlx
