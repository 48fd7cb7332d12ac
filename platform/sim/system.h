// Kernel-side services of the simulated Windows 95: last error, debugger
// output, screen metrics, the user's language, text helpers, the shutdown
// request, and the record of operations that tests read back.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/types.h"

DWORD GetLastError();
void SetLastError(DWORD error);

void OutputDebugString(LPCSTR text);

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
int GetSystemMetrics(int index);

LANGID GetUserDefaultLangID();

// The platform's own formatter: at most 1024 characters and the terminator are
// written, as USER32 does.
int wvsprintf(LPSTR buffer, LPCSTR format, va_list args);
int wsprintf(LPSTR buffer, LPCSTR format, ...);

#define ZeroMemory(destination, length) std::memset((destination), 0, (length))

int lstrlen(LPCSTR text);
LPSTR lstrcpy(LPSTR dest, LPCSTR src);
LPSTR lstrcpyn(LPSTR dest, LPCSTR src, int max);
LPSTR lstrcat(LPSTR dest, LPCSTR src);
int lstrcmp(LPCSTR a, LPCSTR b);
int lstrcmpi(LPCSTR a, LPCSTR b);

#define EWX_LOGOFF 0
#define EWX_SHUTDOWN 1
#define EWX_REBOOT 2
#define EWX_FORCE 4
#define EWX_POWEROFF 8
BOOL ExitWindowsEx(UINT flags, DWORD reserved);

namespace sim {

// Everything OutputDebugString received, in order, as one text.
const std::string& DebugOutput();
void ClearDebugOutput();

void SetScreenSize(int width, int height);
void SetUserDefaultLangID(LANGID lang);

// ExitWindowsEx requests, recorded and not carried out: the flags of each.
const std::vector<UINT>& ShutdownRequests();

// A log of the operations that change or probe the machine's state (registry,
// files), one line each, so tests can check their order.
void LogOperation(const std::string& line);
const std::vector<std::string>& OperationLog();
void ClearOperationLog();

} // namespace sim
