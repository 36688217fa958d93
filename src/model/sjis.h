#pragma once

#include <optional>
#include <string>

namespace qlx {

// Conversions between Shift-JIS (Windows code page 932) bytes and UTF-8.
// Curve lines stay bytes everywhere; these are used only at the widgets.

// Decodes CP932 bytes. A byte sequence that has no mapping is shown as
// U+FFFD and decoding goes on with the next byte, so nothing is ever lost
// from the lines themselves (they are never rebuilt from this text).
std::string SjisToUtf8(const std::string& sjis);

// Encodes UTF-8 text as CP932; no value if any character has no CP932 form.
std::optional<std::string> Utf8ToSjis(const std::string& utf8);

// Encodes UTF-8 text as CP932, writing `replacement` for each character that
// has no CP932 form and for each byte that is not part of a UTF-8 character.
std::string Utf8ToSjisReplacing(const std::string& utf8, char replacement = '?');

// Whether the bytes are well-formed UTF-8 / CP932 text throughout.
bool IsUtf8(const std::string& bytes);
bool IsSjis(const std::string& bytes);

// Number of CP932 bytes of a UTF-8 text (an unmappable character counts 2).
int SjisByteCount(const std::string& utf8);

}  // namespace qlx
