// Dialogs from templates: their geometry, initialisation, focus, showing and
// painting, and the keys and buttons that end them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/script.h"
#include "platform/sim/ui.h"
#include "tests/sim/wm_support.h"

namespace {

using namespace wmtest;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

INT_PTR RunDialog(const std::vector<BYTE>& bytes, HWND owner = nullptr) {
    return DialogBoxIndirectParam(sim::ModuleInstance(), AsTemplate(bytes), owner,
                                  HandlerDialogProc, 0);
}

// Dialog units become pixels through the font's base units, rounded as the
// platform's MulDiv rounds: MS Sans Serif 8 pt is 6 x 13, the system font
// (no DS_SETFONT) 8 x 16.
TEST(DialogGeometry, DialogUnitsBecomePixelsFromTheFontsBaseUnits) {
    struct Case {
        DWORD style;
        RECT control; // expected client rectangle of a control at 17, 78, 50, 14
        SIZE client;  // expected client size of a 187 x 100 dialog
    };
    const Case cases[] = {
        {kDialogStyle, RECT{26, 127, 26 + 75, 127 + 23}, SIZE{281, 163}},
        {kDialogStyle & ~DS_SETFONT, RECT{34, 156, 34 + 100, 156 + 28}, SIZE{374, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        RECT control{}, client{}, window{}, mapped{17, 78, 17 + 50, 78 + 14};
        DialogHandler() = [&](HWND dialog, UINT m, WPARAM, LPARAM) -> INT_PTR {
            if (m == WM_INITDIALOG) {
                HWND ok = GetDlgItem(dialog, IDOK);
                GetWindowRect(ok, &control);
                POINT topLeft{control.left, control.top},
                    bottomRight{control.right, control.bottom};
                ScreenToClient(dialog, &topLeft);
                ScreenToClient(dialog, &bottomRight);
                control = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
                GetClientRect(dialog, &client);
                GetWindowRect(dialog, &window);
                MapDialogRect(dialog, &mapped);
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        };
        RunDialog(BuildTemplate(c.style, 187, 100, u"Units",
                                {{kChild | BS_PUSHBUTTON, 17, 78, 50, 14, IDOK, kButton, u"OK"}}));
        EXPECT_EQ(control.left, c.control.left);
        EXPECT_EQ(control.top, c.control.top);
        EXPECT_EQ(control.right, c.control.right);
        EXPECT_EQ(control.bottom, c.control.bottom);
        EXPECT_EQ(mapped.left, c.control.left);
        EXPECT_EQ(mapped.bottom, c.control.bottom);
        EXPECT_EQ(client.right, c.client.cx);
        EXPECT_EQ(client.bottom, c.client.cy);
        // A modal frame of 3 pixels each side and a caption of 18.
        EXPECT_EQ(window.right - window.left, c.client.cx + 6);
        EXPECT_EQ(window.bottom - window.top, c.client.cy + 6 + 18);
    }
}

// Moving a dialog moves its controls with it; its size stays as given.
TEST(DialogGeometry, ControlsFollowTheirDialogWhenItMoves) {
    RECT before{}, after{}, dialogAfter{};
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) {
            HWND ok = GetDlgItem(dialog, IDOK);
            RECT d{};
            GetWindowRect(dialog, &d);
            GetWindowRect(ok, &before);
            MoveWindow(dialog, d.left + 100, d.top - 7, d.right - d.left, d.bottom - d.top, TRUE);
            GetWindowRect(ok, &after);
            GetWindowRect(dialog, &dialogAfter);
            after.left -= 100;
            after.right -= 100;
            after.top += 7;
            after.bottom += 7;
            dialogAfter.left -= d.left;
            dialogAfter.right -= d.left;
            dialogAfter.top -= d.top;
            dialogAfter.bottom -= d.top;
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    };
    RunDialog(BuildTemplate(kDialogStyle, 187, 100, u"Moved",
                            {{kChild | BS_PUSHBUTTON, 17, 78, 50, 14, IDOK, kButton, u"OK"}}));
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(dialogAfter.left, 100);
    EXPECT_EQ(dialogAfter.top, -7);
    EXPECT_EQ(dialogAfter.right - dialogAfter.left, 281 + 6);
    EXPECT_EQ(dialogAfter.bottom - dialogAfter.top, 163 + 6 + 18);
}

// The first tab stop that is visible and enabled, in template order.
std::vector<Control> TabOrderControls() {
    return {
        {kChild, 5, 5, 20, 10, 100, kStatic, u"label"},
        {kChild | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 5, 20, 20, 10, 101, kButton, u"off"},
        {kChild | WS_TABSTOP | ES_MULTILINE, 5, 35, 20, 10, 102, kEdit, u"text"},
        {kChild | WS_TABSTOP | BS_PUSHBUTTON, 5, 50, 20, 10, 103, kButton, u"next"},
    };
}

TEST(DialogInit, TrueGivesTheFocusToTheFirstTabStopFalseLeavesItToTheProcedure) {
    for (bool returnTrue : {true, false}) {
        SCOPED_TRACE(returnTrue);
        int wParamId = 0;
        int focusId = 0;
        DWORD selection = 0;
        DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM) -> INT_PTR {
            if (m == WM_INITDIALOG) {
                wParamId = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
                if (!returnTrue) {
                    SetFocus(GetDlgItem(dialog, 103));
                }
                PostMessage(dialog, WM_USER, 0, 0);
                return returnTrue ? TRUE : FALSE;
            }
            if (m == WM_USER) {
                focusId = GetDlgCtrlID(GetFocus());
                selection = static_cast<DWORD>(SendDlgItemMessage(dialog, 102, EM_GETSEL, 0, 0));
                EndDialog(dialog, 0);
            }
            return FALSE;
        };
        RunDialog(BuildTemplate(kDialogStyle, 100, 80, u"Focus", TabOrderControls()));
        EXPECT_EQ(wParamId, 102);
        EXPECT_EQ(focusId, returnTrue ? 102 : 103);
        if (returnTrue) {
            // The dialog manager selects the whole text of an edit box it focuses.
            EXPECT_EQ(selection, static_cast<DWORD>(MAKELONG(0, 4)));
        }
    }
}

// What happens between WM_INITDIALOG and the user's first action: messages the
// procedure posted run first, then the dialog appears and its owner-drawn
// buttons are painted, the one with the focus as focused.
TEST(DialogInit, PostedCommandsRunBeforeTheDialogAppearsAndIsPainted) {
    std::vector<std::string> events;
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        switch (m) {
        case WM_INITDIALOG:
            PostMessage(dialog, WM_COMMAND, 1004, 0);
            return TRUE;
        case WM_COMMAND:
            events.push_back("command " + std::to_string(LOWORD(wParam)) +
                             (IsWindowVisible(dialog) ? " shown" : " hidden"));
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        case WM_SHOWWINDOW:
            events.push_back("show");
            return FALSE;
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            EXPECT_EQ(dis->CtlType, static_cast<UINT>(ODT_BUTTON));
            EXPECT_NE(dis->hDC, nullptr);
            events.push_back("draw " + std::to_string(dis->CtlID) + " action " +
                             std::to_string(dis->itemAction) + " state " +
                             std::to_string(dis->itemState));
            return TRUE;
        }
        default:
            return FALSE;
        }
    };
    sim::script::PressButton(IDCANCEL);
    INT_PTR result = RunDialog(
        BuildTemplate(kDialogStyle, 187, 100, u"Settle",
                      {{kChild | WS_TABSTOP | BS_OWNERDRAW, 17, 78, 50, 14, IDOK, kButton},
                       {kChild | WS_TABSTOP | BS_OWNERDRAW, 76, 78, 50, 14, IDCANCEL, kButton},
                       {kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 34, 3, 56, 10, 1004, kButton}}));
    EXPECT_EQ(result, IDCANCEL);
    const std::string select = std::to_string(ODA_SELECT);
    const std::string focus = std::to_string(ODA_FOCUS);
    std::vector<std::string> expected = {
        "command 1004 hidden",
        "show",
        "draw 1 action 1 state 16", // the focused OK button
        "draw 2 action 1 state 0",
        // The click on Cancel: the focus moves, the button goes down and up.
        "draw 1 action " + focus + " state 0",
        "draw 2 action " + focus + " state 16",
        "draw 2 action " + select + " state 17",
        "draw 2 action " + select + " state 16",
        "command 2 shown",
    };
    EXPECT_EQ(events, expected);
}

