// Applying the stored corrections: which palette carries which target at each
// colour depth, what the board's palettes and register 0xE0 hold afterwards,
// and the on/off routing of a target.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "correction/apply.h"
#include "correction/curves.h"
#include "platform/sim/board.h"

#include "tests/support/palette_hex.h"

namespace {

using test_support::Hex;

const char kCorrectionKey[] = "Software\\Veridane\\Corvantis";
const char kUtilityKey[] = "Software\\Veridane\\Lumivex";

struct Stored {
    int on;
    ChannelTriple brightness;
    ChannelTriple contrast;
};

std::string Text(const ChannelTriple& t) {
    return std::to_string(t.r) + " " + std::to_string(t.g) + " " + std::to_string(t.b);
}

// Writes one target's values as the companion panel or an earlier save would.
void Store(const char* prefix, const Stored& s) {
    std::string p = prefix;
    sim::registry::SetString(kCorrectionKey, p + "ON/OFF", std::to_string(s.on));
    sim::registry::SetString(kCorrectionKey, p + "CorrectionType", "0");
    sim::registry::SetString(kCorrectionKey, p + "PalBrightCtrls", Text(s.brightness));
    sim::registry::SetString(kCorrectionKey, p + "PalContrastCtrls", Text(s.contrast));
    sim::registry::SetString(kUtilityKey, p + "LOCK", "0");
}

// The palette a correction should give, from the ramp of the given size.
std::string Expected(const ChannelTriple& brightness, const ChannelTriple& contrast, int size) {
    BYTE kept = paletteMax;
    paletteMax = 255;
    std::vector<PaletteEntry> base(size), work(size);
    ComputeRamp(base.data(), size);
    ComputeCorrectedPalette(&brightness, &contrast, base.data(), size, work.data());
    paletteMax = kept;
    return Hex(work);
}

std::string Ramp(int size) {
    return Expected({0, 0, 0}, {0, 0, 0}, size);
}

void Scramble(adapter_model::Board& board) {
    for (auto& e : board.Palette256()) {
        e = {0x5A, 0xA5, 0x3C};
    }
    for (auto& e : board.Palette32()) {
        e = {0x5A, 0xA5, 0x3C};
    }
}

const Stored kDesktop = {1, {20, -5, 0}, {-10, 0, 33}};
const Stored kVideo = {1, {-40, 0, 7}, {0, 50, -3}};

TEST(InitCorrectionsTest, AssignsPalettesByDepthAndAppliesBothTargets) {
    struct Case {
        int depth;
        int desktopKind;
    } cases[] = {{24, Palette256}, {32, Palette256}, {15, Palette256}, {16, Palette32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        adapter_model::Board& board = sim::TheBoard();
        Scramble(board);
        board.SetPaletteControl(0xC0); // bits 6-7 belong to someone else
        Store("GAMMA_", kDesktop);
        Store("CHROMA_", kVideo);
        colorDepth = (BYTE)c.depth;
        activeTarget = Desktop; // as if the desktop dialog were open

        InitCorrections();

        int videoKind = c.desktopKind == Palette256 ? Palette32 : Palette256;
        const Stored& on256 = c.desktopKind == Palette256 ? kDesktop : kVideo;
        const Stored& on32 = c.desktopKind == Palette256 ? kVideo : kDesktop;
        EXPECT_EQ(Hex(board.Palette256()), Expected(on256.brightness, on256.contrast, 256));
        EXPECT_EQ(Hex(board.Palette32()), Expected(on32.brightness, on32.contrast, 32));
        EXPECT_EQ(board.DesktopSource(), c.desktopKind);
        EXPECT_EQ(board.VideoSource(), videoKind);
        // 8-bit components, the DAC back on the 256-entry palette, bits 6-7 kept.
        EXPECT_EQ(board.PaletteControl() & 0xF0, 0xD0);

        EXPECT_EQ(correctionSettings.targets[Desktop].paletteKind, c.desktopKind);
        EXPECT_EQ(correctionSettings.targets[Video].paletteKind, videoKind);
        EXPECT_EQ(TargetBrightness(Desktop)->r, kDesktop.brightness.r);
        EXPECT_EQ(TargetContrast(Video)->g, kVideo.contrast.g);
        EXPECT_EQ(paletteMax, 255);
        EXPECT_EQ(paletteControlOrMask, 0x10);
        EXPECT_EQ(paletteControlAndMask, 0xFF);
        EXPECT_EQ(activeTarget, Desktop);
    }
}

TEST(InitCorrectionsTest, TargetsThatAreOffKeepTheRampAndTheirSource) {
    struct Case {
        int desktopOn, videoOn;
    } cases[] = {{0, 0}, {1, 0}, {0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.desktopOn << c.videoOn);
        adapter_model::Board& board = sim::TheBoard();
        Scramble(board);
        board.SetPaletteControl(0x0F); // desktop and video through "3", untouched if off
        Stored desktop = kDesktop, video = kVideo;
        desktop.on = c.desktopOn;
        video.on = c.videoOn;
        Store("GAMMA_", desktop);
        Store("CHROMA_", video);
        colorDepth = 24;

        InitCorrections();

        EXPECT_EQ(Hex(board.Palette256()),
                  c.desktopOn ? Expected(desktop.brightness, desktop.contrast, 256) : Ramp(256));
        EXPECT_EQ(Hex(board.Palette32()),
                  c.videoOn ? Expected(video.brightness, video.contrast, 32) : Ramp(32));
        EXPECT_EQ(board.DesktopSource(), c.desktopOn ? 1 : 3);
        EXPECT_EQ(board.VideoSource(), c.videoOn ? 2 : 3);
    }
}

TEST(InitCorrectionsTest, DepthChangeMovesEachTargetsValuesToItsNewPalette) {
    adapter_model::Board& board = sim::TheBoard();
    Store("GAMMA_", kDesktop);
    Store("CHROMA_", kVideo);
    colorDepth = 24;
    InitCorrections();
    // Unsaved edits of an open dialog are replaced by the store.
    activeTarget = Desktop;
    *TargetBrightness(Desktop) = {9, 9, 9};

    colorDepth = 16;
    InitCorrections();

    EXPECT_EQ(Hex(board.Palette32()), Expected(kDesktop.brightness, kDesktop.contrast, 32));
    EXPECT_EQ(Hex(board.Palette256()), Expected(kVideo.brightness, kVideo.contrast, 256));
    EXPECT_EQ(board.DesktopSource(), 2);
    EXPECT_EQ(board.VideoSource(), 1);
    EXPECT_EQ(correctionSettings.palBrightCtrls[Palette32 - 1].r, kDesktop.brightness.r);
    EXPECT_EQ(correctionSettings.palBrightCtrls[Palette256 - 1].r, kVideo.brightness.r);
    EXPECT_EQ(activeTarget, Desktop);

    colorDepth = 32;
    InitCorrections();

    EXPECT_EQ(Hex(board.Palette256()), Expected(kDesktop.brightness, kDesktop.contrast, 256));
    EXPECT_EQ(Hex(board.Palette32()), Expected(kVideo.brightness, kVideo.contrast, 32));
    EXPECT_EQ(board.DesktopSource(), 1);
    EXPECT_EQ(board.VideoSource(), 2);
}

TEST(InitCorrectionsTest, OffsetsBeyondTheRangeAreAppliedAsTheBoundsAndKeptAsLoaded) {
    adapter_model::Board& board = sim::TheBoard();
    Store("GAMMA_", {1, {100, -1000, INT_MAX}, {INT_MIN, 100, -1}});
    Store("CHROMA_", {1, {INT_MIN, 65, -65}, {1000, -100, INT_MAX}});
    colorDepth = 24;

    InitCorrections();

    EXPECT_EQ(Hex(board.Palette256()), Expected({64, -64, 64}, {-64, 64, -1}, 256));
    EXPECT_EQ(Hex(board.Palette32()), Expected({-64, 64, -64}, {64, -64, 64}, 32));
    const ChannelTriple* brightness = TargetBrightness(Desktop);
    EXPECT_TRUE(brightness->r == 100 && brightness->g == -1000 && brightness->b == INT_MAX);
    const ChannelTriple* contrast = TargetContrast(Video);
    EXPECT_TRUE(contrast->r == 1000 && contrast->g == -100 && contrast->b == INT_MAX);
}

TEST(InitCorrectionsTest, FirstRunWithoutStoredValuesLeavesBothRamps) {
    adapter_model::Board& board = sim::TheBoard();
    Scramble(board);
    colorDepth = 16;

    InitCorrections();

    EXPECT_EQ(Hex(board.Palette256()), Ramp(256));
    EXPECT_EQ(Hex(board.Palette32()), Ramp(32));
    EXPECT_EQ(board.DesktopSource(), 0);
    EXPECT_EQ(board.VideoSource(), 0);
}

TEST(SwitchTargetSourceTest, RoutesOneTargetThroughItsKindOrNone) {
    struct Case {
        int depth, target, on;
        BYTE before, after;
    } cases[] = {
        {24, Desktop, 1, 0x00, 0x11}, {24, Video, 1, 0x01, 0x19},   {16, Desktop, 1, 0xC4, 0xD6},
        {16, Video, 1, 0x02, 0x16},   {24, Desktop, 0, 0x19, 0x18}, {16, Video, 0, 0xCE, 0xD2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << " " << c.target << " " << c.on);
        adapter_model::Board& board = sim::TheBoard();
        colorDepth = (BYTE)c.depth;
        InitCorrections();
        board.SetPaletteControl(c.before);
        activeTarget = 1 - c.target;

        SwitchTargetSource(c.target, c.on);

        EXPECT_EQ(board.PaletteControl(), c.after);
        EXPECT_EQ(activeTarget, c.target);
    }
}

TEST(SwitchTargetSourceTest, ATargetOutsideBothWritesNothing) {
    adapter_model::Board& board = sim::TheBoard();
    colorDepth = 24;
    InitCorrections();
    board.SetPaletteControl(0x05);
    for (int target : {-1, 2, INT_MAX}) {
        activeTarget = Video;
        SwitchTargetSource(target, 1);
        EXPECT_EQ(board.PaletteControl(), 0x05);
        EXPECT_EQ(activeTarget, Video);
    }
}

} // namespace
