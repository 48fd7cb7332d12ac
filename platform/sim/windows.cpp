// Window classes, windows, their geometry, visibility, focus and activation.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sim/gdi.h"
#include "platform/sim/system.h"
#include "platform/sim/wm.h"

namespace sim::wm {

namespace {

bool SameName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

void AddSystemClass(State& state, const char* name, WNDPROC proc, Kind kind) {
    ClassInfo info;
    info.name = name;
    info.proc = proc;
    info.kind = kind;
    info.atom = state.nextAtom++;
    state.classes.push_back(info);
}

} // namespace

State& S() {
    // Never destroyed: windows may still be torn down by objects of tests that
    // outlive static destruction order.
    static State* state = [] {
        auto* s = new State;
        AddSystemClass(*s, "BUTTON", ButtonProc, Kind::Button);
        AddSystemClass(*s, "EDIT", EditProc, Kind::Edit);
        AddSystemClass(*s, "STATIC", StaticProc, Kind::Static);
        AddSystemClass(*s, "SCROLLBAR", ScrollBarProc, Kind::ScrollBar);
        AddSystemClass(*s, "LISTBOX", DefWindowProc, Kind::Generic);
        AddSystemClass(*s, "COMBOBOX", DefWindowProc, Kind::Generic);
        AddSystemClass(*s, "#32770", DefDlgProc, Kind::Dialog);
        // GDI draws a window's device context at its client origin.
        sim::gdi::SetWindowOriginSource([](HWND window, POINT* origin) {
            if (Find(window) == nullptr) {
                return false;
            }
            *origin = ClientOrigin(window);
            return true;
        });
        return s;
    }();
    static bool boxesInstalled = [] {
        // From now on message boxes run a modal loop answered by the scripted user.
        InstallMessageBoxLoop();
        return true;
    }();
    (void)boxesInstalled;
    return *state;
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "simulated Windows: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

Window* Find(HWND window) {
    State& state = S();
    auto it = state.windows.find(reinterpret_cast<uintptr_t>(window));
    return it == state.windows.end() ? nullptr : it->second.get();
}

HWND HandleOf(const Window* window) {
    return window == nullptr ? nullptr : window->handle;
}

HWND RootOf(HWND window) {
    Window* w = Find(window);
    while (w != nullptr && w->parent != nullptr) {
        w = Find(w->parent);
    }
    return HandleOf(w);
}

bool IsDescendant(HWND ancestor, HWND window) {
    Window* w = Find(window);
    while (w != nullptr && w->parent != nullptr) {
        if (w->parent == ancestor) {
            return true;
        }
        w = Find(w->parent);
    }
    return false;
}

bool IsShown(HWND window) {
    for (Window* w = Find(window); w != nullptr; w = Find(w->parent)) {
        if ((w->style & WS_VISIBLE) == 0) {
            return false;
        }
        if (w->parent == nullptr) {
            return true;
        }
    }
    return false;
}

// Windows 95 at 96 dots per inch: a caption of 18 pixels, dialog frames of 3,
// thick frames of 4, thin borders of 1, client edges of 2 more.
void FrameMetrics(DWORD style, DWORD exStyle, int* border, int* caption) {
    *caption = (style & WS_CAPTION) == WS_CAPTION ? 18 : 0;
    if (style & WS_THICKFRAME) {
        *border = 4;
    } else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_CAPTION) == WS_DLGFRAME) {
        *border = 3;
    } else if (style & WS_BORDER) {
        *border = 1;
    } else {
        *border = 0;
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        *border += 2;
    }
}

POINT ClientOrigin(HWND window) {
    POINT origin{0, 0};
    Window* w = Find(window);
    if (w == nullptr) {
        return origin;
    }
    int border = 0, caption = 0;
    FrameMetrics(w->style, w->exStyle, &border, &caption);
    if (w->parent != nullptr) {
        origin = ClientOrigin(w->parent);
    }
    origin.x += w->rect.left + border;
    origin.y += w->rect.top + border + caption;
    return origin;
}

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    long long product = static_cast<long long>(number) * numerator;
    long long divisor = denominator < 0 ? -static_cast<long long>(denominator) : denominator;
    bool negative = (product < 0) != (denominator < 0);
    long long magnitude = product < 0 ? -product : product;
    // Rounded half away from zero, as the platform's MulDiv does.
    long long result = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -result : result);
}

