// qlx50-icon-render DIR: writes the program's icon into DIR/<n>x<n>/apps/
// qlx50-manager.png for every size a desktop looks for (the hicolor theme's
// layout), from the same drawing the version dialog shows.
#include <QDir>
#include <QImage>

#include <cstdio>

#include "ui/program_icon.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qlx50-icon-render DIR\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) || !qlx::ProgramIconImage(size).save(folder + "/qlx50-manager.png", "PNG")) {
            std::fprintf(stderr, "qlx50-icon-render: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
