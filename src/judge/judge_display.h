#pragma once

#include <cstdint>

#include "judge/judge_result.h"

namespace qlx {

// The seven judgement badges JudgeOkImage, JudgeNg1hImage, JudgeNg1lImage,
// JudgeNg2hImage, JudgeNg2lImage, JudgeNg3hImage, JudgeNg3lImage: badge i
// shows the verdict JudgeResult(i + 1).
constexpr int kJudgeBadgeCount = 7;
constexpr JudgeResult BadgeResult(int badge) { return static_cast<JudgeResult>(badge + 1); }

// What the last step of a redraw does with JudgeLabel and the badges.
struct JudgeDisplay {
    bool LabelEnabled = false;
    bool UpdateBadges = false;  // false: the badges keep their state
    int Badge = -1;             // 0..6, -1 for none
};

JudgeDisplay ShowJudgement(bool impLoaded, bool refLoaded, JudgeResult judgeResult);

// Background of a badge (0xRRGGBB): blue for OK, red for every NG result;
// its caption is white.
std::uint32_t BadgeColour(int badge);
constexpr std::uint32_t kBadgeCaptionColour = 0xFFFFFF;

}  // namespace qlx
