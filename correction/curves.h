// The correction curves: the base ramps of both palettes and the corrected
// palettes computed from a target's brightness and contrast offsets.
//
// All arithmetic is IEEE double, one rounding per operation in the order
// written; the palettes the companion panel computes must come out the same.
#pragma once

#include "platform/win32.h"
#include "adapter/extended_registers.h"
#include "correction/settings.h"

// The offsets the curves are defined for; values beyond them, which only a
// store written by another program can hold, act as the nearest bound.
#define OFFSET_MIN (-64)
#define OFFSET_MAX 64

// The uncorrected ramps, rebuilt at every initialisation of the corrections.
extern PaletteEntry baseTable256[PALETTE256_ENTRIES];
extern PaletteEntry baseTable32[PALETTE32_ENTRIES];

// Rounds to the nearest integer, halves away from zero. NaN gives 0 and values
// beyond the 32-bit range give its bounds.
int RoundHalfAway(double x);

// The base entry that contrast offset a picks for entry index of a table of
// size entries (256 or 32); may lie outside the table.
int ContrastIndex(int a, int index, int size);

// Component s (0..paletteMax) through the curve of a positive brightness
// (1..64) or a negative one (-64..-1).
int BrightenComponent(int b, int s);
int DarkenComponent(int b, int s);

// Fills a ramp table of size entries (256 or 32) from paletteMax.
void ComputeRamp(PaletteEntry* table, int size);

// Computes the corrected palette of size entries (256 or 32) from base into
// work. A NULL triple counts as all offsets 0.
void ComputeCorrectedPalette(const ChannelTriple* brightness, const ChannelTriple* contrast,
                             const PaletteEntry* base, int size, PaletteEntry* work);

// Fill the base table with its ramp and write it to the palette of its size.
void PreparePalette256();
void PreparePalette32();

// Compute the corrected palette from base and write it to the palette of its size.
void CorrectPalette256(const ChannelTriple* brightness, const ChannelTriple* contrast,
                       const PaletteEntry* base);
void CorrectPalette32(const ChannelTriple* brightness, const ChannelTriple* contrast,
                      const PaletteEntry* base);
