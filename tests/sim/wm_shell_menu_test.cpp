// The notification area, popup menus, message boxes in their modal loop, the
// display mode and the other programs' windows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/msgbox.h"
#include "platform/sim/others.h"
#include "platform/sim/registry.h"
#include "platform/sim/script.h"
#include "platform/sim/shell.h"
#include "platform/sim/ui.h"
#include "tests/sim/wm_support.h"

namespace {

using namespace wmtest;

constexpr UINT kTrayNotify = WM_USER + 101;

NOTIFYICONDATA Record(HWND window, UINT flags, const char* tip, DWORD size = 88) {
    NOTIFYICONDATA nid{};
    nid.cbSize = size;
    nid.hWnd = window;
    nid.uID = 101;
    nid.uFlags = flags;
    nid.uCallbackMessage = kTrayNotify;
    nid.hIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(0x777));
    std::strncpy(nid.szTip, tip, sizeof nid.szTip);
    return nid;
}

TEST(TrayIcons, AddModifyAndDeleteKeepOneRecordPerWindowAndId) {
    HWND window = CreateAppWindow();
    NOTIFYICONDATA add = Record(window, NIF_MESSAGE | NIF_ICON | NIF_TIP, "Gamma is ON");
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &add));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &add)); // already there

    const sim::shell::TrayIcon* icon = sim::shell::FindTrayIcon(window, 101);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->callbackMessage, kTrayNotify);
    EXPECT_EQ(icon->icon, add.hIcon);
    EXPECT_EQ(icon->tip, "Gamma is ON");

    // Only the fields named by the flags change; a tip that fills all 64
    // characters without a terminator is cut to 63.
    NOTIFYICONDATA modify = Record(window, NIF_TIP, "");
    std::memset(modify.szTip, 'x', sizeof modify.szTip);
    modify.hIcon = nullptr;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &modify));
    icon = sim::shell::FindTrayIcon(window, 101);
    EXPECT_EQ(icon->tip, std::string(63, 'x'));
    EXPECT_EQ(icon->icon, add.hIcon);

    // A record of a size the shell does not know is refused.
    NOTIFYICONDATA odd = Record(window, NIF_TIP, "odd", 100);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &odd));
    EXPECT_EQ(sim::shell::FindTrayIcon(window, 101)->tip, std::string(63, 'x'));

    NOTIFYICONDATA del = Record(window, 0, "");
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &del));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &del));
    EXPECT_TRUE(sim::shell::TrayIcons().empty());
    EXPECT_EQ(sim::shell::TrayCalls().size(), 6u);
}

TEST(TrayIcons, AClickPostsTheCallbackMessageWithTheIdAndTheMouseMessage) {
    std::vector<std::pair<WPARAM, LPARAM>> notes;
    POINT pointer{};
    Handler() = [&](HWND, UINT m, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (m == kTrayNotify) {
            notes.emplace_back(wParam, lParam);
            GetCursorPos(&pointer);
        }
        return false;
    };
    HWND window = CreateAppWindow();
    NOTIFYICONDATA add = Record(window, NIF_MESSAGE | NIF_TIP, "tip");
    Shell_NotifyIcon(NIM_ADD, &add);
    sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
    sim::script::ClickTrayIcon(window, 101, WM_RBUTTONUP);
    sim::script::CloseWindowOfClass("TestAppClass");
    Handler() = [&, previous = Handler()](HWND w, UINT m, WPARAM wp, LPARAM lp, LRESULT* r) {
        if (m == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return previous(w, m, wp, lp, r);
    };
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        DispatchMessage(&msg);
    }
    std::vector<std::pair<WPARAM, LPARAM>> expected = {{101, WM_LBUTTONDOWN}, {101, WM_RBUTTONUP}};
    EXPECT_EQ(notes, expected);
    // The pointer was on the icon, in the taskbar below the work area.
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(pointer.y, work.bottom);
    EXPECT_LT(pointer.y, GetSystemMetrics(SM_CYSCREEN));
}

