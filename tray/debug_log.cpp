#include "tray/debug_log.h"

#include <stdarg.h>

#define DEBUG_LINE_SIZE 256
#define DEBUG_PREFIX "QV26: "
// wvsprintf writes at most 1024 characters and the terminator.
#define FORMAT_BUFFER_SIZE 1025

void DebugLog(LPCSTR format, ...) {
    char line[DEBUG_LINE_SIZE];
    char formatted[FORMAT_BUFFER_SIZE];
    va_list args;

    va_start(args, format);
    wvsprintf(formatted, format, args);
    va_end(args);

    // The text is cut so that the prefix, the text and CR LF fit the line.
    lstrcpy(line, DEBUG_PREFIX);
    lstrcpyn(line + lstrlen(line), formatted, DEBUG_LINE_SIZE - lstrlen(DEBUG_PREFIX) - 2);
    lstrcat(line, "\r\n");
    OutputDebugString(line);
}
