#include "support/pdf_pages.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <sstream>

#include "support/temp_dir.h"

namespace qlxtest {

namespace {

std::optional<std::string> Output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted() || !p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0)
        return std::nullopt;
    return p.readAllStandardOutput().toStdString();
}

std::string Trimmed(const std::string& s)
{
    const size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a);
}

template <typename Keep>
QRect BoundsOf(const QImage& image, Keep keep)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (keep(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

bool PopplerAvailable()
{
    return !QStandardPaths::findExecutable("pdfinfo").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

std::optional<PdfFacts> ReadPdfFacts(const std::string& pdf)
{
    const std::optional<std::string> text = Output("pdfinfo", {QString::fromStdString(pdf)});
    if (!text)
        return std::nullopt;
    PdfFacts facts;
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(0, colon);
        const std::string value = Trimmed(line.substr(colon + 1));
        if (key == "Title")
            facts.title = value;
        else if (key == "Page size")
            facts.pageSize = value;
        else if (key == "Page rot")
            facts.rotation = std::stoi(value);
        else if (key == "Pages")
            facts.pages = std::stoi(value);
    }
    return facts;
}

QImage RenderPdfPage(const std::string& pdf, int dpi)
{
    TempDir dir;
    const std::string base = dir.file("page");
    if (!Output("pdftoppm", {"-png", "-r", QString::number(dpi), "-singlefile", QString::fromStdString(pdf),
                             QString::fromStdString(base)}))
        return {};
    return QImage(QString::fromStdString(base + ".png")).convertToFormat(QImage::Format_RGB32);
}

QRect DarkBounds(const QImage& image, int limit)
{
    return BoundsOf(image, [limit](QRgb c) { return qRed(c) < limit && qGreen(c) < limit && qBlue(c) < limit; });
}

QRect RedBounds(const QImage& image)
{
    return BoundsOf(image, [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; });
}

}  // namespace qlxtest