// The popup menu of a tray icon: built, tracked at the pointer, destroyed.
struct MenuRun {
    std::vector<std::string> events;
    BOOL tracked = FALSE;

    void Track(HWND owner, UINT flags) {
        HMENU menu = CreatePopupMenu();
        AppendMenu(menu, MF_STRING, 40001, "Desktop Gamma Correction ");
        AppendMenu(menu, MF_STRING | MF_GRAYED, 40002, "Video Chroma Correction ");
        AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenu(menu, MF_STRING, 40003, "");
        tracked = TrackPopupMenu(menu, flags, 300, 200, 0, owner, nullptr);
        events.push_back("returned " + std::to_string(tracked));
        DestroyMenu(menu);
    }
};

TEST(PopupMenu, AChoiceReachesTheOwnerAsACommandAfterTrackingEnds) {
    struct Case {
        const char* name;
        std::function<void()> act;
        UINT flags;
        std::vector<std::string> events;
        UINT_PTR chosen;
    };
    const Case cases[] = {
        {"chosen",
         [] { sim::script::ChooseMenuItem(40003); },
         0,
         {"returned 1", "command 40003"},
         40003},
        {"dismissed", [] { sim::script::DismissMenu(); }, 0, {"returned 1"}, 0},
        // A greyed item does not close the menu; the user then dismisses it.
        {"greyed, then dismissed",
         [] {
             sim::script::ChooseMenuItem(40002);
             sim::script::DismissMenu();
         },
         0,
         {"returned 1"},
         0},
        {"returned, not posted",
         [] { sim::script::ChooseMenuItem(40001); },
         TPM_RETURNCMD,
         {"returned 40001"},
         40001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MenuRun run;
        Handler() = [&](HWND w, UINT m, WPARAM wParam, LPARAM, LRESULT*) {
            if (m == WM_COMMAND) {
                run.events.push_back("command " + std::to_string(LOWORD(wParam)));
            }
            if (m == kTrayNotify) {
                run.Track(w, c.flags);
            }
            return false;
        };
        HWND owner = CreateAppWindow();
        c.act();
        SendMessage(owner, kTrayNotify, 101, WM_LBUTTONDOWN);
        sim::ui::PumpMessages();
        EXPECT_EQ(run.events, c.events);
        const sim::ui::TrackedMenu& menu = sim::ui::TrackedMenus().back();
        EXPECT_EQ(menu.chosen, c.chosen);
        EXPECT_EQ(menu.x, 300);
        EXPECT_EQ(menu.y, 200);
        EXPECT_EQ(menu.owner, owner);
        EXPECT_EQ(sim::ui::LiveMenuCount(), 0u);
        DestroyWindow(owner);
    }
    const auto& items = sim::ui::TrackedMenus().front().items;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Desktop Gamma Correction ");
    EXPECT_EQ(items[1].flags, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(items[2].flags, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(items[3].id, 40003u);
    EXPECT_EQ(items[3].text, "");
}

TEST(PopupMenuDeathTest, ChoosingAnItemTheMenuLacksNamesTheItemsItHas) {
    EXPECT_DEATH(
        {
            HWND owner = CreateAppWindow();
            MenuRun run;
            sim::script::ChooseMenuItem(40009);
            run.Track(owner, 0);
        },
        "ChooseMenuItem\\(40009\\) cannot run: the menu has no item 40009; its items: 40001 "
        "\"Desktop Gamma Correction \", 40002 \"Video Chroma Correction \", separator, 40003 \"\"");
}

TEST(MessageBoxLoop, TheBoxDispatchesTheThreadsMessagesUntilTheUserAnswers) {
    HWND owner = CreateAppWindow();
    std::vector<std::string> events;
    Handler() = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == WM_USER + 5) {
            events.push_back(IsWindowEnabled(w) ? "message, owner enabled"
                                                : "message, owner disabled");
        }
        return false;
    };
    sim::script::Do("post to the owner", [owner] { PostMessage(owner, WM_USER + 5, 0, 0); });
    sim::script::AnswerMessageBox(IDOK);
    int result = MessageBox(owner, "Desktop Gamma Correction is NOT AVAILABLE in 256 Color Mode.",
                            "Lumivex", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(result, IDOK);
    std::vector<std::string> expected = {"message, owner disabled"};
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(IsWindowEnabled(owner));
    ASSERT_EQ(sim::msgbox::Shown().size(), 1u);
    EXPECT_EQ(sim::msgbox::Shown()[0].caption, "Lumivex");
    EXPECT_EQ(sim::msgbox::Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(sim::msgbox::Shown()[0].result, IDOK);
}

TEST(MessageBoxLoop, AMenuOpenedDuringABoxIsAnsweredBeforeTheBox) {
    HWND owner = CreateAppWindow();
    MenuRun run;
    Handler() = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == kTrayNotify) {
            run.Track(w, 0);
        }
        return false;
    };
    sim::script::ClickTrayIcon(owner, 101, WM_LBUTTONDOWN);
    sim::script::DismissMenu();
    sim::script::AnswerMessageBox(IDOK);
    NOTIFYICONDATA add = Record(owner, NIF_MESSAGE, "");
    Shell_NotifyIcon(NIM_ADD, &add);
    EXPECT_EQ(MessageBox(owner, "text", "Lumivex", MB_OK), IDOK);
    EXPECT_EQ(run.events, std::vector<std::string>{"returned 1"});
}

TEST(DisplayMode, EveryTopLevelWindowHearsOfTheNewModeAndTheDeviceFollows) {
    std::vector<std::pair<HWND, std::pair<WPARAM, LPARAM>>> heard;
    Handler() = [&](HWND w, UINT m, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (m == WM_DISPLAYCHANGE) {
            heard.push_back({w, {wParam, lParam}});
        }
        return false;
    };
    HWND first = CreateAppWindow();
    HWND second = CreateAppWindow();
    CreateAppWindow("TestAppClass", WS_CHILD, first);

    sim::ChangeDisplayMode(8, 800, 600);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].first, first);
    EXPECT_EQ(heard[1].first, second);
    EXPECT_EQ(heard[0].second.first, 8u);
    EXPECT_EQ(heard[0].second.second, MAKELPARAM(800, 600));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 8);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.right, 800);
    EXPECT_EQ(work.bottom, 600 - 28);

    // A change of depth alone keeps the size.
    sim::ChangeDisplayMode(24);
    EXPECT_EQ(heard.back().second.first, 24u);
    EXPECT_EQ(heard.back().second.second, MAKELPARAM(800, 600));
}

TEST(OtherPrograms, TheCompanionPanelWritesTheStoreAndAnnouncesIt) {
    const UINT panelGamma = RegisterWindowMessage("QV26 Gamma Changed");
    const UINT ours = RegisterWindowMessage("Lumivex Chroma Changed");
    std::vector<std::string> seen;
    Handler() = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == panelGamma) {
            seen.push_back(sim::registry::GetString(
                               "HKEY_LOCAL_MACHINE\\Software\\Veridane\\Corvantis", "GAMMA_ON/OFF")
                               .value_or("missing"));
        }
        return false;
    };
    CreateAppWindow();
    sim::others::CompanionPanel panel;
    sim::others::BroadcastListener listener;
    panel.WriteValue("GAMMA_ON/OFF", "1");
    panel.AnnounceGammaChanged();
    SendMessage(HWND_BROADCAST, ours, 0, 0);
    EXPECT_EQ(seen, std::vector<std::string>{"1"});
    EXPECT_EQ(panel.Heard("Lumivex Chroma Changed"), 1);
    EXPECT_EQ(listener.Count("QV26 Gamma Changed"), 1);
    EXPECT_EQ(listener.RegisteredReceived(), (std::vector<UINT>{panelGamma, ours}));
}

} // namespace
