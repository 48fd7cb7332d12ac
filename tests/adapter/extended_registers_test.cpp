// The extended registers, the palette control register and the palette
// writers, checked port by port on the simulated board.
#include "adapter/extended_registers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "correction/settings.h"
#include "platform/sim/board.h"
#include "tests/adapter/port_trace.h"

using Lines = std::vector<std::string>;

namespace {

adapter_model::Board& Board() {
    return sim::TheBoard();
}

// A sequencer left at index 0x07 with 0x5A in that register, so that saving
// and restoring the index (and the data byte it selects) shows in the trace.
void LeaveSequencerAt07() {
    Board().SetSequencerIndex(0x07);
    Board().SetSequencer(0x07, 0x5A);
}

TEST(ExtendedRegisters, FirstAccessReadsTheBaseLaterOnesReuseIt) {
    LeaveSequencerAt07();
    Board().SetExtendedRegister(0xE0, 0x35);

    EXPECT_EQ(ReadExtendedRegister(0xE0), 0x35);
    EXPECT_EQ(TraceLines(), (Lines{// the base, read once
                                   "cli", "inw 3C4=5A07", "out 3C4 1E", "in 3C5=00", "out 3C4 1F",
                                   "in 3C5=D0", "outw 3C4 5A07", "sti",
                                   // window 0x38
                                   "cli", "in 3C4=07", "out 3C4 1F", "out 3C5 D0", "out 3C4 1E",
                                   "out 3C5 00", "out 3C4 1D", "out 3C5 38", "out 3C4 07", "sti",
                                   // the register
                                   "cli", "in D000=35", "sti"}));
    EXPECT_EQ(ioBase, 0xD000);

    Board().ClearTrace();
    WriteExtendedRegister(0xE5, 0x42);
    EXPECT_EQ(TraceLines(), (Lines{"cli", "in 3C4=07", "out 3C4 1F", "out 3C5 D0", "out 3C4 1E",
                                   "out 3C5 00", "out 3C4 1D", "out 3C5 39", "out 3C4 07", "sti",
                                   "cli", "out D001 42", "sti"}));
    EXPECT_EQ(Board().ExtendedRegister(0xE5), 0x42);
    EXPECT_EQ(Board().SequencerIndex(), 0x07);
    EXPECT_EQ(Board().Sequencer(0x07), 0x5A);
}

TEST(ExtendedRegisters, ChipWithoutWindowIsAskedAgainAndNothingElseIsTouched) {
    Board().SetExtendedBase(0);
    LeaveSequencerAt07();

    WriteExtendedRegister(0xE0, 0x11);
    EXPECT_EQ(ReadExtendedRegister(0xE0), 0xFF);
    EXPECT_EQ(ioBase, 0);

    int baseReads = 0;
    for (const auto& e : Board().Trace()) {
        if (!e.IsPortAccess()) {
            continue;
        }
        baseReads += e.width == 16 && e.op == adapter_model::Op::In;
        // Ports 0..3 belong to the system's DMA controller.
        EXPECT_GE(e.port, 0x3C4) << TraceLine(e);
    }
    EXPECT_EQ(baseReads, 2);
    EXPECT_EQ(Board().SequencerIndex(), 0x07);
}

// Register 0xE0's value as each write left it.
std::vector<uint8_t> ControlWrites() {
    std::vector<uint8_t> writes;
    for (const auto& e : Board().Trace()) {
        if (e.op == adapter_model::Op::Out && e.port == 0xD000) {
            writes.push_back(static_cast<uint8_t>(e.value));
        }
    }
    return writes;
}

TEST(PaletteControl, SelectPaletteSourceSetsOnlyTheActiveTargetsField) {
    struct Case {
        int target;
        int source;
        uint8_t before;
        std::vector<uint8_t> writes;
    };
    const Case cases[] = {
        {Video, 2, 0x11, {0x19}},
        {Desktop, 0, 0x19, {0x18}},
        {Desktop, 1, 0xC8, {0xD9}}, // bits 6-7 and bit 5 kept, bit 4 forced
        {Video, 0, 0xEF, {0xF3}},
        // Nothing that would spill into the other field is written.
        {2, 1, 0x05, {}},
        {-1, 2, 0x05, {}},
        {Desktop, 3, 0x05, {}},
        {Video, 4, 0x05, {}},
        {Desktop, -1, 0x05, {}},
    };
    paletteControlOrMask = 0x10;
    paletteControlAndMask = 0xFF;
    for (const auto& c : cases) {
        Board().SetPaletteControl(c.before);
        Board().ClearTrace();
        activeTarget = c.target;
        SelectPaletteSource(c.source);
        EXPECT_EQ(ControlWrites(), c.writes) << "target " << c.target << " source " << c.source;
        uint8_t expected = c.writes.empty() ? c.before : c.writes.back();
        EXPECT_EQ(Board().PaletteControl(), expected);
    }
}

std::vector<PaletteEntry> Table(int entries, int seed) {
    std::vector<PaletteEntry> table(entries);
    for (int i = 0; i < entries; ++i) {
        table[i] = {static_cast<BYTE>(255 - i * 7 + seed), static_cast<BYTE>(i * 3 + seed),
                    static_cast<BYTE>(i ^ 0xA5)};
    }
    return table;
}

bool SameEntry(const PaletteEntry& p, const adapter_model::Rgb& q) {
    return p.r == q.r && p.g == q.g && p.b == q.b;
}

// Every DAC entry was written as index, R, G, B right after a status read
// that found the display blanked or in retrace, with interrupts enabled.
void ExpectEntriesWrittenInBlanking(int entries, const std::vector<PaletteEntry>& table) {
    const auto& trace = Board().Trace();
    int entry = 0;
    for (size_t i = 0; i < trace.size(); ++i) {
        if (trace[i].op != adapter_model::Op::Out || trace[i].port != 0x3C8) {
            continue;
        }
        ASSERT_GE(i, 1u);
        ASSERT_LT(i + 3, trace.size());
        EXPECT_EQ(TraceLine(trace[i - 1]).substr(0, 7), "in 3DA=");
        EXPECT_NE(trace[i - 1].value & 0x09, 0) << "entry " << entry;
        EXPECT_EQ(trace[i].value, entry);
        EXPECT_EQ(trace[i + 1].value, table[entry].r);
        EXPECT_EQ(trace[i + 2].value, table[entry].g);
        EXPECT_EQ(trace[i + 3].value, table[entry].b);
        for (size_t k = i - 1; k <= i + 3; ++k) {
            EXPECT_TRUE(trace[k].interruptsEnabled);
        }
        ++entry;
    }
    EXPECT_EQ(entry, entries);
}

TEST(PaletteWriters, WritePalette256RoutesTheDacTo256AndRestoresControl) {
    paletteControlOrMask = 0x10;
    paletteControlAndMask = 0xFF;
    Board().SetPaletteControl(0x35);
    const auto palette32 = Board().Palette32();
    const auto table = Table(256, 1);

    WritePalette256(table.data());

    EXPECT_EQ(ControlWrites(), (std::vector<uint8_t>{0x15, 0x35}));
    EXPECT_EQ(paletteControlAndMask, 0xFF);
    EXPECT_EQ(paletteControlOrMask, 0x10);
    ExpectEntriesWrittenInBlanking(256, table);
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(SameEntry(table[i], Board().Palette256()[i])) << i;
    }
    EXPECT_EQ(Board().Palette32(), palette32);
    // The entries lie between the two control writes.
    const Lines lines = TraceLines();
    auto first = std::find(lines.begin(), lines.end(), "out D000 15");
    auto last = std::find(lines.begin(), lines.end(), "out D000 35");
    auto firstEntry = std::find(lines.begin(), lines.end(), "out 3C8 00");
    auto lastEntry = std::find(lines.begin(), lines.end(), "out 3C8 FF");
    EXPECT_LT(first, firstEntry);
    EXPECT_LT(lastEntry, last);
}

