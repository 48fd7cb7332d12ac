#include "platform/sim/machine.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "platform/sim/files.h"
#include "platform/sim/registry.h"
#include "platform/sim/version.h"

namespace fs = std::filesystem;

namespace sim::machine {

namespace {

const char* const kRegistryFile = "registry.reg";
const char* const kManifestFile = "machine.txt";
const char* const kDriveFolder = "drive_c";
// Written beside its final name and renamed over it; never loaded as a file.
const char* const kTempSuffix = ".machine-tmp";
const char* const kDefaultSystemDirectory = "C:\\WINDOWS\\SYSTEM";
const char* const kDefaultWindowsDirectory = "C:\\WINDOWS";

// What the last Load read, so that Save removes only files that were there
// and have been deleted since, never files put into the folder by others.
struct LoadRecord {
    fs::path folder;
    std::map<std::string, fs::path> files; // normalized machine path -> path under drive_c
};

LoadRecord& Loaded() {
    static LoadRecord record;
    return record;
}

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Normalize(const std::string& path) {
    std::string out;
    for (char c : Lower(path)) {
        char n = c == '/' ? '\\' : c;
        if (n == '\\' && !out.empty() && out.back() == '\\') {
            continue;
        }
        out += n;
    }
    return out;
}

fs::path SameFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(folder, ec);
    return ec ? folder : canonical;
}

bool ReadWhole(const fs::path& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    *text = out.str();
    return true;
}

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

// The path under drive_c for a machine path on drive C:, its components as
// written; false for a path that is not on C: or would leave the folder.
bool DrivePath(const std::string& machinePath, std::vector<std::string>* parts) {
    std::string n = Normalize(machinePath);
    if (n.size() < 3 || n.compare(0, 3, "c:\\") != 0) {
        return false;
    }
    parts->clear();
    std::string part;
    for (size_t i = 3; i <= machinePath.size(); ++i) {
        char c = i < machinePath.size() ? machinePath[i] : '\\';
        if (c == '\\' || c == '/') {
            if (part == "." || part == "..") {
                return false;
            }
            if (!part.empty()) {
                parts->push_back(part);
            }
            part.clear();
        } else {
            part += c;
        }
    }
    return !parts->empty();
}

std::string MachinePathOf(const fs::path& relative) {
    std::string out = "C:";
    for (const fs::path& part : relative) {
        out += "\\" + part.string();
    }
    return out;
}

std::string Hex(const std::vector<BYTE>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (BYTE b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool ParseHex(const std::string& text, std::vector<BYTE>* bytes) {
    if (text.empty() || text.size() % 2 != 0 ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    bytes->clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        bytes->push_back(static_cast<BYTE>(std::stoul(text.substr(i, 2), nullptr, 16)));
    }
    return true;
}

std::string CurrentDirectory(UINT (*get)(LPSTR, UINT)) {
    std::vector<char> buffer(get(nullptr, 0) + 1);
    get(buffer.data(), static_cast<UINT>(buffer.size()));
    return buffer.data();
}

struct Manifest {
    std::string systemDirectory = kDefaultSystemDirectory;
    std::string windowsDirectory = kDefaultWindowsDirectory;
    std::map<std::string, std::vector<BYTE>> versions; // by normalized path
    std::set<std::string> inUse;                       // normalized paths
};

bool ParseManifest(const std::string& text, const std::map<std::string, files::File>& loaded,
                   const std::string& shownName, Manifest* manifest, std::string* error) {
    auto fail = [&](int line, const std::string& why) {
        *error = shownName + ": line " + std::to_string(line) + ": " + why;
        return false;
    };
    if (!text.empty() && text.back() != '\n') {
        return fail(LineCount(text), "the file ends in the middle of a line (truncated?)");
    }
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == ';') {
            continue;
        }
        size_t space = line.find(' ');
        std::string word = line.substr(0, space);
        std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        if (word == "system-directory" || word == "windows-directory") {
            if (rest.empty()) {
                return fail(lineNo, word + " names no directory");
            }
            (word == "system-directory" ? manifest->systemDirectory : manifest->windowsDirectory) =
                rest;
            continue;
        }
        std::vector<BYTE> block;
        if (word == "version") {
            size_t split = rest.find(' ');
            if (split == std::string::npos || !ParseHex(rest.substr(0, split), &block)) {
                return fail(lineNo, "a version entry is not <hex bytes> <path>");
            }
            rest = rest.substr(split + 1);
        } else if (word != "in-use") {
            return fail(lineNo, "unknown entry \"" + word + "\"");
        }
        std::string key = Normalize(rest);
        if (loaded.count(key) == 0) {
            return fail(lineNo, "names a file that drive_c does not hold: " + rest);
        }
        if (word == "version") {
            manifest->versions[key] = block;
        } else {
            manifest->inUse.insert(key);
        }
    }
    return true;
}

std::string MakeManifest() {
    std::string out = "; The simulated machine: what the files under drive_c do not hold.\n";
    out += "system-directory " + CurrentDirectory(GetSystemDirectory) + "\n";
    out += "windows-directory " + CurrentDirectory(GetWindowsDirectory) + "\n";
    for (const files::File& file : files::All()) {
        if (!file.versionInfo.empty()) {
            out += "version " + Hex(file.versionInfo) + " " + file.path + "\n";
        }
    }
    for (const files::File& file : files::All()) {
        if (file.inUse) {
            out += "in-use " + file.path + "\n";
        }
    }
    return out;
}

// A file of the folder to be written: where, and what.
struct Output {
    fs::path path;
    std::string contents;
    fs::path temp; // set once written
};

void RemoveTemps(const std::vector<Output>& outputs) {
    for (const Output& out : outputs) {
        if (!out.temp.empty()) {
            std::error_code ec;
            fs::remove(out.temp, ec);
        }
    }
}

} // namespace

