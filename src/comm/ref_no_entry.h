#pragma once

#include <string>

namespace qlx {

// Rules of the upload panel's reference-number edit and its up-down control.

constexpr int kRefNoMin = 1;
constexpr int kRefNoMax = 64;

// A typed key is taken when it is a digit or a control character (below
// 0x20, such as backspace); every other key is discarded.
constexpr bool RefNoKeyAccepted(char32_t key) { return (key >= U'0' && key <= U'9') || key < 0x20; }

// The up-down position after the edit lost the focus showing `text`: the
// text read as a decimal integer (a text that is no number counts as 0)
// when it is 1..64, otherwise the position it had. The edit then shows the
// position returned.
int RefNoAfterEdit(const std::string& text, int position);

}  // namespace qlx
