// The port seam of the simulator: every access goes to the simulated board.
#include "platform/ports.h"

#include "platform/sim/board.h"

namespace sim {

adapter_model::Board& TheBoard() {
    static adapter_model::Board board;
    return board;
}

} // namespace sim

uint8_t PortInByte(uint16_t port) {
    return sim::TheBoard().InByte(port);
}

void PortOutByte(uint16_t port, uint8_t value) {
    sim::TheBoard().OutByte(port, value);
}

uint16_t PortInWord(uint16_t port) {
    return sim::TheBoard().InWord(port);
}

void PortOutWord(uint16_t port, uint16_t value) {
    sim::TheBoard().OutWord(port, value);
}

void DisableInterrupts() {
    sim::TheBoard().DisableInterrupts();
}

void EnableInterrupts() {
    sim::TheBoard().EnableInterrupts();
}
