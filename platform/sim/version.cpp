#include "platform/sim/version.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/sim/files.h"
#include "platform/sim/system.h"

namespace {

const char kRootKey[] = "VS_VERSION_INFO"; // 15 characters and the terminator

size_t Align4(size_t n) {
    return (n + 3) & ~static_cast<size_t>(3);
}

WORD ReadWord(const BYTE* p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

void PutWord(std::vector<BYTE>& out, size_t at, WORD value) {
    out[at] = static_cast<BYTE>(value & 0xFF);
    out[at + 1] = static_cast<BYTE>(value >> 8);
}

// Where the root block's value starts in either layout; 0 when the block
// carries neither key.
size_t RootValueOffset(const BYTE* block) {
    WORD length = ReadWord(block);
    // 32-bit layout: length, value length, type, UTF-16 key.
    const size_t wideKeyEnd = 6 + 2 * sizeof kRootKey;
    if (length >= wideKeyEnd) {
        bool wide = true;
        for (size_t i = 0; i < sizeof kRootKey; ++i) {
            if (ReadWord(block + 6 + 2 * i) != static_cast<BYTE>(kRootKey[i])) {
                wide = false;
                break;
            }
        }
        if (wide) {
            return Align4(wideKeyEnd);
        }
    }
    // 16-bit layout: length, value length, ANSI key.
    const size_t keyEnd = 4 + sizeof kRootKey;
    if (length >= keyEnd && std::memcmp(block + 4, kRootKey, sizeof kRootKey) == 0) {
        return Align4(keyEnd);
    }
    return 0;
}

std::optional<sim::files::File> VersionedFile(LPCSTR path) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    auto file = sim::files::Get(path);
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    if (file->versionInfo.empty()) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return std::nullopt;
    }
    return file;
}

} // namespace

DWORD GetFileVersionInfoSize(LPCSTR path, LPDWORD handle) {
    if (handle != nullptr) {
        *handle = 0;
    }
    auto file = VersionedFile(path);
    return file ? static_cast<DWORD>(file->versionInfo.size()) : 0;
}

BOOL GetFileVersionInfo(LPCSTR path, DWORD /*handle*/, DWORD size, LPVOID data) {
    auto file = VersionedFile(path);
    if (!file) {
        return FALSE;
    }
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    size_t n = file->versionInfo.size() < size ? file->versionInfo.size() : size;
    std::memcpy(data, file->versionInfo.data(), n);
    return TRUE;
}

BOOL VerQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length) {
    if (block == nullptr || subBlock == nullptr || buffer == nullptr) {
        return FALSE;
    }
    if (std::strcmp(subBlock, "\\") != 0) {
        return FALSE;
    }
    const auto* bytes = static_cast<const BYTE*>(block);
    size_t offset = RootValueOffset(bytes);
    WORD blockLength = ReadWord(bytes);
    WORD valueLength = ReadWord(bytes + 2);
    if (offset == 0 || valueLength < sizeof(VS_FIXEDFILEINFO) ||
        offset + sizeof(VS_FIXEDFILEINFO) > blockLength) {
        return FALSE;
    }
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, bytes + offset, sizeof fixed);
    if (fixed.dwSignature != VS_FFI_SIGNATURE) {
        return FALSE;
    }
    *buffer = const_cast<BYTE*>(bytes + offset);
    if (length != nullptr) {
        *length = sizeof(VS_FIXEDFILEINFO);
    }
    return TRUE;
}

namespace sim {

std::vector<BYTE> MakeVersionInfo(const VersionInfoContents& contents) {
    std::vector<BYTE> out(6); // length, value length and (32-bit layout) type
    if (contents.sixteenBit) {
        out.resize(4);
        out.insert(out.end(), kRootKey, kRootKey + sizeof kRootKey);
    } else {
        PutWord(out, 4, 0); // binary value
        for (char c : kRootKey) {
            out.push_back(static_cast<BYTE>(c));
            out.push_back(0);
        }
    }
    out.resize(Align4(out.size()));
    if (contents.fixedInfo) {
        VS_FIXEDFILEINFO fixed{};
        fixed.dwSignature = VS_FFI_SIGNATURE;
        fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
        fixed.dwFileVersionMS = contents.fileVersionMS;
        fixed.dwFileVersionLS = contents.fileVersionLS;
        fixed.dwProductVersionMS = contents.productVersionMS;
        fixed.dwProductVersionLS = contents.productVersionLS;
        fixed.dwFileFlagsMask = 0x3F;
        fixed.dwFileOS = 0x00000004;   // 32-bit Windows
        fixed.dwFileType = 0x00000003; // a driver
        const auto* p = reinterpret_cast<const BYTE*>(&fixed);
        out.insert(out.end(), p, p + sizeof fixed);
        PutWord(out, 2, sizeof fixed);
    }
    PutWord(out, 0, static_cast<WORD>(out.size()));
    return out;
}

} // namespace sim
