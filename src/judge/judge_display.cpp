#include "judge/judge_display.h"

namespace qlx {

JudgeDisplay ShowJudgement(bool impLoaded, bool refLoaded, const std::string& judgeResult)
{
    JudgeDisplay d;
    if (!impLoaded || !refLoaded)
        return d;
    d.UpdateBadges = true;
    for (int i = 0; i < static_cast<int>(kJudgeBadgeTexts.size()); ++i)
        if (judgeResult == kJudgeBadgeTexts[i])
            d.Badge = i;
    d.LabelEnabled = d.Badge >= 0;
    return d;
}

unsigned BadgeColour(int badge) { return badge == 0 ? 0x0000FFu : 0xFF0000u; }

}  // namespace qlx