const ClassInfo* FindClass(LPCSTR name, HINSTANCE instance) {
    State& state = S();
    if (name == nullptr) {
        return nullptr;
    }
    if (IS_INTRESOURCE(name)) {
        ATOM atom = LOWORD(reinterpret_cast<ULONG_PTR>(name));
        for (const ClassInfo& c : state.classes) {
            if (c.atom == atom) {
                return &c;
            }
        }
        return nullptr;
    }
    // A program's own classes first, then the system's: two programs may each
    // have a class of the same name.
    for (const ClassInfo& c : state.classes) {
        if (c.instance != nullptr && c.instance == instance && SameName(c.name, name)) {
            return &c;
        }
    }
    for (const ClassInfo& c : state.classes) {
        if (c.instance == nullptr && SameName(c.name, name)) {
            return &c;
        }
    }
    return nullptr;
}

bool ClassNameIs(const Window* w, const char* name) {
    return w != nullptr && SameName(w->className, name);
}

} // namespace sim::wm

using namespace sim::wm;

namespace {

void RemoveFromList(std::vector<HWND>& list, HWND window) {
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

void InvalidateTree(HWND window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return;
    }
    w->invalid = true;
    for (HWND child : std::vector<HWND>(w->children)) {
        InvalidateTree(child);
    }
}

// WM_DESTROY goes to the window before its children, WM_NCDESTROY after them.
void DestroyTree(HWND window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return;
    }
    w->destroying = true;
    w->style &= ~WS_VISIBLE;
    Call(window, WM_DESTROY, 0, 0);
    w = Find(window);
    if (w == nullptr) {
        return;
    }
    for (HWND child : std::vector<HWND>(w->children)) {
        DestroyTree(child);
    }
    Call(window, WM_NCDESTROY, 0, 0);
    State& state = S();
    w = Find(window);
    if (w == nullptr) {
        return;
    }
    if (w->parent != nullptr) {
        if (Window* p = Find(w->parent)) {
            RemoveFromList(p->children, window);
        }
    } else {
        RemoveFromList(state.topLevel, window);
    }
    // Messages still queued for a destroyed window are dropped.
    state.posted.erase(std::remove_if(state.posted.begin(), state.posted.end(),
                                      [window](const MSG& m) { return m.hwnd == window; }),
                       state.posted.end());
    if (state.focus == window) {
        state.focus = nullptr;
    }
    if (state.active == window) {
        state.active = nullptr;
    }
    if (state.foreground == window) {
        state.foreground = nullptr;
    }
    state.windows.erase(reinterpret_cast<uintptr_t>(window));
}

void SendShowWindow(HWND window, bool show) {
    Call(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
}

} // namespace

// ---------------------------------------------------------------------------
// Classes.

