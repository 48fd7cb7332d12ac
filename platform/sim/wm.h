// Internal records of the simulated window manager, shared by its modules
// (windows, messages, dialogs, controls, menus, script). Not for programs.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/user.h"

namespace sim::wm {

// Stops the process with a message on stderr: a test that drives the user
// interface wrongly, or waits for input nobody will give, fails at once.
[[noreturn]] void Fail(const std::string& what);

enum class Kind { Generic, Dialog, Button, Edit, Static, ScrollBar };

struct ScrollData {
    int min = 0;
    int max = 0;
    int pos = 0;
    UINT arrows = ESB_ENABLE_BOTH;
};

struct Window {
    HWND handle = nullptr;
    Kind kind = Kind::Generic;
    std::string className; // as the class was registered
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    // Screen coordinates for a top-level window, the parent's client
    // coordinates for a child.
    RECT rect{};
    HWND parent = nullptr; // of a child window
    HWND owner = nullptr;  // of a top-level window
    int id = 0;            // of a child window
    std::vector<HWND> children;
    bool invalid = false;
    bool destroying = false;
    LONG_PTR userData = 0;
    ScrollData scroll[3]; // SB_HORZ, SB_VERT, SB_CTL

    // Buttons and statics.
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    HANDLE image = nullptr;
    UINT imageType = IMAGE_BITMAP;

    // Edit controls: selection (caret at selEnd) and limits.
    size_t selStart = 0;
    size_t selEnd = 0;
    size_t limit = 32767;
    bool modified = false;

    // Dialogs.
    DLGPROC dlgProc = nullptr;
    LONG_PTR msgResult = 0;
    int defId = 0; // set with DM_SETDEFID; 0: none
    HWND savedFocus = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    int baseX = 8; // dialog base units of the dialog's font
    int baseY = 16;
};

// A modal loop that runs: the scripted user's actions act on the innermost.
struct Frame {
    enum class Kind { Dialog, Menu, MessageBox };
    Kind kind = Kind::Dialog;
    HWND window = nullptr; // the dialog; the menu's owner; the box's owner
    HMENU menu = nullptr;
    std::string description; // for failure messages
    bool ended = false;
    INT_PTR result = 0;
};

struct ClassInfo {
    std::string name;
    WNDPROC proc = nullptr;
    UINT style = 0;
    HINSTANCE instance = nullptr; // null for the system's classes
    Kind kind = Kind::Generic;
    ATOM atom = 0;
};

struct State {
    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel; // in creation order
    uintptr_t nextHandle = 0x10010;
    std::vector<ClassInfo> classes;
    ATOM nextAtom = 0xC100;

    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    size_t dispatchedSinceIdle = 0;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND foreground = nullptr;

    std::vector<Frame*> frames;
};

State& S();

const ClassInfo* FindClass(LPCSTR name, HINSTANCE instance);
bool ClassNameIs(const Window* window, const char* name);

Window* Find(HWND window);
HWND HandleOf(const Window* window);
// The top-level window a window belongs to (itself for a top-level window).
HWND RootOf(HWND window);
bool IsDescendant(HWND ancestor, HWND window);
// Visible along with all of its ancestors.
bool IsShown(HWND window);

// Nonclient edges of a window of this style: border width and caption height.
void FrameMetrics(DWORD style, DWORD exStyle, int* border, int* caption);
POINT ClientOrigin(HWND window);

// Calls a window's procedure directly (the heart of SendMessage).
LRESULT Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Sends WM_COMMAND with a notification code to a control's parent.
void Notify(HWND control, UINT code);

// Runs a nested modal loop for `frame` until it ends: every message of the
// thread is dispatched (through `preDispatch` first, when given, which returns
// true for a message it handled), `onIdle` may act when the queue is empty
// (return true when it did something), and otherwise the scripted user's next
// action runs. A loop with nothing to do and no action left fails. Returns
// false when WM_QUIT ended the loop; the quit message then stays pending.
bool RunModalLoop(Frame& frame, const std::function<bool(MSG&)>& preDispatch,
                  const std::function<bool()>& onIdle);

// The innermost modal loop, or null.
Frame* InnermostFrame();

// The built-in window procedures.
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ScrollBarProc(HWND, UINT, WPARAM, LPARAM);

// Scripted actions (script.cpp): run the next one; false when none is left.
bool RunNextAction();
size_t PendingActionCount();

// The scripted user's menu choices (menus.cpp): false, with the reason, when
// the innermost modal loop is no popup menu or the menu lacks the command.
bool ChooseMenuCommand(UINT_PTR commandId, std::string* why);
bool DismissMenu(std::string* why);

// The message box recorder's answers come from a modal loop once windows
// exist (dialogs.cpp).
void InstallMessageBoxLoop();

int MulDiv(int number, int numerator, int denominator);

} // namespace sim::wm
