#include "platform/sim/files.h"

#include <cctype>
#include <cstring>
#include <map>

#include "platform/sim/system.h"

namespace {

struct FileSystem {
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::string windowsDirectory = "C:\\WINDOWS";
    std::map<std::string, sim::files::File> files; // by normalized path
};

FileSystem& Fs() {
    static FileSystem fs;
    return fs;
}

// Lower case, forward slashes as backslashes, repeated backslashes as one.
std::string Normalize(const std::string& path) {
    std::string out;
    for (char c : path) {
        char n = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (n == '\\' && !out.empty() && out.back() == '\\') {
            continue;
        }
        out += n;
    }
    return out;
}

bool IsDirectory(const std::string& normalized) {
    if (normalized.size() == 3 && normalized[1] == ':' && normalized[2] == '\\') {
        return true;
    }
    std::string prefix = normalized;
    if (prefix.empty() || prefix.back() != '\\') {
        prefix += '\\';
    }
    auto it = Fs().files.lower_bound(prefix);
    return it != Fs().files.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

UINT CopyDirectory(const std::string& dir, LPSTR buffer, UINT size) {
    auto needed = static_cast<UINT>(dir.size() + 1);
    if (buffer == nullptr || size < needed) {
        return needed;
    }
    std::memcpy(buffer, dir.c_str(), needed);
    return needed - 1;
}

} // namespace

UINT GetSystemDirectory(LPSTR buffer, UINT size) {
    return CopyDirectory(Fs().systemDirectory, buffer, size);
}

UINT GetWindowsDirectory(LPSTR buffer, UINT size) {
    return CopyDirectory(Fs().windowsDirectory, buffer, size);
}

DWORD GetFileAttributes(LPCSTR path) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string key = Normalize(path);
    if (Fs().files.count(key) != 0) {
        return FILE_ATTRIBUTE_ARCHIVE;
    }
    if (IsDirectory(key)) {
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
}

BOOL DeleteFile(LPCSTR path) {
    std::string shown = path == nullptr ? "" : path;
    auto it = Fs().files.find(Normalize(shown));
    DWORD error = ERROR_SUCCESS;
    if (it == Fs().files.end()) {
        error = ERROR_FILE_NOT_FOUND;
    } else if (it->second.inUse) {
        error = ERROR_SHARING_VIOLATION;
    } else {
        Fs().files.erase(it);
    }
    sim::LogOperation("DeleteFile " + shown + " -> " + std::to_string(error));
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

namespace sim::files {

void SetSystemDirectory(const std::string& path) {
    Fs().systemDirectory = path;
}

void SetWindowsDirectory(const std::string& path) {
    Fs().windowsDirectory = path;
}

void AddFile(const std::string& path, const std::vector<BYTE>& contents) {
    File& file = Fs().files[Normalize(path)];
    file.path = path;
    file.contents = contents;
}

void SetInUse(const std::string& path, bool inUse) {
    auto it = Fs().files.find(Normalize(path));
    if (it != Fs().files.end()) {
        it->second.inUse = inUse;
    }
}

void SetVersionInfo(const std::string& path, const std::vector<BYTE>& block) {
    auto it = Fs().files.find(Normalize(path));
    if (it != Fs().files.end()) {
        it->second.versionInfo = block;
    }
}

bool Exists(const std::string& path) {
    return Fs().files.count(Normalize(path)) != 0;
}

std::optional<File> Get(const std::string& path) {
    auto it = Fs().files.find(Normalize(path));
    if (it == Fs().files.end()) {
        return std::nullopt;
    }
    return it->second;
}

void Remove(const std::string& path) {
    Fs().files.erase(Normalize(path));
}

std::vector<File> All() {
    std::vector<File> out;
    for (const auto& [key, file] : Fs().files) {
        out.push_back(file);
    }
    return out;
}

} // namespace sim::files