bool HoldsMachine(const std::string& folder) {
    // Anything there but an empty folder is taken for a machine, so that a
    // wrong or unreadable folder is reported by Load rather than overwritten.
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        return false;
    }
    bool empty = fs::is_directory(folder, ec) && fs::is_empty(folder, ec);
    return !empty || ec;
}

bool Load(const std::string& folder, std::string* error) {
    std::string ignored;
    error = error != nullptr ? error : &ignored;
    const fs::path root(folder);
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        *error = folder + ": no such folder";
        return false;
    }

    const fs::path registryPath = root / kRegistryFile;
    std::string registryText;
    if (!ReadWhole(registryPath, &registryText)) {
        *error = registryPath.string() + ": missing or unreadable";
        return false;
    }
    // The export ends every line; a file cut short ends inside one.
    if (!registryText.empty() && registryText.back() != '\n') {
        *error = registryPath.string() + ": line " + std::to_string(LineCount(registryText)) +
                 ": the file ends in the middle of a line (truncated?)";
        return false;
    }

    std::map<std::string, files::File> loaded; // by normalized path
    std::map<std::string, fs::path> diskPaths;
    const fs::path drive = root / kDriveFolder;
    if (fs::is_directory(drive, ec)) {
        fs::recursive_directory_iterator it(drive, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            const fs::path& path = it->path();
            std::string name = path.filename().string();
            if (!it->is_regular_file(ec) || (name.size() > std::strlen(kTempSuffix) &&
                                             name.compare(name.size() - std::strlen(kTempSuffix),
                                                          std::string::npos, kTempSuffix) == 0)) {
                continue;
            }
            fs::path relative = path.lexically_relative(drive);
            if (relative.string().find('\\') != std::string::npos) {
                *error = path.string() + ": a name with a backslash cannot be a file of drive C:";
                return false;
            }
            files::File file;
            file.path = MachinePathOf(relative);
            std::string bytes;
            if (!ReadWhole(path, &bytes)) {
                *error = path.string() + ": unreadable";
                return false;
            }
            file.contents.assign(bytes.begin(), bytes.end());
            std::string key = Normalize(file.path);
            if (loaded.count(key) != 0) {
                *error = path.string() + ": the same file as " + loaded[key].path +
                         " (names differ only in case)";
                return false;
            }
            loaded[key] = file;
            diskPaths[key] = relative;
        }
        if (ec) {
            *error = drive.string() + ": " + ec.message();
            return false;
        }
    }

    Manifest manifest;
    const fs::path manifestPath = root / kManifestFile;
    if (fs::exists(manifestPath, ec)) {
        std::string text;
        if (!ReadWhole(manifestPath, &text)) {
            *error = manifestPath.string() + ": unreadable";
            return false;
        }
        if (!ParseManifest(text, loaded, manifestPath.string(), &manifest, error)) {
            return false;
        }
    }

    // The last check that can fail; the registry changes only when it passes.
    std::string why;
    if (!registry::ImportRegedit4(registryText, &why)) {
        *error = registryPath.string() + ": " + why;
        return false;
    }

    for (const files::File& file : files::All()) {
        files::Remove(file.path);
    }
    for (auto& [key, file] : loaded) {
        files::AddFile(file.path, file.contents);
        if (manifest.versions.count(key) != 0) {
            files::SetVersionInfo(file.path, manifest.versions[key]);
        }
        files::SetInUse(file.path, manifest.inUse.count(key) != 0);
    }
    files::SetSystemDirectory(manifest.systemDirectory);
    files::SetWindowsDirectory(manifest.windowsDirectory);
    Loaded().folder = SameFolder(root);
    Loaded().files = diskPaths;
    return true;
}

