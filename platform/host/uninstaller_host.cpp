// Runs the uninstaller on a simulated machine that has the Ardenvale board's
// driver installed, and prints what the run deleted.
//
// Any argument selects the silent run, as on the real system. In the
// interactive run the message boxes are asked on the terminal (y/n).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/sim/command_line.h"
#include "platform/win32.h"
#include "uninstaller/uninstaller.h"

namespace {

void InstallBoard() {
    namespace reg = sim::registry;
    const std::string pci = "HKEY_LOCAL_MACHINE\\Enum\\PCI\\";
    const std::string device =
        pci + "VEN_5C3E&DEV_0003&SUBSYS_00014D72&REV_03\\BUS_01&DEV_00&FUNC_00";
    reg::SetString(device, "Class", "DISPLAY");
    reg::SetString(device, "Driver", "DISPLAY\\0001");
    reg::SetString(device, "DeviceDesc", "Ardenvale");
    reg::SetString(device, "Mfg", "Zorbital");

    const std::string display =
        "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Display\\";
    reg::SetString(display + "0000\\DEFAULT", "drv", "vga.drv");
    reg::SetString(display + "0000", "DriverDesc", "Standard Display Adapter (VGA)");
    reg::SetString(display + "0001", "DriverDesc", "Ardenvale");
    reg::SetString(display + "0001\\DEFAULT", "drv", "zorb16qk.drv");
    reg::SetString(display + "0001\\DEFAULT", "vdd", "*vdd,zorbqk.vxd");
    reg::SetString(display + "0001\\MODES\\16\\640,480", "", "");
    reg::SetString(display + "0001\\shellex\\PropertySheetHandlers\\ZorbitalPages", "", "");

    reg::SetString("HKEY_LOCAL_MACHINE\\Software\\Zorbital\\Kelvane", "Version", "4.10");
    const std::string windows =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
    reg::SetString(windows + "Uninstall\\Zorbital Kelvane", "DisplayName",
                   "Ardenvale display driver");
    reg::SetString(windows + "Uninstall\\Zorbital Kelvane", "UninstallString",
                   "C:\\WINDOWS\\SYSTEM\\uninstaller.exe");
    reg::SetString(windows + "Run", "OrevalKelvane", "C:\\WINDOWS\\SYSTEM\\zorbqkps.dll");
    reg::SetString(windows + "Run", "SystemTray", "SysTray.Exe");

    for (const char* name : {"zorb16qk.drv", "zorbqk.vxd", "zorb32qk.dll", "plume3x.dll",
                             "zorbqkps.dll", "zorbqkps.hlp", "zorbspl3.dll", "vga.drv"}) {
        sim::files::AddFile(std::string("C:\\WINDOWS\\SYSTEM\\") + name);
    }
    for (const char* name :
         {"INF\\quenor.inf", "INF\\OTHER\\quenor.inf", "INF\\OTHER\\BrisantaQuenor.inf"}) {
        sim::files::AddFile(std::string("C:\\WINDOWS\\") + name);
    }
}

// The boxes' texts are Windows-1252; its upper half from 0xA0 is Latin-1.
std::string ToUtf8(const std::string& ansi) {
    std::string out;
    for (char c : ansi) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b >= 0xA0) {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        } else {
            out += '?';
        }
    }
    return out;
}

// Asks a Yes/No box on the terminal; the end of input answers No.
int AskOnTerminal(const sim::msgbox::Box& box) {
    std::printf("[%s] %s (y/n) ", ToUtf8(box.caption).c_str(), ToUtf8(box.text).c_str());
    std::fflush(stdout);
    // Answers read from a pipe are echoed, so the transcript reads as typed.
    bool echo = isatty(STDIN_FILENO) == 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && (line[0] == 'y' || line[0] == 'Y')) {
            std::printf("%s", echo ? "y\n" : "");
            return IDYES;
        }
        if (!line.empty() && (line[0] == 'n' || line[0] == 'N')) {
            std::printf("%s", echo ? "n\n" : "");
            return IDNO;
        }
        std::printf("(y/n) ");
        std::fflush(stdout);
    }
    std::printf("\n");
    return IDNO;
}

} // namespace

int main(int argc, char** argv) {
    InstallBoard();
    sim::ClearOperationLog();
    sim::msgbox::SetAnswerSource(AskOnTerminal);

    std::string full = sim::CommandLineFromArgs(argc, argv);
    std::string entry = sim::GuiEntryCommandLine(full);
    std::vector<char> cmdLine(entry.begin(), entry.end());
    cmdLine.push_back('\0');

    int exitCode = WinMain(nullptr, nullptr, cmdLine.data(), 1);

    for (const std::string& line : sim::OperationLog()) {
        bool deletion = line.rfind("RegDeleteKey ", 0) == 0 ||
                        line.rfind("RegDeleteValue ", 0) == 0 || line.rfind("DeleteFile ", 0) == 0;
        if (deletion && line.size() > 5 && line.compare(line.size() - 5, 5, " -> 0") == 0) {
            std::printf("deleted: %s\n", line.substr(0, line.size() - 5).c_str());
        }
    }
    if (!sim::ShutdownRequests().empty()) {
        std::printf("restart requested (ExitWindowsEx flags %u)\n", sim::ShutdownRequests().back());
    }
    std::printf("exit code %d\n", exitCode);
    return exitCode;
}
