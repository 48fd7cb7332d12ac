// The display driver's escape in the board-model build: escape 32990 goes to
// the simulated board's driver, every other escape to the system.
#include "platform/win32.h"

#include "platform/win_model/model_board.h"

#ifdef ExtEscape
#undef ExtEscape
#endif

int ModelExtEscape(HDC dc, int escape, int inputSize, LPCSTR input, int outputSize, LPSTR output) {
    if (escape != adapter_model::DisplayDriver::kEscape) {
        return ExtEscape(dc, escape, inputSize, input, outputSize, output);
    }
    uint32_t error = 0;
    int result = ModelBoard().Driver().Escape(inputSize, input, outputSize, output, &error);
    if (result < 0) {
        SetLastError(error);
    }
    return result;
}
