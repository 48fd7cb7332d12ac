#include "correction/curves.h"

#include <limits.h>
#include <math.h>

#if defined(_WIN32) && defined(__i386__)
#include <float.h>
#endif

PaletteEntry baseTable256[PALETTE256_ENTRIES];
PaletteEntry baseTable32[PALETTE32_ENTRIES];

// The constants are the doubles nearest to 0.01, 1/13, 1/255 and 1/31; 45/256
// and 0.5 are exact.
static constexpr double hundredth = 0.01;
static constexpr double thirteenth = 0.07692307692307693;
static constexpr double exponentScale = 0.17578125;
static constexpr double inverse255 = 0.00392156862745098;
static constexpr double inverse31 = 0.03225806451612903;

static_assert(thirteenth == 1.0 / 13, "1/13 is not the nearest double");
static_assert(inverse255 == 1.0 / 255, "1/255 is not the nearest double");
static_assert(inverse31 == 1.0 / 31, "1/31 is not the nearest double");
static_assert(exponentScale == 45.0 / 256, "45/256 is not exact");

#if defined(_WIN32) && defined(__i386__)
// Processors of the Windows 95 era compute doubles on the x87 unit, and the
// runtime we link leaves it at 64-bit precision. The curves must round every
// operation to double, so set 53 bits before WinMain, as the era's usual
// runtime did at start-up.
static unsigned int SetDoublePrecision() {
    return _controlfp(_PC_53, _MCW_PC);
}
[[maybe_unused]] static unsigned int startupPrecision = SetDoublePrecision();
#endif

static int ClampOffset(int value, int low, int high) {
    if (value < low) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return value;
}

int RoundHalfAway(double x) {
    if (x != x) {
        return 0;
    }
    if (x >= (double)INT_MAX) {
        return INT_MAX;
    }
    if (x <= (double)INT_MIN) {
        return INT_MIN;
    }
    if (x >= 0) {
        int t = (int)x;
        return x - t < 0.5 ? t : t + 1;
    }
    int t = (int)-x;
    return -x - t < 0.5 ? -t : -t - 1;
}

int ContrastIndex(int a, int index, int size) {
    a = ClampOffset(a, OFFSET_MIN, OFFSET_MAX);
    int h = size / 2;
    double f = (a + 100) * hundredth;
    double p = f * (index - h);
    return h + (int)p;
}

int BrightenComponent(int b, int s) {
    int m = paletteMax;
    b = ClampOffset(b, 1, OFFSET_MAX);
    // Both ends map to themselves; taking them directly also keeps an unset
    // paletteMax of 0 from dividing by zero.
    if (s <= 0) {
        return 0;
    }
    if (s >= m) {
        return m;
    }
    double q = (double)s / m;
    double e = ((65 - b) * thirteenth) * exponentScale;
    double d = m * pow(q, e) - s;
    int result = RoundHalfAway(d) + s;
    return result > m ? m : result;
}

int DarkenComponent(int b, int s) {
    int m = paletteMax;
    b = ClampOffset(b, OFFSET_MIN, -1);
    if (s <= 0) {
        return 0;
    }
    if (s >= m) {
        return m;
    }
    double q = (double)s / m;
    double e = ((1 - b) * thirteenth) * exponentScale;
    double d = s * pow(q, e) - s;
    return RoundHalfAway(d) + s;
}

void ComputeRamp(PaletteEntry* table, int size) {
    double k = paletteMax * (size == PALETTE256_ENTRIES ? inverse255 : inverse31);
    for (int i = 0; i < size; i++) {
        BYTE v = (BYTE)(RoundHalfAway(i * k) & 0xFF);
        table[i].r = v;
        table[i].g = v;
        table[i].b = v;
    }
}

static int ChannelOffset(const ChannelTriple* triple, int channel) {
    if (triple == NULL) {
        return 0;
    }
    return channel == 0 ? triple->r : channel == 1 ? triple->g : triple->b;
}

static BYTE EntryComponent(const PaletteEntry* entry, int channel) {
    return channel == 0 ? entry->r : channel == 1 ? entry->g : entry->b;
}

static void SetEntryComponent(PaletteEntry* entry, int channel, int value) {
    BYTE v = (BYTE)(value & 0xFF);
    if (channel == 0) {
        entry->r = v;
    } else if (channel == 1) {
        entry->g = v;
    } else {
        entry->b = v;
    }
}

void ComputeCorrectedPalette(const ChannelTriple* brightness, const ChannelTriple* contrast,
                             const PaletteEntry* base, int size, PaletteEntry* work) {
    for (int i = 0; i < size; i++) {
        for (int c = 0; c < 3; c++) {
            int v = ContrastIndex(ChannelOffset(contrast, c), i, size);
            int component;
            if (v < 0) {
                component = 0;
            } else if (v > size - 1) {
                component = paletteMax;
            } else {
                int s = EntryComponent(&base[v], c);
                int b = ChannelOffset(brightness, c);
                if (b < 0) {
                    component = DarkenComponent(b, s);
                } else if (b > 0) {
                    component = BrightenComponent(b, s);
                } else {
                    component = s;
                }
            }
            SetEntryComponent(&work[i], c, component);
        }
    }
}

void PreparePalette256() {
    ComputeRamp(baseTable256, PALETTE256_ENTRIES);
    WritePalette256(baseTable256);
}

void PreparePalette32() {
    ComputeRamp(baseTable32, PALETTE32_ENTRIES);
    WritePalette32(baseTable32);
}

void CorrectPalette256(const ChannelTriple* brightness, const ChannelTriple* contrast,
                       const PaletteEntry* base) {
    PaletteEntry work[PALETTE256_ENTRIES];
    ComputeCorrectedPalette(brightness, contrast, base, PALETTE256_ENTRIES, work);
    WritePalette256(work);
}

void CorrectPalette32(const ChannelTriple* brightness, const ChannelTriple* contrast,
                      const PaletteEntry* base) {
    PaletteEntry work[PALETTE32_ENTRIES];
    ComputeCorrectedPalette(brightness, contrast, base, PALETTE32_ENTRIES, work);
    WritePalette32(work);
}
