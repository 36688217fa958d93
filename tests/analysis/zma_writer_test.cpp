#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>
#include <stdexcept>
#include <string>

#include "analysis/zma_writer.h"
#include "model/sjis.h"
#include "support/synthetic_driver.h"

namespace qlx {
namespace {

ZmaHeader Header()
{
    ZmaHeader h;
    h.curveNameUtf8 = "WOOFER-16A";
    h.channel = 2;
    h.date = {2024, 3, 5};
    return h;
}

const char* const kComments =
    "* QLX-50 Manager impedance export\r\n"
    "* Curve: WOOFER-16A\r\n"
    "* Channel: 2\r\n"
    "* Date: 2024-03-05\r\n";

struct Fixture {
    ChannelPoints points{};
    PhasePoints phase{};
    Fixture()
    {
        points[0] = 1234, phase[0] = 12.344;
        points[1] = std::nullopt, phase[1] = 45.0;  // no measurement: left out whatever its phase
        points[2] = 5, phase[2] = -0.004;           // never "-0.00"
        points[3] = 100;                            // no phase: left out
        points[68] = 1230, phase[68] = 0.5;
        points[119] = 980, phase[119] = -90.5;
    }
};

TEST(ZmaWriter, CommentsAtTheTopThenOneLinePerMeasuredPoint)
{
    const Fixture f;
    EXPECT_EQ(ZmaText(f.points, f.phase, Header()),
              std::string(kComments) +
                  "* Phase: minimum-phase estimate derived from |Z|, not measured\r\n"
                  "* Frequency (Hz), |Z| (ohm), phase (degrees)\r\n"
                  "20 123.4 12.34\r\n"
                  "22.4 0.5 0.00\r\n"
                  "1000 123 0.50\r\n"
                  "20000 98 -90.50\r\n");
}

TEST(ZmaWriter, ZeroPhaseOption)
{
    const Fixture f;
    ZmaHeader h = Header();
    h.zeroPhase = true;
    EXPECT_EQ(ZmaText(f.points, f.phase, h), std::string(kComments) +
                                                 "* Phase: not measured, written as 0\r\n"
                                                 "* Frequency (Hz), |Z| (ohm), phase (degrees)\r\n"
                                                 "20 123.4 0.00\r\n"
                                                 "22.4 0.5 0.00\r\n"
                                                 "23.7 10 0.00\r\n"
                                                 "1000 123 0.00\r\n"
                                                 "20000 98 0.00\r\n");
}

// The curve name stays on its comment line, in Shift-JIS.
TEST(ZmaWriter, CurveNameLine)
{
    struct Case {
        const char* utf8;
        std::string written;
    } cases[] = {
        {"ウーファー18", *Utf8ToSjis("ウーファー18")},
        {"A\nB\rC", "A B C"},
        {"x😀y", "x?y"},
        {"", ""},
    };
    for (const Case& c : cases) {
        ZmaHeader h = Header();
        h.curveNameUtf8 = c.utf8;
        const std::string text = ZmaText(ChannelPoints{}, PhasePoints{}, h);
        EXPECT_NE(text.find("\r\n* Curve: " + c.written + "\r\n* Channel: 2\r\n"), std::string::npos) << c.utf8;
    }
}

// Sets LC_ALL and the global C++ locale for one test and restores "C".
class GermanLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            GTEST_SKIP() << "locale de_DE.UTF-8 is not available (scripts/install-deps.sh generates it)";
        try {
            std::locale::global(std::locale("de_DE.UTF-8"));
        } catch (const std::runtime_error&) {
            GTEST_SKIP() << "the C++ library has no locale de_DE.UTF-8";
        }
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
};

TEST_F(GermanLocale, DecimalPointWhateverTheLocale)
{
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");  // the locale is in effect

    const qlxtest::SyntheticDriver d{5.6, 63.7, 4.2, 0.55, 0.9e-3};
    const ChannelPoints p = d.Points();
    const ResonanceAnalysis a = AnalyzeResonance(p, d.re);
    const std::string german = ZmaTextWithMinimumPhase(p, a, Header());

    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
    const std::string plain = ZmaTextWithMinimumPhase(p, AnalyzeResonance(p, d.re), Header());
    EXPECT_EQ(german, plain);
    const std::string data = german.substr(german.find("\r\n20 ") + 2);
    EXPECT_EQ(data.find(','), std::string::npos);
    EXPECT_NE(data.find("21.2 "), std::string::npos);
}

}  // namespace
}  // namespace qlx
