// Stored values that only another program can have written: on, lock and
// correctionType outside 0..1. The dialog must neither index with them nor
// lose them where the user did not touch them.
#include "tests/tray/session.h"

namespace {

using namespace session;

TEST(DialogBadInput, OnAndLockOtherThanZeroShowCheckedAndReadBackAsOne) {
    for (const char* stored : {"5", "-1", "99999999999"}) {
        SCOPED_TRACE(stored);
        Machine machine;
        machine.desktop = Target{stored, stored, "0", "1 2 3", "4 5 6"};
        OpenDesktop();
        Check("settled", [] {
            HWND d = Dialog();
            EXPECT_EQ(IsDlgButtonChecked(d, kOnOff), (UINT)BST_CHECKED);
            EXPECT_EQ(IsDlgButtonChecked(d, kLock), (UINT)BST_CHECKED);
            // The posted commands read the boxes back.
            EXPECT_EQ(correctionSettings.targets[Desktop].on, 1);
            EXPECT_EQ(correctionSettings.targets[Desktop].lock, 1);
            EXPECT_EQ(ShownValues(d).boxes, "1 2 3");
            EXPECT_EQ(sim::TheBoard().DesktopSource(), 2);
            EXPECT_EQ(Tip(), "Gamma is ON ; Video  Gamma is OFF");
        });
        // The lock works as a lock.
        sim::script::Scroll(kRedBar, SB_LINERIGHT);
        Check("locked step", [] {
            EXPECT_EQ(ShownValues(Dialog()).bars, "2 3 4");
            EXPECT_EQ(Board32(), ExpectedPalette({2, 3, 4}, {4, 5, 6}, 32));
        });
        sim::script::PressButton(IDOK);
        Quit();
        EXPECT_EQ(Start(machine), 0);
        EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_ON/OFF"), "1");
        EXPECT_EQ(Stored(kUtilityKey, "GAMMA_LOCK"), "1");
    }
}

TEST(DialogBadInput, CancelKeepsAStoredOnOfFive) {
    Machine machine;
    machine.desktop = Target{"5", "0", "0", "1 2 3"};
    OpenDesktop();
    sim::script::Scroll(kRedBar, SB_PAGERIGHT);
    sim::script::PressButton(IDCANCEL);
    Check("after", [] {
        EXPECT_EQ(sim::TheBoard().DesktopSource(), 2);
        EXPECT_EQ(Tip(), "Gamma is ON ; Video  Gamma is OFF");
        EXPECT_EQ(Board32(), ExpectedPalette({1, 2, 3}, {0, 0, 0}, 32));
    });
    Quit();
    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_ON/OFF"), "5");
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalBrightCtrls"), "1 2 3");
}

TEST(DialogBadInput, ACorrectionTypeOutsideTheTwoShowsAndStoresNoTriple) {
    // Every control is worked; the triples stay as stored and so does the
    // palette, until the user picks a type.
    for (const char* type : {"7", "-1", "2"}) {
        SCOPED_TRACE(type);
        for (const char* lock : {"0", "1"}) {
            Machine machine;
            machine.desktop = Target{"1", lock, type, "1 2 3", "4 5 6"};
            const std::string palette = ExpectedPalette({1, 2, 3}, {4, 5, 6}, 32);
            auto unchanged = [palette](const char* what) {
                Check(what, [palette, what] {
                    EXPECT_EQ(TripleText(TargetBrightness(Desktop)), "1 2 3") << what;
                    EXPECT_EQ(TripleText(TargetContrast(Desktop)), "4 5 6") << what;
                    EXPECT_EQ(Board32(), palette) << what;
                });
            };
            OpenDesktop();
            Check("opened", [] {
                HWND d = Dialog();
                EXPECT_EQ(IsDlgButtonChecked(d, kBrightness), (UINT)BST_UNCHECKED);
                EXPECT_EQ(IsDlgButtonChecked(d, kContrast), (UINT)BST_UNCHECKED);
                EXPECT_EQ(ShownValues(d).boxes, "  ");
                EXPECT_EQ(sim::TheBoard().DesktopSource(), 2);
            });
            unchanged("opened");
            sim::script::Scroll(kRedBar, SB_PAGERIGHT);
            unchanged("scrolled");
            sim::script::ReplaceText(kGreenBox, "70");
            unchanged("typed");
            sim::script::PressButton(kReset);
            unchanged("reset");
            sim::script::ToggleCheckBox(kOnOff);
            sim::script::ToggleCheckBox(kOnOff);
            unchanged("off and on");
            sim::script::PressButton(IDOK);
            // Cancel on a second opening puts the type back as it was stored.
            OpenDesktop();
            sim::script::PressButton(kContrast);
            Check("contrast picked", [] {
                EXPECT_EQ(ShownValues(Dialog()).boxes, "4 5 6");
                EXPECT_EQ(correctionSettings.targets[Desktop].correctionType, 1);
            });
            sim::script::PressButton(IDCANCEL);
            Quit();
            EXPECT_EQ(Start(machine), 0);
            EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_CorrectionType"), type);
            EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalBrightCtrls"), "1 2 3");
            EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_PalContrastCtrls"), "4 5 6");
            EXPECT_EQ(correctionSettings.targets[Desktop].correctionType, atoi(type));
        }
    }
}

} // namespace
