// Windows, the message queue, broadcasts and the modal loops' dispatching.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/others.h"
#include "platform/sim/script.h"
#include "platform/sim/ui.h"
#include "tests/sim/wm_support.h"

namespace {

using namespace wmtest;

TEST(WindowLifecycle, CloseDestroysParentThenChildrenAndTheLoopEndsWithTheQuitCode) {
    std::vector<std::pair<HWND, UINT>> seen;
    Handler() = [&seen](HWND w, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == WM_CLOSE || m == WM_DESTROY || m == WM_NCDESTROY) {
            seen.emplace_back(w, m);
        }
        if (m == WM_DESTROY && GetParent(w) == nullptr) {
            PostQuitMessage(7);
        }
        return false;
    };
    HWND top = CreateAppWindow();
    HWND child = CreateAppWindow("TestAppClass", WS_CHILD, top);
    ASSERT_NE(child, nullptr);
    PostMessage(top, WM_CLOSE, 0, 0);
    PostMessage(top, WM_USER, 0, 0); // dropped with the window

    MSG msg;
    int dispatched = 0;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        DispatchMessage(&msg);
        ++dispatched;
    }
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(dispatched, 1);
    std::vector<std::pair<HWND, UINT>> expected = {{top, WM_CLOSE},
                                                   {top, WM_DESTROY},
                                                   {child, WM_DESTROY},
                                                   {child, WM_NCDESTROY},
                                                   {top, WM_NCDESTROY}};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child));
}

TEST(Broadcast, ReachesEveryTopLevelWindowOnceAndNoChild) {
    const UINT msgId = RegisterWindowMessage("Lumivex Gamma Changed");
    std::map<HWND, int> count;
    Handler() = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == msgId) {
            ++count[w];
        }
        return false;
    };
    HWND hidden = CreateAppWindow();
    HWND visible = CreateAppWindow();
    ShowWindow(visible, SW_SHOW);
    HWND disabled = CreateAppWindow();
    EnableWindow(disabled, FALSE);
    HWND owned = CreateAppWindow("TestAppClass", WS_POPUP, hidden);
    HWND child = CreateAppWindow("TestAppClass", WS_CHILD | WS_VISIBLE, visible);
    sim::others::BroadcastListener listener;

    SendMessage(HWND_BROADCAST, msgId, 0, 0);
    for (HWND w : {hidden, visible, disabled, owned}) {
        EXPECT_EQ(count[w], 1);
    }
    EXPECT_EQ(count[child], 0);
    EXPECT_EQ(listener.Count("Lumivex Gamma Changed"), 1);

    // Posted, it arrives through the queue, again once per top-level window.
    PostMessage(HWND_BROADCAST, msgId, 0, 0);
    EXPECT_EQ(count[visible], 1);
    sim::ui::PumpMessages();
    for (HWND w : {hidden, visible, disabled, owned}) {
        EXPECT_EQ(count[w], 2);
    }
    EXPECT_EQ(count[child], 0);
    EXPECT_EQ(listener.Count(msgId), 2);
}

TEST(ModalLoop, DispatchesTheOwnersPostedMessagesAndSendMessageReentersTheDialog) {
    // The pattern of a tray utility: the owner's procedure runs a modal dialog;
    // a message posted to the owner meanwhile arrives through the dialog's
    // loop, and the owner sends the dialog its OK command from there.
    HWND owner = CreateAppWindow();
    int ownerDepth = 0;
    bool ownerSawDialogOpen = false;
    std::vector<std::string> order;
    Handler() = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == WM_USER + 1) {
            ++ownerDepth;
            order.push_back("owner got the posted message");
            HWND dialog = sim::ui::ActiveDialog();
            ownerSawDialogOpen = dialog != nullptr && !IsWindowEnabled(w);
            SendMessage(dialog, WM_COMMAND, IDOK, 0);
            order.push_back("owner's SendMessage returned");
            --ownerDepth;
            return true;
        }
        return false;
    };
    DialogHandler() = [&](HWND dialog, UINT m, WPARAM wParam, LPARAM) -> INT_PTR {
        if (m == WM_COMMAND && LOWORD(wParam) == IDOK) {
            order.push_back(ownerDepth == 1 ? "dialog OK inside the owner's procedure"
                                            : "dialog OK elsewhere");
            EndDialog(dialog, 42);
            return TRUE;
        }
        return m == WM_INITDIALOG;
    };
    sim::script::Do("post to the owner", [owner] { PostMessage(owner, WM_USER + 1, 0, 0); });

    auto bytes = BuildTemplate(kDialogStyle, 100, 50, u"Owned", {});
    INT_PTR result = DialogBoxIndirectParam(sim::ModuleInstance(), AsTemplate(bytes), owner,
                                            HandlerDialogProc, 0);

    EXPECT_EQ(result, 42);
    EXPECT_TRUE(ownerSawDialogOpen);
    std::vector<std::string> expected = {"owner got the posted message",
                                         "dialog OK inside the owner's procedure",
                                         "owner's SendMessage returned"};
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(IsWindowEnabled(owner)); // given back when the dialog ended
    EXPECT_EQ(sim::script::PendingActions(), 0u);
}

TEST(ModalLoop, QuitMessageEndsTheDialogAndStaysForTheOuterLoop) {
    HWND owner = CreateAppWindow();
    DialogHandler() = [](HWND, UINT m, WPARAM, LPARAM) -> INT_PTR { return m == WM_INITDIALOG; };
    sim::script::Do("quit", [] { PostQuitMessage(3); });
    auto bytes = BuildTemplate(kDialogStyle, 100, 50, u"Quit", {});
    DialogBoxIndirectParam(sim::ModuleInstance(), AsTemplate(bytes), owner, HandlerDialogProc, 0);
    EXPECT_EQ(sim::ui::FindDialog("Quit"), nullptr);
    MSG msg;
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 3u);
}

