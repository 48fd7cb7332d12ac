// What tests see of the simulated user interface, and what they change in it
// from outside the programs: windows, dialogs and controls, popup menus, icons,
// the pointer, the work area, the display mode and the message queue.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/sim/user.h"

namespace sim {

// A new display mode, as the display settings make it: the depth (and, when
// given, the screen size) change, then every top-level window receives
// WM_DISPLAYCHANGE with wParam the bits per pixel and lParam
// MAKELPARAM(width, height).
void ChangeDisplayMode(int bitsPerPixel, int width = 0, int height = 0);

} // namespace sim

namespace sim::ui {

// ---------------------------------------------------------------------------
// Windows.

std::vector<HWND> TopLevelWindows();
std::string ClassName(HWND window);
std::string WindowText(HWND window);

// ---------------------------------------------------------------------------
// Dialogs.

// One run of DialogBoxParam or DialogBoxIndirectParam.
struct DialogRun {
    WORD templateId = 0; // 0 for a template given in memory
    std::string title;
    HWND window = nullptr; // no longer valid once the run has ended
    HWND owner = nullptr;
    bool ended = false;
    INT_PTR result = 0;
};
const std::vector<DialogRun>& DialogRuns();

// The dialog of the innermost modal loop, or null.
HWND ActiveDialog();
// The first existing dialog with this title, or null.
HWND FindDialog(const std::string& title);

std::string ControlText(HWND dialog, int id);
// The arrows state of a scroll bar control (ESB_ENABLE_BOTH, ESB_DISABLE_...).
UINT ScrollBarArrows(HWND scrollBar);

// ---------------------------------------------------------------------------
// Popup menus.

struct MenuItemRecord {
    UINT flags = 0;   // MF_ flags as appended
    UINT_PTR id = 0;  // the command id; the submenu for MF_POPUP
    std::string text; // "" for a separator
    std::vector<MenuItemRecord> submenu;
};

// One call of TrackPopupMenu, with the menu as it was when tracked.
struct TrackedMenu {
    std::vector<MenuItemRecord> items;
    UINT flags = 0;
    int x = 0;
    int y = 0;
    HWND owner = nullptr;
    UINT_PTR chosen = 0; // 0 when dismissed
};
const std::vector<TrackedMenu>& TrackedMenus();

// Menus created and not destroyed.
size_t LiveMenuCount();

// ---------------------------------------------------------------------------
// Icons.

// The icon-group resource an icon was loaded from (0 for a system icon or a
// handle that is not a live icon), and its size.
WORD IconResourceId(HICON icon);
SIZE IconSize(HICON icon);
size_t LiveIconCount();

// ---------------------------------------------------------------------------
// The desktop.

// The work area: the screen less the taskbar, 28 pixels along the bottom of
// the screen unless a test sets another.
void SetWorkArea(const RECT& area);

// ---------------------------------------------------------------------------
// The message queue.

// Dispatches everything posted (and any pending painting) without running the
// scripted user; returns how many messages were dispatched.
size_t PumpMessages();
size_t PostedMessageCount();

// Every message that reaches a window procedure, once tracing is on.
struct TracedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
void TraceMessages(bool on);
const std::vector<TracedMessage>& MessageTrace();

// Runs a program's entry point as the system starts it: the module's instance,
// no previous instance, the command line and SW_SHOWDEFAULT. Returns its exit
// code.
int RunWinMain(int (*entry)(HINSTANCE, HINSTANCE, LPSTR, int), const std::string& commandLine = "");

} // namespace sim::ui
