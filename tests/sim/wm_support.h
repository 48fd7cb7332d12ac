// Helpers for the window manager's tests: classic dialog templates built in
// memory, and procedures that record what they receive.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace wmtest {

// Predefined control classes by their template atoms.
constexpr WORD kButton = 0x80;
constexpr WORD kEdit = 0x81;
constexpr WORD kStatic = 0x82;
constexpr WORD kScrollBar = 0x84;

struct Control {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    WORD classAtom;
    std::u16string text = u"";
    WORD textOrdinal = 0; // a resource id instead of a text (an SS_ICON's icon)
};

// A classic template: the header, no menu, the dialog class, the title, the
// font when DS_SETFONT is in the style, then each item on a DWORD boundary.
inline std::vector<BYTE> BuildTemplate(DWORD style, short cx, short cy, const std::u16string& title,
                                       const std::vector<Control>& controls, WORD pointSize = 8) {
    std::vector<BYTE> b;
    auto word = [&b](WORD w) {
        b.push_back(static_cast<BYTE>(w & 0xFF));
        b.push_back(static_cast<BYTE>(w >> 8));
    };
    auto dword = [&word](DWORD d) {
        word(static_cast<WORD>(d & 0xFFFF));
        word(static_cast<WORD>(d >> 16));
    };
    auto text = [&word](const std::u16string& s) {
        for (char16_t c : s) {
            word(static_cast<WORD>(c));
        }
        word(0);
    };
    dword(style);
    dword(0);
    word(static_cast<WORD>(controls.size()));
    word(10); // x
    word(10); // y
    word(static_cast<WORD>(cx));
    word(static_cast<WORD>(cy));
    word(0); // menu
    word(0); // class
    text(title);
    if (style & DS_SETFONT) {
        word(pointSize);
        text(u"MS Sans Serif");
    }
    for (const Control& c : controls) {
        while (b.size() % 4 != 0) {
            b.push_back(0);
        }
        dword(c.style);
        dword(0);
        word(static_cast<WORD>(c.x));
        word(static_cast<WORD>(c.y));
        word(static_cast<WORD>(c.cx));
        word(static_cast<WORD>(c.cy));
        word(c.id);
        word(0xFFFF);
        word(c.classAtom);
        if (c.textOrdinal != 0) {
            word(0xFFFF);
            word(c.textOrdinal);
        } else {
            text(c.text);
        }
        word(0); // no creation data
    }
    return b;
}

inline LPCDLGTEMPLATE AsTemplate(const std::vector<BYTE>& bytes) {
    return reinterpret_cast<LPCDLGTEMPLATE>(bytes.data());
}

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// A dialog procedure that hands every message to a test's handler.
inline std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>& DialogHandler() {
    static std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handler;
    return handler;
}

inline INT_PTR CALLBACK HandlerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DialogHandler() ? DialogHandler()(dialog, message, wParam, lParam) : FALSE;
}

// A window procedure that hands every message to a test's handler, then to
// DefWindowProc unless the handler returns true.
using WindowHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;

inline WindowHandler& Handler() {
    static WindowHandler handler;
    return handler;
}

inline LRESULT CALLBACK HandlerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Handler() && Handler()(window, message, wParam, lParam, &result)) {
        return result;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

// The program's own window class, handled by Handler().
inline HWND CreateAppWindow(const char* className = "TestAppClass", DWORD style = 0,
                            HWND parent = nullptr) {
    WNDCLASS wc{};
    wc.lpfnWndProc = HandlerWindowProc;
    wc.hInstance = sim::ModuleInstance();
    wc.lpszClassName = className;
    RegisterClass(&wc);
    return CreateWindowEx(0, className, "", style, 0, 0, 0, 0, parent, nullptr,
                          sim::ModuleInstance(), nullptr);
}

} // namespace wmtest
