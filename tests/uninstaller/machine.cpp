#include "tests/uninstaller/machine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

#include "platform/sim/command_line.h"
#include "platform/win32.h"
#include "uninstaller/uninstaller.h"

namespace machine {

const char* const kSystemDir = "C:\\WINDOWS\\SYSTEM";
const char* const kWindowsDir = "C:\\WINDOWS";
const char* const kDisplayClass =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Display";

namespace {

namespace reg = sim::registry;

const std::string kHklm = "HKEY_LOCAL_MACHINE\\";
const std::string kCurrentVersion = kHklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";

void DisplayAdapter(const std::string& number, const std::string& description,
                    const std::string& driver) {
    std::string key = std::string(kDisplayClass) + "\\" + number;
    reg::SetString(key, "DriverDesc", description);
    reg::SetString(key + "\\DEFAULT", "drv", driver);
    reg::SetString(key + "\\DEFAULT", "RefreshRate", "0");
    reg::SetString(key + "\\MODES\\8\\640,480", "", "");
    reg::SetString(key + "\\MODES\\16\\800,600", "", "");
    reg::SetString(key + "\\shellex\\PropertySheetHandlers\\Pages" + number, "", "");
}

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

void Walk(const std::string& path, std::set<std::string>* out) {
    out->insert(path);
    for (const std::string& name : reg::ValueNames(path)) {
        reg::Value value = *reg::GetValue(path, name);
        std::string data;
        for (BYTE b : value.data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x", b);
            data += hex;
        }
        out->insert(path + " [" + name + "] " + std::to_string(value.type) + ":" + data);
    }
    for (const std::string& child : reg::SubkeyNames(path)) {
        Walk(path + "\\" + child, out);
    }
}

} // namespace

void Install() {
    const std::string pci = kHklm + "Enum\\PCI\\";
    const char* const boardDevices[] = {
        "VEN_5C3E&DEV_0003",
        "VEN_5C3E&DEV_0003&SUBSYS_00014D72&REV_03",
        "VEN_5C3E&DEV_0003&SUBSYS_00024D72&REV_03",
        "VEN_5C3E&DEV_0003&SUBSYS_00035C3E&REV_03",
        "VEN_5C3E&DEV_0003&SUBSYS_00045C3E&REV_03",
    };
    for (const char* device : boardDevices) {
        std::string instance = pci + device + "\\BUS_01&DEV_00&FUNC_00";
        reg::SetString(instance, "Class", "DISPLAY");
        reg::SetString(instance, "Driver", "DISPLAY\\0003");
        reg::SetString(instance + "\\LogConfig", "0000", "");
    }
    // The same chip on a board whose subsystem is not listed, and another vendor.
    reg::SetString(pci + "VEN_5C3E&DEV_0003&SUBSYS_00055C3E&REV_03\\BUS_02&DEV_00&FUNC_00",
                   "Driver", "DISPLAY\\0004");
    reg::SetString(pci + "VEN_8086&DEV_7000\\BUS_00&DEV_07&FUNC_00", "Class", "ISA");

    reg::SetString(kDisplayClass, "Class", "Display");
    DisplayAdapter("0000", "Standard Display Adapter (VGA)", "vga.drv");
    DisplayAdapter("0001", "Other Adapter", "other.drv");
    reg::DeleteValue(std::string(kDisplayClass) + "\\0001\\DEFAULT", "drv");
    DisplayAdapter("0002", "Ardenvale (other letter case)", "ZORB16QK.DRV");
    DisplayAdapter("0003", "Ardenvale", "zorb16qk.drv");
    reg::SetString(std::string(kDisplayClass) + "\\0003\\INFO", "Chip", "Kelvane");
    DisplayAdapter("0004", "Another Adapter", "another.drv");
    DisplayAdapter("0009", "Ardenvale (second board)", "zorb16qk.drv");
    DisplayAdapter("0010", "Ardenvale (beyond the scan)", "zorb16qk.drv");

    reg::SetString(kHklm + "Software\\Zorbital\\Kelvane", "Version", "4.10.01");
    reg::SetString(kHklm + "Software\\Zorbital\\Kelvane\\Settings", "Refresh", "75");
    reg::SetString(kHklm + "Software\\Zorbital\\Kelvane Tools", "Version", "1.0");
    reg::SetString(kHklm + "Software\\Zorbital\\Other Chip", "Version", "2.0");
    reg::SetString(kHklm + "Software\\Veridane\\Corvantis", "GAMMA_On", "1");

    reg::SetString(kCurrentVersion + "Uninstall\\Zorbital Kelvane", "DisplayName",
                   "Ardenvale display driver");
    reg::SetString(kCurrentVersion + "Uninstall\\Zorbital Kelvane Tools", "DisplayName",
                   "Kelvane tools");
    reg::SetString(kCurrentVersion + "Run", "OrevalKelvane", "C:\\WINDOWS\\SYSTEM\\zorbqk.exe");
    reg::SetString(kCurrentVersion + "Run", "SystemTray", "SysTray.Exe");
    reg::SetString(kCurrentVersion + "Run", "OrevalKelvane2", "C:\\WINDOWS\\zorbqk2.exe");

    sim::files::SetSystemDirectory(kSystemDir);
    sim::files::SetWindowsDirectory(kWindowsDir);
    for (const char* name :
         {"zorb16qk.drv", "zorbqk.vxd", "zorb32qk.dll", "plume3x.dll", "zorbqkps.dll",
          "zorbqkps.hlp", "zorbspl3.dll", "vga.drv", "zorb16qk.bak", "user.exe"}) {
        sim::files::AddFile(std::string(kSystemDir) + "\\" + name, {'M', 'Z'});
    }
    for (const char* name :
         {"INF\\quenor.inf", "INF\\OTHER\\quenor.inf", "INF\\OTHER\\BrisantaQuenor.inf",
          "INF\\display.inf", "INF\\OTHER\\Brisanta.inf", "zorb16qk.drv", "quenor.inf"}) {
        sim::files::AddFile(std::string(kWindowsDir) + "\\" + name, {';'});
    }
}

Snapshot Take() {
    Snapshot s;
    for (const std::string& top : reg::SubkeyNames("HKEY_LOCAL_MACHINE")) {
        Walk(kHklm + top, &s.registry);
    }
    for (const sim::files::File& file : sim::files::All()) {
        s.files.insert(file.path);
    }
    return s;
}

Snapshot Part(const Snapshot& whole, const std::vector<std::string>& keys,
              const std::vector<std::pair<std::string, std::string>>& values,
              const std::vector<std::string>& files) {
    Snapshot part;
    for (const std::string& entry : whole.registry) {
        bool taken = false;
        for (const std::string& key : keys) {
            taken = taken || Lower(entry) == Lower(key) || StartsWith(entry, key + "\\") ||
                    StartsWith(entry, key + " [");
        }
        for (const auto& [key, name] : values) {
            taken = taken || StartsWith(entry, key + " [" + name + "] ");
        }
        if (taken) {
            part.registry.insert(entry);
        }
    }
    for (const std::string& file : whole.files) {
        for (const std::string& named : files) {
            if (Lower(file) == Lower(named)) {
                part.files.insert(file);
            }
        }
    }
    return part;
}

Snapshot BoardPart(const Snapshot& whole) {
    const std::string pci = kHklm + "Enum\\PCI\\VEN_5C3E&DEV_0003";
    const std::string display = kDisplayClass;
    const std::string sys = kSystemDir;
    const std::string win = kWindowsDir;
    return Part(whole,
                {pci, pci + "&SUBSYS_00014D72&REV_03", pci + "&SUBSYS_00024D72&REV_03",
                 pci + "&SUBSYS_00035C3E&REV_03", pci + "&SUBSYS_00045C3E&REV_03",
                 kHklm + "Software\\Zorbital\\Kelvane", display + "\\0003", display + "\\0009",
                 kCurrentVersion + "Uninstall\\Zorbital Kelvane"},
                {{kCurrentVersion + "Run", "OrevalKelvane"}},
                {sys + "\\zorb16qk.drv", sys + "\\zorbqk.vxd", sys + "\\zorb32qk.dll",
                 sys + "\\plume3x.dll", sys + "\\zorbqkps.dll", sys + "\\zorbqkps.hlp",
                 sys + "\\zorbspl3.dll", win + "\\INF\\quenor.inf",
                 win + "\\INF\\OTHER\\quenor.inf", win + "\\INF\\OTHER\\BrisantaQuenor.inf"});
}

Snapshot Minus(const Snapshot& a, const Snapshot& b) {
    Snapshot out;
    std::set_difference(a.registry.begin(), a.registry.end(), b.registry.begin(), b.registry.end(),
                        std::inserter(out.registry, out.registry.end()));
    std::set_difference(a.files.begin(), a.files.end(), b.files.begin(), b.files.end(),
                        std::inserter(out.files, out.files.end()));
    return out;
}

int Run(const std::string& fullCommandLine) {
    std::string entry = sim::GuiEntryCommandLine(fullCommandLine);
    std::vector<char> cmdLine(entry.begin(), entry.end());
    cmdLine.push_back('\0');
    return WinMain(nullptr, nullptr, cmdLine.data(), 1);
}

std::string Ansi(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else {
            // Only two-byte sequences for U+00A0..U+00FF, which 1252 holds as one byte.
            auto next = static_cast<unsigned char>(utf8[++i]);
            out += static_cast<char>(((b & 0x1F) << 6) | (next & 0x3F));
        }
    }
    return out;
}

} // namespace machine
