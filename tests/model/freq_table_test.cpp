#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "model/freq_table.h"

namespace qlx {
namespace {

TEST(FreqTable, LabelsAndHertzAtDecadeEdges)
{
    struct Case {
        int index;
        const char* label;
        const char* hz;
    } cases[] = {{0, "20.0", "20"},      {1, "21.2", "21.2"},    {15, "47.4", "47.4"},    {27, "95.0", "95"},
                 {28, "100", "100"},     {55, "474", "474"},     {67, "950", "950"},      {68, "1.00k", "1000"},
                 {95, "4.74k", "4740"},  {107, "9.50k", "9500"}, {108, "10.0k", "10000"}, {118, "18.0k", "18000"},
                 {119, "20.0k", "20000"}};
    for (const Case& c : cases) {
        EXPECT_STREQ(FreqLabels[c.index], c.label) << c.index;
        EXPECT_STREQ(FreqHz[c.index], c.hz) << c.index;
    }
}

TEST(FreqTable, GridRisesMonotonicallyAndLabelsAgreeWithHertz)
{
    double previous = 0;
    for (int i = 0; i < kPointCount; ++i) {
        const double hz = std::strtod(FreqHz[i], nullptr);
        EXPECT_GT(hz, previous) << i;
        previous = hz;
        const std::string label = FreqLabels[i];
        const double fromLabel =
            label.back() == 'k' ? std::strtod(label.c_str(), nullptr) * 1000 : std::strtod(label.c_str(), nullptr);
        EXPECT_NEAR(fromLabel, hz, 1e-6) << i;
    }
}

}  // namespace
}  // namespace qlx
