// The curve arithmetic on its own: rounding, the contrast index, the two
// brightness curves, the ramps, and whole palettes checked against palettes
// computed by a separate program (tools/make_curve_fixture.cpp).
#include <climits>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "correction/curves.h"

#if defined(_WIN32) && defined(__i386__)
#include <float.h>
#endif

#include "tests/support/palette_hex.h"

namespace {

using test_support::Hex;

class CurveTest : public ::testing::Test {
  protected:
    void SetUp() override { paletteMax = 255; }
};

std::vector<PaletteEntry> Ramp(int size) {
    std::vector<PaletteEntry> table(size);
    ComputeRamp(table.data(), size);
    return table;
}

std::vector<PaletteEntry> Corrected(ChannelTriple brightness, ChannelTriple contrast, int size) {
    std::vector<PaletteEntry> base = Ramp(size);
    std::vector<PaletteEntry> work(size);
    ComputeCorrectedPalette(&brightness, &contrast, base.data(), size, work.data());
    return work;
}

TEST(RoundHalfAwayTest, HalvesGoAwayFromZero) {
    struct Case {
        double x;
        int expected;
    } cases[] = {
        {2.5, 3},
        {-2.5, -3},
        {2.4999, 2},
        {-0.5, -1},
        {-0.4999, 0},
        {0.0, 0},
        {-0.0, 0},
        {0.5, 1},
        {254.5, 255},
        {-7.49999999, -7},
        {1e300, INT_MAX},
        {-1e300, INT_MIN},
        {2147483646.7, INT_MAX},
        {-2147483647.7, INT_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundHalfAway(c.x), c.expected) << "x = " << c.x;
    }
}

TEST(ContrastIndexTest, MovesIndicesAboutTheMiddleAndTruncatesTowardIt) {
    struct Case {
        int a, i, n, expected;
    } cases[] = {
        {0, 0, 256, 0},
        {0, 255, 256, 255},
        {0, 17, 32, 17},
        {64, 0, 256, -81},
        {64, 127, 256, 127},
        {64, 129, 256, 129},
        {64, 255, 256, 336},
        {-64, 0, 256, 82},
        {-64, 127, 256, 128},
        {-64, 129, 256, 128},
        {-64, 255, 256, 173},
        {1, 0, 256, -1},
        {1, 255, 256, 256},
        // Only double rounding in the order (a + 100) × 0.01, then × (i - h)
        // gives these: exact arithmetic would give 70 and 12.
        {-42, 28, 256, 71},
        {16, 28, 256, 13},
        {64, 5, 32, -2},
        {64, 6, 32, 0},
        {64, 7, 32, 2},
        {64, 25, 32, 30},
        {64, 26, 32, 32},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContrastIndex(c.a, c.i, c.n), c.expected)
            << "a = " << c.a << ", i = " << c.i << ", n = " << c.n;
    }
}

TEST_F(CurveTest, BrightnessCurvesMapKnownComponents) {
    struct Case {
        int b, s, expected;
    } cases[] = {
        {1, 16, 23},    {1, 64, 77},    {1, 128, 140},   {1, 192, 199},   {64, 1, 237},
        {64, 128, 253}, {-1, 16, 15},   {-1, 64, 62},    {-1, 128, 126},  {-64, 16, 1},
        {-64, 64, 19},  {-64, 128, 70}, {-64, 192, 150}, {-64, 254, 253},
    };
    for (const Case& c : cases) {
        int got = c.b > 0 ? BrightenComponent(c.b, c.s) : DarkenComponent(c.b, c.s);
        EXPECT_EQ(got, c.expected) << "b = " << c.b << ", s = " << c.s;
    }
}

TEST_F(CurveTest, EveryBrightnessKeepsBothEndsAndMovesTheMiddleOneWay) {
    for (int b = 1; b <= 64; b++) {
        EXPECT_EQ(BrightenComponent(b, 0), 0) << b;
        EXPECT_EQ(BrightenComponent(b, 255), 255) << b;
        EXPECT_EQ(DarkenComponent(-b, 0), 0) << -b;
        EXPECT_EQ(DarkenComponent(-b, 255), 255) << -b;
        for (int s = 1; s < 255; s++) {
            ASSERT_GE(BrightenComponent(b, s), s) << b << " " << s;
            ASSERT_LE(BrightenComponent(b, s), 255) << b << " " << s;
            ASSERT_LE(DarkenComponent(-b, s), s) << -b << " " << s;
            ASSERT_GE(DarkenComponent(-b, s), 0) << -b << " " << s;
        }
    }
}

TEST_F(CurveTest, RampsAreTheIdentityAndTheRoundedThirtyTwoSteps) {
    std::vector<PaletteEntry> ramp256 = Ramp(256);
    for (int i = 0; i < 256; i++) {
        EXPECT_TRUE(ramp256[i].r == i && ramp256[i].g == i && ramp256[i].b == i) << i;
    }
    const int steps[32] = {0,   8,   16,  25,  33,  41,  49,  58,  66,  74,  82,
                           90,  99,  107, 115, 123, 132, 140, 148, 156, 165, 173,
                           181, 189, 197, 206, 214, 222, 230, 239, 247, 255};
    std::vector<PaletteEntry> ramp32 = Ramp(32);
    for (int i = 0; i < 32; i++) {
        EXPECT_TRUE(ramp32[i].r == steps[i] && ramp32[i].g == steps[i] && ramp32[i].b == steps[i])
            << i;
    }
}

TEST_F(CurveTest, ZeroOffsetsGiveTheBaseTable) {
    for (int size : {256, 32}) {
        EXPECT_EQ(Hex(Corrected({0, 0, 0}, {0, 0, 0}, size)), Hex(Ramp(size))) << size;
    }
}

