#include <unistd.h>
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/program_run.h"
#include "app/settings.h"

int main(int argc, char** argv)
{
    // Settings come from the working directory at start, before any window.
    std::string cwd;
    if (char* dir = ::getcwd(nullptr, 0)) {
        cwd = dir;
        ::free(dir);
    }
    const std::string settingsPath = qlx::SettingsPathIn(cwd);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QLX-50Manager"));
    // The program speaks Japanese whatever the desktop's language, so the
    // toolkit's own dialogs (file dialogs, standard buttons) do too.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    QApplication::setFont(font);

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return qlx::RunProgram(settingsPath, args);
}
