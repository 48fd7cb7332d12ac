// The simulated board on its own: what its ports do where that is not obvious.
#include "platform/adapter_model/board.h"

#include <gtest/gtest.h>

using adapter_model::Board;
using adapter_model::Op;
using adapter_model::Rgb;

namespace {

TEST(BoardPorts, WordAccessAtSequencerMovesIndexAndData) {
    Board board;
    board.OutWord(0x3C4, 0x5A1D); // index 0x1D, then 0x5A into it
    EXPECT_EQ(board.SequencerIndex(), 0x1D);
    EXPECT_EQ(board.Sequencer(0x1D), 0x5A);

    board.SetSequencerIndex(0x12);
    EXPECT_EQ(board.InWord(0x3C4), 'T' << 8 | 0x12);

    ASSERT_EQ(board.Trace().size(), 2u);
    for (const auto& access : board.Trace()) {
        EXPECT_EQ(access.width, 16);
        EXPECT_EQ(access.port, 0x3C4);
    }
    EXPECT_EQ(board.GetCounters().accesses, 2u);
}

TEST(BoardPorts, SignatureRegistersAreReadOnly) {
    Board board;
    for (uint8_t index : {0x11, 0x12}) {
        uint8_t before = board.Sequencer(index);
        board.OutByte(0x3C4, index);
        board.OutByte(0x3C5, 0x00);
        EXPECT_EQ(board.InByte(0x3C5), before);
    }
    EXPECT_EQ(board.Sequencer(0x11), 'K');
    EXPECT_EQ(board.Sequencer(0x12), 'T');
}

TEST(BoardPorts, ExtendedWindowFollowsBaseAndWindowSelect) {
    Board board;
    ASSERT_EQ(board.ExtendedBase(), 0xD000);
    board.SetSequencer(0x1D, 0x39); // registers 0xE4..0xE7
    board.OutByte(0xD001, 0xAB);
    EXPECT_EQ(board.ExtendedRegister(0xE5), 0xAB);

    // Moving the base moves the window; the old ports decode nothing.
    board.OutByte(0x3C4, 0x1F);
    board.OutByte(0x3C5, 0xC0);
    EXPECT_EQ(board.InByte(0xD001), 0xFF);
    EXPECT_EQ(board.InByte(0xC001), 0xAB);

    // A base of 0 decodes no window at all.
    board.SetExtendedBase(0);
    board.OutByte(0x0001, 0x12);
    EXPECT_EQ(board.ExtendedRegister(0xE5), 0xAB);
}

TEST(BoardDac, EntriesAdvanceAfterBlueAndGoWhereBit5Says) {
    Board board;
    board.SetPaletteControl(0x10); // 8-bit components, DAC reaches the 256-entry palette
    board.OutByte(0x3C8, 254);
    for (uint8_t v : {1, 2, 3, 4, 5, 6, 7, 8, 9}) {
        board.OutByte(0x3C9, v);
    }
    EXPECT_EQ(board.Palette256()[254], (Rgb{1, 2, 3}));
    EXPECT_EQ(board.Palette256()[255], (Rgb{4, 5, 6}));
    EXPECT_EQ(board.Palette256()[0], (Rgb{7, 8, 9})); // the index wraps
    EXPECT_EQ(board.DacWriteIndex(), 1);

    board.SetPaletteControl(0x30); // now the 32-entry palette
    const auto before256 = board.Palette256();
    board.OutByte(0x3C8, 33); // only five index bits reach it
    for (uint8_t v : {0xC1, 0xC2, 0xC3}) {
        board.OutByte(0x3C9, v);
    }
    EXPECT_EQ(board.Palette32()[1], (Rgb{0xC1, 0xC2, 0xC3}));
    EXPECT_EQ(board.Palette256(), before256);
}

TEST(BoardDac, PartialEntryIsDroppedByNewIndexAndSixBitModeMasks) {
    Board board;
    board.SetPaletteControl(0x00); // 6-bit components
    board.OutByte(0x3C8, 10);
    board.OutByte(0x3C9, 0xFF); // R only
    board.OutByte(0x3C8, 20);   // starts over at R
    for (uint8_t v : {0xFF, 0x80, 0x41}) {
        board.OutByte(0x3C9, v);
    }
    EXPECT_EQ(board.Palette256()[10], (Rgb{10, 10, 10}));
    EXPECT_EQ(board.Palette256()[20], (Rgb{0x3F, 0x00, 0x01}));
}

// Pixel p of line l of the default 640x480 mode, as a moment of modelled time.
uint64_t At(int line, int pixel) {
    return static_cast<uint64_t>((line * 800.0 + pixel + 0.5) * 1e6 / 25175);
}

TEST(BoardStatus, FollowsTheBeamOfThe640x480Mode) {
    struct Case {
        int line;
        int pixel;
        uint8_t status;
    };
    const Case cases[] = {
        {0, 0, 0x00},    {0, 639, 0x00},   {0, 640, 0x01},  {0, 799, 0x01},
        {479, 10, 0x00}, {480, 10, 0x01},  {490, 10, 0x09}, {491, 700, 0x09},
        {492, 10, 0x01}, {524, 799, 0x01}, {525, 0, 0x00}, // the next frame
    };
    Board board;
    for (const auto& c : cases) {
        board.SetNowNs(At(c.line, c.pixel));
        EXPECT_EQ(board.InByte(0x3DA), c.status) << "line " << c.line << " pixel " << c.pixel;
    }
}

TEST(BoardStatus, ClockAdvancesPerAccessAndCountsTheWait) {
    Board board; // 1000 ns per access, beam at the top left
    int reads = 0;
    while ((board.InByte(0x3DA) & 0x01) == 0) {
        ++reads;
    }
    // 640 visible pixels last 25.42 us: 26 reads find no blanking.
    EXPECT_EQ(reads, 26);
    EXPECT_EQ(board.NowNs(), 27000u);
    EXPECT_EQ(board.GetCounters().statusReads, 27u);
    EXPECT_EQ(board.GetCounters().waitNs, 26000u);
    EXPECT_NEAR(board.WaitScanLines(), 26000 / board.LinePeriodNs(), 1e-9);

    board.SetNeverBlanks(true);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(board.InByte(0x3DA), 0);
    }
}

TEST(BoardTrace, RecordsTheInterruptFlagOfEachAccess) {
    Board board;
    board.DisableInterrupts();
    board.OutByte(0x3C4, 0x1F);
    board.EnableInterrupts();
    board.InByte(0x3C5);

    const auto& t = board.Trace();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].op, Op::DisableInterrupts);
    EXPECT_FALSE(t[0].IsPortAccess());
    EXPECT_EQ(t[1].op, Op::Out);
    EXPECT_FALSE(t[1].interruptsEnabled);
    EXPECT_EQ(t[2].op, Op::EnableInterrupts);
    EXPECT_EQ(t[3].op, Op::In);
    EXPECT_EQ(t[3].value, 0xD0); // high byte of the base
    EXPECT_TRUE(t[3].interruptsEnabled);
    EXPECT_EQ(board.GetCounters().accesses, 2u); // flag changes are not accesses

    board.SetTraceEnabled(false);
    board.InByte(0x3C5);
    EXPECT_EQ(t.size(), 4u);
    EXPECT_EQ(board.GetCounters().accesses, 3u);
}

} // namespace
