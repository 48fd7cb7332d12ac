// The predefined controls BUTTON, STATIC and SCROLLBAR, and the scroll bar
// functions.
#include <algorithm>
#include <climits>

#include "platform/sim/gdi.h"
#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/sim/wm.h"

using namespace sim::wm;

namespace {

DWORD ButtonType(const Window* w) {
    return w->style & BS_TYPEMASK;
}

bool HasCheckState(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

bool IsRadio(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// An owner-drawn button asks its parent to paint it, with the state of the
// moment, on a device context of the button.
void DrawOwnerButton(HWND button, UINT action) {
    Window* w = Find(button);
    if (w == nullptr || ButtonType(w) != BS_OWNERDRAW || w->parent == nullptr || !IsShown(button)) {
        return;
    }
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(w->id);
    dis.itemID = 0;
    dis.itemAction = action;
    dis.itemState = (w->pushed ? ODS_SELECTED : 0) | (GetFocus() == button ? ODS_FOCUS : 0) |
                    ((w->style & WS_DISABLED) ? ODS_DISABLED : 0);
    dis.hwndItem = button;
    GetClientRect(button, &dis.rcItem);
    HDC dc = GetDC(button);
    dis.hDC = dc;
    Call(w->parent, WM_DRAWITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&dis));
    ReleaseDC(button, dc);
}

// The auto radio buttons of a group: from the nearest control at or before
// this one that starts a group (WS_GROUP) up to the next one that does.
void UncheckOtherRadios(HWND button) {
    Window* w = Find(button);
    Window* parent = w != nullptr ? Find(w->parent) : nullptr;
    if (parent == nullptr) {
        return;
    }
    const std::vector<HWND>& siblings = parent->children;
    auto self = std::find(siblings.begin(), siblings.end(), button);
    if (self == siblings.end()) {
        return;
    }
    size_t start = static_cast<size_t>(self - siblings.begin());
    while (start > 0) {
        Window* s = Find(siblings[start]);
        if (s != nullptr && (s->style & WS_GROUP)) {
            break;
        }
        --start;
    }
    for (size_t i = start; i < siblings.size(); ++i) {
        Window* s = Find(siblings[i]);
        if (s == nullptr) {
            continue;
        }
        if (i > start && (s->style & WS_GROUP)) {
            break;
        }
        if (siblings[i] != button && s->kind == Kind::Button && IsRadio(ButtonType(s)) &&
            s->check != BST_UNCHECKED) {
            SendMessage(siblings[i], BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

void SetPushed(HWND button, bool pushed) {
    Window* w = Find(button);
    if (w == nullptr || w->pushed == pushed) {
        return;
    }
    w->pushed = pushed;
    // An owner-drawn button is drawn at once; the others repaint later.
    if (ButtonType(w) == BS_OWNERDRAW) {
        DrawOwnerButton(button, ODA_SELECT);
    } else {
        w->invalid = true;
    }
}

// The end of a click: auto buttons change their state, then the parent hears
// of it.
void Clicked(HWND button) {
    Window* w = Find(button);
    if (w == nullptr) {
        return;
    }
    switch (ButtonType(w)) {
    case BS_AUTOCHECKBOX:
        SendMessage(button, BM_SETCHECK, w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessage(button, BM_SETCHECK, (w->check + 1) % 3, 0);
        break;
    case BS_AUTORADIOBUTTON:
        SendMessage(button, BM_SETCHECK, BST_CHECKED, 0);
        UncheckOtherRadios(button);
        break;
    default:
        break;
    }
    Notify(button, BN_CLICKED);
}

void ClampScroll(ScrollData& s) {
    int high = std::max(s.min, s.max);
    int low = std::min(s.min, s.max);
    s.pos = std::clamp(s.pos, low, high);
}

ScrollData* ScrollOf(HWND window, int bar) {
    Window* w = Find(window);
    if (w == nullptr || bar < SB_HORZ || bar > SB_CTL) {
        return nullptr;
    }
    if ((bar == SB_CTL) != (w->kind == Kind::ScrollBar)) {
        return nullptr;
    }
    return &w->scroll[bar];
}

} // namespace

namespace sim::wm {

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(button);
    if (w == nullptr) {
        return 0;
    }
    DWORD type = ButtonType(w);
    switch (message) {
    case BM_GETCHECK:
        return HasCheckState(type) ? w->check : BST_UNCHECKED;
    case BM_SETCHECK: {
        if (!HasCheckState(type)) {
            return 0;
        }
        UINT check = static_cast<UINT>(wParam);
        if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) {
            check = BST_CHECKED;
        }
        if (check > BST_INDETERMINATE) {
            check = BST_UNCHECKED;
        }
        if (w->check != check) {
            w->check = check;
            w->invalid = true;
        }
        return 0;
    }
    case BM_GETSTATE:
        return w->check | (w->pushed ? BST_PUSHED : 0) | (GetFocus() == button ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(button, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        w->style = (w->style & ~static_cast<DWORD>(0xFFFF)) | (static_cast<DWORD>(wParam) & 0xFFFF);
        if (lParam) {
            w->invalid = true;
        }
        return 0;
    case BM_CLICK:
        SendMessage(button, WM_LBUTTONDOWN, 0, 0);
        SendMessage(button, WM_LBUTTONUP, 0, 0);
        return 0;
    case BM_GETIMAGE:
        return wParam == w->imageType ? reinterpret_cast<LRESULT>(w->image) : 0;
    case BM_SETIMAGE: {
        if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON) {
            return 0;
        }
        HANDLE old = w->imageType == wParam ? w->image : nullptr;
        w->image = reinterpret_cast<HANDLE>(lParam);
        w->imageType = static_cast<UINT>(wParam);
        w->invalid = true;
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_LBUTTONDOWN:
        if (type == BS_GROUPBOX || (w->style & WS_DISABLED)) {
            return 0;
        }
        SetFocus(button);
        SetPushed(button, true);
        return 0;
    case WM_LBUTTONUP:
        if (w->pushed) {
            SetPushed(button, false);
            Clicked(button);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && type != BS_GROUPBOX) {
            SetPushed(button, true);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && w->pushed) {
            SetPushed(button, false);
            Clicked(button);
        }
        return 0;
    case WM_SETFOCUS:
        DrawOwnerButton(button, ODA_FOCUS);
        if (w->style & BS_NOTIFY) {
            Notify(button, BN_SETFOCUS);
        }
        return 0;
    case WM_KILLFOCUS:
        if (w->pushed) {
            w->pushed = false;
        }
        DrawOwnerButton(button, ODA_FOCUS);
        if ((w = Find(button)) != nullptr && (w->style & BS_NOTIFY)) {
            Notify(button, BN_KILLFOCUS);
        }
        return 0;
    case WM_PAINT:
        w->invalid = false;
        DrawOwnerButton(button, ODA_DRAWENTIRE);
        return 0;
    case WM_ENABLE:
        w->invalid = true;
        return 0;
    default:
        return DefWindowProc(button, message, wParam, lParam);
    }
}

LRESULT CALLBACK StaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(control);
    if (w == nullptr) {
        return 0;
    }
    switch (message) {
    case STM_SETICON: {
        HANDLE old = w->image;
        w->image = reinterpret_cast<HANDLE>(wParam);
        w->imageType = IMAGE_ICON;
        w->invalid = true;
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
        return w->imageType == IMAGE_ICON ? reinterpret_cast<LRESULT>(w->image) : 0;
    case STM_SETIMAGE: {
        HANDLE old = w->imageType == wParam ? w->image : nullptr;
        w->image = reinterpret_cast<HANDLE>(lParam);
        w->imageType = static_cast<UINT>(wParam);
        w->invalid = true;
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
        return w->imageType == wParam ? reinterpret_cast<LRESULT>(w->image) : 0;
    default:
        return DefWindowProc(control, message, wParam, lParam);
    }
}

LRESULT CALLBACK ScrollBarProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(control);
    if (w == nullptr) {
        return 0;
    }
    ScrollData& s = w->scroll[SB_CTL];
    switch (message) {
    case SBM_SETPOS: {
        int old = s.pos;
        s.pos = static_cast<int>(wParam);
        ClampScroll(s);
        if (lParam) {
            w->invalid = true;
        }
        return old;
    }
    case SBM_GETPOS:
        return s.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        int low = static_cast<int>(wParam);
        int high = static_cast<int>(lParam);
        // The span of a range must fit in a LONG.
        if (static_cast<long long>(high) - low > INT_MAX) {
            return FALSE;
        }
        int old = s.pos;
        s.min = low;
        s.max = high;
        ClampScroll(s);
        if (message == SBM_SETRANGEREDRAW) {
            w->invalid = true;
        }
        return s.pos != old ? old : 0;
    }
    case SBM_GETRANGE:
        if (wParam != 0) {
            *reinterpret_cast<int*>(wParam) = s.min;
        }
        if (lParam != 0) {
            *reinterpret_cast<int*>(lParam) = s.max;
        }
        return 0;
    case SBM_ENABLE_ARROWS: {
        UINT arrows = static_cast<UINT>(wParam) & ESB_DISABLE_BOTH;
        if (arrows == s.arrows) {
            return FALSE;
        }
        s.arrows = arrows;
        w->invalid = true;
        return TRUE;
    }
    default:
        return DefWindowProc(control, message, wParam, lParam);
    }
}

} // namespace sim::wm

// ---------------------------------------------------------------------------
// Scroll bar functions.

int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    if (bar == SB_CTL) {
        if (ScrollOf(window, SB_CTL) == nullptr) {
            return 0;
        }
        return static_cast<int>(
            SendMessage(window, SBM_SETPOS, static_cast<WPARAM>(position), redraw));
    }
    ScrollData* s = ScrollOf(window, bar);
    if (s == nullptr) {
        return 0;
    }
    int old = s->pos;
    s->pos = position;
    ClampScroll(*s);
    return old;
}

int GetScrollPos(HWND window, int bar) {
    ScrollData* s = ScrollOf(window, bar);
    return s != nullptr ? s->pos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw) {
    if (ScrollOf(window, bar) == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (static_cast<long long>(maxPos) - minPos > INT_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (bar == SB_CTL) {
        SendMessage(window, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos),
                    maxPos);
        return TRUE;
    }
    ScrollData* s = ScrollOf(window, bar);
    s->min = minPos;
    s->max = maxPos;
    ClampScroll(*s);
    return TRUE;
}

BOOL GetScrollRange(HWND window, int bar, int* minPos, int* maxPos) {
    ScrollData* s = ScrollOf(window, bar);
    if (s == nullptr || minPos == nullptr || maxPos == nullptr) {
        return FALSE;
    }
    *minPos = s->min;
    *maxPos = s->max;
    return TRUE;
}

BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows) {
    arrows &= ESB_DISABLE_BOTH;
    if (bar == SB_CTL) {
        if (ScrollOf(window, SB_CTL) == nullptr) {
            return FALSE;
        }
        return SendMessage(window, SBM_ENABLE_ARROWS, arrows, 0) ? TRUE : FALSE;
    }
    bool changed = false;
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != SB_BOTH && static_cast<int>(bar) != b) {
            continue;
        }
        ScrollData* s = ScrollOf(window, b);
        if (s == nullptr) {
            return FALSE;
        }
        if (s->arrows != arrows) {
            s->arrows = arrows;
            changed = true;
        }
    }
    return changed ? TRUE : FALSE;
}

namespace sim::ui {

UINT ScrollBarArrows(HWND scrollBar) {
    ScrollData* s = ScrollOf(scrollBar, SB_CTL);
    return s != nullptr ? s->arrows : ESB_ENABLE_BOTH;
}

} // namespace sim::ui
