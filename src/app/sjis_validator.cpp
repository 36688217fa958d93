#include "app/sjis_validator.h"

#include "model/sjis.h"

namespace qlx {

std::optional<std::string> SjisBytesOf(const QString& text) { return Utf8ToSjis(text.toStdString()); }

std::optional<std::string> MemoBytesOf(const QString& text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return SjisBytesOf(crlf);
}

QString TextOfSjis(const std::string& bytes) { return QString::fromStdString(SjisToUtf8(bytes)); }

QString MemoTextOfSjis(const std::string& bytes)
{
    QString text = TextOfSjis(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QValidator::State SjisByteLimitValidator::validate(QString& input, int&) const
{
    std::optional<std::string> bytes = SjisBytesOf(input);
    if (!bytes || static_cast<int>(bytes->size()) > maxBytes_)
        return Invalid;
    return Acceptable;
}

}  // namespace qlx
