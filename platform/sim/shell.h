// The shell's notification area (the tray) of the simulated Windows 95.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/sim/types.h"

#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002

#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004

// The first form of the record is what the Windows 95 shell knows. On the
// 32-bit platform it is 88 bytes; this record is laid out for the host, so
// the shell takes cbSize 88 (or the host size of the same fields) as that form.
struct NOTIFYICONDATA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};
typedef NOTIFYICONDATA* PNOTIFYICONDATA;

#define NOTIFYICONDATA_V1_SIZE 88

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data);

namespace sim::shell {

// One icon in the notification area.
struct TrayIcon {
    HWND window = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0; // 0 without NIF_MESSAGE
    HICON icon = nullptr;
    std::string tip; // at most 63 characters
};

// The icons now in the notification area, in the order they were added.
const std::vector<TrayIcon>& TrayIcons();
const TrayIcon* FindTrayIcon(HWND window, UINT id);

// Every Shell_NotifyIcon call with the action and whether the shell took it.
struct TrayCall {
    DWORD message = 0;
    HWND window = nullptr;
    UINT id = 0;
    BOOL result = FALSE;
};
const std::vector<TrayCall>& TrayCalls();

} // namespace sim::shell
