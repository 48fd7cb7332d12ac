// The port seam on the Windows 95 family, which lets applications use the
// processor's in/out and cli/sti directly.
#include "platform/ports.h"

uint8_t PortInByte(uint16_t port) {
    uint8_t value;
    __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "Nd"(port) : "memory");
    return value;
}

void PortOutByte(uint16_t port, uint8_t value) {
    __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "Nd"(port) : "memory");
}

uint16_t PortInWord(uint16_t port) {
    uint16_t value;
    __asm__ __volatile__("inw %w1, %w0" : "=a"(value) : "Nd"(port) : "memory");
    return value;
}

void PortOutWord(uint16_t port, uint16_t value) {
    __asm__ __volatile__("outw %w0, %w1" : : "a"(value), "Nd"(port) : "memory");
}

void DisableInterrupts() {
    __asm__ __volatile__("cli" : : : "memory");
}

void EnableInterrupts() {
    __asm__ __volatile__("sti" : : : "memory");
}
