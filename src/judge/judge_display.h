#pragma once

#include <array>
#include <string>

namespace qlx {

// The seven judgement badges, in the order of JudgeOkImage, JudgeNg1hImage,
// JudgeNg1lImage, JudgeNg2hImage, JudgeNg2lImage, JudgeNg3hImage, JudgeNg3lImage.
constexpr std::array<const char*, 7> kJudgeBadgeTexts{"OK", "NG1H", "NG1L", "NG2H", "NG2L", "NG3H", "NG3L"};

// What the last step of a redraw does with JudgeLabel and the badges.
struct JudgeDisplay {
    bool LabelEnabled = false;
    bool UpdateBadges = false;  // false: the badges keep their state
    int Badge = -1;             // index into kJudgeBadgeTexts, -1 for none
};

JudgeDisplay ShowJudgement(bool impLoaded, bool refLoaded, const std::string& judgeResult);

// Background of a badge: blue for OK, red for every NG result.
unsigned BadgeColour(int badge);

}  // namespace qlx