TEST_F(CurveTest, ContrastBeyondTheTableGivesTheExtremesWithoutTheBrightnessCurve) {
    // 32 entries, contrast 64 on green only, brightness only on red and blue.
    std::vector<PaletteEntry> table = Corrected({-64, 0, 64}, {0, 64, 0}, 32);
    for (int i = 0; i <= 6; i++) {
        EXPECT_EQ(table[i].g, 0) << i;
    }
    EXPECT_EQ(table[25].g, 247); // base entry 30
    for (int i = 26; i < 32; i++) {
        EXPECT_EQ(table[i].g, 255) << i;
    }
    // Red and blue kept their own curves on the untouched ramp.
    std::vector<PaletteEntry> base = Ramp(32);
    for (int i = 0; i < 32; i++) {
        EXPECT_EQ(table[i].r, DarkenComponent(-64, base[i].r)) << i;
        EXPECT_EQ(table[i].b, BrightenComponent(64, base[i].b)) << i;
    }
    // At 256 entries an index pushed out of the table is 0 or M even where
    // brightness would have moved the end values.
    std::vector<PaletteEntry> wide = Corrected({-64, 64, 0}, {64, 64, 64}, 256);
    EXPECT_EQ(wide[0].r, 0);
    EXPECT_EQ(wide[255].r, 255);
    EXPECT_EQ(wide[0].g, 0);
    EXPECT_EQ(wide[255].g, 255);
}

struct FixtureCase {
    int size;
    ChannelTriple brightness;
    ChannelTriple contrast;
    std::string hex;
};

std::vector<FixtureCase> ReadFixture() {
    std::ifstream in(LUMIVEX_SOURCE_DIR "/tests/correction/data/curve_fixture.txt");
    std::vector<FixtureCase> cases;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        FixtureCase c;
        std::istringstream header(line);
        header >> c.size >> c.brightness.r >> c.brightness.g >> c.brightness.b >> c.contrast.r >>
            c.contrast.g >> c.contrast.b;
        std::getline(in, c.hex);
        cases.push_back(c);
    }
    return cases;
}

TEST_F(CurveTest, WholePalettesMatchTheIndependentlyComputedFixture) {
    std::vector<FixtureCase> cases = ReadFixture();
    ASSERT_FALSE(cases.empty()) << "fixture missing";
    for (const FixtureCase& c : cases) {
        ASSERT_TRUE(c.size == 256 || c.size == 32);
        ASSERT_EQ(c.hex.size(), static_cast<size_t>(c.size) * 6);
        std::string got = Hex(Corrected(c.brightness, c.contrast, c.size));
        if (got != c.hex) {
            size_t at = 0;
            while (got[at] == c.hex[at]) {
                at++;
            }
            ADD_FAILURE() << "size " << c.size << ", brightness " << c.brightness.r << " "
                          << c.brightness.g << " " << c.brightness.b << ", contrast "
                          << c.contrast.r << " " << c.contrast.g << " " << c.contrast.b
                          << ": entry " << at / 6 << " is " << got.substr(at / 6 * 6, 6)
                          << ", expected " << c.hex.substr(at / 6 * 6, 6);
        }
    }
}

TEST_F(CurveTest, OffsetsBeyondTheRangeActAsTheNearestBound) {
    const int high[] = {65, 100, 1000, INT_MAX};
    const int low[] = {-65, -100, -1000, INT_MIN};
    for (int size : {256, 32}) {
        std::string top = Hex(Corrected({64, 64, 64}, {64, -64, 64}, size));
        std::string bottom = Hex(Corrected({-64, -64, -64}, {-64, 64, -64}, size));
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(Hex(Corrected({high[i], high[i], high[i]}, {high[i], low[i], high[i]}, size)),
                      top)
                << high[i];
            EXPECT_EQ(Hex(Corrected({low[i], low[i], low[i]}, {low[i], high[i], low[i]}, size)),
                      bottom)
                << low[i];
        }
    }
    for (int b : {65, INT_MAX}) {
        EXPECT_EQ(BrightenComponent(b, 128), 253) << b;
    }
    EXPECT_EQ(DarkenComponent(INT_MIN, 128), 70);
    EXPECT_EQ(ContrastIndex(INT_MAX, 255, 256), 336);
    EXPECT_EQ(ContrastIndex(INT_MIN, 0, 256), 82);
}

TEST(CurveWithoutInitialisationTest, UnsetMaximumGivesAnAllZeroPaletteWithoutDividing) {
    // paletteMax is 0 until the corrections are first initialised.
    paletteMax = 0;
    std::vector<PaletteEntry> base(256);
    for (int i = 0; i < 256; i++) {
        base[i] = {BYTE(i), BYTE(i), BYTE(i)};
    }
    ChannelTriple brightness = {20, -20, 0};
    ChannelTriple contrast = {0, 64, -64};
    std::vector<PaletteEntry> work(256, PaletteEntry{1, 1, 1});
    ComputeCorrectedPalette(&brightness, &contrast, base.data(), 256, work.data());
    for (int i = 0; i < 256; i++) {
        EXPECT_EQ(work[i].r, 0) << i;
        EXPECT_EQ(work[i].g, 0) << i;
    }
}

#if defined(_WIN32) && defined(__i386__)
TEST(FloatingPointTest, X87RoundsToDoubleFromStartUp) {
    EXPECT_EQ(_controlfp(0, 0) & _MCW_PC, static_cast<unsigned>(_PC_53));
}
#endif

} // namespace
