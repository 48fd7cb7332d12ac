// The thread's message queue: sending, posting, retrieving and dispatching,
// broadcasts, the default window procedure and the nested modal loops.
#include <algorithm>
#include <cstring>

#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/sim/wm.h"

namespace {

struct Trace {
    bool on = false;
    std::vector<sim::ui::TracedMessage> messages;
};

Trace& Tracing() {
    static Trace trace;
    return trace;
}

// A loop that dispatches this many messages without ever running out of them
// is caught in messages that keep posting each other; better to stop.
constexpr size_t kStormLimit = 2000000;

bool Matches(const MSG& m, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && m.hwnd != window && !sim::wm::IsDescendant(window, m.hwnd)) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) {
        return true;
    }
    return m.message >= filterMin && m.message <= filterMax;
}

HWND FindInvalid(HWND window, HWND filter) {
    sim::wm::Window* w = sim::wm::Find(window);
    if (w == nullptr || (w->style & WS_VISIBLE) == 0) {
        return nullptr;
    }
    if (w->invalid &&
        (filter == nullptr || filter == window || sim::wm::IsDescendant(filter, window))) {
        return window;
    }
    for (HWND child : w->children) {
        if (HWND found = FindInvalid(child, filter)) {
            return found;
        }
    }
    return nullptr;
}

// The next message without waiting: posted messages first, then the quit
// message, then painting, as the platform orders them.
bool Next(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    sim::wm::State& state = sim::wm::S();
    for (auto it = state.posted.begin(); it != state.posted.end(); ++it) {
        if (Matches(*it, window, filterMin, filterMax)) {
            *msg = *it;
            if (remove) {
                state.posted.erase(it);
            }
            return true;
        }
    }
    if (state.quit && window == nullptr) {
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(state.quitCode);
        if (remove) {
            state.quit = false;
        }
        return true;
    }
    if (filterMin == 0 && filterMax == 0 ? true
                                         : (WM_PAINT >= filterMin && WM_PAINT <= filterMax)) {
        for (HWND top : std::vector<HWND>(state.topLevel)) {
            if (HWND invalid = FindInvalid(top, window)) {
                *msg = MSG{};
                msg->hwnd = invalid;
                msg->message = WM_PAINT;
                return true;
            }
        }
    }
    return false;
}

void CountDispatch() {
    sim::wm::State& state = sim::wm::S();
    if (++state.dispatchedSinceIdle > kStormLimit) {
        sim::wm::Fail("more than " + std::to_string(kStormLimit) +
                      " messages dispatched without the queue ever running empty");
    }
}

// Waits for a message the way a message loop does: while nothing is there the
// scripted user acts; with nothing there and no action left, fails.
void WaitForMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax,
                    const std::string& where) {
    for (;;) {
        if (Next(msg, window, filterMin, filterMax, true)) {
            CountDispatch();
            return;
        }
        sim::wm::S().dispatchedSinceIdle = 0;
        if (!sim::wm::RunNextAction()) {
            sim::wm::Fail(where +
                          " has nothing left to dispatch and the scripted user has no action "
                          "left: the test would wait forever");
        }
    }
}

} // namespace

namespace sim::wm {

LRESULT Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(window);
    if (w == nullptr || w->proc == nullptr) {
        return 0;
    }
    Trace& trace = Tracing();
    if (trace.on) {
        trace.messages.push_back(sim::ui::TracedMessage{window, message, wParam, lParam});
    }
    return w->proc(window, message, wParam, lParam);
}

