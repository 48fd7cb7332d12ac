// The tray menu and its commands: what opens it, its items in the user's
// language, the correction dialogs and the colour-depth message they lead
// to, and the About box with its placement next to the pointer.
#include "tests/tray/session.h"

namespace {

using namespace session;

std::vector<std::string> Texts(const sim::ui::TrackedMenu& menu) {
    std::vector<std::string> texts;
    for (const auto& item : menu.items) {
        texts.push_back(item.text);
    }
    return texts;
}

TEST(TrayMenu, ItemsInTheUsersLanguageHeldWhole) {
    struct Case {
        LANGID language;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {1033, {"Desktop Gamma Correction ", "Video Chroma Correction ", "", "About"}},
        {1031,
         {"Desktop Gamma Korrektur ", "Video Chroma Korrektur ", "",
          "Info \xFC"
          "ber"}},
        // 34 characters, the longest item of all tables.
        {2058,
         {"PC de Escritorio Gamma Correcci\xF3n ",
          "V\xED"
          "deo Chroma Correcci\xF3n ",
          "", ""}},
        // No string 14: an empty item that still carries the About command.
        {1043, {"Desktop Gamma Correctie ", "Video Chroma Correctie ", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        size_t tracked = sim::ui::TrackedMenus().size();
        Machine machine;
        machine.language = c.language;
        HWND tray = nullptr;
        sim::script::Do([&tray] { tray = TrayWindow(); });
        sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
        sim::script::DismissMenu();
        Quit();
        sim::ui::TraceMessages(true);
        EXPECT_EQ(Start(machine), 0);

        ASSERT_EQ(sim::ui::TrackedMenus().size(), tracked + 1);
        const sim::ui::TrackedMenu& menu = sim::ui::TrackedMenus().back();
        EXPECT_EQ(Texts(menu), c.texts);
        ASSERT_EQ(menu.items.size(), 4u);
        const UINT flags[] = {MF_STRING, MF_STRING, MF_SEPARATOR, MF_STRING};
        const UINT_PTR ids[] = {IDM_DESKTOP_GAMMA, IDM_VIDEO_CHROMA, 0, IDM_ABOUT};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(menu.items[i].flags, flags[i]) << i;
            if (i != 2) {
                EXPECT_EQ(menu.items[i].id, ids[i]) << i;
            }
        }
        // Tracked at the pointer, which the click put on the icon.
        EXPECT_EQ(menu.flags, 0u);
        EXPECT_EQ(menu.x, GetSystemMetrics(SM_CXSCREEN) - 24);
        EXPECT_EQ(menu.y, GetSystemMetrics(SM_CYSCREEN) - 14);
        EXPECT_EQ(menu.owner, tray);
        EXPECT_EQ(sim::ui::LiveMenuCount(), 0u);
        // After tracking, WM_USER reaches the tray window.
        bool user = false;
        for (const auto& m : sim::ui::MessageTrace()) {
            user = user || (m.window == tray && m.message == WM_USER);
        }
        EXPECT_TRUE(user);
        sim::ui::TraceMessages(false);
    }
}

TEST(TrayMenu, OnlyThePressOfTheLeftButtonOpensIt) {
    // Every click that must not open the menu comes first: one that did would
    // leave a menu waiting for a choice and the count below would show it.
    for (UINT mouse : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                       WM_RBUTTONDBLCLK, WM_MOUSEMOVE, WM_MBUTTONDOWN}) {
        sim::script::ClickTrayIcon(mouse);
    }
    sim::script::Do([] { EXPECT_TRUE(sim::ui::TrackedMenus().empty()); });
    // A double click: its first press opens the menu, nothing else does.
    sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
    sim::script::DismissMenu();
    for (UINT mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        sim::script::ClickTrayIcon(mouse);
    }
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
    EXPECT_EQ(sim::ui::TrackedMenus().size(), 1u);
}

TEST(TrayMenu, NoMenuWhileADialogRunsButDuringTheColourDepthMessage) {
    struct Case {
        UINT command;
        int close; // the button that ends the dialog
    };
    const Case cases[] = {
        {IDM_DESKTOP_GAMMA, IDCANCEL}, {IDM_VIDEO_CHROMA, IDOK}, {IDM_ABOUT, IDOK}};
    Machine machine;
    for (const Case& c : cases) {
        OpenFromTray(c.command);
        sim::script::Do([] { EXPECT_EQ(dialogOpen, 1); });
        sim::script::ClickTrayIcon(WM_LBUTTONDOWN); // nothing opens
        sim::script::PressButton(c.close);
        sim::script::Do([] { EXPECT_EQ(dialogOpen, 0); });
    }
    sim::script::Do([] { EXPECT_EQ(sim::ui::TrackedMenus().size(), 3u); });
    // The message box does not count as a dialog.
    sim::script::ChangeDisplayMode(8);
    OpenDesktop();
    sim::script::Do([] { EXPECT_EQ(dialogOpen, 0); });
    sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
    sim::script::DismissMenu();
    sim::script::AnswerMessageBox(IDOK);
    Quit();
    EXPECT_EQ(Start(machine), 0);
    EXPECT_EQ(sim::ui::TrackedMenus().size(), 5u);
    EXPECT_EQ(sim::ui::DialogRuns().size(), 3u);
    EXPECT_EQ(sim::msgbox::Shown().size(), 1u);
}

TEST(TrayMenu, CorrectionCommandsOpenTheirTargetsDialog) {
    struct Case {
        UINT command;
        WORD templateId;
        int target;
        const char* title;
    };
    const Case cases[] = {
        {IDM_DESKTOP_GAMMA, 104, Desktop, "Desktop Gamma Correction"},
        {IDM_VIDEO_CHROMA, 103, Video, "Video Chroma Correction"},
        {IDM_DESKTOP_GAMMA, 104, Desktop, "Desktop Gamma Correction"},
    };
    for (const Case& c : cases) {
        OpenFromTray(c.command);
        Check(c.title, [c] {
            HWND d = Dialog();
            EXPECT_EQ(sim::ui::WindowText(d), c.title);
            EXPECT_EQ(activeTarget, c.target);
            EXPECT_EQ(dialogWindow, d);
            EXPECT_EQ(dialogOpen, 1);
        });
        sim::script::PressButton(IDOK);
        Check("after", [c] {
            EXPECT_EQ(dialogOpen, 0);
            EXPECT_EQ(activeTarget, c.target); // kept
        });
    }
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
    const auto& runs = sim::ui::DialogRuns();
    ASSERT_EQ(runs.size(), 3u);
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].templateId, cases[i].templateId);
        EXPECT_EQ(runs[i].owner, runs[0].owner);
        EXPECT_EQ(runs[i].result, 0);
    }
    EXPECT_TRUE(sim::msgbox::Shown().empty());
}

