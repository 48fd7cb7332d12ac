// Private escapes of the display driver. Only the board's driver escape is
// implemented; the simulated display answers every other escape with 0 (not
// implemented), as a driver without it does.
#include "platform/sim/board.h"
#include "platform/sim/gdi.h"
#include "platform/sim/system.h"

int ExtEscape(HDC dc, int escape, int inputSize, LPCSTR input, int outputSize, LPSTR output) {
    // Every device context GetDC hands out has one plane; a released or made-up
    // handle has none.
    if (GetDeviceCaps(dc, PLANES) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    if (escape != adapter_model::DisplayDriver::kEscape) {
        return 0;
    }
    uint32_t error = 0;
    int result = sim::TheBoard().Driver().Escape(inputSize, input, outputSize, output, &error);
    if (result < 0) {
        SetLastError(error);
    }
    return result;
}
