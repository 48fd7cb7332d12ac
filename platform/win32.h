// The one header the programs include for the platform.
//
// On a Windows build it is the real Win32 API. On Linux it is our simulated
// Windows 95 (platform/sim), which declares the same names, signatures,
// constants and 32-bit integer widths, written from the documented API.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <winver.h>
#else
#include "platform/sim/win32_sim.h"
#endif

#include "platform/ports.h"

// The Windows build on the simulated board (for systems that forbid direct
// port access): the board's driver escape goes to the model, every other
// escape to the system (platform/win_model/escape.cpp).
#if defined(_WIN32) && defined(LUMIVEX_BOARD_MODEL)
int ModelExtEscape(HDC dc, int escape, int inputSize, LPCSTR input, int outputSize,
                   LPSTR output);
#define ExtEscape ModelExtEscape
#endif