TEST(ColourDepthMessage, RefusesTheCorrectionsWithTheNumberOfColours) {
    struct Case {
        int depth;
        LANGID language;
        UINT command;
        std::string text;
    };
    const Case cases[] = {
        {8, 1033, IDM_DESKTOP_GAMMA,
         "Desktop Gamma Correction is NOT AVAILABLE in 256 Color Mode."},
        {8, 1033, IDM_VIDEO_CHROMA, "Video Gamma Correction is NOT AVAILABLE in 256 Color Mode."},
        {4, 1033, IDM_DESKTOP_GAMMA, "Desktop Gamma Correction is NOT AVAILABLE in 16 Color Mode."},
        {4, 1033, IDM_VIDEO_CHROMA, "Video Gamma Correction is NOT AVAILABLE in 16 Color Mode."},
        {1, 1033, IDM_VIDEO_CHROMA, "Video Gamma Correction is NOT AVAILABLE in 2 Color Mode."},
        {8, 1031, IDM_DESKTOP_GAMMA,
         "Desktop-Gamma-Korrektur steht im 256 Farbmodus NICHT ZUR VERF\xDCGUNG."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        size_t shown = sim::msgbox::Shown().size();
        Machine machine;
        machine.depth = c.depth;
        machine.language = c.language;
        HWND tray = nullptr;
        OpenFromTray(c.command);
        sim::script::Do([&tray] { tray = TrayWindow(); });
        sim::script::AnswerMessageBox(IDOK);
        Quit();
        EXPECT_EQ(Start(machine), 0);

        ASSERT_EQ(sim::msgbox::Shown().size(), shown + 1);
        const sim::msgbox::Box& box = sim::msgbox::Shown().back();
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, "Lumivex");
        EXPECT_EQ(box.type, 48u);
        EXPECT_EQ(box.owner, tray);
        EXPECT_TRUE(sim::ui::DialogRuns().empty());
        EXPECT_EQ(dialogOpen, 0);
    }
}