TEST(DialogInit, EndDialogDuringInitialisationEndsItBeforeItAppears) {
    bool shown = false;
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM, LPARAM) -> INT_PTR {
        shown = shown || m == WM_SHOWWINDOW;
        if (m == WM_INITDIALOG) {
            EndDialog(dialog, 9);
        }
        return FALSE;
    };
    // No action is queued: the dialog must not wait for one.
    EXPECT_EQ(RunDialog(BuildTemplate(kDialogStyle, 50, 50, u"Gone", {})), 9);
    EXPECT_FALSE(shown);
    ASSERT_EQ(sim::ui::DialogRuns().size(), 1u);
    EXPECT_TRUE(sim::ui::DialogRuns()[0].ended);
    EXPECT_EQ(sim::ui::DialogRuns()[0].title, "Gone");
}

// The keys and the title bar's close box, as the dialog manager turns them
// into commands: the procedure ends the dialog with the command's id and
// records the control that came with it.
TEST(DialogKeys, EscTheCloseBoxAndEnterBecomeCommands) {
    auto typeInEdit = [] { sim::script::TypeText(30, "1"); };
    auto none = [] {};
    struct Case {
        const char* name;
        std::function<void()> before; // what the user does first
        std::function<void()> key;
        DWORD okStyle;      // style of button 1, which has the focus at first
        bool defaultButton; // button 7 is a BS_DEFPUSHBUTTON
        bool cancelButton;  // the template has a Cancel button
        int expected;       // command id
        int senderId;       // control that comes in lParam (0: none)
    };
    auto esc = [] { sim::script::PressEsc(); };
    auto enter = [] { sim::script::PressEnter(); };
    auto closeBox = [] { sim::script::CloseFromTitleBar(); };
    const Case cases[] = {
        {"Esc", none, esc, BS_OWNERDRAW, false, true, IDCANCEL, IDCANCEL},
        {"close box", none, closeBox, BS_OWNERDRAW, false, true, IDCANCEL, IDCANCEL},
        {"Esc without a Cancel button", none, esc, BS_OWNERDRAW, false, false, IDCANCEL, 0},
        // An owner-drawn button is never the default: Enter means IDOK.
        {"Enter on an owner-drawn button", none, enter, BS_OWNERDRAW, false, true, IDOK, IDOK},
        {"Enter in a multi-line edit box", typeInEdit, enter, BS_OWNERDRAW, false, true, IDOK,
         IDOK},
        {"Enter in an edit box with a default button", typeInEdit, enter, BS_PUSHBUTTON, true, true,
         7, 7},
        {"Enter on a focused push button", none, enter, BS_PUSHBUTTON, true, true, IDOK, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int sender = -1;
        DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM lParam) -> INT_PTR {
            if (m == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
                HWND from = reinterpret_cast<HWND>(lParam);
                sender = from == nullptr ? 0 : GetDlgCtrlID(from);
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return m == WM_INITDIALOG;
        };
        std::vector<Control> controls = {
            {kChild | WS_TABSTOP | c.okStyle, 5, 5, 40, 14, IDOK, kButton, u"OK"},
            {kChild | WS_TABSTOP | WS_BORDER | ES_MULTILINE, 5, 25, 40, 12, 30, kEdit},
        };
        if (c.defaultButton) {
            controls.push_back(
                {kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 50, 5, 40, 14, 7, kButton, u"Seven"});
        }
        if (c.cancelButton) {
            controls.push_back(
                {kChild | WS_TABSTOP | BS_PUSHBUTTON, 95, 5, 40, 14, IDCANCEL, kButton, u"Cancel"});
        }
        c.before();
        c.key();
        EXPECT_EQ(RunDialog(BuildTemplate(kDialogStyle, 150, 50, u"Keys", controls)), c.expected);
        EXPECT_EQ(sender, c.senderId);
    }
}

TEST(DialogKeys, ADisabledCancelButtonKeepsEscAndTheCloseBoxFromEndingTheDialog) {
    int cancels = 0;
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) {
            EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
            return TRUE;
        }
        if (m == WM_COMMAND) {
            cancels += LOWORD(wParam) == IDCANCEL ? 1 : 0;
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    };
    sim::script::PressEsc();
    sim::script::CloseFromTitleBar();
    sim::script::PressButton(IDCANCEL); // a disabled button ignores the click too
    sim::script::PressButton(IDOK);
    EXPECT_EQ(
        RunDialog(BuildTemplate(
            kDialogStyle, 150, 50, u"Stuck",
            {{kChild | WS_TABSTOP | BS_PUSHBUTTON, 5, 5, 40, 14, IDOK, kButton, u"OK"},
             {kChild | WS_TABSTOP | BS_PUSHBUTTON, 50, 5, 40, 14, IDCANCEL, kButton, u"Cancel"}})),
        IDOK);
    EXPECT_EQ(cancels, 0);
}

} // namespace