ATOM RegisterClass(const WNDCLASS* windowClass) {
    State& state = S();
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpfnWndProc == nullptr || IS_INTRESOURCE(windowClass->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (const ClassInfo& c : state.classes) {
        if (c.instance == windowClass->hInstance && SameName(c.name, windowClass->lpszClassName)) {
            SetLastError(1410); // ERROR_CLASS_ALREADY_EXISTS
            return 0;
        }
    }
    ClassInfo info;
    info.name = windowClass->lpszClassName;
    info.proc = windowClass->lpfnWndProc;
    info.style = windowClass->style;
    // A class registered without an instance still belongs to the program.
    info.instance =
        windowClass->hInstance != nullptr ? windowClass->hInstance : reinterpret_cast<HINSTANCE>(1);
    info.atom = state.nextAtom++;
    state.classes.push_back(info);
    return info.atom;
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE instance) {
    State& state = S();
    for (auto it = state.classes.begin(); it != state.classes.end(); ++it) {
        if (it->instance != nullptr && it->instance == instance && className != nullptr &&
            !IS_INTRESOURCE(className) && SameName(it->name, className)) {
            for (const auto& [key, w] : state.windows) {
                if (w->proc == it->proc && SameName(w->className, className)) {
                    SetLastError(1412); // ERROR_CLASS_HAS_WINDOWS
                    return FALSE;
                }
            }
            state.classes.erase(it);
            return TRUE;
        }
    }
    SetLastError(1411); // ERROR_CLASS_DOES_NOT_EXIST
    return FALSE;
}

// ---------------------------------------------------------------------------
// Creation and destruction.

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND hWndParent, HMENU menu, HINSTANCE instance,
                    LPVOID param) {
    State& state = S();
    const ClassInfo* cls = FindClass(className, instance);
    if (cls == nullptr) {
        SetLastError(1407); // ERROR_CANNOT_FIND_WND_CLASS
        return nullptr;
    }
    HWND parent = nullptr;
    HWND owner = nullptr;
    if (style & WS_CHILD) {
        if (Find(hWndParent) == nullptr) {
            SetLastError(1406); // ERROR_TLW_WITH_WSCHILD
            return nullptr;
        }
        parent = hWndParent;
    } else if (hWndParent != nullptr) {
        if (Find(hWndParent) == nullptr) {
            SetLastError(1400); // ERROR_INVALID_WINDOW_HANDLE
            return nullptr;
        }
        owner = RootOf(hWndParent); // an owner is always a top-level window
    }
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = 640;
        height = 480;
    }

    auto record = std::make_unique<Window>();
    Window* w = record.get();
    w->handle = reinterpret_cast<HWND>(state.nextHandle);
    state.nextHandle += 0x10;
    w->kind = cls->kind;
    w->className = cls->name;
    w->proc = cls->proc;
    w->instance = instance;
    w->style = style & ~WS_VISIBLE; // shown once created
    w->exStyle = exStyle;
    w->rect = RECT{x, y, x + width, y + height};
    w->parent = parent;
    w->owner = owner;
    w->id = parent != nullptr ? static_cast<int>(reinterpret_cast<intptr_t>(menu)) : 0;
    if (w->kind == Kind::ScrollBar) {
        w->scroll[SB_CTL] = ScrollData{};
    } else {
        w->scroll[SB_HORZ] = ScrollData{0, 100, 0, ESB_ENABLE_BOTH};
        w->scroll[SB_VERT] = ScrollData{0, 100, 0, ESB_ENABLE_BOTH};
    }
    HWND handle = w->handle;
    state.windows[reinterpret_cast<uintptr_t>(handle)] = std::move(record);
    if (parent != nullptr) {
        Find(parent)->children.push_back(handle);
    } else {
        state.topLevel.push_back(handle);
    }

    std::string nameCopy = windowName != nullptr ? windowName : "";
    std::string classCopy = cls->name;
    CREATESTRUCT cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = hWndParent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = nameCopy.c_str();
    cs.lpszClass = classCopy.c_str();
    cs.dwExStyle = exStyle;
    if (!Call(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (Find(handle) == nullptr) {
        return nullptr;
    }
    if (Call(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (Find(handle) == nullptr) {
        return nullptr;
    }
    if (style & WS_VISIBLE) {
        ShowWindow(handle, (style & WS_CHILD) ? SW_SHOWNA : SW_SHOW);
    }
    return handle;
}

BOOL DestroyWindow(HWND window) {
    State& state = S();
    Window* w = Find(window);
    if (w == nullptr) {
        SetLastError(1400); // ERROR_INVALID_WINDOW_HANDLE
        return FALSE;
    }
    if (w->destroying) {
        return FALSE;
    }
    w->destroying = true;
    // The windows it owns go first.
    if (w->parent == nullptr) {
        for (HWND other : std::vector<HWND>(state.topLevel)) {
            Window* o = Find(other);
            if (o != nullptr && o->owner == window && !o->destroying) {
                DestroyWindow(other);
            }
        }
    }
    if (state.focus != nullptr && (state.focus == window || IsDescendant(window, state.focus))) {
        state.focus = nullptr;
    }
    DestroyTree(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return Find(window) != nullptr ? TRUE : FALSE;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
    State& state = S();
    for (HWND h : state.topLevel) {
        Window* w = Find(h);
        if (w == nullptr || w->destroying) {
            continue;
        }
        if (className != nullptr) {
            if (IS_INTRESOURCE(className)) {
                const ClassInfo* cls = FindClass(className, w->instance);
                if (cls == nullptr || !SameName(w->className, cls->name.c_str())) {
                    continue;
                }
            } else if (!SameName(w->className, className)) {
                continue;
            }
        }
        if (windowName != nullptr && w->text != windowName) {
            continue;
        }
        return h;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Visibility and painting.

BOOL ShowWindow(HWND window, int command) {
    State& state = S();
    Window* w = Find(window);
    if (w == nullptr) {
        return FALSE;
    }
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        if (wasVisible) {
            SendShowWindow(window, false);
            if ((w = Find(window)) != nullptr) {
                w->style &= ~WS_VISIBLE;
            }
            if (state.focus != nullptr &&
                (state.focus == window || IsDescendant(window, state.focus))) {
                SetFocus(nullptr);
            }
        }
        return wasVisible ? TRUE : FALSE;
    }
    if (!wasVisible) {
        SendShowWindow(window, true);
        if ((w = Find(window)) == nullptr) {
            return FALSE;
        }
        w->style |= WS_VISIBLE;
        InvalidateTree(window);
    }
    bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                    command != SW_SHOWMINNOACTIVE && w->parent == nullptr;
    if (activate) {
        state.active = window;
        state.foreground = window;
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return FALSE;
    }
    if (w->invalid && IsShown(window)) {
        w->invalid = false;
        Call(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* /*rect*/, BOOL /*erase*/) {
    if (window == nullptr) {
        for (HWND h : std::vector<HWND>(S().topLevel)) {
            InvalidateTree(h);
        }
        return TRUE;
    }
    Window* w = Find(window);
    if (w == nullptr) {
        return FALSE;
    }
    w->invalid = true;
    return TRUE;
}

BOOL IsWindowVisible(HWND window) {
    return IsShown(window) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    State& state = S();
    Window* w = Find(window);
    if (w == nullptr) {
        return FALSE;
    }
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        w->invalid = true;
        Call(window, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        w->invalid = true;
        if (state.focus == window) {
            SetFocus(nullptr);
        }
        Call(window, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    Window* w = Find(window);
    return w != nullptr && (w->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------
// Relations, texts, window data.

HWND GetParent(HWND window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return nullptr;
    }
    if (w->style & WS_CHILD) {
        return w->parent;
    }
    if (w->style & WS_POPUP) {
        return w->owner;
    }
    return nullptr;
}

HWND GetWindow(HWND window, UINT command) {
    Window* w = Find(window);
    if (w == nullptr || command != GW_OWNER) {
        return nullptr;
    }
    return w->owner;
}

BOOL SetWindowText(HWND window, LPCSTR text) {
    if (Find(window) == nullptr) {
        return FALSE;
    }
    return Call(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""))
               ? TRUE
               : FALSE;
}

int GetWindowText(HWND window, LPSTR buffer, int bufferMax) {
    if (Find(window) == nullptr || buffer == nullptr || bufferMax <= 0) {
        return 0;
    }
    return static_cast<int>(
        Call(window, WM_GETTEXT, static_cast<WPARAM>(bufferMax), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND window) {
    if (Find(window) == nullptr) {
        return 0;
    }
    return static_cast<int>(Call(window, WM_GETTEXTLENGTH, 0, 0));
}

int GetClassName(HWND window, LPSTR buffer, int bufferMax) {
    Window* w = Find(window);
    if (w == nullptr || buffer == nullptr || bufferMax <= 0) {
        return 0;
    }
    size_t n = std::min(w->className.size(), static_cast<size_t>(bufferMax - 1));
    std::memcpy(buffer, w->className.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

LONG_PTR GetWindowLongPtr(HWND window, int index) {
    Window* w = Find(window);
    if (w == nullptr) {
        SetLastError(1400);
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(w->exStyle);
    case GWL_ID:
        return w->id;
    case GWL_USERDATA:
        return w->userData;
    case GWL_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case DWL_MSGRESULT:
        return w->kind == Kind::Dialog ? w->msgResult : 0;
    default:
        SetLastError(1413); // ERROR_INVALID_INDEX
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
    Window* w = Find(window);
    if (w == nullptr) {
        SetLastError(1400);
        return 0;
    }
    LONG_PTR old = GetWindowLongPtr(window, index);
    switch (index) {
    case GWL_STYLE:
        w->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        w->exStyle = static_cast<DWORD>(value);
        break;
    case GWL_ID:
        w->id = static_cast<int>(value);
        break;
    case GWL_USERDATA:
        w->userData = value;
        break;
    case GWL_WNDPROC:
        if (value != 0) {
            w->proc = reinterpret_cast<WNDPROC>(value);
        }
        break;
    case DWL_MSGRESULT:
        if (w->kind == Kind::Dialog) {
            w->msgResult = value;
        }
        break;
    default:
        SetLastError(1413);
        return 0;
    }
    return old;
}

LONG GetWindowLong(HWND window, int index) {
    return static_cast<LONG>(GetWindowLongPtr(window, index));
}

LONG SetWindowLong(HWND window, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtr(window, index, value));
}

// ---------------------------------------------------------------------------
// Geometry.

BOOL GetWindowRect(HWND window, LPRECT rect) {
    Window* w = Find(window);
    if (w == nullptr || rect == nullptr) {
        SetLastError(1400);
        return FALSE;
    }
    *rect = w->rect;
    if (w->parent != nullptr) {
        POINT origin = ClientOrigin(w->parent);
        rect->left += origin.x;
        rect->right += origin.x;
        rect->top += origin.y;
        rect->bottom += origin.y;
    }
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    Window* w = Find(window);
    if (w == nullptr || rect == nullptr) {
        SetLastError(1400);
        return FALSE;
    }
    int border = 0, caption = 0;
    FrameMetrics(w->style, w->exStyle, &border, &caption);
    rect->left = 0;
    rect->top = 0;
    rect->right = std::max(0, static_cast<int>(w->rect.right - w->rect.left) - 2 * border);
    rect->bottom =
        std::max(0, static_cast<int>(w->rect.bottom - w->rect.top) - 2 * border - caption);
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    Window* w = Find(window);
    if (w == nullptr) {
        SetLastError(1400);
        return FALSE;
    }
    RECT old = w->rect;
    w->rect = RECT{x, y, x + width, y + height};
    bool moved = old.left != x || old.top != y;
    bool sized = old.right - old.left != width || old.bottom - old.top != height;
    if (moved) {
        POINT origin = ClientOrigin(window);
        if (w->parent != nullptr) {
            POINT parentOrigin = ClientOrigin(w->parent);
            origin.x -= parentOrigin.x;
            origin.y -= parentOrigin.y;
        }
        Call(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    if (sized && Find(window) != nullptr) {
        RECT client{};
        GetClientRect(window, &client);
        Call(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    }
    if (repaint) {
        InvalidateTree(window);
    }
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    if (Find(window) == nullptr || point == nullptr) {
        return FALSE;
    }
    POINT origin = ClientOrigin(window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    if (Find(window) == nullptr || point == nullptr) {
        return FALSE;
    }
    POINT origin = ClientOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Focus and activation.

HWND SetFocus(HWND window) {
    State& state = S();
    if (window != nullptr && Find(window) == nullptr) {
        SetLastError(1400);
        return nullptr;
    }
    HWND old = state.focus;
    if (old == window) {
        return old;
    }
    state.focus = window;
    if (old != nullptr && Find(old) != nullptr) {
        Call(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    // The focus may have moved on inside WM_KILLFOCUS.
    if (window != nullptr && state.focus == window && Find(window) != nullptr) {
        HWND root = RootOf(window);
        state.active = root;
        Call(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}

HWND GetFocus() {
    return S().focus;
}

BOOL SetForegroundWindow(HWND window) {
    State& state = S();
    if (Find(window) == nullptr) {
        return FALSE;
    }
    HWND root = RootOf(window);
    state.foreground = root;
    state.active = root;
    return TRUE;
}

HWND GetForegroundWindow() {
    return S().foreground;
}

HWND GetActiveWindow() {
    return S().active;
}
