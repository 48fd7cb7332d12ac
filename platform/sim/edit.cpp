// The predefined EDIT control: text, selection and caret, keystrokes, and the
// change notifications. A multi-line edit control raises no EN_CHANGE when the
// program sets its text; a single-line one does; typing always does.
#include <algorithm>
#include <cctype>

#include "platform/sim/wm.h"

using namespace sim::wm;

namespace {

void Normalise(Window* w) {
    w->selStart = std::min(w->selStart, w->text.size());
    w->selEnd = std::min(w->selEnd, w->text.size());
}

// Replaces the selection with `insert` as far as the text limit allows;
// returns whether the text changed.
bool ReplaceSelection(HWND edit, const std::string& insert, bool userTyped) {
    Window* w = Find(edit);
    Normalise(w);
    size_t from = std::min(w->selStart, w->selEnd);
    size_t to = std::max(w->selStart, w->selEnd);
    size_t room =
        w->limit > w->text.size() - (to - from) ? w->limit - (w->text.size() - (to - from)) : 0;
    std::string piece = insert.substr(0, std::min(insert.size(), room));
    if (userTyped && piece.size() < insert.size()) {
        Notify(edit, EN_MAXTEXT);
        w = Find(edit);
        if (w == nullptr) {
            return false;
        }
    }
    if (from == to && piece.empty()) {
        return false;
    }
    w->text.replace(from, to - from, piece);
    w->selStart = w->selEnd = from + piece.size();
    w->modified = true;
    w->invalid = true;
    return true;
}

void Changed(HWND edit) {
    Notify(edit, EN_UPDATE);
    if (Find(edit) != nullptr) {
        Notify(edit, EN_CHANGE);
    }
}

void TypeCharacter(HWND edit, unsigned char c) {
    Window* w = Find(edit);
    if (w->style & ES_READONLY) {
        return;
    }
    if (c == '\b') {
        Normalise(w);
        if (w->selStart == w->selEnd) {
            if (w->selEnd == 0) {
                return;
            }
            w->selStart = w->selEnd - 1;
        }
        if (ReplaceSelection(edit, "", true)) {
            Changed(edit);
        }
        return;
    }
    std::string insert;
    if (c == '\r') {
        if ((w->style & ES_MULTILINE) && (w->style & ES_WANTRETURN)) {
            insert = "\r\n";
        } else {
            return;
        }
    } else if (c < 0x20) {
        return;
    } else {
        if ((w->style & ES_NUMBER) && !std::isdigit(c)) {
            return;
        }
        char ch = static_cast<char>(c);
        if (w->style & ES_UPPERCASE) {
            ch = static_cast<char>(std::toupper(c));
        } else if (w->style & ES_LOWERCASE) {
            ch = static_cast<char>(std::tolower(c));
        }
        insert = std::string(1, ch);
    }
    if (ReplaceSelection(edit, insert, true)) {
        Changed(edit);
    }
}

} // namespace

namespace sim::wm {

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(edit);
    if (w == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_SETTEXT: {
        w->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
        w->selStart = w->selEnd = 0;
        w->modified = false;
        w->invalid = true;
        if ((w->style & ES_MULTILINE) == 0) {
            Changed(edit);
        }
        return TRUE;
    }
    case EM_SETSEL: {
        long long start = static_cast<int>(wParam);
        long long end = static_cast<int>(lParam);
        long long length = static_cast<long long>(w->text.size());
        if (start == -1) {
            // -1 removes the selection and leaves the caret where it is.
            w->selStart = w->selEnd;
            return 0;
        }
        if (end < 0 || end > length) {
            end = length;
        }
        start = std::clamp(start, 0LL, length);
        w->selStart = static_cast<size_t>(start);
        w->selEnd = static_cast<size_t>(end);
        return 0;
    }
    case EM_GETSEL: {
        size_t from = std::min(w->selStart, w->selEnd);
        size_t to = std::max(w->selStart, w->selEnd);
        if (wParam != 0) {
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(from);
        }
        if (lParam != 0) {
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(to);
        }
        return MAKELRESULT(std::min<size_t>(from, 0xFFFF), std::min<size_t>(to, 0xFFFF));
    }
    case EM_REPLACESEL:
        if (ReplaceSelection(edit, lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "", false)) {
            Changed(edit);
        }
        return 0;
    case EM_LIMITTEXT:
        w->limit = wParam != 0 ? static_cast<size_t>(wParam) : 0x7FFFFFFE;
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(w->limit);
    case EM_GETMODIFY:
        return w->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        w->modified = wParam != 0;
        return 0;
    case WM_CHAR:
        TypeCharacter(edit, static_cast<unsigned char>(wParam));
        return 0;
    case WM_KEYDOWN:
        Normalise(w);
        switch (wParam) {
        case VK_DELETE:
            if (w->selStart == w->selEnd) {
                if (w->selEnd >= w->text.size()) {
                    return 0;
                }
                w->selEnd = w->selStart + 1;
            }
            if ((w->style & ES_READONLY) == 0 && ReplaceSelection(edit, "", true)) {
                Changed(edit);
            }
            return 0;
        case VK_LEFT:
            w->selStart = w->selEnd = w->selEnd > 0 ? w->selEnd - 1 : 0;
            return 0;
        case VK_RIGHT:
            w->selStart = w->selEnd = std::min(w->selEnd + 1, w->text.size());
            return 0;
        case VK_HOME:
            w->selStart = w->selEnd = 0;
            return 0;
        case VK_END:
            w->selStart = w->selEnd = w->text.size();
            return 0;
        default:
            return 0;
        }
    case WM_LBUTTONDOWN:
        // A click puts the caret at the end of the text.
        SetFocus(edit);
        if ((w = Find(edit)) != nullptr) {
            w->selStart = w->selEnd = w->text.size();
        }
        return 0;
    case WM_SETFOCUS:
        Notify(edit, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Notify(edit, EN_KILLFOCUS);
        return 0;
    default:
        return DefWindowProc(edit, message, wParam, lParam);
    }
}

} // namespace sim::wm
