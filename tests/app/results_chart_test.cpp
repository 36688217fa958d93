#include <gtest/gtest.h>

#include <QImage>

#include "app/results_chart.h"
#include "app/results_chart_data.h"
#include "judge/judge_display.h"

namespace qlx {
namespace {

TEST(ResultsChartData, MarksDeviationsDriftAndRange)
{
    EXPECT_EQ(MarkOf("OK"), UnitMark::Ok);
    for (const char* ng : {"NG1H", "NG1L", "NG2H", "NG2L", "NG3H", "NG3L"})
        EXPECT_EQ(MarkOf(ng), UnitMark::Ng) << ng;
    EXPECT_EQ(MarkOf("no reference"), UnitMark::NoReference);

    struct Deviation {
        std::optional<double> f0, ref, percent;
    };
    for (const Deviation& d : {Deviation{55, 50, 10}, Deviation{45, 50, -10}, Deviation{50, 50, 0},
                               Deviation{std::nullopt, 50, std::nullopt}, Deviation{50, std::nullopt, std::nullopt},
                               Deviation{50, 0, std::nullopt}}) {
        const RecentUnit u{0, "OK", d.f0, d.ref};
        const std::optional<double> got = F0DeviationPercent(u);
        ASSERT_EQ(got.has_value(), d.percent.has_value());
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *d.percent);
        }
    }

    using Series = std::vector<std::optional<double>>;
    const Series values{std::nullopt, 0, 2, 4, std::nullopt, 6};
    const Series drift2 = DriftLine(values, 2);
    const Series expected2{std::nullopt, 0, 1, 3, 4, 6};
    ASSERT_EQ(drift2.size(), expected2.size());
    for (std::size_t i = 0; i < drift2.size(); ++i) {
        ASSERT_EQ(drift2[i].has_value(), expected2[i].has_value()) << i;
        if (drift2[i]) {
            EXPECT_DOUBLE_EQ(*drift2[i], *expected2[i]) << i;
        }
    }
    // A steady drift shows as a rising line that lags the units.
    Series ramp;
    for (int i = 0; i < 30; ++i)
        ramp.push_back(0.5 * i);
    const Series drift = DriftLine(ramp, 10);
    EXPECT_DOUBLE_EQ(*drift[29], 0.5 * (20 + 29) / 2);
    for (std::size_t i = 1; i < drift.size(); ++i)
        EXPECT_GT(*drift[i], *drift[i - 1]);

    EXPECT_EQ(DeviationRange({}), 5.0);
    EXPECT_EQ(DeviationRange({3.0, std::nullopt}), 5.0);
    EXPECT_EQ(DeviationRange({5.0}), 5.0);
    EXPECT_EQ(DeviationRange({-7.2}), 10.0);
    EXPECT_EQ(DeviationRange({1.0, 12.0}), 15.0);
}

QRgb Rgb(std::uint32_t c) { return qRgb((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

bool NearDriftColour(const QImage& image, int x, int y)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor c = image.pixelColor(x + dx, y + dy);
            if (c.red() > 180 && c.green() > 80 && c.green() < 180 && c.blue() < 90)
                return true;
        }
    return false;
}

TEST(ResultsChart, ShowsEachUnitsVerdictAndHowFarItsF0LiesFromTheReference)
{
    ResultsChart chart;
    chart.resize(600, 170);
    // Ten units on the reference, then five NG units 8 % above it.
    std::vector<RecentUnit> units;
    for (int i = 0; i < 15; ++i)
        units.push_back({i, i < 10 ? "OK" : "NG1H", i < 10 ? 50.0 : 54.0, 50.0});
    units.push_back({15, "no reference", 50.0, std::nullopt});
    chart.SetUnits(units);
    EXPECT_EQ(chart.range(), 10.0);
    const QImage image = chart.grab().toImage();

    for (int i = 0; i < 16; ++i) {
        const std::uint32_t expected = i < 10 ? BadgeColour(0) : i < 15 ? BadgeColour(1) : 0x909090;
        EXPECT_EQ(image.pixel(chart.CellRect(i).center()), Rgb(expected)) << i;
    }
    // The newest unit takes the last cell; the cells go left to right.
    EXPECT_GT(chart.CellRect(15).right(), chart.width() - 12);
    EXPECT_LT(chart.CellRect(0).left(), chart.CellRect(1).left());
    // An NG unit's dot lies above the reference line, in its colour.
    EXPECT_LT(chart.DeviationY(8), chart.DeviationY(0));
    EXPECT_EQ(image.pixel(chart.UnitX(12), chart.DeviationY(8)), Rgb(BadgeColour(1)));
    // The mean of the last ten units climbs towards them: (5 x 0 + 5 x 8) / 10.
    EXPECT_TRUE(NearDriftColour(image, chart.UnitX(14), chart.DeviationY(4)));
    EXPECT_FALSE(NearDriftColour(image, chart.UnitX(14), chart.DeviationY(0)));
}

TEST(ResultsChart, KeepsTheNewestUnitsThatFit)
{
    ResultsChart chart;
    std::vector<RecentUnit> units;
    for (int i = 0; i < kChartUnits + 50; ++i)
        units.push_back({i, "OK", 50.0, 50.0});
    chart.SetUnits(units);
    ASSERT_EQ(chart.units().size(), static_cast<std::size_t>(kChartUnits));
    EXPECT_EQ(chart.units().front().measuredAtMs, 50);
    EXPECT_EQ(chart.units().back().measuredAtMs, kChartUnits + 49);
}

}  // namespace
}  // namespace qlx
