// The program's only diagnostics: one line on the debugger output.
#pragma once

#include "platform/win32.h"

// Writes "QV26: " + the text formatted from format (wvsprintf conventions) +
// CR LF to OutputDebugString.
void DebugLog(LPCSTR format, ...);
