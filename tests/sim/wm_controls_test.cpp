// The controls of dialog templates: edit boxes and their notifications, auto
// check boxes and radio buttons, scroll bars, and the dialog-item helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/script.h"
#include "platform/sim/ui.h"
#include "tests/sim/wm_support.h"

namespace {

using namespace wmtest;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int kMultiLine = 1029;
constexpr int kSingleLine = 1040;
constexpr int kRed = 1025;
constexpr int kCheck = 1004;
constexpr int kBrightness = 1009;
constexpr int kContrast = 1010;
constexpr int kPlainCheck = 1050;

// A dialog in the manner of a correction dialog: the procedure's behaviour
// comes from the test, and it ends with Cancel.
std::vector<BYTE> ControlsTemplate() {
    return BuildTemplate(
        kDialogStyle, 187, 100, u"Controls",
        {
            {kChild | WS_TABSTOP | BS_OWNERDRAW, 76, 78, 50, 14, IDCANCEL, kButton, u"Cancel"},
            {kChild | SBS_HORZ, 24, 19, 129, 10, kRed, kScrollBar},
            {kChild | WS_GROUP | SS_RIGHT, 13, 20, 8, 8, 0xFFFF, kStatic, u"R"},
            {kChild | BS_GROUPBOX, 20, 55, 151, 19, 0xFFFF, kButton},
            {kChild | BS_AUTORADIOBUTTON, 34, 61, 49, 10, kBrightness, kButton},
            {kChild | BS_AUTORADIOBUTTON, 114, 61, 50, 10, kContrast, kButton},
            {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 34, 3, 56, 10, kCheck, kButton},
            {kChild | WS_TABSTOP | BS_CHECKBOX, 100, 3, 30, 10, kPlainCheck, kButton},
            {kChild | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_CENTER, 156, 18, 17, 12,
             kMultiLine, kEdit},
            {kChild | WS_BORDER | WS_TABSTOP, 156, 31, 17, 12, kSingleLine, kEdit},
        });
}

// Runs the dialog with `onInit` at WM_INITDIALOG and `onCommand` for every
// command; Cancel ends it.
void RunControls(const std::function<void(HWND)>& onInit,
                 const std::function<void(HWND, int, int)>& onCommand) {
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) {
            onInit(dialog);
            return TRUE;
        }
        if (m == WM_COMMAND) {
            onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        }
        return FALSE;
    };
    sim::script::PressButton(IDCANCEL);
    ASSERT_EQ(DialogBoxIndirectParam(sim::ModuleInstance(), AsTemplate(ControlsTemplate()), nullptr,
                                     HandlerDialogProc, 0),
              IDCANCEL);
}

// What the program reads at each EN_CHANGE of a box.
struct Changes {
    std::vector<std::string> texts;
    void Record(HWND dialog, int id, int code, int watched) {
        if (id == watched && code == EN_CHANGE) {
            char buffer[64];
            GetDlgItemText(dialog, id, buffer, sizeof buffer);
            texts.push_back(buffer);
        }
    }
};

TEST(EditControl, TheProgramSettingAMultiLineBoxsTextRaisesNoChangeTypingDoes) {
    Changes multi, single;
    RunControls(
        [](HWND dialog) {
            SetDlgItemInt(dialog, kMultiLine, static_cast<UINT>(-3), TRUE);
            SetDlgItemText(dialog, kSingleLine, "x");
        },
        [&](HWND dialog, int id, int code) {
            multi.Record(dialog, id, code, kMultiLine);
            single.Record(dialog, id, code, kSingleLine);
            // The program's own writes from inside a notification raise none.
            if (id == kMultiLine && code == EN_CHANGE) {
                SetDlgItemInt(dialog, kMultiLine, GetDlgItemInt(dialog, kMultiLine, nullptr, TRUE),
                              TRUE);
            }
        });
    EXPECT_TRUE(multi.texts.empty());
    ASSERT_EQ(single.texts.size(), 1u);
    EXPECT_EQ(single.texts[0], "x");
}

