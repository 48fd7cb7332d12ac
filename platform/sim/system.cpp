#include "platform/sim/system.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

struct SystemState {
    DWORD lastError = 0;
    std::string debugOutput;
    int screenWidth = 1024;
    int screenHeight = 768;
    LANGID userLang = 1033;
    std::vector<UINT> shutdownRequests;
    std::vector<std::string> operations;
};

SystemState& State() {
    static SystemState state;
    return state;
}

} // namespace

DWORD GetLastError() {
    return State().lastError;
}

void SetLastError(DWORD error) {
    State().lastError = error;
}

void OutputDebugString(LPCSTR text) {
    if (text != nullptr) {
        State().debugOutput += text;
    }
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
        return State().screenWidth;
    case SM_CYSCREEN:
        return State().screenHeight;
    default:
        return 0;
    }
}

LANGID GetUserDefaultLangID() {
    return State().userLang;
}

int wvsprintf(LPSTR buffer, LPCSTR format, va_list args) {
    // The platform's formatter stops at 1024 characters.
    constexpr int kLimit = 1024;
    int n = std::vsnprintf(buffer, kLimit + 1, format, args);
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return n > kLimit ? kLimit : n;
}

int wsprintf(LPSTR buffer, LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    int n = wvsprintf(buffer, format, args);
    va_end(args);
    return n;
}

int lstrlen(LPCSTR text) {
    return text == nullptr ? 0 : static_cast<int>(std::strlen(text));
}

LPSTR lstrcpy(LPSTR dest, LPCSTR src) {
    return std::strcpy(dest, src);
}

LPSTR lstrcpyn(LPSTR dest, LPCSTR src, int max) {
    if (max <= 0) {
        return dest;
    }
    int i = 0;
    for (; i < max - 1 && src[i] != '\0'; ++i) {
        dest[i] = src[i];
    }
    dest[i] = '\0';
    return dest;
}

LPSTR lstrcat(LPSTR dest, LPCSTR src) {
    return std::strcat(dest, src);
}

int lstrcmp(LPCSTR a, LPCSTR b) {
    int r = std::strcmp(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int lstrcmpi(LPCSTR a, LPCSTR b) {
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        if (ca == 0) {
            return 0;
        }
    }
}

BOOL ExitWindowsEx(UINT flags, DWORD /*reserved*/) {
    State().shutdownRequests.push_back(flags);
    sim::LogOperation("ExitWindowsEx " + std::to_string(flags));
    return TRUE;
}

namespace sim {

const std::string& DebugOutput() {
    return State().debugOutput;
}

void ClearDebugOutput() {
    State().debugOutput.clear();
}

void SetScreenSize(int width, int height) {
    State().screenWidth = width;
    State().screenHeight = height;
}

void SetUserDefaultLangID(LANGID lang) {
    State().userLang = lang;
}

const std::vector<UINT>& ShutdownRequests() {
    return State().shutdownRequests;
}

void LogOperation(const std::string& line) {
    State().operations.push_back(line);
}

const std::vector<std::string>& OperationLog() {
    return State().operations;
}

void ClearOperationLog() {
    State().operations.clear();
}

} // namespace sim
