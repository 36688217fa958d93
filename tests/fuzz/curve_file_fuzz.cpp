// A curve file as the open commands read it, decoded as a reference and as
// a measured curve, judged and exported as the window would: the decoded
// ranges and thresholds must lie in their editors' domains whatever the file
// holds, and no line may hold more than a line's worth.
#include <cstdint>

#include "fuzz_file.h"
#include "judge/thresholds.h"
#include "model/curve_csv.h"
#include "model/curve_file.h"
#include "model/curve_state.h"

namespace {

void CheckDomains(const qlx::ChannelInts& min, const qlx::ChannelInts& max)
{
    for (int c = 0; c < qlx::kChannelCount; ++c)
        if (min[c] < 0 || max[c] > 119 || min[c] >= max[c])
            qlxfuzz::Violated("a decoded range outside 0..119 or not start < end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qlxfuzz::FuzzFile file;
    qlx::CurveState s;
    s.FillDefaultLines();
    const std::string& path = file.Holding(data, size);
    if (!qlx::ReadCurveFile(path, s.RefLines))
        return 0;
    for (const std::string& line : s.RefLines)
        if (&line != &s.RefLines[qlx::MemoSlot] && line.size() > qlx::kMaxLineBytes)
            qlxfuzz::Violated("a curve line longer than kMaxLineBytes");
    s.ImpLines = s.RefLines;
    s.DecodeRefHeader();
    s.DecodeImpHeader();
    CheckDomains(s.RefMinFreq, s.RefMaxFreq);
    CheckDomains(s.ImpMinFreq, s.ImpMaxFreq);
    for (const auto* ng : {&s.RefNg1, &s.RefNg2, &s.RefNg3})
        for (int v : *ng)
            if (v < qlx::kThresholdMin || v > qlx::kThresholdMax)
                qlxfuzz::Violated("a decoded threshold outside 5..99");
    for (int c = 0; c < qlx::kChannelCount; ++c)
        (void)qlx::JudgeThresholds(s.RefLines, s.ImpLines, c, {s.RefNg1[c], s.RefNg2[c], s.RefNg3[c]}, s.RefMinFreq[c],
                                   s.RefMaxFreq[c]);
    (void)qlx::CurveCsvBytes(s.ImpLines, s.ImpMinFreq, s.ImpMaxFreq);
    return 0;
}