TEST(EditControl, EveryKeystrokeRaisesOneChange) {
    struct Case {
        const char* name;
        std::function<void()> type;
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {"typed after the text",
         [] { sim::script::TypeText(kMultiLine, "12"); },
         {"-311", "-3112"}},
        {"typed over the whole text", [] { sim::script::ReplaceText(kMultiLine, "5"); }, {"5"}},
        {"Backspace", [] { sim::script::TypeText(kMultiLine, "\b\b\b\b"); }, {"-3", "-", ""}},
        {"cleared", [] { sim::script::ClearText(kMultiLine); }, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Changes changes;
        c.type();
        RunControls(
            [](HWND dialog) { SetDlgItemText(dialog, kMultiLine, "-31"); },
            [&](HWND dialog, int id, int code) { changes.Record(dialog, id, code, kMultiLine); });
        EXPECT_EQ(changes.texts, c.seen);
    }
}

TEST(Buttons, AutoCheckBoxesAndRadioButtonsChangeOnClickOthersOnlyNotify) {
    std::vector<int> clicked;
    std::vector<std::vector<UINT>> states;
    auto snapshot = [&states](HWND dialog) {
        states.push_back(
            {IsDlgButtonChecked(dialog, kCheck), IsDlgButtonChecked(dialog, kPlainCheck),
             IsDlgButtonChecked(dialog, kBrightness), IsDlgButtonChecked(dialog, kContrast)});
    };
    sim::script::ToggleCheckBox(kCheck);
    sim::script::PressButton(kContrast);
    sim::script::ToggleCheckBox(kPlainCheck);
    sim::script::PressButton(kBrightness);
    sim::script::PressButton(kBrightness); // an already checked radio button
    sim::script::ToggleCheckBox(kCheck);
    RunControls(
        [&](HWND dialog) {
            CheckRadioButton(dialog, kBrightness, kContrast, kBrightness);
            snapshot(dialog);
        },
        [&](HWND dialog, int id, int code) {
            if (code == BN_CLICKED && id != IDCANCEL) {
                clicked.push_back(id);
                snapshot(dialog);
            }
        });
    std::vector<int> expectedClicks = {kCheck,      kContrast,   kPlainCheck,
                                       kBrightness, kBrightness, kCheck};
    EXPECT_EQ(clicked, expectedClicks);
    // Auto check box, plain check box, Brightness, Contrast.
    std::vector<std::vector<UINT>> expected = {
        {0, 0, 1, 0}, {1, 0, 1, 0}, {1, 0, 0, 1}, {1, 0, 0, 1},
        {1, 0, 1, 0}, {1, 0, 1, 0}, {0, 0, 1, 0},
    };
    EXPECT_EQ(states, expected);
}

TEST(Buttons, SetImageReturnsThePreviousImageOfItsType) {
    RunControls(
        [](HWND dialog) {
            HWND lock = GetDlgItem(dialog, kCheck);
            auto first = static_cast<LPARAM>(0x1234);
            auto second = static_cast<LPARAM>(0x5678);
            EXPECT_EQ(SendMessage(lock, BM_SETIMAGE, IMAGE_BITMAP, first), 0);
            EXPECT_EQ(SendMessage(lock, BM_SETIMAGE, IMAGE_BITMAP, second), first);
            EXPECT_EQ(SendMessage(lock, BM_GETIMAGE, IMAGE_BITMAP, 0), second);
            EXPECT_EQ(SendMessage(lock, BM_GETIMAGE, IMAGE_ICON, 0), 0);
        },
        [](HWND, int, int) {});
}

TEST(ScrollBar, ThePositionStaysInsideTheRange) {
    RunControls(
        [](HWND dialog) {
            HWND bar = GetDlgItem(dialog, kRed);
            int low = 1, high = 1;
            GetScrollRange(bar, SB_CTL, &low, &high);
            EXPECT_EQ(low, 0); // a new scroll bar control has an empty range
            EXPECT_EQ(high, 0);
            EXPECT_TRUE(SetScrollRange(bar, SB_CTL, -64, 64, FALSE));
            struct Step {
                int set;
                int expected;
            };
            for (Step s :
                 {Step{5, 5}, Step{-64, -64}, Step{65, 64}, Step{-100, -64}, Step{1000000, 64}}) {
                int before = GetScrollPos(bar, SB_CTL);
                EXPECT_EQ(SetScrollPos(bar, SB_CTL, s.set, TRUE), before);
                EXPECT_EQ(GetScrollPos(bar, SB_CTL), s.expected) << s.set;
            }
            // A narrower range pulls the position in.
            SetScrollRange(bar, SB_CTL, -10, 10, FALSE);
            EXPECT_EQ(GetScrollPos(bar, SB_CTL), 10);
            // A range wider than a LONG can span is refused and changes nothing.
            EXPECT_FALSE(SetScrollRange(bar, SB_CTL, -2000000000, 2000000000, FALSE));
            GetScrollRange(bar, SB_CTL, &low, &high);
            EXPECT_EQ(low, -10);
            EXPECT_EQ(high, 10);
        },
        [](HWND, int, int) {});
}

TEST(ScrollBar, EnableScrollBarReportsChangesAndDisabledArrowsIgnoreTheUser) {
    std::vector<std::pair<int, int>> scrolls; // code, signed position
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        HWND bar = GetDlgItem(dialog, kRed);
        switch (m) {
        case WM_INITDIALOG:
            SetScrollRange(bar, SB_CTL, -64, 64, FALSE);
            EXPECT_FALSE(EnableScrollBar(bar, SB_CTL, ESB_ENABLE_BOTH)); // already so
            EXPECT_TRUE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_BOTH));
            EXPECT_FALSE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_BOTH));
            return TRUE;
        case WM_HSCROLL:
            EXPECT_EQ(reinterpret_cast<HWND>(lParam), bar);
            scrolls.emplace_back(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return TRUE;
        case WM_COMMAND:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    };
    sim::script::Scroll(kRed, SB_LINERIGHT);
    sim::script::Scroll(kRed, SB_THUMBTRACK, -20);
    sim::script::Do("enable the right arrow only", [] {
        HWND bar = GetDlgItem(sim::ui::ActiveDialog(), kRed);
        EXPECT_TRUE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_LEFT));
        EXPECT_EQ(sim::ui::ScrollBarArrows(bar), static_cast<UINT>(ESB_DISABLE_LEFT));
    });
    sim::script::Scroll(kRed, SB_LINELEFT);
    sim::script::Scroll(kRed, SB_LINERIGHT);
    sim::script::Scroll(kRed, SB_THUMBPOSITION, -20);
    sim::script::PressEsc();
    DialogBoxIndirectParam(sim::ModuleInstance(), AsTemplate(ControlsTemplate()), nullptr,
                           HandlerDialogProc, 0);
    // Only the last two got through, each followed by SB_ENDSCROLL; the thumb
    // position travels as a signed 16-bit number.
    std::vector<std::pair<int, int>> expected = {
        {SB_LINERIGHT, 0}, {SB_ENDSCROLL, 0}, {SB_THUMBPOSITION, -20}, {SB_ENDSCROLL, 0}};
    EXPECT_EQ(scrolls, expected);
}

