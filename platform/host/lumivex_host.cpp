// Runs lumivex on a simulated machine with the board installed, as a user
// would: a short scripted session that opens the tray menu, switches the
// desktop correction on in its dialog, brightens red, confirms, and ends.
// It prints what the user sees and what the registry and the board hold.
//
//   lumivex [--lang ID] [--bpp N] [--languages] [--machine DIR]
//
// The machine is kept in DIR (or $LUMIVEX_MACHINE) when one is named: loaded
// from it, or installed afresh when it is empty, and saved back at the end.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sim/board.h"
#include "platform/sim/codepage.h"
#include "platform/sim/machine.h"
#include "platform/sim/script.h"
#include "platform/sim/shell.h"
#include "platform/sim/ui.h"
#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

const char* const kCorrectionKey = "Software\\Veridane\\Corvantis";
const char* const kUtilityKey = "Software\\Veridane\\Lumivex";

// The program's ANSI text, in the code page of the user's language, for a
// UTF-8 terminal.
std::string Shown(const std::string& ansi) {
    std::u16string wide = sim::AnsiToWide(ansi, sim::AnsiCodePageOf(GetUserDefaultLangID()));
    std::string out;
    for (size_t i = 0; i < wide.size(); ++i) {
        uint32_t c = wide[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void PrintTooltip(const char* when) {
    for (const sim::shell::TrayIcon& icon : sim::shell::TrayIcons()) {
        std::printf("tooltip %s: \"%s\"\n", when, Shown(icon.tip).c_str());
    }
}

void PrintLastMenu() {
    const auto& menus = sim::ui::TrackedMenus();
    if (menus.empty()) {
        return;
    }
    std::printf("tray menu:\n");
    for (const sim::ui::MenuItemRecord& item : menus.back().items) {
        if (item.text.empty() && item.id == 0) {
            std::printf("  ----\n");
        } else {
            std::printf("  %5u \"%s\"\n", static_cast<unsigned>(item.id), Shown(item.text).c_str());
        }
    }
}

void PrintDialog(const char* when) {
    HWND dialog = sim::ui::ActiveDialog();
    if (dialog == nullptr) {
        return;
    }
    std::printf("dialog \"%s\" %s:\n", Shown(sim::ui::WindowText(dialog)).c_str(), when);
    const int checks[] = {1004, 1005, 1009, 1010};
    for (int id : checks) {
        std::printf("  [%c] %s\n", IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 'x' : ' ',
                    Shown(sim::ui::ControlText(dialog, id)).c_str());
    }
    const char* const rows[] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        HWND bar = GetDlgItem(dialog, 1025 + i);
        std::printf("  %s scroll %4d  box \"%s\"%s\n", rows[i], GetScrollPos(bar, SB_CTL),
                    sim::ui::ControlText(dialog, 1029 + i).c_str(),
                    sim::ui::ScrollBarArrows(bar) == ESB_ENABLE_BOTH ? "" : "  (disabled)");
    }
}

void PrintStore() {
    std::printf("registry:\n");
    for (const char* key : {kCorrectionKey, kUtilityKey}) {
        for (const std::string& name : sim::registry::ValueNames(key)) {
            std::optional<std::string> text = sim::registry::GetString(key, name);
            std::printf("  HKLM\\%s [%s] = \"%s\"\n", key, name.c_str(),
                        text ? text->c_str() : "(not text)");
        }
    }
}

void PrintBoard() {
    const adapter_model::Board& board = sim::TheBoard();
    std::printf("board: register E0 = %02X (desktop through %d, video through %d)\n",
                board.PaletteControl(), board.DesktopSource(), board.VideoSource());
    std::printf("  256-entry palette, entries 0 64 128 192 255:");
    for (int i : {0, 64, 128, 192, 255}) {
        const auto& e = board.Palette256()[i];
        std::printf(" (%d,%d,%d)", e.r, e.g, e.b);
    }
    std::printf("\n  32-entry palette, entries 0 8 16 24 31:");
    for (int i : {0, 8, 16, 24, 31}) {
        const auto& e = board.Palette32()[i];
        std::printf(" (%d,%d,%d)", e.r, e.g, e.b);
    }
    std::printf("\n");
}

void ListLanguages() {
    for (WORD type : {static_cast<WORD>(6), static_cast<WORD>(5)}) {
        std::printf("%s:", type == 6 ? "string table languages" : "dialog 104 languages");
        WORD id = type == 6 ? 1 : 104;
        for (WORD lang : sim::ResourceLanguages(sim::ModuleInstance(), type, id)) {
            std::printf(" %u", lang);
        }
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    int bitsPerPixel = 16;
    const char* fromEnvironment = std::getenv("LUMIVEX_MACHINE");
    std::string machine = fromEnvironment != nullptr ? fromEnvironment : "";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) {
            sim::SetUserDefaultLangID(static_cast<LANGID>(std::atoi(argv[++i])));
        } else if (std::strcmp(argv[i], "--bpp") == 0 && i + 1 < argc) {
            bitsPerPixel = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--machine") == 0 && i + 1 < argc &&
                   argv[i + 1][0] != '\0') {
            machine = argv[++i];
        } else if (std::strcmp(argv[i], "--languages") == 0) {
            ListLanguages();
            return 0;
        } else {
            std::fprintf(stderr,
                         "usage: lumivex [--lang ID] [--bpp N] [--languages] [--machine DIR]\n");
            return 2;
        }
    }
    std::string error;
    if (machine.empty()) {
        sim::machine::InstallDefault();
    } else if (!sim::machine::Open(machine, &error)) {
        std::fprintf(stderr, "lumivex: cannot load the machine: %s\n", error.c_str());
        return 2;
    }
    sim::display::SetBitsPerPixel(bitsPerPixel);
    std::printf("lumivex on a simulated machine at %d bits per pixel, language %u\n", bitsPerPixel,
                GetUserDefaultLangID());

    namespace script = sim::script;
    script::Do([] { PrintTooltip("at start"); });
    script::ClickTrayIcon(WM_LBUTTONDOWN);
    script::Do([] { PrintLastMenu(); });
    script::ChooseMenuItem(40001);
    if (bitsPerPixel > 8) {
        script::Do([] { PrintDialog("as opened"); });
        script::PressButton(1004);
        script::Scroll(1025, SB_PAGERIGHT);
        script::Scroll(1025, SB_PAGERIGHT);
        script::Do([] { PrintDialog("after switching on and brightening red by 20"); });
        script::PressButton(IDOK);
        script::Do([] {
            PrintTooltip("after OK");
            PrintStore();
            PrintBoard();
        });
    } else {
        script::Do([] { std::printf("the correction is not available at this depth\n"); });
        script::AnswerMessageBox(IDOK);
    }
    script::CloseWindowOfClass("TaskbarTrayClass");

    int exitCode = sim::ui::RunWinMain(WinMain);
    std::printf("lumivex ended with exit code %d\n", exitCode);
    if (!machine.empty() && !sim::machine::Save(machine, &error)) {
        std::fprintf(stderr, "lumivex: cannot save the machine: %s\n", error.c_str());
        return 2;
    }
    return exitCode;
}
