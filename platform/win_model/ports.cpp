// The port seam of the Windows build for systems that fault on in/out: every
// access goes to a simulated board inside the process.
#include "platform/ports.h"

#include "platform/win_model/model_board.h"

adapter_model::Board& ModelBoard() {
    static adapter_model::Board board;
    return board;
}

uint8_t PortInByte(uint16_t port) {
    return ModelBoard().InByte(port);
}

void PortOutByte(uint16_t port, uint8_t value) {
    ModelBoard().OutByte(port, value);
}

uint16_t PortInWord(uint16_t port) {
    return ModelBoard().InWord(port);
}

void PortOutWord(uint16_t port, uint16_t value) {
    ModelBoard().OutWord(port, value);
}

void DisableInterrupts() {
    ModelBoard().DisableInterrupts();
}

void EnableInterrupts() {
    ModelBoard().EnableInterrupts();
}
