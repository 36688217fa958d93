#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace qlx {

// File-system bytes of a path from a dialog, and back for showing it.
inline std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
inline QString FromLocal(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace qlx
