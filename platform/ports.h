// The hardware seam below the port primitives of adapter/: byte and word port
// access and the interrupt flag. On the Windows 95 family these are the
// processor's own in/out/cli/sti; on Linux, and on the Windows build for
// systems that forbid direct port access, they reach the simulated board.
#pragma once

#include <stdint.h>

uint8_t PortInByte(uint16_t port);
void PortOutByte(uint16_t port, uint8_t value);
uint16_t PortInWord(uint16_t port);
void PortOutWord(uint16_t port, uint16_t value);
void DisableInterrupts();
void EnableInterrupts();
