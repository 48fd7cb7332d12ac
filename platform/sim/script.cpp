// The scripted user: a queue of actions that the message loops run whenever
// they have nothing left to dispatch.
#include "platform/sim/script.h"

#include <cctype>
#include <deque>
#include <utility>
#include <vector>

#include "platform/sim/shell.h"
#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/sim/wm.h"

using namespace sim::wm;

namespace {

struct Action {
    std::string description;
    std::function<void()> run;
};

struct Script {
    std::deque<Action> actions;
    std::string current; // the action that runs now
};

Script& Sc() {
    static Script script;
    return script;
}

void Push(std::string description, std::function<void()> run) {
    Sc().actions.push_back(Action{std::move(description), std::move(run)});
}

// Actions that belong to the one running now go before everything queued.
void PushFront(std::vector<Action> actions) {
    auto& queue = Sc().actions;
    queue.insert(queue.begin(), actions.begin(), actions.end());
}

[[noreturn]] void Refuse(const std::string& why) {
    Fail("the scripted user's action " + Sc().current + " cannot run: " + why);
}

std::string Innermost() {
    Frame* frame = InnermostFrame();
    return frame == nullptr ? "no modal loop runs (the program's own message loop waits)"
                            : "the innermost modal loop is " + frame->description;
}

HWND DialogOrRefuse() {
    Frame* frame = InnermostFrame();
    if (frame == nullptr || frame->kind != Frame::Kind::Dialog || Find(frame->window) == nullptr) {
        Refuse("it needs a modal dialog, but " + Innermost());
    }
    return frame->window;
}

HWND ControlOrRefuse(HWND dialog, int id, Kind kind, const char* kindName) {
    HWND control = GetDlgItem(dialog, id);
    Window* c = Find(control);
    if (c == nullptr) {
        Refuse("the dialog \"" + sim::ui::WindowText(dialog) + "\" has no control " +
               std::to_string(id));
    }
    if (c->kind != kind) {
        Refuse("control " + std::to_string(id) + " of the dialog \"" + sim::ui::WindowText(dialog) +
               "\" is no " + kindName + " (class " + c->className + ")");
    }
    return control;
}

void PointAt(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The mouse's messages are posted, as input is: the loop dispatches them.
void PostClick(HWND control) {
    PointAt(control);
    PostMessage(control, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
    PostMessage(control, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

UINT VirtualKeyOf(unsigned char c) {
    switch (c) {
    case '\b':
        return VK_BACK;
    case '\t':
        return VK_TAB;
    case '\r':
    case '\n':
        return VK_RETURN;
    case 0x1B:
        return VK_ESCAPE;
    case ' ':
        return VK_SPACE;
    case '-':
        return 0xBD; // VK_OEM_MINUS
    case '.':
        return 0xBE; // VK_OEM_PERIOD
    default:
        return std::isalnum(c) ? static_cast<UINT>(std::toupper(c)) : 0;
    }
}

// One keystroke to the window with the focus (the active dialog when no
// control has it).
void Keystroke(unsigned char c) {
    HWND target = GetFocus();
    if (target == nullptr) {
        Frame* frame = InnermostFrame();
        target = frame != nullptr && frame->kind == Frame::Kind::Dialog ? frame->window : nullptr;
    }
    if (target == nullptr) {
        Refuse("no window has the keyboard focus");
    }
    UINT vk = VirtualKeyOf(c);
    unsigned char ch = c == '\n' ? '\r' : c;
    PostMessage(target, WM_KEYDOWN, vk, 1);
    PostMessage(target, WM_CHAR, ch, 1);
    PostMessage(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

std::vector<Action> Keystrokes(const std::string& text) {
    std::vector<Action> out;
    for (unsigned char c : text) {
        std::string name = c == '\b' ? "Backspace" : std::string(1, static_cast<char>(c));
        out.push_back(Action{"keystroke '" + name + "'", [c] { Keystroke(c); }});
    }
    return out;
}

enum class Selection { CaretAtEnd, All };

void TypeInto(const std::string& name, int editId, Selection selection, std::string text) {
    Push(name, [editId, selection, text] {
        HWND dialog = DialogOrRefuse();
        HWND edit = ControlOrRefuse(dialog, editId, Kind::Edit, "edit box");
        if (IsWindowEnabled(edit)) {
            // The click lands first; the selection and the keys follow it.
            PostClick(edit);
            std::vector<Action> then;
            if (selection == Selection::All) {
                then.push_back(Action{"select the whole text", [edit] {
                                          if (Find(edit) != nullptr) {
                                              SendMessage(edit, EM_SETSEL, 0, -1);
                                          }
                                      }});
            }
            std::vector<Action> keys = Keystrokes(text);
            then.insert(then.end(), keys.begin(), keys.end());
            PushFront(then);
        }
    });
}

// The icons sit in the taskbar at the bottom right of the screen; the pointer
// moves onto the one clicked, and its window gets the callback message.
void ClickIcon(size_t index, UINT mouseMessage) {
    const sim::shell::TrayIcon& icon = sim::shell::TrayIcons()[index];
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 24 - 20 * static_cast<int>(index),
                 GetSystemMetrics(SM_CYSCREEN) - 14);
    if (icon.callbackMessage != 0) {
        PostMessage(icon.window, icon.callbackMessage, icon.id, static_cast<LPARAM>(mouseMessage));
    }
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        out += c == '\b' ? std::string("\\b") : std::string(1, c);
    }
    return out + "\"";
}

} // namespace

namespace sim::wm {

bool RunNextAction() {
    Script& script = Sc();
    if (script.actions.empty()) {
        return false;
    }
    Action action = std::move(script.actions.front());
    script.actions.pop_front();
    script.current = action.description;
    action.run();
    script.current.clear();
    return true;
}

size_t PendingActionCount() {
    return Sc().actions.size();
}

} // namespace sim::wm

namespace sim::script {

void Do(std::string description, std::function<void()> action) {
    Push("Do(" + description + ")", std::move(action));
}

void Do(std::function<void()> action) {
    Push("Do(a test's own action)", std::move(action));
}

void ClickTrayIcon(UINT mouseMessage) {
    Push("ClickTrayIcon(" + std::to_string(mouseMessage) + ")", [mouseMessage] {
        size_t count = sim::shell::TrayIcons().size();
        if (count != 1) {
            Refuse("the notification area holds " + std::to_string(count) +
                   " icons; name the window and id of the one to click");
        }
        ClickIcon(0, mouseMessage);
    });
}

void ClickTrayIcon(HWND window, UINT id, UINT mouseMessage) {
    Push("ClickTrayIcon(" + std::to_string(id) + ", " + std::to_string(mouseMessage) + ")",
         [window, id, mouseMessage] {
             const auto& icons = sim::shell::TrayIcons();
             for (size_t i = 0; i < icons.size(); ++i) {
                 if (icons[i].window == window && icons[i].id == id) {
                     ClickIcon(i, mouseMessage);
                     return;
                 }
             }
             Refuse("the notification area has no icon " + std::to_string(id) + " of that window");
         });
}

void MovePointer(int x, int y) {
    Push("MovePointer(" + std::to_string(x) + ", " + std::to_string(y) + ")",
         [x, y] { SetCursorPos(x, y); });
}

void ChangeDisplayMode(int bitsPerPixel, int width, int height) {
    Push("ChangeDisplayMode(" + std::to_string(bitsPerPixel) + ")",
         [bitsPerPixel, width, height] { sim::ChangeDisplayMode(bitsPerPixel, width, height); });
}

void CloseWindowOfClass(const std::string& className) {
    Push("CloseWindowOfClass(\"" + className + "\")", [className] {
        HWND window = FindWindow(className.c_str(), nullptr);
        if (window == nullptr) {
            Refuse("no top-level window of class \"" + className + "\" exists");
        }
        PostMessage(window, WM_CLOSE, 0, 0);
    });
}

void ChooseMenuItem(UINT commandId) {
    Push("ChooseMenuItem(" + std::to_string(commandId) + ")", [commandId] {
        std::string why;
        if (!ChooseMenuCommand(commandId, &why)) {
            Refuse(why + "; " + Innermost());
        }
    });
}

void DismissMenu() {
    Push("DismissMenu()", [] {
        std::string why;
        if (!sim::wm::DismissMenu(&why)) {
            Refuse(why + "; " + Innermost());
        }
    });
}

void PressButton(int id) {
    Push("PressButton(" + std::to_string(id) + ")", [id] {
        HWND dialog = DialogOrRefuse();
        HWND button = ControlOrRefuse(dialog, id, Kind::Button, "button");
        if (IsWindowEnabled(button)) {
            PostClick(button);
        }
    });
}

void ToggleCheckBox(int id) {
    Push("ToggleCheckBox(" + std::to_string(id) + ")", [id] {
        HWND dialog = DialogOrRefuse();
        HWND button = ControlOrRefuse(dialog, id, Kind::Button, "check box");
        DWORD type = Find(button)->style & BS_TYPEMASK;
        if (type != BS_CHECKBOX && type != BS_AUTOCHECKBOX && type != BS_3STATE &&
            type != BS_AUTO3STATE) {
            Refuse("control " + std::to_string(id) + " is a button but no check box");
        }
        if (IsWindowEnabled(button)) {
            PostClick(button);
        }
    });
}

void Scroll(int scrollBarId, int code, int position) {
    Push("Scroll(" + std::to_string(scrollBarId) + ", code " + std::to_string(code) +
             ", position " + std::to_string(position) + ")",
         [scrollBarId, code, position] {
             HWND dialog = DialogOrRefuse();
             HWND bar = ControlOrRefuse(dialog, scrollBarId, Kind::ScrollBar, "scroll bar");
             UINT arrows = sim::ui::ScrollBarArrows(bar);
             if (!IsWindowEnabled(bar)) {
                 return;
             }
             if ((code == SB_LINELEFT && (arrows & ESB_DISABLE_LEFT)) ||
                 (code == SB_LINERIGHT && (arrows & ESB_DISABLE_RIGHT)) ||
                 (code != SB_LINELEFT && code != SB_LINERIGHT && arrows == ESB_DISABLE_BOTH)) {
                 return;
             }
             PointAt(bar);
             UINT message = (Find(bar)->style & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
             bool thumb = code == SB_THUMBPOSITION || code == SB_THUMBTRACK;
             SendMessage(dialog, message, MAKEWPARAM(code, thumb ? position : 0),
                         reinterpret_cast<LPARAM>(bar));
             if (code != SB_ENDSCROLL && Find(bar) != nullptr && Find(dialog) != nullptr) {
                 SendMessage(dialog, message, MAKEWPARAM(SB_ENDSCROLL, 0),
                             reinterpret_cast<LPARAM>(bar));
             }
         });
}

void TypeText(int editId, const std::string& text) {
    TypeInto("TypeText(" + std::to_string(editId) + ", " + Quote(text) + ")", editId,
             Selection::CaretAtEnd, text);
}

void ReplaceText(int editId, const std::string& text) {
    TypeInto("ReplaceText(" + std::to_string(editId) + ", " + Quote(text) + ")", editId,
             Selection::All, text);
}

void ClearText(int editId) {
    TypeInto("ClearText(" + std::to_string(editId) + ")", editId, Selection::All, "\b");
}

void PressEnter() {
    Push("PressEnter()", [] {
        DialogOrRefuse();
        Keystroke('\r');
    });
}

void PressEsc() {
    Push("PressEsc()", [] {
        DialogOrRefuse();
        Keystroke(0x1B);
    });
}

void PressTab() {
    Push("PressTab()", [] {
        DialogOrRefuse();
        Keystroke('\t');
    });
}

void CloseFromTitleBar() {
    Push("CloseFromTitleBar()", [] {
        HWND dialog = DialogOrRefuse();
        if ((Find(dialog)->style & WS_SYSMENU) == 0) {
            Refuse("the dialog \"" + sim::ui::WindowText(dialog) + "\" has no close box");
        }
        PostMessage(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
}

void AnswerMessageBox(int result) {
    Push("AnswerMessageBox(" + std::to_string(result) + ")", [result] {
        Frame* frame = InnermostFrame();
        if (frame == nullptr || frame->kind != Frame::Kind::MessageBox) {
            Refuse("it needs a message box, but " + Innermost());
        }
        frame->result = result;
        frame->ended = true;
    });
}

size_t PendingActions() {
    return Sc().actions.size();
}

} // namespace sim::script
