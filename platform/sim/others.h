// Windows of other programs on the simulated desktop: any top-level window of
// a given class, a listener that counts the broadcasts it receives, and a
// stand-in for the companion display control panel, which writes the shared
// correction values and announces them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/sim/user.h"

namespace sim::others {

// The instance handle of the other programs' module.
HINSTANCE OtherInstance();

// A top-level window of another program, of any class (registered for that
// program when needed), handled by `proc` (DefWindowProc when null).
HWND CreateForeignWindow(const std::string& className, const std::string& title = "",
                         WNDPROC proc = nullptr);

// A hidden top-level window that counts every message it receives.
class BroadcastListener {
  public:
    BroadcastListener();
    ~BroadcastListener();
    BroadcastListener(const BroadcastListener&) = delete;
    BroadcastListener& operator=(const BroadcastListener&) = delete;

    HWND window() const { return window_; }
    int Count(UINT message) const;
    // The count of a registered message by its name.
    int Count(const std::string& registeredName) const;
    // The registered messages received, in order.
    std::vector<UINT> RegisteredReceived() const;

  private:
    HWND window_;
};

// The companion display control panel: it stores correction values under
// HKEY_LOCAL_MACHINE\Software\Veridane\Corvantis and announces a change of the
// desktop or video target to every top-level window, as the real panel does.
class CompanionPanel {
  public:
    CompanionPanel();
    ~CompanionPanel();
    CompanionPanel(const CompanionPanel&) = delete;
    CompanionPanel& operator=(const CompanionPanel&) = delete;

    HWND window() const { return listener_.window(); }
    // Writes one value of the shared key as REG_SZ text.
    void WriteValue(const std::string& name, const std::string& text) const;
    // Broadcasts "QV26 Gamma Changed" / "QV26 Chroma Changed".
    void AnnounceGammaChanged() const;
    void AnnounceChromaChanged() const;
    // What the panel heard from the utility ("Lumivex Gamma Changed", ...).
    int Heard(const std::string& registeredName) const { return listener_.Count(registeredName); }

  private:
    BroadcastListener listener_;
};

} // namespace sim::others
