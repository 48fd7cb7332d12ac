// The curves as the board sees them: the ramps and corrected palettes reach
// the palette of their own size, and nothing else changes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "correction/curves.h"
#include "platform/sim/board.h"

#include "tests/support/palette_hex.h"

namespace {

using test_support::Hex;

class CurveWriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // As the correction start-up leaves them.
        paletteControlOrMask = 0x10;
        paletteControlAndMask = 0xFF;
        paletteMax = 255;
        for (auto& e : board.Palette256()) {
            e = {1, 2, 3};
        }
        for (auto& e : board.Palette32()) {
            e = {4, 5, 6};
        }
    }
    adapter_model::Board& board = sim::TheBoard();
};

TEST_F(CurveWriteTest, PrepareFillsTheBaseTableAndWritesItToItsOwnPalette) {
    std::string untouched32 = Hex(board.Palette32());
    PreparePalette256();
    EXPECT_EQ(Hex(board.Palette256()), Hex(baseTable256, 256));
    EXPECT_EQ(baseTable256[200].g, 200);
    EXPECT_EQ(Hex(board.Palette32()), untouched32);

    std::string ramp256 = Hex(board.Palette256());
    PreparePalette32();
    EXPECT_EQ(Hex(board.Palette32()), Hex(baseTable32, 32));
    EXPECT_EQ(baseTable32[3].b, 25);
    EXPECT_EQ(Hex(board.Palette256()), ramp256);
}

TEST_F(CurveWriteTest, CorrectWritesTheWorkTableAndKeepsTheBaseTable) {
    PreparePalette256();
    PreparePalette32();
    ChannelTriple brightness = {30, -30, 0};
    ChannelTriple contrast = {0, 12, -12};
    struct Case {
        int size;
        void (*correct)(const ChannelTriple*, const ChannelTriple*, const PaletteEntry*);
        const PaletteEntry* base;
    } cases[] = {{256, CorrectPalette256, baseTable256}, {32, CorrectPalette32, baseTable32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::string base = Hex(c.base, c.size);
        std::string other = c.size == 256 ? Hex(board.Palette32()) : Hex(board.Palette256());
        std::vector<PaletteEntry> expected(c.size);
        ComputeCorrectedPalette(&brightness, &contrast, c.base, c.size, expected.data());

        c.correct(&brightness, &contrast, c.base);

        EXPECT_EQ(c.size == 256 ? Hex(board.Palette256()) : Hex(board.Palette32()),
                  Hex(expected.data(), c.size));
        EXPECT_NE(Hex(expected.data(), c.size), base);
        EXPECT_EQ(Hex(c.base, c.size), base);
        EXPECT_EQ(c.size == 256 ? Hex(board.Palette32()) : Hex(board.Palette256()), other);
    }
}

} // namespace
