// Modal dialogs from templates, the dialog manager's default handling and
// keyboard interface, the dialog-item helpers, and the message box's modal
// loop.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "platform/sim/codepage.h"
#include "platform/sim/msgbox.h"
#include "platform/sim/resources.h"
#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/sim/wm.h"

using namespace sim::wm;

namespace {

std::vector<sim::ui::DialogRun>& Runs() {
    static std::vector<sim::ui::DialogRun> runs;
    return runs;
}

// Dialog base units of a template's font at 96 dots per inch: MS Sans Serif
// 8 pt averages 6 x 13 pixels; the system font (no DS_SETFONT) 8 x 16.
void BaseUnits(const sim::DialogTemplate& t, int* x, int* y) {
    if ((t.style & DS_SETFONT) == 0 || t.pointSize == 0) {
        *x = 8;
        *y = 16;
        return;
    }
    *x = std::max(1, MulDiv(6, t.pointSize, 8));
    *y = std::max(1, MulDiv(13, t.pointSize, 8));
}

bool IsEdit(HWND window) {
    Window* w = Find(window);
    return w != nullptr && w->kind == Kind::Edit;
}

// Focus given by the dialog manager selects the whole text of an edit box.
void DialogSetFocus(HWND control) {
    SetFocus(control);
    if (IsEdit(control) && GetFocus() == control) {
        SendMessage(control, EM_SETSEL, 0, -1);
    }
}

bool SameId(int a, int b) {
    return static_cast<WORD>(a) == static_cast<WORD>(b);
}

HWND CreateDialogWindow(HINSTANCE instance, const sim::DialogTemplate& t, HWND owner,
                        DLGPROC proc) {
    int bx = 0, by = 0;
    BaseUnits(t, &bx, &by);
    DWORD style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
    DWORD exStyle = t.exStyle | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    int border = 0, caption = 0;
    FrameMetrics(style, exStyle, &border, &caption);
    int width = MulDiv(t.cx, bx, 4) + 2 * border;
    int height = MulDiv(t.cy, by, 8) + 2 * border + caption;
    int x = MulDiv(t.x, bx, 4);
    int y = MulDiv(t.y, by, 8);
    if (style & DS_CENTER) {
        RECT work{};
        SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + (work.right - work.left - width) / 2;
        y = work.top + (work.bottom - work.top - height) / 2;
    } else if ((style & DS_ABSALIGN) == 0 && owner != nullptr) {
        POINT origin = ClientOrigin(owner);
        x += origin.x;
        y += origin.y;
    }
    HWND dialog = CreateWindowEx(exStyle, "#32770", t.title.c_str(), style, x, y, width, height,
                                 owner, nullptr, instance, nullptr);
    Window* d = Find(dialog);
    if (d == nullptr) {
        return nullptr;
    }
    d->dlgProc = proc;
    d->baseX = bx;
    d->baseY = by;
    for (const sim::DialogItemTemplate& item : t.items) {
        std::string text = item.textOrdinal ? "" : item.text;
        int id = static_cast<short>(item.id);
        HWND control =
            CreateWindowEx(item.exStyle, item.className.c_str(), text.c_str(),
                           item.style | WS_CHILD, MulDiv(item.x, bx, 4), MulDiv(item.y, by, 8),
                           MulDiv(item.cx, bx, 4), MulDiv(item.cy, by, 8), dialog,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), instance, nullptr);
        if (control == nullptr) {
            DestroyWindow(dialog);
            return nullptr;
        }
        Window* c = Find(control);
        if (item.textOrdinal && c->kind == Kind::Static && (item.style & SS_TYPEMASK) == SS_ICON) {
            HICON icon = LoadIcon(instance, MAKEINTRESOURCE(*item.textOrdinal));
            SendMessage(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
    }
    return dialog;
}

INT_PTR RunDialog(HINSTANCE instance, const sim::DialogTemplate& t, WORD templateId, HWND owner,
                  DLGPROC proc, LPARAM param) {
    if (owner != nullptr && Find(owner) == nullptr) {
        SetLastError(1400);
        return -1;
    }
    HWND ownerRoot = owner != nullptr ? RootOf(owner) : nullptr;
    HWND dialog = CreateDialogWindow(instance, t, ownerRoot, proc);
    if (dialog == nullptr) {
        return -1;
    }
    Runs().push_back(sim::ui::DialogRun{templateId, t.title, dialog, ownerRoot, false, 0});
    size_t runIndex = Runs().size() - 1;

    // The owner takes no input while its modal dialog runs.
    bool reenable = false;
    if (ownerRoot != nullptr && IsWindowEnabled(ownerRoot)) {
        EnableWindow(ownerRoot, FALSE);
        reenable = true;
    }

    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    LRESULT init = SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    Window* d = Find(dialog);
    if (init && d != nullptr && !d->ended && first != nullptr && Find(first) != nullptr) {
        DialogSetFocus(first);
    }
    d = Find(dialog);
    if (d != nullptr && !d->ended && (t.style & WS_VISIBLE)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
    }

    Frame frame;
    frame.kind = Frame::Kind::Dialog;
    frame.window = dialog;
    frame.description = "DialogBoxParam's modal loop of the dialog \"" + t.title + "\"" +
                        (templateId != 0 ? " (template " + std::to_string(templateId) + ")" : "");
    d = Find(dialog);
    if (d != nullptr && d->ended) {
        frame.ended = true;
        frame.result = d->result;
    } else if (d != nullptr) {
        RunModalLoop(
            frame, [dialog](MSG& msg) { return IsDialogMessage(dialog, &msg) != FALSE; },
            // The dialog appears once its first messages have been handled.
            [dialog] {
                if (Find(dialog) != nullptr && !IsWindowVisible(dialog)) {
                    ShowWindow(dialog, SW_SHOWNORMAL);
                    return true;
                }
                return false;
            });
    }

    if (reenable && Find(ownerRoot) != nullptr) {
        EnableWindow(ownerRoot, TRUE);
    }
    if (Find(dialog) != nullptr) {
        DestroyWindow(dialog);
    }
    if (ownerRoot != nullptr && Find(ownerRoot) != nullptr) {
        S().active = ownerRoot;
    }
    Runs()[runIndex].ended = true;
    Runs()[runIndex].result = frame.result;
    return frame.result;
}

// The id Enter presses: a focused push button, else the dialog's default.
int DefaultButtonId(HWND dialog) {
    Window* focus = Find(GetFocus());
    if (focus != nullptr && focus->kind == Kind::Button && focus->parent == dialog) {
        DWORD type = focus->style & BS_TYPEMASK;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            return focus->id;
        }
    }
    LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID) {
        return static_cast<short>(LOWORD(def));
    }
    return IDOK;
}

