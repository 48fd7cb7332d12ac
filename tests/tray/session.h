// A session of lumivex on the simulated machine: the machine is prepared
// (store, display depth, language), the scripted user's actions are queued,
// then WinMain runs until the user closes the tray window. Shared by the
// tray and the dialog tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/palette_hex.h"
#include "correction/curves.h"
#include "correction/settings.h"
#include "platform/sim/board.h"
#include "platform/sim/gdi.h"
#include "platform/sim/msgbox.h"
#include "platform/sim/others.h"
#include "platform/sim/registry.h"
#include "platform/sim/script.h"
#include "platform/sim/shell.h"
#include "platform/sim/system.h"
#include "platform/sim/ui.h"
#include "platform/win32.h"
#include "tray/tray.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace session {

inline constexpr char kCorrectionKey[] = "Software\\Veridane\\Corvantis";
inline constexpr char kUtilityKey[] = "Software\\Veridane\\Lumivex";

// Controls of the correction dialog.
enum : int {
    kOnOff = 1004,
    kLock = 1005,
    kBrightness = 1009,
    kContrast = 1010,
    kReset = 1013,
    kRedBar = 1025,
    kGreenBar = 1026,
    kBlueBar = 1027,
    kRedBox = 1029,
    kGreenBox = 1030,
    kBlueBox = 1031,
};

// One target as the store holds it, in the store's own text.
struct Target {
    std::string on = "0";
    std::string lock = "0";
    std::string type = "0";
    std::string brightness = "0 0 0";
    std::string contrast = "0 0 0";
};

inline void StoreTarget(const std::string& prefix, const Target& t) {
    sim::registry::SetString(kCorrectionKey, prefix + "ON/OFF", t.on);
    sim::registry::SetString(kCorrectionKey, prefix + "CorrectionType", t.type);
    sim::registry::SetString(kCorrectionKey, prefix + "PalBrightCtrls", t.brightness);
    sim::registry::SetString(kCorrectionKey, prefix + "PalContrastCtrls", t.contrast);
    sim::registry::SetString(kUtilityKey, prefix + "LOCK", t.lock);
}

// What the machine holds before lumivex starts. Without stored targets the
// store's keys do not exist yet, as on a first run.
struct Machine {
    int depth = 16;
    std::optional<Target> desktop;
    std::optional<Target> video;
    LANGID language = 1033;

    void Prepare() const {
        sim::display::SetBitsPerPixel(depth);
        sim::SetUserDefaultLangID(language);
        if (desktop) {
            StoreTarget("GAMMA_", *desktop);
        }
        if (video) {
            StoreTarget("CHROMA_", *video);
        }
    }
};

// Runs lumivex's entry point; the queued actions must end the session.
inline int RunLumivex() {
    return sim::ui::RunWinMain(WinMain);
}

// A check that lives after the end of the program would never run, so no
// action may be left.
inline int Start(const Machine& machine) {
    machine.Prepare();
    int exitCode = RunLumivex();
    EXPECT_EQ(sim::script::PendingActions(), 0u) << "actions left when the program ended";
    return exitCode;
}

// The user's ways into and out of the program.
inline void OpenFromTray(UINT command) {
    sim::script::ClickTrayIcon(WM_LBUTTONDOWN);
    sim::script::ChooseMenuItem(command);
}
inline void OpenDesktop() {
    OpenFromTray(IDM_DESKTOP_GAMMA);
}
inline void OpenVideo() {
    OpenFromTray(IDM_VIDEO_CHROMA);
}
inline void Quit() {
    sim::script::CloseWindowOfClass(TRAY_CLASS_NAME);
}

inline HWND TrayWindow() {
    return FindWindow(TRAY_CLASS_NAME, nullptr);
}

// The tooltip of lumivex's icon, or "<no icon>".
inline std::string Tip() {
    const sim::shell::TrayIcon* icon = sim::shell::FindTrayIcon(TrayWindow(), TRAY_ICON_ID);
    return icon != nullptr ? icon->tip : "<no icon>";
}

inline std::string Stored(const char* key, const std::string& name) {
    return sim::registry::GetString(key, name).value_or("<missing>");
}

// Palettes as hex text, one RRGGBB per entry, so that a difference shows.
// The palette of `size` entries that the given triples make of the ramp.
inline std::string ExpectedPalette(const ChannelTriple& brightness, const ChannelTriple& contrast,
                                   int size) {
    BYTE kept = paletteMax;
    paletteMax = 255;
    std::vector<PaletteEntry> base(size), work(size);
    ComputeRamp(base.data(), size);
    ComputeCorrectedPalette(&brightness, &contrast, base.data(), size, work.data());
    paletteMax = kept;
    return test_support::Hex(work);
}

inline std::string Board256() {
    return test_support::Hex(sim::TheBoard().Palette256());
}
inline std::string Board32() {
    return test_support::Hex(sim::TheBoard().Palette32());
}

// The dialog of the innermost modal loop; a check that runs without one fails.
inline HWND Dialog() {
    HWND dialog = sim::ui::ActiveDialog();
    EXPECT_NE(dialog, nullptr) << "no dialog is open";
    return dialog;
}

// What the three edit boxes and the three scroll bars show.
struct Shown {
    std::string boxes;
    std::string bars;
};

inline Shown ShownValues(HWND dialog) {
    Shown shown;
    const int boxes[3] = {kRedBox, kGreenBox, kBlueBox};
    const int bars[3] = {kRedBar, kGreenBar, kBlueBar};
    for (int i = 0; i < 3; ++i) {
        const char* separator = i == 0 ? "" : " ";
        shown.boxes += separator + sim::ui::ControlText(dialog, boxes[i]);
        shown.bars += separator + std::to_string(GetScrollPos(GetDlgItem(dialog, bars[i]), SB_CTL));
    }
    return shown;
}

inline std::string TripleText(const ChannelTriple* t) {
    if (t == nullptr) {
        return "<none>";
    }
    return std::to_string(t->r) + " " + std::to_string(t->g) + " " + std::to_string(t->b);
}

// A check run by the scripted user at its turn, e.g. while a dialog is open.
inline void Check(const std::string& what, std::function<void()> check) {
    sim::script::Do("check: " + what, std::move(check));
}

} // namespace session
