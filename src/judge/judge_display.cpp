#include "judge/judge_display.h"

namespace qlx {

JudgeDisplay ShowJudgement(bool impLoaded, bool refLoaded, JudgeResult judgeResult)
{
    JudgeDisplay d;
    if (!impLoaded || !refLoaded)
        return d;
    d.UpdateBadges = true;
    d.Badge = judgeResult == JudgeResult::None ? -1 : static_cast<int>(judgeResult) - 1;
    d.LabelEnabled = d.Badge >= 0;
    return d;
}

std::uint32_t BadgeColour(int badge) { return badge == 0 ? 0x0000FFu : 0xFF0000u; }

}  // namespace qlx