void Notify(HWND control, UINT code) {
    Window* w = Find(control);
    if (w == nullptr || w->parent == nullptr) {
        return;
    }
    Call(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
}

Frame* InnermostFrame() {
    State& state = S();
    return state.frames.empty() ? nullptr : state.frames.back();
}

bool RunModalLoop(Frame& frame, const std::function<bool(MSG&)>& preDispatch,
                  const std::function<bool()>& onIdle) {
    State& state = S();
    state.frames.push_back(&frame);
    bool quit = false;
    auto done = [&frame] {
        return frame.ended || (frame.kind == Frame::Kind::Dialog && Find(frame.window) == nullptr);
    };
    while (!done()) {
        MSG msg;
        if (Next(&msg, nullptr, 0, 0, true)) {
            CountDispatch();
            if (msg.message == WM_QUIT) {
                // The quit message ends every loop on its way out.
                PostQuitMessage(static_cast<int>(msg.wParam));
                quit = true;
                break;
            }
            if (!preDispatch || !preDispatch(msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
            continue;
        }
        state.dispatchedSinceIdle = 0;
        if (onIdle && onIdle()) {
            continue;
        }
        if (done()) {
            break;
        }
        if (!RunNextAction()) {
            Fail(frame.description +
                 " has nothing left to dispatch and the scripted user has no action left: "
                 "the test would wait forever");
        }
    }
    state.frames.erase(std::find(state.frames.begin(), state.frames.end(), &frame));
    return !quit;
}

} // namespace sim::wm

using namespace sim::wm;

// ---------------------------------------------------------------------------
// Sending and posting.

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == HWND_BROADCAST) {
        // Every top-level window, including hidden, disabled and owned ones;
        // each has handled it before the next one gets it.
        for (HWND top : std::vector<HWND>(S().topLevel)) {
            Window* w = Find(top);
            if (w != nullptr && !w->destroying) {
                Call(top, message, wParam, lParam);
            }
        }
        return 1;
    }
    if (Find(window) == nullptr) {
        SetLastError(1400); // ERROR_INVALID_WINDOW_HANDLE
        return 0;
    }
    return Call(window, message, wParam, lParam);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    State& state = S();
    if (window == HWND_BROADCAST) {
        for (HWND top : state.topLevel) {
            state.posted.push_back(MSG{top, message, wParam, lParam, 0, POINT{0, 0}});
        }
        return TRUE;
    }
    if (window != nullptr && Find(window) == nullptr) {
        SetLastError(1400);
        return FALSE;
    }
    state.posted.push_back(MSG{window, message, wParam, lParam, 0, POINT{0, 0}});
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    State& state = S();
    state.quit = true;
    state.quitCode = exitCode;
}

// ---------------------------------------------------------------------------
// Retrieving and dispatching.

BOOL GetMessage(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) {
        return -1;
    }
    if (window != nullptr && Find(window) == nullptr) {
        SetLastError(1400);
        return -1;
    }
    WaitForMessage(msg, window, filterMin, filterMax, "GetMessage of the program's message loop");
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    if (msg == nullptr) {
        return FALSE;
    }
    return Next(msg, window, filterMin, filterMax, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

// Keystrokes arrive with their characters already: the scripted user posts
// WM_CHAR itself, so there is nothing to translate.
BOOL TranslateMessage(const MSG* msg) {
    return msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) ? TRUE
                                                                                      : FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) {
        return 0;
    }
    Window* w = Find(msg->hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg->message == WM_PAINT) {
        w->invalid = false;
    }
    return Call(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (proc == nullptr) {
        return 0;
    }
    return proc(window, message, wParam, lParam);
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(window);
    if (w == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) {
            w->text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            Call(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_SETTEXT:
        w->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
        w->invalid = true;
        return TRUE;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPSTR>(lParam);
        if (buffer == nullptr || wParam == 0) {
            return 0;
        }
        size_t n = std::min(w->text.size(), static_cast<size_t>(wParam - 1));
        std::memcpy(buffer, w->text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_PAINT:
        w->invalid = false;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_QUERYENDSESSION:
        return TRUE;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Test controls.

namespace sim::ui {

size_t PumpMessages() {
    size_t count = 0;
    MSG msg;
    while (Next(&msg, nullptr, 0, 0, true)) {
        CountDispatch();
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchMessage(&msg);
        ++count;
    }
    S().dispatchedSinceIdle = 0;
    return count;
}

size_t PostedMessageCount() {
    return S().posted.size();
}

void TraceMessages(bool on) {
    Tracing().on = on;
}

const std::vector<TracedMessage>& MessageTrace() {
    return Tracing().messages;
}

} // namespace sim::ui
