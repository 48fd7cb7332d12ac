// GDI of the simulated Windows 95: device contexts and the display's mode.
#pragma once

#include <cstddef>

#include "platform/sim/types.h"

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14

HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int GetDeviceCaps(HDC dc, int index);

// Private escapes of the display driver (platform/sim/escape.cpp).
int ExtEscape(HDC dc, int escape, int inputSize, LPCSTR input, int outputSize, LPSTR output);

namespace sim::display {

// The display mode's depth, 16 bits per pixel unless a test sets another. This
// changes the mode alone; announcing it to the windows is the window
// manager's part.
void SetBitsPerPixel(int bitsPerPixel);
int BitsPerPixel();

// Device contexts taken with GetDC and not yet released.
size_t OpenDCCount();

} // namespace sim::display