// The command of a button pressed from the keyboard, unless that button is
// disabled.
void PressFromKeyboard(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control != nullptr && !IsWindowEnabled(control)) {
        return;
    }
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

int FirstButtonOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}

int RunMessageBoxLoop(const sim::msgbox::Box& box) {
    Frame frame;
    frame.kind = Frame::Kind::MessageBox;
    frame.window = box.owner;
    frame.description =
        "MessageBox's modal loop of the box \"" + box.caption + "\" (\"" + box.text + "\")";
    if (sim::msgbox::PendingAnswers() > 0) {
        frame.description +=
            "; answers queued with sim::msgbox::QueueAnswer do not reach boxes once windows "
            "exist: queue sim::script::AnswerMessageBox instead";
    }
    HWND owner = box.owner != nullptr && Find(box.owner) != nullptr ? RootOf(box.owner) : nullptr;
    bool reenable = false;
    if (owner != nullptr && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        reenable = true;
    }
    bool answered = RunModalLoop(frame, nullptr, nullptr);
    if (reenable && Find(owner) != nullptr) {
        EnableWindow(owner, TRUE);
    }
    return answered ? static_cast<int>(frame.result) : FirstButtonOf(box.type);
}

} // namespace

namespace sim::wm {

void InstallMessageBoxLoop() {
    sim::msgbox::SetAnswerSource(RunMessageBoxLoop);
}

} // namespace sim::wm

// ---------------------------------------------------------------------------
// Running dialogs.

INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc,
                       LPARAM param) {
    if (templateName == nullptr || !IS_INTRESOURCE(templateName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(templateName));
    std::optional<sim::DialogTemplate> t = sim::LoadDialogTemplate(instance, id);
    if (!t) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    return RunDialog(instance, *t, id, owner, proc, param);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND owner,
                               DLGPROC proc, LPARAM param) {
    if (dialogTemplate == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    // Like the platform, the call carries no size: a well-formed template ends
    // where its last item does, and the parser reads no further than that.
    constexpr size_t kMaxTemplate = 0x10000;
    sim::DialogTemplate t;
    if (!sim::ParseDialogTemplate(reinterpret_cast<const BYTE*>(dialogTemplate), kMaxTemplate,
                                  sim::AnsiCodePageOf(GetUserDefaultLangID()), &t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return RunDialog(instance, t, 0, owner, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    Window* d = Find(dialog);
    if (d == nullptr || d->kind != Kind::Dialog) {
        SetLastError(1400);
        return FALSE;
    }
    d->ended = true;
    d->result = result;
    for (Frame* frame : S().frames) {
        if (frame->kind == Frame::Kind::Dialog && frame->window == dialog) {
            frame->ended = true;
            frame->result = result;
        }
    }
    return TRUE;
}

LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* d = Find(dialog);
    if (d == nullptr) {
        return 0;
    }
    if (d->dlgProc != nullptr) {
        d->msgResult = 0;
        INT_PTR handled = d->dlgProc(dialog, message, wParam, lParam);
        d = Find(dialog);
        if (handled) {
            switch (message) {
            case WM_INITDIALOG:
                return handled;
            default:
                return d != nullptr ? d->msgResult : 0;
            }
        }
        if (d == nullptr) {
            return 0;
        }
    }
    switch (message) {
    case WM_CLOSE: {
        // The close box and Alt+F4 become the Cancel button, unless that
        // button is disabled.
        HWND cancel = GetDlgItem(dialog, IDCANCEL);
        if (cancel == nullptr || IsWindowEnabled(cancel)) {
            PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                        reinterpret_cast<LPARAM>(cancel));
        }
        return 0;
    }
    case DM_GETDEFID: {
        if (d->defId != 0) {
            return MAKELRESULT(d->defId, DC_HASDEFID);
        }
        for (HWND child : d->children) {
            Window* c = Find(child);
            if (c != nullptr && c->kind == Kind::Button &&
                (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                return MAKELRESULT(c->id, DC_HASDEFID);
            }
        }
        return 0;
    }
    case DM_SETDEFID:
        d->defId = static_cast<int>(wParam);
        return TRUE;
    case WM_NEXTDLGCTL: {
        HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                             : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
        if (target != nullptr) {
            DialogSetFocus(target);
        }
        return 0;
    }
    case WM_SETFOCUS: {
        HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        if (first != nullptr) {
            DialogSetFocus(first);
        }
        return 0;
    }
    default:
        return DefWindowProc(dialog, message, wParam, lParam);
    }
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
    if (msg == nullptr || Find(dialog) == nullptr) {
        return FALSE;
    }
    if (msg->hwnd != dialog && !IsDescendant(dialog, msg->hwnd)) {
        return FALSE;
    }
    Window* focus = Find(msg->hwnd);
    bool wantsReturn = focus != nullptr && focus->kind == Kind::Edit &&
                       (focus->style & ES_MULTILINE) && (focus->style & ES_WANTRETURN);
    if (msg->message == WM_KEYDOWN) {
        switch (msg->wParam) {
        case VK_TAB: {
            bool back = false;
            HWND next = GetNextDlgTabItem(dialog, GetFocus(), back);
            if (next != nullptr) {
                DialogSetFocus(next);
            }
            return TRUE;
        }
        case VK_RETURN:
            if (!wantsReturn) {
                PressFromKeyboard(dialog, DefaultButtonId(dialog));
                return TRUE;
            }
            break;
        case VK_ESCAPE:
            PressFromKeyboard(dialog, IDCANCEL);
            return TRUE;
        default:
            break;
        }
    } else if (msg->message == WM_CHAR) {
        // The characters of the dialog's own keys go nowhere.
        if (msg->wParam == '\t' || msg->wParam == 0x1B || (msg->wParam == '\r' && !wantsReturn)) {
            return TRUE;
        }
    }
    TranslateMessage(msg);
    DispatchMessage(msg);
    return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    Window* d = Find(dialog);
    if (d == nullptr || d->kind != Kind::Dialog || rect == nullptr) {
        return FALSE;
    }
    rect->left = MulDiv(rect->left, d->baseX, 4);
    rect->right = MulDiv(rect->right, d->baseX, 4);
    rect->top = MulDiv(rect->top, d->baseY, 8);
    rect->bottom = MulDiv(rect->bottom, d->baseY, 8);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    return MAKELONG(8, 16);
}

// ---------------------------------------------------------------------------
// Dialog items.

HWND GetDlgItem(HWND dialog, int id) {
    Window* d = Find(dialog);
    if (d == nullptr) {
        SetLastError(1400);
        return nullptr;
    }
    for (HWND child : d->children) {
        Window* c = Find(child);
        if (c != nullptr && SameId(c->id, id)) {
            return child;
        }
    }
    SetLastError(1421); // ERROR_CONTROL_ID_NOT_FOUND
    return nullptr;
}

int GetDlgCtrlID(HWND control) {
    Window* c = Find(control);
    return c != nullptr && c->parent != nullptr ? c->id : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? SendMessage(control, message, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? SetWindowText(control, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int bufferMax) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        if (buffer != nullptr && bufferMax > 0) {
            buffer[0] = '\0';
        }
        return 0;
    }
    return static_cast<UINT>(GetWindowText(control, buffer, bufferMax));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    std::string text = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    return SetDlgItemText(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated != nullptr) {
        *translated = FALSE;
    }
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return 0;
    }
    std::string text(static_cast<size_t>(GetWindowTextLength(control)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowText(control, text.data(), static_cast<int>(text.size()))));

    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t i = 0;
    while (i < text.size() && blank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (isSigned && i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
        return 0;
    }
    // Values beyond what the 32-bit result can hold are refused, not wrapped.
    const uint64_t limit = isSigned ? (negative ? 2147483648ULL : 2147483647ULL) : 4294967295ULL;
    uint64_t value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > limit) {
            return 0;
        }
        ++i;
    }
    while (i < text.size() && blank(text[i])) {
        ++i;
    }
    if (i != text.size()) {
        return 0;
    }
    if (translated != nullptr) {
        *translated = TRUE;
    }
    if (negative) {
        return static_cast<UINT>(-static_cast<int64_t>(value));
    }
    return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return FALSE;
    }
    SendMessage(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? static_cast<UINT>(SendMessage(control, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
    Window* d = Find(dialog);
    if (d == nullptr) {
        return FALSE;
    }
    for (HWND child : std::vector<HWND>(d->children)) {
        Window* c = Find(child);
        if (c != nullptr && c->id >= firstId && c->id <= lastId) {
            SendMessage(child, BM_SETCHECK, c->id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    Window* d = Find(dialog);
    if (d == nullptr) {
        return nullptr;
    }
    // Controls that take the focus by Tab: tab stops that are visible and
    // enabled (by their own style; the dialog may not be shown yet).
    std::vector<HWND> stops;
    for (HWND child : d->children) {
        Window* c = Find(child);
        if (c != nullptr && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) &&
            (c->style & WS_DISABLED) == 0) {
            stops.push_back(child);
        }
    }
    if (stops.empty()) {
        return nullptr;
    }
    if (previous) {
        std::reverse(stops.begin(), stops.end());
    }
    auto it = std::find(stops.begin(), stops.end(), control);
    if (it == stops.end()) {
        return stops.front();
    }
    ++it;
    return it == stops.end() ? stops.front() : *it;
}

// ---------------------------------------------------------------------------
// What tests see.

namespace sim::ui {

const std::vector<DialogRun>& DialogRuns() {
    return Runs();
}

HWND ActiveDialog() {
    const std::vector<Frame*>& frames = S().frames;
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if ((*it)->kind == Frame::Kind::Dialog) {
            return Find((*it)->window) != nullptr ? (*it)->window : nullptr;
        }
        return nullptr;
    }
    return nullptr;
}

HWND FindDialog(const std::string& title) {
    for (HWND top : S().topLevel) {
        Window* w = Find(top);
        if (w != nullptr && w->kind == Kind::Dialog && w->text == title) {
            return top;
        }
    }
    return nullptr;
}

std::string ControlText(HWND dialog, int id) {
    Window* c = Find(GetDlgItem(dialog, id));
    return c != nullptr ? c->text : std::string();
}

} // namespace sim::ui
