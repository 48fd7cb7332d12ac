// Other programs' windows: foreign windows, a broadcast listener and the
// companion panel's stand-in.
#include "platform/sim/others.h"

#include "platform/sim/registry.h"
#include "platform/sim/wm.h"

namespace {

// Messages received per listener window.
std::map<HWND, std::vector<UINT>>& Received() {
    static std::map<HWND, std::vector<UINT>> received;
    return received;
}

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = Received().find(window);
    if (it != Received().end()) {
        it->second.push_back(message);
    }
    return DefWindowProc(window, message, wParam, lParam);
}

const char kListenerClass[] = "SimBroadcastListener";

} // namespace

namespace sim::others {

HINSTANCE OtherInstance() {
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x00500000));
}

HWND CreateForeignWindow(const std::string& className, const std::string& title, WNDPROC proc) {
    WNDPROC wanted = proc != nullptr ? proc : DefWindowProc;
    const sim::wm::ClassInfo* existing = sim::wm::FindClass(className.c_str(), OtherInstance());
    if (existing == nullptr || existing->instance != OtherInstance()) {
        WNDCLASS wc{};
        wc.lpfnWndProc = wanted;
        wc.hInstance = OtherInstance();
        wc.lpszClassName = className.c_str();
        RegisterClass(&wc);
    }
    HWND window = CreateWindowEx(0, className.c_str(), title.c_str(), WS_OVERLAPPED, 0, 0, 0, 0,
                                 nullptr, nullptr, OtherInstance(), nullptr);
    // A second window of the class may want a procedure of its own.
    if (window != nullptr && proc != nullptr) {
        SetWindowLongPtr(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    }
    return window;
}

BroadcastListener::BroadcastListener() {
    // Created before it is known to the procedure: the creation messages are
    // not counted.
    window_ = CreateForeignWindow(kListenerClass, "", ListenerProc);
    Received()[window_];
}

BroadcastListener::~BroadcastListener() {
    Received().erase(window_);
    if (IsWindow(window_)) {
        DestroyWindow(window_);
    }
}

int BroadcastListener::Count(UINT message) const {
    int n = 0;
    auto it = Received().find(window_);
    if (it != Received().end()) {
        for (UINT m : it->second) {
            n += m == message ? 1 : 0;
        }
    }
    return n;
}

int BroadcastListener::Count(const std::string& registeredName) const {
    UINT id = RegisterWindowMessage(registeredName.c_str());
    return id == 0 ? 0 : Count(id);
}

std::vector<UINT> BroadcastListener::RegisteredReceived() const {
    std::vector<UINT> out;
    auto it = Received().find(window_);
    if (it != Received().end()) {
        for (UINT m : it->second) {
            if (m >= 0xC000 && m <= 0xFFFF) {
                out.push_back(m);
            }
        }
    }
    return out;
}

CompanionPanel::CompanionPanel() = default;
CompanionPanel::~CompanionPanel() = default;

void CompanionPanel::WriteValue(const std::string& name, const std::string& text) const {
    sim::registry::SetString("HKEY_LOCAL_MACHINE\\Software\\Veridane\\Corvantis", name, text);
}

void CompanionPanel::AnnounceGammaChanged() const {
    SendMessage(HWND_BROADCAST, RegisterWindowMessage("QV26 Gamma Changed"), 0, 0);
}

void CompanionPanel::AnnounceChromaChanged() const {
    SendMessage(HWND_BROADCAST, RegisterWindowMessage("QV26 Chroma Changed"), 0, 0);
}

} // namespace sim::others