TEST(PaletteWriters, WritePalette32RoutesTheDacTo32AndRestoresControl) {
    paletteControlOrMask = 0x10;
    paletteControlAndMask = 0xFF;
    Board().SetPaletteControl(0x19);
    const auto palette256 = Board().Palette256();
    const auto table = Table(32, 9);

    WritePalette32(table.data());

    EXPECT_EQ(ControlWrites(), (std::vector<uint8_t>{0x39, 0x19}));
    EXPECT_EQ(paletteControlOrMask, 0x10);
    EXPECT_EQ(paletteControlAndMask, 0xFF);
    ExpectEntriesWrittenInBlanking(32, table);
    for (int i = 0; i < 32; ++i) {
        EXPECT_TRUE(SameEntry(table[i], Board().Palette32()[i])) << i;
    }
    EXPECT_EQ(Board().Palette256(), palette256);
}

TEST(PaletteWriters, ControlBits6And7SurviveBothWriters) {
    paletteControlOrMask = 0x10;
    paletteControlAndMask = 0xFF;
    const auto table = Table(256, 0);
    Board().SetPaletteControl(0xC6);
    WritePalette256(table.data());
    EXPECT_EQ(Board().PaletteControl(), 0xD6);
    WritePalette32(table.data());
    EXPECT_EQ(Board().PaletteControl(), 0xD6);
}

TEST(PaletteWriters, EntryIsWrittenEvenWhenTheDisplayNeverBlanks) {
    Board().SetPaletteControl(0x10);
    Board().SetNeverBlanks(true);
    const PaletteEntry entry = {0xC0, 0x80, 0x40};

    WritePaletteEntry(7, &entry);

    EXPECT_TRUE(SameEntry(entry, Board().Palette256()[7]));
    // It waited at least a frame of the slow default mode before giving up.
    EXPECT_GE(Board().GetCounters().statusReads * Board().AccessCostNs(), Board().FramePeriodNs());
}

TEST(PaletteWriters, BlankingWaitStopsAtTheFirstFreeReadOrAfterItsBound) {
    struct Case {
        const char* name;
        bool neverBlanks;
        uint64_t startNs; // where the beam is when the entry is written
        uint64_t statusReads;
    };
    const Case cases[] = {
        // Line 503 of 525: vertical blanking, so the first read lets it through.
        {"already blanked", false, 16000000, 1},
        {"never blanks", true, 0, 100000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Board().SetNeverBlanks(c.neverBlanks);
        Board().SetNowNs(c.startNs);
        Board().SetTraceEnabled(false);
        Board().ResetCounters();
        const PaletteEntry entry = {1, 2, 3};

        WritePaletteEntry(9, &entry);

        EXPECT_EQ(Board().GetCounters().statusReads, c.statusReads);
        EXPECT_EQ(Board().GetCounters().accesses, c.statusReads + 4);
    }
}

} // namespace
