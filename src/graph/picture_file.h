#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <string>

#include "model/file_io.h"

namespace qlx {

// The picture save dialog offers the Windows bitmap (the default) and PNG,
// both of the same 8-bit pixels.
enum class PictureFormat { Bmp, Png };

// Png for a name ending in ".png" (any letter case), else Bmp.
PictureFormat PictureFormatOf(const std::string& path);

// The file image of a PageImage as 8 bits per pixel with a full 256-entry
// colour table in which the graph's colours and the background are exact.
QByteArray PictureFileBytes(const QImage& pageImage, const QColor& background, PictureFormat format);

// Writes the picture through the file layer, so a failure carries its message.
IoResult SavePicture(const std::string& path, const QImage& pageImage, const QColor& background, PictureFormat format);

}  // namespace qlx
