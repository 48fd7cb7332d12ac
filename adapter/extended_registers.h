// The chip's extended registers, its palette control register 0xE0 and its
// two palettes, reached through I/O ports. This is the only code of lumivex
// that touches the adapter's hardware.
#pragma once

#include "platform/win32.h"

// One palette entry as the DAC takes it: R, G, B.
struct PaletteEntry {
    BYTE r;
    BYTE g;
    BYTE b;
};

// A PaletteTable is an array of PaletteEntry: 256 entries for the 256-entry
// palette, 32 for the 32-entry palette.
#define PALETTE256_ENTRIES 256
#define PALETTE32_ENTRIES 32

extern WORD ioBase;                // base port of the extended register window; 0 = not read yet
extern BYTE paletteControlOrMask;  // bits forced to 1 in every write of register 0xE0
extern BYTE paletteControlAndMask; // bits let through in every write of register 0xE0

// Port primitives.
BYTE ReadPortByte(WORD port);
void WritePortByte(WORD port, BYTE value);
WORD ReadExtendedBase();
void SelectExtendedWindow(BYTE index, WORD base);

// Register access. A chip that reports a window base of 0 has no window:
// nothing is accessed, reads give 0xFF.
BYTE ReadExtendedRegister(BYTE index);
void WriteExtendedRegister(BYTE index, BYTE value);
BYTE ReadPaletteControl();
void WritePaletteControl(BYTE value);
// Sets the source field (0 none, 1 the 256-entry, 2 the 32-entry palette) of
// the target in activeTarget; writes nothing for another target or source.
void SelectPaletteSource(int source);

// Palette access. Each entry waits for blanking (bounded, for a display that
// never reports it) and is then written through the DAC ports.
void WritePaletteEntry(BYTE index, const PaletteEntry* entry);
void WritePalette256(const PaletteEntry* table);
void WritePalette32(const PaletteEntry* table);
