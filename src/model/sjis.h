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

// Decoding for an editor: like SjisToUtf8, but every byte without a CP932
// form becomes the private-use character U+F700 + byte (outside the range
// U+E000..U+E757 that CP932's own user-defined characters decode to), so
// that the text encodes back to exactly the same bytes.
std::string SjisToUtf8Keeping(const std::string& sjis);
// Encodes such text: U+F700..U+F7FF become their byte again; no value if any
// other character has no CP932 form.
std::optional<std::string> Utf8ToSjisKeeping(const std::string& utf8);

// Whether the bytes are well-formed UTF-8 / CP932 text throughout.
bool IsUtf8(const std::string& bytes);
bool IsSjis(const std::string& bytes);

// Number of CP932 bytes of a UTF-8 text (an unmappable character counts 2).
int SjisByteCount(const std::string& utf8);

}  // namespace qlx
