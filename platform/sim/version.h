// Version resources of files in the simulated Windows 95.
//
// A file's version resource is the VS_VERSIONINFO block stored with it
// (sim::files::SetVersionInfo). Both layouts are understood: the 32-bit one
// (UTF-16 key, with a type word) and the 16-bit one of 16-bit drivers (ANSI
// key). VerQueryValue answers the root block "\" only.
#pragma once

#include <vector>

#include "platform/sim/types.h"

#define VS_FFI_SIGNATURE 0xFEEF04BDL
#define VS_FFI_STRUCVERSION 0x00010000L

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

// The size of the file's version resource, 0 for a missing file or one
// without a resource (the last-error value tells which). *handle is set to 0.
DWORD GetFileVersionInfoSize(LPCSTR path, LPDWORD handle);
// Copies the version resource, cut to size bytes when it is longer.
BOOL GetFileVersionInfo(LPCSTR path, DWORD handle, DWORD size, LPVOID data);
// For the root block ("\"): a pointer into block at its VS_FIXEDFILEINFO and
// that structure's size. FALSE for a block without one and for other names.
BOOL VerQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length);

namespace sim {

// What a test's version resource holds. The version numbers are given as the
// platform stores them: the most significant half with two words a.b, the
// least significant half with c.d (see VersionHalf).
struct VersionInfoContents {
    DWORD productVersionMS = 0;
    DWORD productVersionLS = 0;
    DWORD fileVersionMS = 0;
    DWORD fileVersionLS = 0;
    bool fixedInfo = true;   // false: a root block without VS_FIXEDFILEINFO
    bool sixteenBit = false; // the 16-bit layout
};

constexpr DWORD VersionHalf(WORD high, WORD low) {
    return static_cast<DWORD>(high) << 16 | low;
}

// A VS_VERSIONINFO block to store with sim::files::SetVersionInfo.
std::vector<BYTE> MakeVersionInfo(const VersionInfoContents& contents);

} // namespace sim