TEST(AboutBox, OpensAtAnyDepthAndEveryCommandClosesIt) {
    struct Round {
        const char* name;
        std::function<void()> close;
    };
    const Round rounds[] = {
        {"OK", [] { sim::script::PressButton(IDOK); }},
        {"Enter", [] { sim::script::PressEnter(); }},
        {"Esc", [] { sim::script::PressEsc(); }},
        {"close box", [] { sim::script::CloseFromTitleBar(); }},
        // The OK command a change to a palette mode sends.
        {"display change to 8", [] { sim::script::ChangeDisplayMode(8); }},
        {"OK at 8 bits per pixel", [] { sim::script::PressButton(IDOK); }},
    };
    for (const Round& r : rounds) {
        OpenFromTray(IDM_ABOUT);
        Check(r.name, [] {
            HWND d = Dialog();
            EXPECT_EQ(dialogWindow, d);
            EXPECT_EQ(dialogOpen, 1);
            // The focus is on the first control, the OK button.
            EXPECT_EQ(GetFocus(), GetDlgItem(d, IDOK));
        });
        r.close();
        Check(r.name, [] {
            EXPECT_EQ(sim::ui::ActiveDialog(), nullptr);
            EXPECT_EQ(dialogOpen, 0);
        });
    }
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
    ASSERT_EQ(sim::ui::DialogRuns().size(), std::size(rounds));
    for (const auto& run : sim::ui::DialogRuns()) {
        EXPECT_EQ(run.templateId, 105);
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(run.result, 0);
    }
}

TEST(AboutBox, BottomRightCornerAtThePointerKeptInTheWorkAreaAndOnTheScreen) {
    // The screen is 1024 x 768.
    struct Case {
        const char* name;
        RECT workArea;
        POINT pointer;
        // The expected corner: left = pointX - width (or 0), top = pointY - height (or 0).
        LONG pointX, pointY;
        bool leftAtZero, topAtZero;
    };
    const Case cases[] = {
        {"bottom-right corner of the work area",
         {0, 0, 1024, 740},
         {1023, 739},
         1023,
         739,
         false,
         false},
        {"over the taskbar at the bottom", {0, 0, 1024, 740}, {500, 760}, 500, 740, false, false},
        {"near the screen's left edge", {0, 0, 1024, 740}, {50, 400}, 0, 400, true, false},
        {"near the top", {0, 0, 1024, 740}, {500, 10}, 500, 0, false, true},
        {"over a taskbar at the right", {0, 0, 960, 768}, {1000, 300}, 960, 300, false, false},
        // Clamped to the area's left edge, but placed at the screen's.
        {"over a taskbar at the left", {60, 0, 1024, 768}, {10, 300}, 0, 300, true, false},
        {"over a taskbar at the top", {0, 28, 1024, 768}, {500, 5}, 500, 0, false, true},
        {"the work area's top-left corner", {100, 100, 1024, 768}, {100, 100}, 0, 0, true, true},
    };
    for (const Case& c : cases) {
        sim::script::Do([c] { sim::ui::SetWorkArea(c.workArea); });
        sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
        sim::script::MovePointer(c.pointer.x, c.pointer.y);
        sim::script::ChooseMenuItem(IDM_ABOUT);
        Check(c.name, [c] {
            RECT box{};
            GetWindowRect(Dialog(), &box);
            LONG w = box.right - box.left;
            LONG h = box.bottom - box.top;
            EXPECT_GT(w, 100);
            EXPECT_GT(h, 60);
            EXPECT_EQ(box.left, c.leftAtZero ? 0 : c.pointX - w) << c.name;
            EXPECT_EQ(box.top, c.topAtZero ? 0 : c.pointY - h) << c.name;
        });
        sim::script::PressButton(IDOK);
    }
    Quit();
    EXPECT_EQ(Start(Machine{}), 0);
}

} // namespace
