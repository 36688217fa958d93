#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qlx {

// The verdict of the selected channel: OK, or which test failed and how
// (H: too high, L: too low). None when no judgement was made.
enum class JudgeResult : std::uint8_t { None, Ok, Ng1H, Ng1L, Ng2H, Ng2L, Ng3H, Ng3L };

// The verdict as the badge shows it: "OK", "NG1H", ...; "" for None.
const char* JudgeResultText(JudgeResult r);
// The verdict of such a text (as stored by the results log); no value for
// any other text.
std::optional<JudgeResult> JudgeResultFromText(std::string_view text);

}  // namespace qlx
