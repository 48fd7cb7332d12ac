// A user's whole session with the correction dialog, from the tray icon to the
// end of the program: what reaches the board, the store, the tooltip and the
// other programs.
#include "tests/tray/session.h"

namespace {

using namespace session;

UINT Arrows(HWND dialog, int bar) {
    return sim::ui::ScrollBarArrows(GetDlgItem(dialog, bar));
}

TEST(EditSession, DesktopEditedLiveAndConfirmedWithOk) {
    Machine machine; // 16 bits per pixel: the desktop goes through the 32-entry palette
    machine.desktop = Target{"0", "0", "0", "3 -2 1", "7 8 9"};
    machine.video = Target{"1", "0", "0", "10 0 -10", "0 0 0"};
    sim::others::BroadcastListener listener;
    const std::string videoPalette = ExpectedPalette({10, 0, -10}, {0, 0, 0}, 256);

    OpenDesktop();
    Check("the target is off at opening", [] {
        HWND d = Dialog();
        EXPECT_EQ(ShownValues(d).boxes, "  ");
        EXPECT_EQ(ShownValues(d).bars, "0 0 0");
        EXPECT_EQ(Arrows(d, kRedBar), (UINT)ESB_DISABLE_BOTH);
        EXPECT_EQ(IsDlgButtonChecked(d, kOnOff), (UINT)BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(d, kBrightness), (UINT)BST_CHECKED);
        EXPECT_EQ(sim::TheBoard().DesktopSource(), 0);
        EXPECT_EQ(Tip(), "Gamma is OFF ; Video  Gamma is ON");
    });
    sim::script::ToggleCheckBox(kOnOff);
    Check("switched on", [] {
        HWND d = Dialog();
        EXPECT_EQ(ShownValues(d).boxes, "3 -2 1");
        EXPECT_EQ(ShownValues(d).bars, "3 -2 1");
        EXPECT_EQ(Arrows(d, kBlueBar), (UINT)ESB_ENABLE_BOTH);
        EXPECT_EQ(sim::TheBoard().DesktopSource(), 2);
        EXPECT_EQ(Board32(), ExpectedPalette({3, -2, 1}, {7, 8, 9}, 32));
        EXPECT_EQ(Tip(), "Gamma is ON ; Video  Gamma is ON");
    });
    // Lock off: each channel on its own.
    sim::script::Scroll(kGreenBar, SB_PAGERIGHT);
    sim::script::ReplaceText(kRedBox, "-9");
    Check("lock off", [] {
        EXPECT_EQ(ShownValues(Dialog()).boxes, "-9 8 1");
        EXPECT_EQ(ShownValues(Dialog()).bars, "-9 8 1");
        EXPECT_EQ(Board32(), ExpectedPalette({-9, 8, 1}, {7, 8, 9}, 32));
    });
    // Lock on: the three move together.
    sim::script::ToggleCheckBox(kLock);
    sim::script::Scroll(kBlueBar, SB_LINELEFT);
    sim::script::ReplaceText(kGreenBox, "17");
    Check("lock on", [] {
        EXPECT_EQ(ShownValues(Dialog()).boxes, "0 17 10");
        EXPECT_EQ(ShownValues(Dialog()).bars, "0 17 10");
        EXPECT_EQ(Board32(), ExpectedPalette({0, 17, 10}, {7, 8, 9}, 32));
    });
    sim::script::PressButton(kContrast);
    Check("contrast shown", [] { EXPECT_EQ(ShownValues(Dialog()).boxes, "7 8 9"); });
    sim::script::Scroll(kRedBar, SB_THUMBTRACK, 20);
    Check("thumb moved with lock", [] {
        EXPECT_EQ(ShownValues(Dialog()).bars, "20 21 22");
        EXPECT_EQ(Board32(), ExpectedPalette({0, 17, 10}, {20, 21, 22}, 32));
    });
    sim::script::PressButton(kReset);
    Check("reset", [] {
        EXPECT_EQ(ShownValues(Dialog()).boxes, "0 0 0");
        EXPECT_EQ(Board32(), ExpectedPalette({0, 17, 10}, {0, 0, 0}, 32));
    });
    sim::script::PressButton(IDOK);
    Check("after OK", [&] {
        EXPECT_EQ(sim::ui::ActiveDialog(), nullptr);
        EXPECT_EQ(listener.Count("Lumivex Gamma Changed"), 1);
        EXPECT_EQ(listener.Count("Lumivex Chroma Changed"), 0);
    });
    Quit();

    EXPECT_EQ(Start(machine), 0);

    adapter_model::Board& board = sim::TheBoard();
    EXPECT_EQ(Board32(), ExpectedPalette({0, 17, 10}, {0, 0, 0}, 32));
    EXPECT_EQ(Board256(), videoPalette);
    // 8-bit components, desktop through the 32-entry palette, video through the 256-entry one.
    EXPECT_EQ(board.PaletteControl(), 0x10 | 2 | (1 << 2));

    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_ON/OFF"), "1");
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_CorrectionType"), "1");
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalBrightCtrls"), "0 17 10");
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalContrastCtrls"), "0 0 0");
    EXPECT_EQ(Stored(kUtilityKey, "GAMMA_LOCK"), "1");
    EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_ON/OFF"), "1");
    EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_CorrectionType"), "0");
    EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_PalBrightCtrls"), "10 0 -10");
    EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_PalContrastCtrls"), "0 0 0");
    EXPECT_EQ(Stored(kUtilityKey, "CHROMA_LOCK"), "0");
    EXPECT_EQ(listener.Count("Lumivex Gamma Changed"), 1);
    EXPECT_TRUE(sim::shell::TrayIcons().empty());
}

TEST(EditSession, CancelPutsBackWhatTheDialogOpenedWith) {
    // Each round ends in another of the user's ways to cancel. Cancel writes
    // the restored settings, routes the target as they say and refreshes the
    // tooltip, but announces nothing.
    struct Round {
        const char* name;
        Target stored;
        std::function<void()> cancel;
    };
    const Target off{"0", "0", "0", "3 -2 1", "7 8 9"};
    const Target on{"1", "0", "0", "3 -2 1", "7 8 9"};
    const Round rounds[] = {
        {"Cancel button, target was off", off, [] { sim::script::PressButton(IDCANCEL); }},
        {"Esc, target was on", on, [] { sim::script::PressEsc(); }},
        {"close box, target was off", off, [] { sim::script::CloseFromTitleBar(); }},
    };
    Machine machine;
    machine.video = Target{"1", "0", "0", "10 0 -10", "0 0 0"};
    sim::others::BroadcastListener listener;

    for (const Round& r : rounds) {
        sim::script::Do([r] { StoreTarget("GAMMA_", r.stored); });
        OpenDesktop();
        sim::script::ToggleCheckBox(kOnOff);
        sim::script::ToggleCheckBox(kLock);
        sim::script::Scroll(kRedBar, SB_PAGERIGHT);
        sim::script::PressButton(kContrast);
        r.cancel();
        Check(r.name, [&listener, r] {
            std::string name = r.name;
            EXPECT_EQ(sim::ui::ActiveDialog(), nullptr) << name;
            EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_ON/OFF"), r.stored.on) << name;
            EXPECT_EQ(Stored(kUtilityKey, "GAMMA_LOCK"), "0") << name;
            EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_CorrectionType"), "0") << name;
            EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalBrightCtrls"), "3 -2 1") << name;
            EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalContrastCtrls"), "7 8 9") << name;
            EXPECT_EQ(correctionSettings.targets[Desktop].on, r.stored.on == "1" ? 1 : 0) << name;
            // The palette is written from the restored values, the source as they say.
            EXPECT_EQ(Board32(), ExpectedPalette({3, -2, 1}, {7, 8, 9}, 32)) << name;
            EXPECT_EQ(sim::TheBoard().DesktopSource(), r.stored.on == "1" ? 2 : 0) << name;
            EXPECT_EQ(sim::TheBoard().VideoSource(), 1) << name;
            EXPECT_EQ(Tip(), r.stored.on == "1" ? "Gamma is ON ; Video  Gamma is ON"
                                                : "Gamma is OFF ; Video  Gamma is ON")
                << name;
            EXPECT_EQ(listener.Count("Lumivex Gamma Changed"), 0) << name;
            EXPECT_EQ(listener.Count("Lumivex Chroma Changed"), 0) << name;
        });
    }
    Quit();
    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(sim::ui::DialogRuns().size(), 3u);
}

TEST(EditSession, CompanionAnnouncementsReloadAnOpenVideoDialog) {
    Machine machine;
    machine.desktop = Target{"1", "0", "0", "9 9 9", "0 0 0"};
    machine.video = Target{"1", "0", "0", "1 1 1", "0 0 0"};
    sim::others::CompanionPanel panel;

    OpenVideo();
    sim::script::Do("the panel changes the video's brightness", [&panel] {
        panel.WriteValue("CHROMA_PalBrightCtrls", "-5 6 -7");
        panel.AnnounceGammaChanged(); // either message reloads, whichever target is edited
    });
    Check("reloaded", [&panel] {
        EXPECT_EQ(ShownValues(Dialog()).boxes, "-5 6 -7");
        EXPECT_EQ(ShownValues(Dialog()).bars, "-5 6 -7");
        EXPECT_EQ(Board256(), ExpectedPalette({-5, 6, -7}, {0, 0, 0}, 256));
        EXPECT_EQ(Board32(), ExpectedPalette({9, 9, 9}, {0, 0, 0}, 32));
        // The dialog never answers the panel with an announcement of its own.
        EXPECT_EQ(panel.Heard("Lumivex Gamma Changed"), 0);
        EXPECT_EQ(panel.Heard("Lumivex Chroma Changed"), 0);
    });
    sim::script::Do("the panel switches the video off", [&panel] {
        panel.WriteValue("CHROMA_ON/OFF", "0");
        panel.AnnounceChromaChanged();
    });
    Check("reloaded off", [] {
        HWND d = Dialog();
        EXPECT_EQ(IsDlgButtonChecked(d, kOnOff), (UINT)BST_UNCHECKED);
        EXPECT_EQ(Arrows(d, kGreenBar), (UINT)ESB_DISABLE_BOTH);
        EXPECT_EQ(sim::TheBoard().VideoSource(), 0);
        EXPECT_EQ(sim::TheBoard().DesktopSource(), 2);
        EXPECT_EQ(Tip(), "Gamma is ON ; Video  Gamma is OFF");
    });
    sim::script::PressButton(IDOK);
    Quit();

    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(panel.Heard("Lumivex Chroma Changed"), 1);
    EXPECT_EQ(panel.Heard("Lumivex Gamma Changed"), 0);
    EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_ON/OFF"), "0");
    EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_PalBrightCtrls"), "-5 6 -7");
}

TEST(EditSession, PaletteModeEndsAnOpenDialogAsOk) {
    Machine machine;
    machine.video = Target{"1", "0", "0", "1 2 3", "0 0 0"};
    sim::others::BroadcastListener listener;
    std::string palettes;
    uint8_t control = 0;

    OpenVideo();
    sim::script::Scroll(kRedBar, SB_LINERIGHT);
    sim::script::Do([&] {
        palettes = Board256() + Board32();
        control = sim::TheBoard().PaletteControl();
    });
    sim::script::ChangeDisplayMode(8);
    Check("ended as OK", [&] {
        EXPECT_EQ(sim::ui::ActiveDialog(), nullptr);
        ASSERT_EQ(sim::ui::DialogRuns().size(), 1u);
        EXPECT_TRUE(sim::ui::DialogRuns()[0].ended);
        EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_PalBrightCtrls"), "2 2 3");
        EXPECT_EQ(listener.Count("Lumivex Chroma Changed"), 1);
        EXPECT_EQ(dialogOpen, 0);
        EXPECT_EQ(colorDepth, 8);
        // The change itself leaves the hardware alone.
        EXPECT_EQ(Board256() + Board32(), palettes);
        EXPECT_EQ(sim::TheBoard().PaletteControl(), control);
    });
    // Both correction commands now refuse.
    OpenDesktop();
    sim::script::AnswerMessageBox(IDOK);
    OpenVideo();
    sim::script::AnswerMessageBox(IDOK);
    Quit();

    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(sim::ui::DialogRuns().size(), 1u);
    ASSERT_EQ(sim::msgbox::Shown().size(), 2u);
    EXPECT_EQ(sim::msgbox::Shown()[0].text,
              "Desktop Gamma Correction is NOT AVAILABLE in 256 Color Mode.");
    EXPECT_EQ(sim::msgbox::Shown()[1].text,
              "Video Gamma Correction is NOT AVAILABLE in 256 Color Mode.");
}

TEST(EditSession, DeeperModeKeepsTheVideoDialogEditingTheVideo) {
    Machine machine;
    machine.desktop = Target{"1", "0", "0", "-1 -2 -3", "0 0 0"};
    machine.video = Target{"1", "0", "0", "4 5 6", "0 0 0"};
    sim::others::BroadcastListener listener;
    const std::string desktopAt24 = ExpectedPalette({-1, -2, -3}, {0, 0, 0}, 256);

    OpenVideo();
    sim::script::ChangeDisplayMode(24);
    Check("still open, palettes swapped", [&] {
        HWND d = Dialog();
        EXPECT_EQ(sim::ui::WindowText(d), "Video Chroma Correction");
        EXPECT_EQ(activeTarget, Video);
        EXPECT_EQ(dialogOpen, 1);
        EXPECT_EQ(Board256(), desktopAt24);
        EXPECT_EQ(Board32(), ExpectedPalette({4, 5, 6}, {0, 0, 0}, 32));
        EXPECT_EQ(sim::TheBoard().DesktopSource(), 1);
        EXPECT_EQ(sim::TheBoard().VideoSource(), 2);
    });
    sim::script::Scroll(kRedBar, SB_LINERIGHT);
    Check("the edit reaches the video's new palette", [&] {
        EXPECT_EQ(Board32(), ExpectedPalette({5, 5, 6}, {0, 0, 0}, 32));
        EXPECT_EQ(Board256(), desktopAt24);
    });
    sim::script::PressButton(IDOK);
    Quit();

    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(Stored(kCorrectionKey, "CHROMA_PalBrightCtrls"), "5 5 6");
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalBrightCtrls"), "-1 -2 -3");
    EXPECT_EQ(listener.Count("Lumivex Chroma Changed"), 1);
    EXPECT_EQ(listener.Count("Lumivex Gamma Changed"), 0);
}

} // namespace
