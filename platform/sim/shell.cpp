// The notification area: icons added, modified and deleted with
// Shell_NotifyIcon, each with its window, id, callback message, icon and tip.
#include "platform/sim/shell.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/sim/system.h"

namespace {

struct Tray {
    std::vector<sim::shell::TrayIcon> icons;
    std::vector<sim::shell::TrayCall> calls;
};

Tray& T() {
    static Tray tray;
    return tray;
}

bool IsFirstForm(DWORD size) {
    return size == NOTIFYICONDATA_V1_SIZE || size == sizeof(NOTIFYICONDATA);
}

void Apply(sim::shell::TrayIcon& icon, const NOTIFYICONDATA& data) {
    if (data.uFlags & NIF_MESSAGE) {
        icon.callbackMessage = data.uCallbackMessage;
    }
    if (data.uFlags & NIF_ICON) {
        icon.icon = data.hIcon;
    }
    if (data.uFlags & NIF_TIP) {
        // The shell keeps at most 63 characters whatever the record holds.
        size_t n = 0;
        while (n < sizeof data.szTip - 1 && data.szTip[n] != '\0') {
            ++n;
        }
        icon.tip.assign(data.szTip, n);
    }
}

BOOL Handle(DWORD message, const NOTIFYICONDATA& data) {
    auto& icons = T().icons;
    auto it = std::find_if(icons.begin(), icons.end(), [&](const sim::shell::TrayIcon& icon) {
        return icon.window == data.hWnd && icon.id == data.uID;
    });
    switch (message) {
    case NIM_ADD: {
        if (it != icons.end()) {
            return FALSE;
        }
        sim::shell::TrayIcon icon;
        icon.window = data.hWnd;
        icon.id = data.uID;
        Apply(icon, data);
        icons.push_back(icon);
        return TRUE;
    }
    case NIM_MODIFY:
        if (it == icons.end()) {
            return FALSE;
        }
        Apply(*it, data);
        return TRUE;
    case NIM_DELETE:
        if (it == icons.end()) {
            return FALSE;
        }
        icons.erase(it);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data) {
    if (data == nullptr) {
        return FALSE;
    }
    // Only the fields of the first form are read.
    BOOL result = IsFirstForm(data->cbSize) ? Handle(message, *data) : FALSE;
    T().calls.push_back(sim::shell::TrayCall{message, data->hWnd, data->uID, result});
    return result;
}

namespace sim::shell {

const std::vector<TrayIcon>& TrayIcons() {
    return T().icons;
}

const TrayIcon* FindTrayIcon(HWND window, UINT id) {
    for (const TrayIcon& icon : T().icons) {
        if (icon.window == window && icon.id == id) {
            return &icon;
        }
    }
    return nullptr;
}

const std::vector<TrayCall>& TrayCalls() {
    return T().calls;
}

} // namespace sim::shell
