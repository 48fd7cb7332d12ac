// The correction dialog's controls: what they show at opening, the scroll
// bars and edit boxes with and without the lock, Reset and the two radio
// buttons. Each round opens the Desktop dialog on a stored target at 16 bits
// per pixel, where the desktop goes through the 32-entry palette.
#include "tests/tray/extra_strings.h"
#include "tests/tray/session.h"

namespace {

using namespace session;

UINT Arrows(HWND dialog, int bar) {
    return sim::ui::ScrollBarArrows(GetDlgItem(dialog, bar));
}

// Text put into a box at once, as a paste does, with the change notification
// the box then sends.
std::function<void()> Paste(int box, std::string text) {
    return [box, text] {
        sim::script::Do("paste " + text, [box, text] {
            HWND d = Dialog();
            HWND edit = GetDlgItem(d, box);
            SetWindowText(edit, text.c_str());
            SendMessage(d, WM_COMMAND, MAKEWPARAM(box, EN_CHANGE), (LPARAM)edit);
        });
    };
}

// One round: the stored desktop target, what the user does, and what the
// dialog, the settings and the board show afterwards.
struct Round {
    std::string name;
    Target stored;
    std::function<void()> act;
    std::string boxes;
    std::string bars;
    ChannelTriple brightness;
    ChannelTriple contrast;
};

// Runs the rounds in one session, each in a dialog of its own that the user
// then cancels.
void RunRounds(const std::vector<Round>& rounds) {
    for (const Round& r : rounds) {
        sim::script::Do([r] { StoreTarget("GAMMA_", r.stored); });
        OpenDesktop();
        r.act();
        Check(r.name, [r] {
            HWND d = Dialog();
            Shown shown = ShownValues(d);
            EXPECT_EQ(shown.boxes, r.boxes) << r.name;
            EXPECT_EQ(shown.bars, r.bars) << r.name;
            EXPECT_EQ(TripleText(TargetBrightness(Desktop)), TripleText(&r.brightness)) << r.name;
            EXPECT_EQ(TripleText(TargetContrast(Desktop)), TripleText(&r.contrast)) << r.name;
            // Written whether the target is on or off; the source says which.
            EXPECT_EQ(Board32(), ExpectedPalette(r.brightness, r.contrast, 32)) << r.name;
            EXPECT_EQ(sim::TheBoard().DesktopSource(), r.stored.on == "1" ? 2 : 0) << r.name;
        });
        sim::script::PressButton(IDCANCEL);
    }
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
    EXPECT_EQ(sim::ui::DialogRuns().size(), rounds.size());
}

std::function<void()> Scroll(int bar, int code, int position = 0) {
    return [=] { sim::script::Scroll(bar, code, position); };
}

TEST(DialogOpening, ShowsTheStoredTargetOrNothingWhenItIsOff) {
    struct Case {
        const char* name;
        Target stored;
        std::string boxes, bars;
        UINT arrows;
        int radio; // the checked one
        int source;
    };
    const Case cases[] = {
        {"on, brightness",
         {"1", "0", "0", "5 -3 0", "9 9 9"},
         "5 -3 0",
         "5 -3 0",
         ESB_ENABLE_BOTH,
         kBrightness,
         2},
        {"on, contrast",
         {"1", "0", "1", "5 -3 0", "9 8 7"},
         "9 8 7",
         "9 8 7",
         ESB_ENABLE_BOTH,
         kContrast,
         2},
        {"off",
         {"0", "0", "0", "5 -3 0", "9 9 9"},
         "  ",
         "0 0 0",
         ESB_DISABLE_BOTH,
         kBrightness,
         0},
    };
    for (const Case& c : cases) {
        sim::script::Do([c] {
            StoreTarget("GAMMA_", c.stored);
            // Left routed through "3" by someone else: an off target is set to none.
            sim::TheBoard().SetPaletteControl(0x13);
        });
        OpenDesktop();
        Check(c.name, [c] {
            HWND d = Dialog();
            EXPECT_EQ(ShownValues(d).boxes, c.boxes) << c.name;
            EXPECT_EQ(ShownValues(d).bars, c.bars) << c.name;
            for (int bar : {kRedBar, kGreenBar, kBlueBar}) {
                EXPECT_EQ(Arrows(d, bar), c.arrows) << c.name;
            }
            EXPECT_EQ(IsDlgButtonChecked(d, c.radio), (UINT)BST_CHECKED) << c.name;
            EXPECT_EQ(IsDlgButtonChecked(d, kBrightness + kContrast - c.radio), (UINT)BST_UNCHECKED)
                << c.name;
            EXPECT_EQ(IsDlgButtonChecked(d, kOnOff), c.stored.on == "1" ? 1u : 0u) << c.name;
            EXPECT_EQ(sim::TheBoard().DesktopSource(), c.source) << c.name;
        });
        sim::script::PressButton(IDCANCEL);
    }
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
}

TEST(DialogOpening, TextsFromTheStringTableCutToTheirBuffers) {
    struct Case {
        LANGID language;
        std::string onOff, brightness, contrast;
    };
    const Case cases[] = {
        {1033, "ON/OFF", "Brightness", "Contrast"},
        {1031, "EIN/AUS", "Helligkeit", "Kontrast"},
        // 9 characters of each state and 19 of each radio text.
        {kExtraLanguage, "ONONONONO/OFFOFFOFF", std::string(19, 'B'), std::string(19, 'C')},
    };
    AddStringTable({{3, "ONONONONONON"},
                    {4, "OFFOFFOFFOFF"},
                    {12, std::string(30, 'B')},
                    {13, std::string(20, 'C')}});
    for (const Case& c : cases) {
        Machine machine;
        machine.language = c.language;
        OpenDesktop();
        Check("texts", [c] {
            HWND d = Dialog();
            EXPECT_EQ(sim::ui::ControlText(d, kOnOff), c.onOff);
            EXPECT_EQ(sim::ui::ControlText(d, kBrightness), c.brightness);
            EXPECT_EQ(sim::ui::ControlText(d, kContrast), c.contrast);
        });
        sim::script::PressButton(IDOK);
        Quit();
        EXPECT_EQ(Start(machine), 0);
    }
}

TEST(DialogOpening, AtTheStoredPositionMovedInFromTheRightAndBottom) {
    struct Case {
        const char* stored;
        LONG left, top;
    };
    // The screen is 1024 x 768.
    const Case cases[] = {{"100 120", 100, 120}, {"2000 2000", 904, 678}, {"-30 5", -30, 5}};
    for (const Case& c : cases) {
        sim::script::Do(
            [c] { sim::registry::SetString(kUtilityKey, "Dialog Position", c.stored); });
        OpenVideo();
        Check(c.stored, [c] {
            RECT rect{};
            GetWindowRect(Dialog(), &rect);
            EXPECT_EQ(rect.left, c.left) << c.stored;
            EXPECT_EQ(rect.top, c.top) << c.stored;
        });
        sim::script::PressButton(IDOK);
        Check(c.stored, [c] {
            EXPECT_EQ(Stored(kUtilityKey, "Dialog Position"),
                      std::to_string(c.left) + " " + std::to_string(c.top));
        });
    }
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
}

TEST(DialogScrollBars, StepsOfEveryCodeWithAndWithoutTheLock) {
    const Target locked{"1", "1", "0", "60 0 -64"};
    const Target spread{"1", "1", "0", "0 10 20"};
    const Target free{"1", "0", "0", "1 2 3"};
    RunRounds({
        {"lock, line right",
         locked,
         Scroll(kGreenBar, SB_LINERIGHT),
         "61 1 -63",
         "61 1 -63",
         {61, 1, -63},
         {0, 0, 0}},
        {"lock, line left",
         locked,
         Scroll(kRedBar, SB_LINELEFT),
         "59 -1 -64",
         "59 -1 -64",
         {59, -1, -64},
         {0, 0, 0}},
        // Each channel is clamped on its own: the distances are not kept.
        {"lock, page right",
         locked,
         Scroll(kBlueBar, SB_PAGERIGHT),
         "64 10 -54",
         "64 10 -54",
         {64, 10, -54},
         {0, 0, 0}},
        {"lock, page left",
         locked,
         Scroll(kRedBar, SB_PAGELEFT),
         "50 -10 -64",
         "50 -10 -64",
         {50, -10, -64},
         {0, 0, 0}},
        {"lock, thumb dragged",
         spread,
         Scroll(kRedBar, SB_THUMBTRACK, -20),
         "-20 -10 0",
         "-20 -10 0",
         {-20, -10, 0},
         {0, 0, 0}},
        {"lock, thumb released",
         spread,
         Scroll(kBlueBar, SB_THUMBPOSITION, 64),
         "44 54 64",
         "44 54 64",
         {44, 54, 64},
         {0, 0, 0}},
        {"lock, left end",
         locked,
         Scroll(kGreenBar, SB_LEFT),
         "-4 -64 -64",
         "-4 -64 -64",
         {-4, -64, -64},
         {0, 0, 0}},
        {"lock, right end",
         locked,
         Scroll(kRedBar, SB_RIGHT),
         "64 4 -60",
         "64 4 -60",
         {64, 4, -60},
         {0, 0, 0}},
        {"no lock, line right",
         free,
         Scroll(kBlueBar, SB_LINERIGHT),
         "1 2 4",
         "1 2 4",
         {1, 2, 4},
         {0, 0, 0}},
        {"no lock, page right at 58",
         {"1", "0", "0", "0 58 0"},
         Scroll(kGreenBar, SB_PAGERIGHT),
         "0 64 0",
         "0 64 0",
         {0, 64, 0},
         {0, 0, 0}},
        {"no lock, line left at -64",
         {"1", "0", "0", "-64 5 5"},
         Scroll(kRedBar, SB_LINELEFT),
         "-64 5 5",
         "-64 5 5",
         {-64, 5, 5},
         {0, 0, 0}},
        {"no lock, page left",
         free,
         Scroll(kRedBar, SB_PAGELEFT),
         "-9 2 3",
         "-9 2 3",
         {-9, 2, 3},
         {0, 0, 0}},
        {"no lock, thumb dragged",
         free,
         Scroll(kBlueBar, SB_THUMBTRACK, -30),
         "1 2 -30",
         "1 2 -30",
         {1, 2, -30},
         {0, 0, 0}},
        {"no lock, left end",
         free,
         Scroll(kGreenBar, SB_LEFT),
         "1 -64 3",
         "1 -64 3",
         {1, -64, 3},
         {0, 0, 0}},
        {"no lock, right end",
         free,
         Scroll(kRedBar, SB_RIGHT),
         "64 2 3",
         "64 2 3",
         {64, 2, 3},
         {0, 0, 0}},
        // The contrast triple when contrast is shown.
        {"contrast, lock",
         {"1", "1", "1", "1 2 3", "-5 0 5"},
         Scroll(kGreenBar, SB_PAGELEFT),
         "-15 -10 -5",
         "-15 -10 -5",
         {1, 2, 3},
         {-15, -10, -5}},
    });
}

TEST(DialogScrollBars, EndOfScrollingAndUnknownCodesChangeNothing) {
    // The cleared box would show a 0 again, and the palette would be written,
    // if these codes were taken as a step of 0.
    auto codes = [] {
        sim::script::ClearText(kGreenBox);
        sim::script::Do("codes from 8 up", [] {
            HWND d = Dialog();
            size_t accesses = sim::TheBoard().Trace().size();
            for (WORD code : {(WORD)SB_ENDSCROLL, (WORD)9, (WORD)0xFFFF}) {
                for (int bar : {kRedBar, kGreenBar}) {
                    SendMessage(d, WM_HSCROLL, MAKEWPARAM(code, 30), (LPARAM)GetDlgItem(d, bar));
                }
            }
            EXPECT_EQ(sim::TheBoard().Trace().size(), accesses);
        });
    };
    RunRounds(
        {{"no lock", {"1", "0", "0", "7 8 9"}, codes, "7  9", "7 0 9", {7, 0, 9}, {0, 0, 0}},
         {"lock", {"1", "1", "0", "7 8 9"}, codes, "-1  1", "-1 0 1", {-1, 0, 1}, {0, 0, 0}}});
}

TEST(DialogEditBoxes, TypedValuesWithAndWithoutTheLock) {
    auto type = [](int box, std::string text) {
        return [box, text] { sim::script::ReplaceText(box, text); };
    };
    RunRounds({
        {"lock, 5 into red",
         {"1", "1", "0", "0 0 0"},
         type(kRedBox, "5"),
         "5 5 5",
         "5 5 5",
         {5, 5, 5},
         {0, 0, 0}},
        {"lock, 70 into blue",
         {"1", "1", "0", "60 60 60"},
         type(kBlueBox, "70"),
         "64 64 64",
         "64 64 64",
         {64, 64, 64},
         {0, 0, 0}},
        {"no lock, 100 into red",
         {"1", "0", "0", "1 2 3"},
         type(kRedBox, "100"),
         "64 2 3",
         "64 2 3",
         {64, 2, 3},
         {0, 0, 0}},
        {"no lock, -7 into green",
         {"1", "0", "0", "1 2 3"},
         type(kGreenBox, "-7"),
         "1 -7 3",
         "1 -7 3",
         {1, -7, 3},
         {0, 0, 0}},
        // A cleared box reads as 0 and stays empty.
        {"lock, green cleared",
         {"1", "1", "0", "10 20 30"},
         [] { sim::script::ClearText(kGreenBox); },
         "-10  10",
         "-10 0 10",
         {-10, 0, 10},
         {0, 0, 0}},
        {"no lock, green cleared",
         {"1", "0", "0", "10 20 30"},
         [] { sim::script::ClearText(kGreenBox); },
         "10  30",
         "10 0 30",
         {10, 0, 30},
         {0, 0, 0}},
        {"lock, junk into red",
         {"1", "1", "0", "10 20 30"},
         type(kRedBox, "abc"),
         "abc 10 20",
         "0 10 20",
         {0, 10, 20},
         {0, 0, 0}},
        {"no lock, 99999999999 typed",
         {"1", "0", "0", "1 2 3"},
         type(kRedBox, "99999999999"),
         "64 2 3",
         "64 2 3",
         {64, 2, 3},
         {0, 0, 0}},
        {"lock, 99999999999 typed",
         {"1", "1", "0", "1 2 3"},
         type(kRedBox, "99999999999"),
         "64 64 64",
         "64 64 64",
         {64, 64, 64},
         {0, 0, 0}},
        // Beyond the 32-bit range the box reads as 0, as junk does.
        {"lock, 99999999999 pasted",
         {"1", "1", "0", "10 20 30"},
         Paste(kRedBox, "99999999999"),
         "99999999999 10 20",
         "0 10 20",
         {0, 10, 20},
         {0, 0, 0}},
        {"lock, the 32-bit minimum pasted",
         {"1", "1", "0", "64 64 64"},
         Paste(kRedBox, "-2147483648"),
         "-64 -64 -64",
         "-64 -64 -64",
         {-64, -64, -64},
         {0, 0, 0}},
        {"lock, the 32-bit maximum pasted",
         {"1", "1", "0", "-64 0 64"},
         Paste(kBlueBox, "2147483647"),
         "64 64 64",
         "64 64 64",
         {64, 64, 64},
         {0, 0, 0}},
        // Off at opening, the boxes are empty: the red box (read as 0) is the
        // first to differ from the stored 10, so red sets the step, not blue.
        {"lock, target off, 5 into blue",
         {"0", "1", "0", "10 20 30"},
         type(kBlueBox, "5"),
         " -10 -5",
         "0 -10 -5",
         {0, -10, -5},
         {0, 0, 0}},
        {"no lock, target off, 5 into blue",
         {"0", "0", "0", "10 20 30"},
         type(kBlueBox, "5"),
         "  5",
         "0 0 5",
         {0, 0, 5},
         {0, 0, 0}},
        {"contrast, lock",
         {"1", "1", "1", "1 2 3", "0 0 0"},
         type(kGreenBox, "-3"),
         "-3 -3 -3",
         "-3 -3 -3",
         {1, 2, 3},
         {-3, -3, -3}},
    });
}

TEST(DialogReset, SetsTheShownTripleToZeroWhateverTheLockAndOnOff) {
    auto reset = [] { sim::script::PressButton(kReset); };
    RunRounds({
        {"contrast, on, no lock",
         {"1", "0", "1", "5 6 7", "8 9 10"},
         reset,
         "0 0 0",
         "0 0 0",
         {5, 6, 7},
         {0, 0, 0}},
        {"contrast, off, lock",
         {"0", "1", "1", "5 6 7", "8 9 10"},
         reset,
         "0 0 0",
         "0 0 0",
         {5, 6, 7},
         {0, 0, 0}},
        {"brightness, on, lock",
         {"1", "1", "0", "5 6 7", "8 9 10"},
         reset,
         "0 0 0",
         "0 0 0",
         {0, 0, 0},
         {8, 9, 10}},
    });
}

TEST(DialogRadioButtons, SwitchTheShownTripleOnlyWhenTheTargetIsOn) {
    auto toContrast = [] { sim::script::PressButton(kContrast); };
    auto andBack = [] {
        sim::script::PressButton(kContrast);
        sim::script::PressButton(kBrightness);
    };
    RunRounds({
        {"on, to contrast",
         {"1", "0", "0", "5 6 7", "8 9 10"},
         toContrast,
         "8 9 10",
         "8 9 10",
         {5, 6, 7},
         {8, 9, 10}},
        {"on, and back",
         {"1", "0", "0", "5 6 7", "8 9 10"},
         andBack,
         "5 6 7",
         "5 6 7",
         {5, 6, 7},
         {8, 9, 10}},
        {"off, to contrast",
         {"0", "0", "0", "5 6 7", "8 9 10"},
         toContrast,
         "  ",
         "0 0 0",
         {5, 6, 7},
         {8, 9, 10}},
    });
}

TEST(DialogRadioButtons, TheTypeFollowsTheButtonAndIsSavedWithTheTargetOff) {
    Machine machine;
    machine.desktop = Target{"0", "0", "0", "5 6 7", "8 9 10"};
    OpenDesktop();
    sim::script::PressButton(kContrast);
    Check("contrast chosen", [] {
        EXPECT_EQ(correctionSettings.targets[Desktop].correctionType, Contrast);
        EXPECT_EQ(IsDlgButtonChecked(Dialog(), kContrast), (UINT)BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(Dialog(), kBrightness), (UINT)BST_UNCHECKED);
    });
    sim::script::PressButton(IDOK);
    Quit();
    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_CorrectionType"), "1");
    EXPECT_EQ(Stored(kCorrectionKey, "GAMMA_ON/OFF"), "0");
}

} // namespace
