#include "correction/apply.h"
#include "correction/settings.h"
#include "resources/resource.h"
#include "tray/tray.h"

#define STRING_SCRATCH_SIZE 128
#define DEPTH_WITH_CORRECTIONS 8

// Appends text to the tooltip, cutting it where the tip's 63 characters end.
static void AppendTip(char* tip, const char* text) {
    int used = lstrlen(tip);
    if (used < TRAY_TIP_SIZE - 1) {
        lstrcpyn(tip + used, text, TRAY_TIP_SIZE - used);
    }
}

static void AppendTipString(char* tip, UINT id) {
    char scratch[STRING_SCRATCH_SIZE];
    scratch[0] = '\0';
    LoadString(hInstance, id, scratch, STRING_SCRATCH_SIZE);
    AppendTip(tip, scratch);
}

void ComposeTrayTip(char* tip) {
    tip[0] = '\0';
    AppendTipString(tip, IDS_GAMMA);
    AppendTip(tip, " ");
    AppendTipString(tip, IDS_IS);
    AppendTipString(tip, correctionSettings.targets[Desktop].on != 0 ? IDS_ON : IDS_OFF);
    AppendTipString(tip, IDS_TARGET_SEPARATOR);
    AppendTipString(tip, IDS_VIDEO);
    // The video half names its target with the fixed word, not string 2.
    AppendTip(tip, " Gamma ");
    AppendTipString(tip, IDS_IS);
    AppendTipString(tip, correctionSettings.targets[Video].on != 0 ? IDS_ON : IDS_OFF);
}

void NotifyTrayIcon(HWND window, DWORD action) {
    NOTIFYICONDATA data;
    ZeroMemory(&data, sizeof data);
    // The first, 88-byte form of the record, which every shell of the
    // family accepts.
    data.cbSize = 88;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = trayIcon;
    ComposeTrayTip(data.szTip);
    Shell_NotifyIcon(action, &data);
}

int QueryColorDepth() {
    HDC screen = GetDC(NULL);
    int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
    return depth;
}

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // Corrections first, so the first tooltip shows the loaded settings.
        if (colorDepth > DEPTH_WITH_CORRECTIONS) {
            InitCorrections();
        }
        trayIcon = LoadIcon(hInstance, MAKEINTRESOURCE(IDI_LUMIVEX));
        NotifyTrayIcon(window, NIM_ADD);
        return 0;

    case WM_DESTROY:
        NotifyTrayIcon(window, NIM_DELETE);
        DestroyIcon(trayIcon);
        PostQuitMessage(0);
        return 0;

    case WM_DISPLAYCHANGE:
        colorDepth = (BYTE)wParam;
        if (colorDepth > DEPTH_WITH_CORRECTIONS) {
            InitCorrections();
        } else if (dialogOpen == 1) {
            // A palette mode ends an open dialog as its OK button would.
            SendMessage(dialogWindow, WM_COMMAND, IDOK, 0);
        }
        return 0;

    case WM_COMMAND:
        if (RunTrayCommand(window, LOWORD(wParam))) {
            return 0;
        }
        return DefWindowProc(window, message, wParam, lParam);

    case WM_TRAYNOTIFY:
        ShowTrayMenu(window, wParam, lParam);
        return 0;

    default:
        return DefWindowProc(window, message, wParam, lParam);
    }
}
