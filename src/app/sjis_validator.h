#pragma once

#include <QString>
#include <QValidator>
#include <optional>
#include <string>

class QLineEdit;

namespace qlx {

// Text as the curve lines hold it: Shift-JIS bytes. A memo's line breaks
// become CR LF. No value when a character has no Shift-JIS form. A byte that
// had no text form when the field was filled comes back as that byte.
std::optional<std::string> SjisBytesOf(const QString& text);
std::optional<std::string> MemoBytesOf(const QString& text);
// Text for a widget from Shift-JIS bytes (memo: CR LF shown as line breaks).
// A byte without a text form shows as a private-use character (a box in the
// font) that stands for that very byte, so it survives any edit that leaves
// it in place.
QString TextOfSjis(const std::string& bytes);
QString MemoTextOfSjis(const std::string& bytes);

// Whether an edit that turns `before` into `after` (Shift-JIS bytes) keeps
// within `maxBytes`; an edit that shortens a text already over the limit (as
// a file may hold it) is always allowed.
bool EditFits(std::size_t before, std::size_t after, std::size_t maxBytes);

// Accepts text of at most `maxBytes` Shift-JIS bytes whose every character
// has a Shift-JIS form (the curve name fields take 12 bytes), or any
// shortening of the edit's current text.
class SjisByteLimitValidator : public QValidator {
public:
    SjisByteLimitValidator(int maxBytes, QLineEdit* edit);
    State validate(QString& input, int& pos) const override;

private:
    int maxBytes_;
    QLineEdit* edit_;
};

}  // namespace qlx
