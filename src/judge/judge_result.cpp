#include "judge/judge_result.h"

#include <array>

namespace qlx {

namespace {

constexpr std::array<const char*, 8> kTexts{"", "OK", "NG1H", "NG1L", "NG2H", "NG2L", "NG3H", "NG3L"};

}  // namespace

const char* JudgeResultText(JudgeResult r) { return kTexts[static_cast<std::size_t>(r)]; }

std::optional<JudgeResult> JudgeResultFromText(std::string_view text)
{
    for (std::size_t i = 0; i < kTexts.size(); ++i)
        if (text == kTexts[i])
            return static_cast<JudgeResult>(i);
    return std::nullopt;
}

}  // namespace qlx
