#include "app/sjis_validator.h"

#include <QLineEdit>

#include "model/sjis.h"

namespace qlx {

std::optional<std::string> SjisBytesOf(const QString& text) { return Utf8ToSjisKeeping(text.toStdString()); }

std::optional<std::string> MemoBytesOf(const QString& text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return SjisBytesOf(crlf);
}

QString TextOfSjis(const std::string& bytes) { return QString::fromStdString(SjisToUtf8Keeping(bytes)); }

QString MemoTextOfSjis(const std::string& bytes)
{
    QString text = TextOfSjis(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool EditFits(std::size_t before, std::size_t after, std::size_t maxBytes)
{
    return after <= maxBytes || after < before;
}

SjisByteLimitValidator::SjisByteLimitValidator(int maxBytes, QLineEdit* edit)
    : QValidator(edit), maxBytes_(maxBytes), edit_(edit)
{}

QValidator::State SjisByteLimitValidator::validate(QString& input, int&) const
{
    // The edit still holds the text before the change being validated.
    const std::optional<std::string> bytes = SjisBytesOf(input);
    if (!bytes)
        return Invalid;
    const std::optional<std::string> before = SjisBytesOf(edit_->text());
    return EditFits(before ? before->size() : 0, bytes->size(), static_cast<std::size_t>(maxBytes_)) ? Acceptable
                                                                                                     : Invalid;
}

}  // namespace qlx
