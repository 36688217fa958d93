#pragma once

#include <QString>
#include <QValidator>
#include <optional>
#include <string>

namespace qlx {

// Text as the curve lines hold it: Shift-JIS bytes. A memo's line breaks
// become CR LF. No value when a character has no Shift-JIS form.
std::optional<std::string> SjisBytesOf(const QString& text);
std::optional<std::string> MemoBytesOf(const QString& text);
// Text for a widget from Shift-JIS bytes (memo: CR LF shown as line breaks).
QString TextOfSjis(const std::string& bytes);
QString MemoTextOfSjis(const std::string& bytes);

// Accepts text of at most `maxBytes` Shift-JIS bytes whose every character
// has a Shift-JIS form (the curve name fields take 12 bytes).
class SjisByteLimitValidator : public QValidator {
public:
    SjisByteLimitValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
    State validate(QString& input, int& pos) const override;

private:
    int maxBytes_;
};

}  // namespace qlx