// Each way of waiting for input with an empty script stops the test with a
// message that names the loop.
TEST(ModalLoopDeathTest, WaitingWithNoActionLeftFailsWithAClearMessage) {
    struct Case {
        const char* name;
        std::function<void()> wait;
        const char* message;
    };
    std::vector<Case> cases = {
        {"program loop",
         [] {
             MSG msg;
             GetMessage(&msg, nullptr, 0, 0);
         },
         "GetMessage of the program's message loop has nothing left to dispatch and the "
         "scripted user has no action left"},
        {"dialog",
         [] {
             HWND owner = CreateAppWindow();
             auto bytes = BuildTemplate(kDialogStyle, 100, 50, u"Waiting", {});
             DialogBoxIndirectParam(sim::ModuleInstance(), AsTemplate(bytes), owner,
                                    HandlerDialogProc, 0);
         },
         "DialogBoxParam's modal loop of the dialog \"Waiting\" has nothing left"},
        {"menu",
         [] {
             HWND owner = CreateAppWindow();
             HMENU menu = CreatePopupMenu();
             AppendMenu(menu, MF_STRING, 40001, "Desktop");
             TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr);
         },
         "TrackPopupMenu's modal loop \\(menu: 40001 \"Desktop\"\\) has nothing left"},
        {"message box",
         [] {
             HWND owner = CreateAppWindow();
             MessageBox(owner, "Not now", "Lumivex", MB_OK);
         },
         "MessageBox's modal loop of the box \"Lumivex\" \\(\"Not now\"\\) has nothing left"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DEATH(c.wait(), c.message);
    }
}

TEST(ScriptDeathTest, AnActionThatDoesNotFitTheScreenSaysWhy) {
    EXPECT_DEATH(
        {
            CreateAppWindow();
            sim::script::PressButton(1);
            MSG msg;
            GetMessage(&msg, nullptr, 0, 0);
        },
        "PressButton\\(1\\) cannot run: it needs a modal dialog, but no modal loop runs");
}

TEST(Windows, GetParentGivesTheParentOfAChildAndTheOwnerOfAPopupOnly) {
    HWND top = CreateAppWindow();
    HWND popup = CreateAppWindow("TestAppClass", WS_POPUP, top);
    HWND overlapped = CreateAppWindow("TestAppClass", WS_OVERLAPPED, top);
    HWND child = CreateAppWindow("TestAppClass", WS_CHILD, top);
    EXPECT_EQ(GetParent(popup), top);
    EXPECT_EQ(GetParent(overlapped), nullptr);
    EXPECT_EQ(GetWindow(overlapped, GW_OWNER), top);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetParent(top), nullptr);
    // Owned windows go when their owner does.
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_FALSE(IsWindow(overlapped));
}

TEST(Windows, AnotherProgramsClassOfTheSameNameIsItsOwn) {
    HWND foreign = sim::others::CreateForeignWindow("TaskbarTrayClass");
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(FindWindow("TaskbarTrayClass", nullptr), foreign);

    bool ours = false;
    Handler() = [&ours](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
        ours = ours || m == WM_CREATE;
        return false;
    };
    HWND own = CreateAppWindow("TaskbarTrayClass");
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(ours);
    EXPECT_EQ(sim::ui::ClassName(own), "TaskbarTrayClass");
}

TEST(Windows, AClassIsRegisteredOncePerProgram) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.hInstance = sim::ModuleInstance();
    wc.lpszClassName = "Once";
    EXPECT_NE(RegisterClass(&wc), 0);
    EXPECT_EQ(RegisterClass(&wc), 0);
    EXPECT_EQ(CreateWindowEx(0, "NeverRegistered", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                             sim::ModuleInstance(), nullptr),
              nullptr);
}

// A program's whole life: WinMain registers its class, creates its hidden
// window and runs its loop; the user clicks its icon, then it is closed.
int clicks = 0;

LRESULT CALLBACK TinyTrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        NOTIFYICONDATA nid{};
        nid.cbSize = 88;
        nid.hWnd = window;
        nid.uID = 101;
        nid.uFlags = NIF_MESSAGE | NIF_TIP;
        nid.uCallbackMessage = WM_USER + 101;
        lstrcpy(nid.szTip, "Tiny");
        Shell_NotifyIcon(NIM_ADD, &nid);
        return 0;
    }
    case WM_USER + 101:
        clicks += lParam == WM_LBUTTONDOWN ? 1 : 0;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProc(window, message, wParam, lParam);
    }
}

int TinyWinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (FindWindow("TinyTray", nullptr) != nullptr) {
        return 5;
    }
    WNDCLASS wc{};
    wc.lpfnWndProc = TinyTrayProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TinyTray";
    RegisterClass(&wc);
    HWND window =
        CreateWindowEx(0, "TinyTray", "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam) + lstrlen(commandLine);
}

TEST(RunWinMain, TheExitCodeIsThatOfTheQuitMessage) {
    sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
    sim::script::ClickTrayIcon(WM_RBUTTONDOWN);
    sim::script::CloseWindowOfClass("TinyTray");
    EXPECT_EQ(sim::ui::RunWinMain(TinyWinMain), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sim::script::PendingActions(), 0u);

    // The command line reaches the entry point.
    sim::script::CloseWindowOfClass("TinyTray");
    EXPECT_EQ(sim::ui::RunWinMain(TinyWinMain, "ab"), 2);

    // Another program's window of the class keeps it from starting at all.
    sim::others::CreateForeignWindow("TinyTray");
    EXPECT_EQ(sim::ui::RunWinMain(TinyWinMain), 5);
}

} // namespace