bool Save(const std::string& folder, std::string* error) {
    std::string ignored;
    error = error != nullptr ? error : &ignored;
    const fs::path root(folder);
    const fs::path drive = root / kDriveFolder;
    const bool sameFolder = !Loaded().folder.empty() && SameFolder(root) == Loaded().folder;

    std::vector<Output> outputs;
    outputs.push_back({root / kRegistryFile, registry::ExportRegedit4(), {}});
    outputs.push_back({root / kManifestFile, MakeManifest(), {}});

    // Folders keep the spelling they first had, so C:\WINDOWS and C:\windows
    // do not become two folders on a case-sensitive host.
    std::map<std::string, std::string> spelling;
    std::map<std::string, fs::path> saved;
    if (sameFolder) {
        for (const auto& [key, relative] : Loaded().files) {
            fs::path prefix;
            for (const fs::path& part : relative.parent_path()) {
                prefix /= part;
                spelling.emplace(Lower(prefix.string()), prefix.string());
            }
        }
    }
    for (const files::File& file : files::All()) {
        std::string key = Normalize(file.path);
        fs::path relative;
        auto known = Loaded().files.find(key);
        if (sameFolder && known != Loaded().files.end()) {
            relative = known->second;
        } else {
            std::vector<std::string> parts;
            if (!DrivePath(file.path, &parts)) {
                *error = file.path + ": not a file that drive_c can hold";
                return false;
            }
            for (size_t i = 0; i < parts.size(); ++i) {
                fs::path next = relative / parts[i];
                if (i + 1 < parts.size()) {
                    next = spelling.emplace(Lower(next.string()), next.string()).first->second;
                }
                relative = next;
            }
        }
        saved[key] = relative;
        outputs.push_back(
            {drive / relative, std::string(file.contents.begin(), file.contents.end()), {}});
    }

    // Every changed file is written beside its place before any is replaced.
    std::error_code ec;
    for (Output& out : outputs) {
        std::string current;
        if (fs::is_regular_file(out.path, ec) && ReadWhole(out.path, &current) &&
            current == out.contents) {
            continue;
        }
        fs::path temp = out.path;
        temp += kTempSuffix;
        fs::create_directories(out.path.parent_path(), ec);
        std::ofstream stream(temp, std::ios::binary | std::ios::trunc);
        if (stream) {
            out.temp = temp;
            stream.write(out.contents.data(), static_cast<std::streamsize>(out.contents.size()));
            stream.close();
        }
        if (!stream) {
            *error = temp.string() + ": cannot be written; the folder is unchanged";
            RemoveTemps(outputs);
            return false;
        }
    }
    for (Output& out : outputs) {
        if (out.temp.empty()) {
            continue;
        }
        fs::rename(out.temp, out.path, ec);
        if (ec) {
            *error = out.path.string() + ": cannot be replaced: " + ec.message();
            RemoveTemps(outputs);
            return false;
        }
        out.temp.clear();
    }

    // Files this machine loaded from here and has deleted since.
    if (sameFolder) {
        for (const auto& [key, relative] : Loaded().files) {
            if (saved.count(key) != 0) {
                continue;
            }
            fs::remove(drive / relative, ec);
            // Folders the deletion left empty go with it; others' stay.
            for (fs::path dir = relative.parent_path(); !dir.empty(); dir = dir.parent_path()) {
                if (!fs::is_empty(drive / dir, ec) || ec || !fs::remove(drive / dir, ec)) {
                    break;
                }
            }
        }
    }
    // The folder now holds what was saved; a record of another folder stays.
    if (sameFolder || Loaded().folder.empty()) {
        Loaded().folder = SameFolder(root);
        Loaded().files = saved;
    }
    return true;
}

void InstallDefault() {
    namespace reg = registry;
    reg::ImportRegedit4("REGEDIT4\r\n", nullptr);
    for (const files::File& file : files::All()) {
        files::Remove(file.path);
    }
    files::SetSystemDirectory(kDefaultSystemDirectory);
    files::SetWindowsDirectory(kDefaultWindowsDirectory);

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

    const std::string system = std::string(kDefaultSystemDirectory) + "\\";
    for (const char* name : {"zorb16qk.drv", "zorbqk.vxd", "zorb32qk.dll", "plume3x.dll",
                             "zorbqkps.dll", "zorbqkps.hlp", "zorbspl3.dll", "vga.drv"}) {
        files::AddFile(system + name);
    }
    for (const char* name :
         {"INF\\quenor.inf", "INF\\OTHER\\quenor.inf", "INF\\OTHER\\BrisantaQuenor.inf"}) {
        files::AddFile(std::string(kDefaultWindowsDirectory) + "\\" + name);
    }

    // The display driver is a 16-bit module; the panel's library a 32-bit one.
    VersionInfoContents driver;
    driver.productVersionMS = VersionHalf(4, 10);
    driver.productVersionLS = VersionHalf(2, 1234);
    driver.fileVersionMS = driver.productVersionMS;
    driver.fileVersionLS = driver.productVersionLS;
    driver.sixteenBit = true;
    files::AddFile(system + "VOLDRA.DRV");
    files::SetVersionInfo(system + "VOLDRA.DRV", MakeVersionInfo(driver));
    VersionInfoContents panel = driver;
    panel.sixteenBit = false;
    files::AddFile(system + "QV26cpl.DLL");
    files::SetVersionInfo(system + "QV26cpl.DLL", MakeVersionInfo(panel));
}

bool Open(const std::string& folder, std::string* error) {
    if (!HoldsMachine(folder)) {
        InstallDefault();
        return true;
    }
    return Load(folder, error);
}

} // namespace sim::machine
