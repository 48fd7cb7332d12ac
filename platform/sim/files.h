// The file system of the simulated Windows 95: the files on drive C:, the
// system and Windows directories, and deletion.
//
// Paths compare without regard to letter case; repeated backslashes count as
// one, as the platform's path parsing allows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/types.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

// Both follow the platform's rule for a buffer that is too small: nothing is
// copied and the size needed, terminator included, is returned.
UINT GetSystemDirectory(LPSTR buffer, UINT size);
UINT GetWindowsDirectory(LPSTR buffer, UINT size);

DWORD GetFileAttributes(LPCSTR path);
BOOL DeleteFile(LPCSTR path);

namespace sim::files {

struct File {
    std::string path; // as created
    std::vector<BYTE> contents;
    // The file's version resource (a VS_VERSIONINFO block); empty for a file
    // without one.
    std::vector<BYTE> versionInfo;
    // An open file that DeleteFile cannot remove (a driver in use).
    bool inUse = false;
};

// Defaults: "C:\WINDOWS\SYSTEM" and "C:\WINDOWS".
void SetSystemDirectory(const std::string& path);
void SetWindowsDirectory(const std::string& path);

// Adds or replaces a file; its folders come into being with it.
void AddFile(const std::string& path, const std::vector<BYTE>& contents = {});
void SetInUse(const std::string& path, bool inUse);
void SetVersionInfo(const std::string& path, const std::vector<BYTE>& block);
bool Exists(const std::string& path);
std::optional<File> Get(const std::string& path);
void Remove(const std::string& path);
// Every file, in path order.
std::vector<File> All();

} // namespace sim::files