TEST(DialogItems, GetDlgItemIntReadsSignedDecimalsAndRefusesEverythingElse) {
    struct Case {
        const char* text;
        BOOL isSigned;
        UINT value;
        BOOL translated;
    };
    const Case cases[] = {
        {"5", TRUE, 5, TRUE},
        {"-64", TRUE, static_cast<UINT>(-64), TRUE},
        {"  12  ", TRUE, 12, TRUE},
        {"2147483647", TRUE, 2147483647u, TRUE},
        {"-2147483648", TRUE, 0x80000000u, TRUE},
        {"4294967295", FALSE, 4294967295u, TRUE},
        {"", TRUE, 0, FALSE},
        {"-", TRUE, 0, FALSE},
        {"abc", TRUE, 0, FALSE},
        {"12abc", TRUE, 0, FALSE},
        {"+5", TRUE, 0, FALSE},
        {"-1", FALSE, 0, FALSE},
        // Too large for the result: refused rather than wrapped.
        {"2147483648", TRUE, 0, FALSE},
        {"-2147483649", TRUE, 0, FALSE},
        {"99999999999", TRUE, 0, FALSE},
        {"4294967296", FALSE, 0, FALSE},
        {"99999999999999999999999999", TRUE, 0, FALSE},
    };
    RunControls(
        [&](HWND dialog) {
            for (const Case& c : cases) {
                SetDlgItemText(dialog, kMultiLine, c.text);
                BOOL translated = 7;
                EXPECT_EQ(GetDlgItemInt(dialog, kMultiLine, &translated, c.isSigned), c.value)
                    << c.text;
                EXPECT_EQ(translated, c.translated) << c.text;
            }
            // The success flag is optional.
            SetDlgItemText(dialog, kMultiLine, "junk");
            EXPECT_EQ(GetDlgItemInt(dialog, kMultiLine, nullptr, TRUE), 0u);
            // Written back as signed or unsigned decimal text.
            SetDlgItemInt(dialog, kMultiLine, static_cast<UINT>(-5), TRUE);
            EXPECT_EQ(sim::ui::ControlText(dialog, kMultiLine), "-5");
            SetDlgItemInt(dialog, kMultiLine, static_cast<UINT>(-5), FALSE);
            EXPECT_EQ(sim::ui::ControlText(dialog, kMultiLine), "4294967291");
        },
        [](HWND, int, int) {});
}

TEST(DialogItems, AnOverlongNumberTypedByTheUserReadsAsZero) {
    std::vector<std::pair<UINT, BOOL>> reads;
    sim::script::TypeText(kMultiLine, "99999999999");
    RunControls([](HWND) {},
                [&](HWND dialog, int id, int code) {
                    if (id == kMultiLine && code == EN_CHANGE) {
                        BOOL ok = FALSE;
                        UINT v = GetDlgItemInt(dialog, kMultiLine, &ok, TRUE);
                        reads.emplace_back(v, ok);
                    }
                });
    ASSERT_EQ(reads.size(), 11u);
    EXPECT_EQ(reads[8], std::make_pair(999999999u, TRUE));
    EXPECT_EQ(reads[9], std::make_pair(0u, FALSE));
    EXPECT_EQ(reads[10], std::make_pair(0u, FALSE));
}

} // namespace
