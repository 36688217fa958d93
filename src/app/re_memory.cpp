#include "app/re_memory.h"

#include <QByteArray>
#include <QSettings>

#include <cmath>

namespace qlx {

namespace {

// Paths hold "/" (a group separator of QSettings) and any byte: the key is
// the path's bytes in hexadecimal.
QString KeyOf(const std::string& path)
{
    return QStringLiteral("ResonanceRe/") +
           QString::fromLatin1(QByteArray(path.data(), static_cast<qsizetype>(path.size())).toHex());
}

}  // namespace

std::optional<double> ReMemory::Get(const std::string& refFilePath) const
{
    if (refFilePath.empty())
        return std::nullopt;
    bool ok = false;
    const double re = file_.value(KeyOf(refFilePath)).toDouble(&ok);
    if (!ok || !std::isfinite(re) || re <= 0)
        return std::nullopt;
    return re;
}

void ReMemory::Set(const std::string& refFilePath, std::optional<double> re)
{
    if (refFilePath.empty())
        return;
    if (re && std::isfinite(*re) && *re > 0)
        file_.setValue(KeyOf(refFilePath), *re);
    else
        file_.remove(KeyOf(refFilePath));
    file_.sync();
}

}  // namespace qlx
