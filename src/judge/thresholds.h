#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "judge/judge_result.h"
#include "model/curve_lines.h"

namespace qlx {

// Upper threshold of reference value r (0.1 ohm) for p percent: r * (100 + p)
// / 100, rounded up unless the fraction is 0.05 or less.
std::int64_t ThresholdHigh(std::int64_t r, int p);
// Lower threshold: r * (100 - p) / 100, truncated for r >= 0.
std::int64_t ThresholdLow(std::int64_t r, int p);

// A vertex of an NG3 curve in value terms; the graph maps it to a row.
// onFloor: the threshold was 0 and the vertex lies on row 200, under the plot.
struct ThresholdVertex {
    int index;
    std::int64_t value;
    bool onFloor;
};

enum class CrossKind { Ng2, Ng1 };

// A cross marker of a point test, centred on (PointColumn(index), ValueRow(value)).
struct ThresholdCross {
    int index;
    std::int64_t value;
    CrossKind kind;
};

// Everything the threshold pass draws, in drawing order, and its verdict.
// Each curve's first vertex is a pen move; an empty curve is not drawn.
struct ThresholdDrawing {
    std::vector<ThresholdVertex> upper;
    std::vector<ThresholdVertex> lower;
    std::vector<ThresholdCross> crosses;
    JudgeResult verdict = JudgeResult::Ok;
};

struct ThresholdPercents {
    int Ng1;
    int Ng2;
    int Ng3;
};

// Judges channel c of the measured curve against the reference over the
// judgement range a..b and collects the NG3 curves and the NG2/NG1 crosses.
// Later failing tests overwrite earlier ones: NG3H, NG3L, NG2, NG1.
ThresholdDrawing JudgeThresholds(const CurveLines& ref, const CurveLines& imp, int c, ThresholdPercents p, int a,
                                 int b);

// Grid index of the smallest reference value in a..b below 1001, the first on
// ties; 0 when none qualifies.
int ReferenceMinimumIndex(const CurveLines& ref, int c, int a, int b);

}  // namespace qlx
