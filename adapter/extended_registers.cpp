#include "adapter/extended_registers.h"

#include "correction/settings.h"

#define SEQUENCER_INDEX_PORT 0x3C4
#define SEQUENCER_DATA_PORT 0x3C5
#define DAC_WRITE_INDEX_PORT 0x3C8
#define DAC_DATA_PORT 0x3C9
#define INPUT_STATUS_PORT 0x3DA

#define WINDOW_SELECT_REGISTER 0x1D
#define BASE_LOW_REGISTER 0x1E
#define BASE_HIGH_REGISTER 0x1F
#define PALETTE_CONTROL_REGISTER 0xE0

// Status bits 0 (blanked) and 3 (vertical retrace): the DAC may be written.
#define STATUS_DAC_FREE 0x09

// A working display blanks at every scan line. The wait gives up after two
// frames of a 43 Hz mode (47 ms) read at half a microsecond a status read, and
// the entry is written anyway, so a display that never reports blanking cannot
// hang the program.
#define BLANKING_WAIT_READS 100000

// Bit 5 of register 0xE0: the DAC ports reach the 32-entry palette.
#define DAC_REACHES_PALETTE32 0x20

// Reads from an extended register when the chip reports no window.
#define NO_WINDOW_VALUE 0xFF

WORD ioBase;
BYTE paletteControlOrMask;
BYTE paletteControlAndMask;

BYTE ReadPortByte(WORD port) {
    BYTE value;

    DisableInterrupts();
    value = PortInByte(port);
    EnableInterrupts();
    return value;
}

void WritePortByte(WORD port, BYTE value) {
    DisableInterrupts();
    PortOutByte(port, value);
    EnableInterrupts();
}

WORD ReadExtendedBase() {
    WORD saved;
    BYTE low;
    BYTE high;

    DisableInterrupts();
    saved = PortInWord(SEQUENCER_INDEX_PORT);
    PortOutByte(SEQUENCER_INDEX_PORT, BASE_LOW_REGISTER);
    low = PortInByte(SEQUENCER_DATA_PORT);
    PortOutByte(SEQUENCER_INDEX_PORT, BASE_HIGH_REGISTER);
    high = PortInByte(SEQUENCER_DATA_PORT);
    // Restores the index and rewrites the data byte it selects.
    PortOutWord(SEQUENCER_INDEX_PORT, saved);
    EnableInterrupts();
    return (WORD)(high * 256 + low);
}

void SelectExtendedWindow(BYTE index, WORD base) {
    BYTE saved;

    DisableInterrupts();
    saved = PortInByte(SEQUENCER_INDEX_PORT);
    PortOutByte(SEQUENCER_INDEX_PORT, BASE_HIGH_REGISTER);
    PortOutByte(SEQUENCER_DATA_PORT, HIBYTE(base));
    PortOutByte(SEQUENCER_INDEX_PORT, BASE_LOW_REGISTER);
    PortOutByte(SEQUENCER_DATA_PORT, LOBYTE(base));
    PortOutByte(SEQUENCER_INDEX_PORT, WINDOW_SELECT_REGISTER);
    PortOutByte(SEQUENCER_DATA_PORT, (BYTE)(index >> 2));
    PortOutByte(SEQUENCER_INDEX_PORT, saved);
    EnableInterrupts();
}

// The window's base, read from the chip at the first access and kept. A chip
// that reports 0 has no window: the ports from 0 up belong to the system's
// DMA controller, so nothing is selected or accessed then.
static WORD ExtendedWindowBase() {
    if (ioBase == 0) {
        ioBase = ReadExtendedBase();
    }
    return ioBase;
}

BYTE ReadExtendedRegister(BYTE index) {
    WORD base = ExtendedWindowBase();

    if (base == 0) {
        return NO_WINDOW_VALUE;
    }
    SelectExtendedWindow(index, base);
    return ReadPortByte((WORD)(base + (index & 3)));
}

void WriteExtendedRegister(BYTE index, BYTE value) {
    WORD base = ExtendedWindowBase();

    if (base == 0) {
        return;
    }
    SelectExtendedWindow(index, base);
    WritePortByte((WORD)(base + (index & 3)), value);
}

BYTE ReadPaletteControl() {
    return ReadExtendedRegister(PALETTE_CONTROL_REGISTER);
}

void WritePaletteControl(BYTE value) {
    WriteExtendedRegister(PALETTE_CONTROL_REGISTER,
                          (BYTE)((value | paletteControlOrMask) & paletteControlAndMask));
}

void SelectPaletteSource(int source) {
    BYTE keepMask;
    int shift;
    BYTE control;

    // Only the two targets have a field, and only 0..2 are sources: anything
    // else would spill into the neighbouring bits, so it writes nothing.
    if (activeTarget == Desktop) {
        keepMask = 0xFC;
        shift = 0;
    } else if (activeTarget == Video) {
        keepMask = 0xF3;
        shift = 2;
    } else {
        return;
    }
    if (source < 0 || source > Palette32) {
        return;
    }
    control = ReadPaletteControl();
    WritePaletteControl((BYTE)((control & keepMask) | (source << shift)));
}

void WritePaletteEntry(BYTE index, const PaletteEntry* entry) {
    long reads;

    for (reads = 0; reads < BLANKING_WAIT_READS; reads++) {
        if ((PortInByte(INPUT_STATUS_PORT) & STATUS_DAC_FREE) != 0) {
            break;
        }
    }
    PortOutByte(DAC_WRITE_INDEX_PORT, index);
    PortOutByte(DAC_DATA_PORT, entry->r);
    PortOutByte(DAC_DATA_PORT, entry->g);
    PortOutByte(DAC_DATA_PORT, entry->b);
}

void WritePalette256(const PaletteEntry* table) {
    BYTE control = ReadPaletteControl();
    BYTE savedAndMask = paletteControlAndMask;
    int i;

    // Bit 5 clear for the duration: the DAC ports reach the 256-entry palette.
    paletteControlAndMask &= (BYTE)~DAC_REACHES_PALETTE32;
    WritePaletteControl(control);
    for (i = 0; i < PALETTE256_ENTRIES; i++) {
        WritePaletteEntry((BYTE)i, &table[i]);
    }
    paletteControlAndMask = savedAndMask;
    WritePaletteControl(control);
}

void WritePalette32(const PaletteEntry* table) {
    BYTE control = ReadPaletteControl();
    BYTE savedOrMask = paletteControlOrMask;
    int i;

    // Bit 5 set for the duration: the DAC ports reach the 32-entry palette.
    paletteControlOrMask |= DAC_REACHES_PALETTE32;
    WritePaletteControl(control);
    for (i = 0; i < PALETTE32_ENTRIES; i++) {
        WritePaletteEntry((BYTE)i, &table[i]);
    }
    paletteControlOrMask = savedOrMask;
    WritePaletteControl(control);
}
