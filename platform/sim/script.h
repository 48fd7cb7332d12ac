// The scripted user of the simulated Windows 95.
//
// A test queues the user's actions before it starts the program (or opens a
// dialog). Whenever a message loop of the thread has nothing left to dispatch,
// the next action runs: it acts on the innermost modal loop (a dialog, a popup
// menu, a message box) or on the desktop (the tray icon, the pointer, the
// display). A loop that waits with no action left, or an action that does not
// fit what is on the screen, stops the test with a message that says which.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/sim/types.h"

namespace sim::script {

// Any action: a lambda run when its turn comes (send a message from another
// program, change the registry, check something mid-dialog).
void Do(std::string description, std::function<void()> action);
void Do(std::function<void()> action);

// The desktop.
// A mouse message (WM_LBUTTONDOWN, WM_RBUTTONUP, ...) on the notification-area
// icon: the pointer moves onto the icon in the taskbar and the icon's window
// gets its callback message. Without a window, the only icon there is.
void ClickTrayIcon(UINT mouseMessage);
void ClickTrayIcon(HWND window, UINT id, UINT mouseMessage);
void MovePointer(int x, int y);
void ChangeDisplayMode(int bitsPerPixel, int width = 0, int height = 0);
// Closes a top-level window of another program's or the program's own: it is
// sent WM_CLOSE, as the task list's End Task does.
void CloseWindowOfClass(const std::string& className);

// The innermost popup menu. The pointer stays where it is (MovePointer first
// to choose where a dialog opened from the menu finds it).
void ChooseMenuItem(UINT commandId);
void DismissMenu();

// The innermost modal dialog.
// A click on a button of any kind: push buttons, owner-drawn buttons, check
// boxes and radio buttons (auto ones toggle). A disabled button ignores it.
void PressButton(int id);
void ToggleCheckBox(int id);
// The user works a scroll bar: it sends WM_HSCROLL (WM_VSCROLL for a vertical
// one) with the code and, for the thumb codes, the position, then
// SB_ENDSCROLL. Disabled arrows and disabled scroll bars do nothing.
void Scroll(int scrollBarId, int code, int position = 0);
// Clicks into an edit box (the caret goes to the end of its text) and types
// the text one keystroke at a time; '\b' is Backspace. Each keystroke is a
// separate action, so the program handles one before the next arrives.
void TypeText(int editId, const std::string& text);
// Selects the whole text of the box, then types (the first keystroke replaces
// the selection).
void ReplaceText(int editId, const std::string& text);
// Selects the whole text of the box and presses Backspace.
void ClearText(int editId);
void PressEnter();
void PressEsc();
void PressTab();
void CloseFromTitleBar();

// The innermost message box: the button the user presses (IDOK, IDYES, ...).
void AnswerMessageBox(int result);

// Actions not yet run.
size_t PendingActions();

} // namespace sim::script
