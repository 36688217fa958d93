#include "graph/picture_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <cctype>

#include "graph/indexed_bitmap.h"

namespace qlx {

PictureFormat PictureFormatOf(const std::string& path)
{
    std::string ext = ExtensionOf(path);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".png" ? PictureFormat::Png : PictureFormat::Bmp;
}

QByteArray PictureFileBytes(const QImage& pageImage, const QColor& background, PictureFormat format)
{
    const QImage indexed = ToIndexed8(pageImage, ExportPalette(pageImage, ExactExportColours(background)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format == PictureFormat::Png ? "PNG" : "BMP");
    writer.write(indexed);
    return bytes;
}

IoResult SavePicture(const std::string& path, const QImage& pageImage, const QColor& background, PictureFormat format)
{
    const QByteArray bytes = PictureFileBytes(pageImage, background, format);
    return WriteFileBytes(path, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace qlx
