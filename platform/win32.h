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
