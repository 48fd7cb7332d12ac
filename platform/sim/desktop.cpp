// The desktop around the windows: the pointer, the work area, the display
// mode, and running a program's entry point.
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/sim/gdi.h"
#include "platform/sim/resources.h"
#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/sim/wm.h"

namespace {

struct Desktop {
    POINT cursor{0, 0};
    std::optional<RECT> workArea;
};

Desktop& D() {
    static Desktop desktop;
    return desktop;
}

// The taskbar along the bottom of the screen.
constexpr int kTaskbarHeight = 28;

RECT WorkArea() {
    if (D().workArea) {
        return *D().workArea;
    }
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN) - kTaskbarHeight};
}

} // namespace

BOOL GetCursorPos(LPPOINT point) {
    if (point == nullptr) {
        return FALSE;
    }
    *point = D().cursor;
    return TRUE;
}

// The pointer stays on the screen.
BOOL SetCursorPos(int x, int y) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    D().cursor.x = std::clamp(x, 0, std::max(0, width - 1));
    D().cursor.y = std::clamp(y, 0, std::max(0, height - 1));
    return TRUE;
}

BOOL SystemParametersInfo(UINT action, UINT /*param*/, void* data, UINT /*winIni*/) {
    switch (action) {
    case SPI_GETWORKAREA:
        if (data == nullptr) {
            return FALSE;
        }
        *static_cast<RECT*>(data) = WorkArea();
        return TRUE;
    case SPI_SETWORKAREA:
        if (data == nullptr) {
            D().workArea.reset();
        } else {
            D().workArea = *static_cast<const RECT*>(data);
        }
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

namespace sim {

void ChangeDisplayMode(int bitsPerPixel, int width, int height) {
    sim::display::SetBitsPerPixel(bitsPerPixel);
    if (width > 0 && height > 0) {
        SetScreenSize(width, height);
    }
    int w = GetSystemMetrics(SM_CXSCREEN);
    int h = GetSystemMetrics(SM_CYSCREEN);
    SendMessage(HWND_BROADCAST, WM_DISPLAYCHANGE, static_cast<WPARAM>(bitsPerPixel),
                MAKELPARAM(w, h));
}

} // namespace sim

namespace sim::ui {

std::vector<HWND> TopLevelWindows() {
    return sim::wm::S().topLevel;
}

std::string ClassName(HWND window) {
    sim::wm::Window* w = sim::wm::Find(window);
    return w != nullptr ? w->className : std::string();
}

std::string WindowText(HWND window) {
    sim::wm::Window* w = sim::wm::Find(window);
    return w != nullptr ? w->text : std::string();
}

void SetWorkArea(const RECT& area) {
    D().workArea = area;
}

int RunWinMain(int (*entry)(HINSTANCE, HINSTANCE, LPSTR, int), const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return entry(sim::ModuleInstance(), nullptr, line.data(), SW_SHOWDEFAULT);
}

} // namespace sim::ui
